#include "core/TrailerFile.h"

#include "core/TrailerFileWrite.h"

namespace tagwerk {

FindResult FindTagTrailer(const File& file, std::int64_t length) {
    FindResult result;
    if (length > kTrailerLength) {
        result.error =
            file.readAt(length - kTrailerLength, result.trailer.data(), result.trailer.size());
        result.found = result.error == FileError::none && IsTagMarker(result.trailer.data());
    }
    return result;
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
    return {ReadOutcome::trailerFound, DecodeTagTrailer(found.trailer), FileError::none};
}

WriteResult WriteTagTrailer(const std::string& path, const TagRecord& record) {
    return UpdateTagTrailer(path, [&record](const std::optional<TagRecord>&) { return record; });
}

WriteResult UpdateTagTrailer(const std::string& path, const TrailerChange& change) {
    OpenResult opened = OpenForWriting(path);
    FileError error = opened.error;
    if (error == FileError::none) {
        FindResult found = FindTagTrailer(opened.file, opened.length);
        error = found.error;
        if (error == FileError::none) {
            const TagTrailer trailer = EncodeTagTrailer(change(
                found.found ? std::optional(DecodeTagTrailer(found.trailer)) : std::nullopt));
            error = found.found
                        ? OverwriteTrailer(opened.file, opened.length, trailer, found.trailer)
                        : AppendTrailer(opened.file, opened.length, trailer);
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
    FileError error =
        OverwriteTrailer(opened.file, opened.length, BlankTagTrailerBytes(), opened.trailer);
    if (error == FileError::none) {
        error = opened.file.close();
    }
    return {error == FileError::none ? BlankOutcome::blanked : BlankOutcome::error, error};
}

} // namespace tagwerk
