#pragma once
// The ID3v1 trailer: 128 bytes at the very end of an MP3 file, found by the
// file's length alone.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace tagwerk {

inline constexpr std::size_t kTrailerSize = 128;
using TagTrailer = std::array<std::uint8_t, kTrailerSize>;

using GenreCode = std::uint8_t;
inline constexpr GenreCode kNoGenre = 255;

// Field widths in characters (= bytes, Windows-1252).
inline constexpr std::size_t kTextWidth = 30;
inline constexpr std::size_t kYearWidth = 4;

// The values of one trailer. Texts are Windows-1252 bytes, one per character,
// never longer than their field's width when handed to EncodeTagTrailer.
struct TagRecord {
    std::string title;
    std::string artist;
    std::string album;
    std::string year;
    std::string comment;
    GenreCode genre = kNoGenre;
    // ID3v1.1: a track number 1 to 255 in the comment field's last byte,
    // after a NUL, so that the comment has 28 bytes; 0 for none.
    std::uint8_t track = 0;

    bool operator==(const TagRecord&) const = default;
};

// The comment's width beside a track number.
inline constexpr std::size_t kCommentWidthBesideTrack = 28;

// True when the three bytes are the marker "TAG", upper case.
bool IsTagMarker(const std::uint8_t* bytes);

// Decodes a trailer whose marker is "TAG": texts cut at the first NUL and
// stripped of trailing blanks; the genre byte is taken unchanged. The track
// is the comment field's last byte where it is not 0 and a NUL stands
// before it.
TagRecord DecodeTagTrailer(const TagTrailer& trailer);

// Whether the record is written with its track number: it has one, and its
// comment leaves room for it. A longer comment wins.
bool TrackFits(const TagRecord& record);

// Encodes a record: "TAG", each text filled with blanks to its width, the
// genre byte last. NUL bytes in a text are written as blanks; a text longer
// than its field is cut to the width. Where the track fits, the comment
// field ends in a NUL and the track.
TagTrailer EncodeTagTrailer(const TagRecord& record);

// The record as it replaces a trailer: one without a track number of its
// own keeps that of the replaced trailer, if any.
TagRecord KeepingTrack(TagRecord record, const std::optional<TagRecord>& replaced);

// The blank trailer: "TAG", 124 blanks and 0xFF.
TagTrailer BlankTagTrailerBytes();

} // namespace tagwerk
