#pragma once
// Reading the ID3v2 tag at the start of an MP3 file into the values of an
// ID3v1 trailer. The file is opened for reading only and never written.
// Only standard types here: TagLib and ICU stay inside id3v2/.
#include "core/TagTrailer.h"

#include <optional>
#include <string>

namespace tagwerk {

struct Id3v2Tag {
    int majorVersion = 0; // 2, 3 or 4: ID3v2.2, ID3v2.3 or ID3v2.4
    // Windows-1252 bytes cut to the field widths; a letter the code page lacks
    // is its base letter ("Ł" gives "L") where it has one, else "?". The genre
    // is a code of the genre table or 255.
    TagRecord record;

    bool operator==(const Id3v2Tag&) const = default;
};

// Title TIT2, artist TPE1, album TALB, year the first four-digit year of
// TDRC, else of TYER, comment the first COMM frame without a description,
// genre from TCON: a number the genre table has, else a name it has (any
// case); the track number from TRCK ("3/12" gives 3). Each field takes the
// first frame that gives it a value; the values of a frame that has several
// are joined with "/". Of a damaged tag, every intact frame is used.
// Nothing when the file does not start with an ID3v2 tag, cannot be read,
// or its tag gives none of title, artist, album, year, comment and genre.
std::optional<Id3v2Tag> ReadId3v2Tag(const std::string& path);

} // namespace tagwerk
