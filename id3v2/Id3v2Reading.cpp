#include "id3v2/Id3v2Reading.h"

#include "core/FileIo.h"
#include "id3v2/Cp1252Text.h"
#include "id3v2/TconGenre.h"

#include <algorithm>
#include <taglib/commentsframe.h>
#include <taglib/id3v2tag.h>
#include <taglib/tbytevectorstream.h>
#include <taglib/textidentificationframe.h>
#include <taglib/tfile.h>
#include <taglib/unknownframe.h>

namespace tagwerk {

namespace {

using TagLib::ID3v2::Tag;

std::string Field(const TagLib::String& text, std::size_t width) {
    return Cp1252FromUtf8(text.to8Bit(true)).substr(0, width);
}

// The text of the first frame with the id; TagLib gives ID3v2.2 and 2.3
// frames the ids of 2.4 (TT2 is TIT2, TYE and TYER are TDRC).
TagLib::String Text(const Tag& tag, const char* id) {
    const TagLib::ID3v2::FrameList& frames = tag.frameList(id);
    return frames.isEmpty() ? TagLib::String() : frames.front()->toString();
}

TagLib::String Comment(const Tag& tag) {
    for (const TagLib::ID3v2::Frame* frame : tag.frameList("COMM")) {
        const auto* comment = dynamic_cast<const TagLib::ID3v2::CommentsFrame*>(frame);
        if (comment != nullptr && comment->description().isEmpty())
            return comment->text();
    }
    return {};
}

GenreCode Genre(const Tag& tag) {
    std::vector<std::string> values;
    for (const TagLib::ID3v2::Frame* frame : tag.frameList("TCON")) {
        if (const auto* text = dynamic_cast<const TagLib::ID3v2::TextIdentificationFrame*>(frame)) {
            for (const TagLib::String& value : text->fieldList())
                values.push_back(value.to8Bit(true));
        }
    }
    return GenreFromTcon(values);
}

// Encrypted frames, and frames TagLib cannot decode, come as unknown frames.
bool HasIntactFrame(const Tag& tag) {
    const TagLib::ID3v2::FrameList& frames = tag.frameList();
    return std::any_of(frames.begin(), frames.end(), [](const TagLib::ID3v2::Frame* frame) {
        return dynamic_cast<const TagLib::ID3v2::UnknownFrame*>(frame) == nullptr;
    });
}

// A file of which TagLib reads only the tag at its start.
class TagAtStart : public TagLib::File {
public:
    explicit TagAtStart(TagLib::IOStream* stream) : TagLib::File(stream) {}
    TagLib::Tag* tag() const override { return nullptr; }
    TagLib::AudioProperties* audioProperties() const override { return nullptr; }
    bool save() override { return false; }
};

TagRecord RecordOf(const Tag& tag) {
    // A 2.4 tag may still carry a 2.3 year frame, which TagLib leaves as TYER.
    TagLib::String year = Text(tag, "TDRC");
    if (year.isEmpty())
        year = Text(tag, "TYER");
    return {Field(Text(tag, "TIT2"), kTextWidth), Field(Text(tag, "TPE1"), kTextWidth),
            Field(Text(tag, "TALB"), kTextWidth), Field(year, kYearWidth),
            Field(Comment(tag), kTextWidth),      Genre(tag)};
}

} // namespace

// The tag is read in two reads, its header and then all of it, and parsed in
// memory: TagLib on the file reads it piecemeal, and its MPEG file looks for
// more tags at the end, each time with several calls to the file system.
std::optional<Id3v2Tag> ReadId3v2Tag(const std::string& path) {
    const OpenResult opened = OpenForReading(path);
    TagLib::ByteVector start(TagLib::ID3v2::Header::size());
    // Only a tag at the very start counts.
    if (opened.error != FileError::none || opened.length < start.size() ||
        opened.file.readAt(0, start.data(), start.size()) != FileError::none ||
        !start.startsWith(TagLib::ID3v2::Header::fileIdentifier()))
        return std::nullopt;
    // A size beyond the end of the file gives what there is.
    TagLib::ByteVector bytes(static_cast<unsigned int>(
        std::min<std::int64_t>(TagLib::ID3v2::Header(start).completeTagSize(), opened.length)));
    if (opened.file.readAt(0, bytes.data(), bytes.size()) != FileError::none)
        return std::nullopt;
    TagLib::ByteVectorStream stream(bytes);
    TagAtStart file(&stream);
    const Tag tag(&file, 0, TagLib::ID3v2::FrameFactory::instance());
    if (!HasIntactFrame(tag))
        return std::nullopt;
    const int version = static_cast<int>(tag.header()->majorVersion());
    if (version < 2 || version > 4)
        return std::nullopt;
    return Id3v2Tag{version, RecordOf(tag)};
}

} // namespace tagwerk
