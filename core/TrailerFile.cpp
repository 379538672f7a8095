#include "core/TrailerFile.h"

#include "core/TrailerFileWrite.h"

namespace tagwerk {

FindResult FindTagTrailer(const File& file, std::int64_t length) {
    if (length <= kTrailerLength) {
        return {};
    }
    std::uint8_t marker[3];
    if (FileError error = file.readAt(length - kTrailerLength, marker, sizeof marker);
        error != FileError::none) {
        return {false, error};
    }
    return {IsTagMarker(marker), FileError::none};
}

ReadResult ReadTagTrailer(const std::string& path) {
    OpenResult opened = OpenForReading(path);
    if (opened.error != FileError::none) {
        return {ReadOutcome::error, {}, opened.error};
    }
    FindResult found = FindTagTrailer(opened.file, opened.length);
    if (found.error != FileError::none) {
        return {ReadOutcome::error, {}, found.error};
    }
    if (!found.found) {
        return {ReadOutcome::noTrailer, {}, FileError::none};
    }
    TagTrailer trailer;
    if (FileError error =
            opened.file.readAt(opened.length - kTrailerLength, trailer.data(), trailer.size());
        error != FileError::none) {
        return {ReadOutcome::error, {}, error};
    }
    return {ReadOutcome::trailerFound, DecodeTagTrailer(trailer), FileError::none};
}

WriteResult WriteTagTrailer(const std::string& path, const TagRecord& record) {
    OpenResult opened = OpenForWriting(path);
    FileError error = opened.error;
    if (error == FileError::none) {
        FindResult found = FindTagTrailer(opened.file, opened.length);
        error = found.error;
        if (error == FileError::none) {
            error = PutTrailer(opened.file, opened.length, found.found, EncodeTagTrailer(record));
        }
    }
    if (error == FileError::none) {
        error = opened.file.close();
    }
    return {error == FileError::none ? WriteOutcome::written : WriteOutcome::error, error};
}

BlankResult BlankTagTrailer(const std::string& path) {
    TrailerForWriting opened = OpenTrailerForWriting(path);
    if (opened.error != FileError::none) {
        return {BlankOutcome::error, opened.error};
    }
    if (!opened.found) {
        return {BlankOutcome::noTrailer, FileError::none};
    }
    FileError error = PutTrailer(opened.file, opened.length, true, BlankTagTrailerBytes());
    if (error == FileError::none) {
        error = opened.file.close();
    }
    return {error == FileError::none ? BlankOutcome::blanked : BlankOutcome::error, error};
}

} // namespace tagwerk
