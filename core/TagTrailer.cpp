#include "core/TagTrailer.h"

#include <algorithm>
#include <string_view>

namespace tagwerk {

namespace {

constexpr std::string_view kMarker = "TAG";

struct TextField {
    std::string TagRecord::*member;
    std::size_t offset;
    std::size_t width;
};

// Layout behind the marker, in the order the fields are written.
constexpr std::array<TextField, 5> kTextFields{{
    {&TagRecord::title, 3, kTextWidth},
    {&TagRecord::artist, 33, kTextWidth},
    {&TagRecord::album, 63, kTextWidth},
    {&TagRecord::year, 93, kYearWidth},
    {&TagRecord::comment, 97, kTextWidth},
}};

constexpr std::size_t kGenreOffset = 127;
constexpr std::size_t kTrackOffset = 126;

// The field's text ends before the first NUL, without trailing blanks.
std::string DecodeField(const TagTrailer& trailer, const TextField& field) {
    const auto begin = trailer.begin() + static_cast<std::ptrdiff_t>(field.offset);
    auto end = std::find(begin, begin + static_cast<std::ptrdiff_t>(field.width), 0);
    while (end != begin && *(end - 1) == ' ')
        --end;
    return std::string(begin, end);
}

} // namespace

bool IsTagMarker(const std::uint8_t* bytes) {
    return std::equal(kMarker.begin(), kMarker.end(), bytes,
                      [](char m, std::uint8_t b) { return static_cast<std::uint8_t>(m) == b; });
}

TagRecord DecodeTagTrailer(const TagTrailer& trailer) {
    TagRecord record;
    for (const TextField& field : kTextFields)
        record.*field.member = DecodeField(trailer, field);
    record.genre = trailer[kGenreOffset];
    if (trailer[kTrackOffset - 1] == 0)
        record.track = trailer[kTrackOffset];
    return record;
}

bool TrackFits(const TagRecord& record) {
    return record.track != 0 && record.comment.size() <= kCommentWidthBesideTrack;
}

TagTrailer EncodeTagTrailer(const TagRecord& record) {
    TagTrailer trailer;
    trailer.fill(' ');
    std::copy(kMarker.begin(), kMarker.end(), trailer.begin());
    for (const TextField& field : kTextFields) {
        const std::string& text = record.*field.member;
        const std::size_t length = std::min(text.size(), field.width);
        for (std::size_t i = 0; i < length; ++i) {
            // A NUL would end the text for every reader; it is kept as a blank.
            const auto byte = static_cast<std::uint8_t>(text[i]);
            trailer[field.offset + i] = byte == 0 ? ' ' : byte;
        }
    }
    if (TrackFits(record)) {
        trailer[kTrackOffset - 1] = 0;
        trailer[kTrackOffset] = record.track;
    }
    trailer[kGenreOffset] = record.genre;
    return trailer;
}

TagRecord KeepingTrack(TagRecord record, const std::optional<TagRecord>& replaced) {
    if (record.track == 0 && replaced)
        record.track = replaced->track;
    return record;
}

TagTrailer BlankTagTrailerBytes() {
    return EncodeTagTrailer(TagRecord{});
}

} // namespace tagwerk
