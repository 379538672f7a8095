#include "core/TrailerFileWrite.h"

namespace tagwerk {

namespace {

TrailerForWriting FindThrough(OpenResult opened, TrailerRule rule) {
    if (opened.error != FileError::none) {
        return {File(), 0, {}, false, {}, opened.error};
    }
    FindResult found = FindTagTrailer(opened.file, opened.length, rule);
    return {.file = std::move(opened.file),
            .length = opened.length,
            .stamp = opened.stamp,
            .found = found.found,
            .trailer = found.trailer,
            .error = found.error,
            .nameIsLink = opened.nameIsLink};
}

// Without a write lease another program may have written since the length
// was taken; what it added is not written over.
FileError CheckLength(const File& file, std::int64_t length) {
    return file.holdsWriteLease() || file.currentLength() == length ? FileError::none
                                                                    : FileError::changedMeanwhile;
}

} // namespace

TrailerForWriting OpenTrailerForReading(const std::string& path, TrailerRule rule) {
    return FindThrough(OpenForReading(path), rule);
}

// The read-only handle is closed first, as this program's own open handle
// would keep it from taking a lease.
TrailerForWriting OpenTrailerForWriting(const std::string& path, TrailerRule rule) {
    if (TrailerForWriting probe = OpenTrailerForReading(path, rule);
        probe.error != FileError::none || !probe.found) {
        return probe;
    }
    return FindThrough(OpenForChanging(path), rule);
}

FileError OverwriteTrailer(File& file, std::int64_t length, const TagTrailer& trailer,
                           const TagTrailer& old) {
    if (FileError error = CheckLength(file, length); error != FileError::none) {
        return error;
    }
    const std::int64_t offset = length - kTrailerLength;
    FileError error = file.writeAt(offset, trailer.data(), trailer.size());
    if (error != FileError::none) {
        (void)file.writeAt(offset, old.data(), old.size());
    }
    return error;
}

FileError AppendTrailer(File& file, std::int64_t length, const TagTrailer& trailer) {
    if (FileError error = CheckLength(file, length); error != FileError::none) {
        return error;
    }
    FileError error = file.writeAt(length, trailer.data(), trailer.size());
    if (error != FileError::none) {
        (void)file.truncate(length);
    }
    return error;
}

} // namespace tagwerk
