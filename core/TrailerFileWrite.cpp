#include "core/TrailerFileWrite.h"

namespace tagwerk {

namespace {

TrailerForWriting FindThrough(OpenResult opened) {
    if (opened.error != FileError::none) {
        return {File(), 0, {}, false, {}, opened.error};
    }
    FindResult found = FindTagTrailer(opened.file, opened.length);
    return {.file = std::move(opened.file),
            .length = opened.length,
            .stamp = opened.stamp,
            .found = found.found,
            .trailer = found.trailer,
            .error = found.error};
}

} // namespace

TrailerForWriting OpenTrailerForWriting(const std::string& path) {
    TrailerForWriting probe = FindThrough(OpenForReading(path));
    if (probe.error != FileError::none || !probe.found) {
        return probe;
    }
    return FindThrough(OpenForWriting(path));
}

FileError OverwriteTrailer(File& file, std::int64_t length, const TagTrailer& trailer,
                           const TagTrailer& old) {
    const std::int64_t offset = length - kTrailerLength;
    FileError error = file.writeAt(offset, trailer.data(), trailer.size());
    if (error != FileError::none) {
        (void)file.writeAt(offset, old.data(), old.size());
    }
    return error;
}

FileError AppendTrailer(File& file, std::int64_t length, const TagTrailer& trailer) {
    FileError error = file.writeAt(length, trailer.data(), trailer.size());
    if (error != FileError::none) {
        (void)file.truncate(length);
    }
    return error;
}

} // namespace tagwerk
