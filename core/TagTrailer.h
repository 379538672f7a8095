#pragma once
// The ID3v1 trailer: 128 bytes at the very end of an MP3 file, found by the
// file's length alone.
#include <array>
#include <cstddef>
#include <cstdint>
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

    bool operator==(const TagRecord&) const = default;
};

// True when the three bytes are the marker "TAG", upper case.
bool IsTagMarker(const std::uint8_t* bytes);

// Decodes a trailer whose marker is "TAG": texts cut at the first NUL and
// stripped of trailing blanks; the genre byte is taken unchanged.
TagRecord DecodeTagTrailer(const TagTrailer& trailer);

// Encodes a record: "TAG", each text filled with blanks to its width, the
// genre byte last. NUL bytes in a text are written as blanks; a text longer
// than its field is cut to the width.
TagTrailer EncodeTagTrailer(const TagRecord& record);

// The blank trailer: "TAG", 124 blanks and 0xFF.
TagTrailer BlankTagTrailerBytes();

} // namespace tagwerk
