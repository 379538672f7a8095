#pragma once
// Steps shared by the trailer operations that change a file.
#include "core/FileIo.h"
#include "core/TagTrailer.h"
#include "core/TrailerFile.h"

#include <cstdint>
#include <string>

namespace tagwerk {

inline constexpr std::int64_t kTrailerLength = kTrailerSize;

// A file opened to change or replace it, and whether it ends in a trailer.
struct TrailerForWriting {
    File file;
    std::int64_t length = 0;
    FileStamp stamp; // as the file was when opened
    bool found = false;
    TagTrailer trailer{}; // the file's last 128 bytes, whenever the rule lets its length count
    FileError error = FileError::none;
    bool nameIsLink = false; // as OpenResult tells it
};

// Looks for the trailer through a handle opened for reading only: the
// removal, which replaces the file and never writes it, copies through it.
TrailerForWriting OpenTrailerForReading(const std::string& path, TrailerRule rule);

// Looks for the trailer first through a read-only handle, so that a file
// without one is reported as such even when it cannot be written; only a file
// with a trailer is then opened for writing (and looked at again through that
// handle, which is the one that writes).
TrailerForWriting OpenTrailerForWriting(const std::string& path, TrailerRule rule);

// Writes the trailer over the last 128 bytes of the file, which are `old`;
// if that fails part-way, `old` is put back.
FileError OverwriteTrailer(File& file, std::int64_t length, const TagTrailer& trailer,
                           const TagTrailer& old);

// Appends the trailer; if that fails part-way, the file is cut back to
// `length`, so no partial trailer is left behind.
FileError AppendTrailer(File& file, std::int64_t length, const TagTrailer& trailer);

} // namespace tagwerk
