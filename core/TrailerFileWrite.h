#pragma once
// Steps shared by the trailer operations that change a file.
#include "core/FileIo.h"
#include "core/TagTrailer.h"

#include <cstdint>
#include <string>

namespace tagwerk {

inline constexpr std::int64_t kTrailerLength = kTrailerSize;

// A file opened for writing, and whether it ends in a trailer.
struct TrailerForWriting {
    File file;
    std::int64_t length = 0;
    bool found = false;
    FileError error = FileError::none;
};

// Looks for the trailer first through a read-only handle, so that a file
// without one is reported as such even when it cannot be written; only a file
// with a trailer is then opened for writing (and looked at again through that
// handle, which is the one that writes).
TrailerForWriting OpenTrailerForWriting(const std::string& path);

// Writes the trailer over the one the file ends in (`hasTrailer`) or appends
// it. A failed overwrite puts the old 128 bytes back; a failed append cuts
// the file back to `length`: no partial trailer is left behind.
FileError PutTrailer(File& file, std::int64_t length, bool hasTrailer, const TagTrailer& trailer);

} // namespace tagwerk
