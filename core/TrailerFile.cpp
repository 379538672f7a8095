#include "core/TrailerFile.h"

#include "core/TrailerFileWrite.h"

namespace tagwerk {

FindResult FindTagTrailer(const File& file, std::int64_t length, TrailerRule rule) {
    FindResult result;
    if (length > kTrailerLength ||
        (rule == TrailerRule::trailerOnlyToo && length == kTrailerLength)) {
        result.error =
            file.readAt(length - kTrailerLength, result.trailer.data(), result.trailer.size());
        result.found = result.error == FileError::none && IsTagMarker(result.trailer.data());
    }
    return result;
}

ReadResult ReadTagTrailer(const std::string& path, TrailerRule rule) {
    OpenResult opened = OpenForReading(path);
    if (opened.error != FileError::none) {
        return {ReadOutcome::error, {}, opened.error};
    }
    FindResult found = FindTagTrailer(opened.file, opened.length, rule);
    if (found.error != FileError::none) {
        return {ReadOutcome::error, {}, found.error};
    }
    if (!found.found) {
        return {ReadOutcome::noTrailer, {}, FileError::none};
    }
    return {ReadOutcome::trailerFound, DecodeTagTrailer(found.trailer), FileError::none};
}

WriteResult WriteTagTrailer(const std::string& path, const TagRecord& record,
                            TrailerChangeObserver* observer) {
    return UpdateTagTrailer(
        path, [&record](const std::optional<TagRecord>& old) { return KeepingTrack(record, old); },
        observer);
}

WriteResult UpdateTagTrailer(const std::string& path, const TrailerChange& change,
                             TrailerChangeObserver* observer, TrailerRule rule) {
    OpenResult opened = OpenForChanging(path);
    if (opened.error != FileError::none) {
        return {WriteOutcome::error, opened.error};
    }
    const FindResult found = FindTagTrailer(opened.file, opened.length, rule);
    if (found.error != FileError::none) {
        return {WriteOutcome::error, found.error};
    }
    const TagTrailer trailer = EncodeTagTrailer(
        change(found.found ? std::optional(DecodeTagTrailer(found.trailer)) : std::nullopt));
    if (observer) {
        // The last 128 bytes of a file the rule lets count were read already.
        const FileStateResult before =
            found.found || opened.length > kTrailerLength
                ? FileStateResult{{opened.length, found.trailer}, FileError::none}
                : ReadFileState(opened.file, opened.length);
        if (before.error != FileError::none) {
            return {WriteOutcome::error, before.error};
        }
        const std::int64_t lengthAfter = opened.length + (found.found ? 0 : kTrailerLength);
        observer->aboutToChange(path, before.state, {lengthAfter, trailer}, opened.nameIsLink);
    }
    FileError error = found.found
                          ? OverwriteTrailer(opened.file, opened.length, trailer, found.trailer)
                          : AppendTrailer(opened.file, opened.length, trailer);
    if (error == FileError::none) {
        error = opened.file.close();
    }
    return {error == FileError::none ? WriteOutcome::written : WriteOutcome::error, error};
}

BlankResult BlankTagTrailer(const std::string& path, TrailerChangeObserver* observer,
                            TrailerRule rule) {
    TrailerForWriting opened = OpenTrailerForWriting(path, rule);
    if (opened.error != FileError::none) {
        return {BlankOutcome::error, opened.error};
    }
    if (!opened.found) {
        return {BlankOutcome::noTrailer, FileError::none};
    }
    const TagTrailer blank = BlankTagTrailerBytes();
    if (observer) {
        observer->aboutToChange(path, {opened.length, opened.trailer}, {opened.length, blank},
                                opened.nameIsLink);
    }
    FileError error = OverwriteTrailer(opened.file, opened.length, blank, opened.trailer);
    if (error == FileError::none) {
        error = opened.file.close();
    }
    return {error == FileError::none ? BlankOutcome::blanked : BlankOutcome::error, error};
}

} // namespace tagwerk
