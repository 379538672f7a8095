#include "id3v2/Id3v2Reading.h"

#include "core/FileIo.h"
#include "id3v2/Cp1252Text.h"
#include "id3v2/FrameText.h"
#include "id3v2/FrameWalk.h"
#include "id3v2/TconGenre.h"

#include <algorithm>
#include <array>

namespace tagwerk {

namespace {

constexpr std::array<std::string_view, 8> kWanted{"TIT2", "TPE1", "TALB", "TDRC",
                                                  "TYER", "COMM", "TCON", "TRCK"};

bool Wanted(std::string_view id) {
    return std::find(kWanted.begin(), kWanted.end(), id) != kWanted.end();
}

// The values of the frames as they come; each field keeps the first value a
// frame gives it.
class Fields {
public:
    void take(const Id3v2Frame& frame) {
        if (frame.id == "COMM") {
            if (const std::optional<std::u16string> comment = CommentWithoutDescription(frame.body))
                keep(comment_, *comment);
            return;
        }
        const std::optional<std::vector<std::u16string>> values = TextValues(frame.body);
        if (!values)
            return;
        const std::u16string text = Joined(*values);
        if (frame.id == "TIT2")
            keep(title_, text);
        else if (frame.id == "TPE1")
            keep(artist_, text);
        else if (frame.id == "TALB")
            keep(album_, text);
        else if (frame.id == "TDRC")
            keep(recorded_, FirstYear(text));
        else if (frame.id == "TYER")
            keep(year_, FirstYear(text));
        else if (frame.id == "TCON" && genre_ == kNoGenre)
            genre_ = GenreFromTcon(*values);
        else if (frame.id == "TRCK" && track_ == 0)
            track_ = static_cast<std::uint8_t>(TrackNumber(text));
    }

    TagRecord record() const {
        TagRecord record{
            Field(title_, kTextWidth),   Field(artist_, kTextWidth),
            Field(album_, kTextWidth),   Field(recorded_.empty() ? year_ : recorded_, kYearWidth),
            Field(comment_, kTextWidth), genre_};
        record.track = track_;
        return record;
    }

private:
    static void keep(std::u16string& field, const std::u16string& value) {
        if (field.empty())
            field = value;
    }

    static std::string Field(const std::u16string& text, std::size_t width) {
        return Cp1252FromUnicode(text).substr(0, width);
    }

    std::u16string title_, artist_, album_, recorded_, year_, comment_;
    GenreCode genre_ = kNoGenre;
    std::uint8_t track_ = 0;
};

bool YieldsAField(TagRecord record) {
    record.track = 0;
    return record != TagRecord{};
}

} // namespace

std::optional<Id3v2Tag> ReadId3v2Tag(const std::string& path) {
    const OpenResult opened = OpenForReading(path);
    if (opened.error != FileError::none)
        return std::nullopt;
    std::optional<FrameWalk> walk = FrameWalk::Start(opened.file, opened.length);
    if (!walk)
        return std::nullopt;
    Fields fields;
    while (const std::optional<Id3v2Frame> frame = walk->next(Wanted))
        fields.take(*frame);
    const TagRecord record = fields.record();
    if (!YieldsAField(record))
        return std::nullopt;
    return Id3v2Tag{walk->majorVersion(), record};
}

} // namespace tagwerk
