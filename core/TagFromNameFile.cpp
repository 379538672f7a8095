#include "core/TagFromNameFile.h"

#include "core/FileIo.h"
#include "core/TrailerFileWrite.h"

namespace tagwerk {

namespace {

TagFromNameResult Failed(FileError error) {
    return {TagFromNameOutcome::failed, error};
}

} // namespace

TagFromNameResult WriteTagFromName(const std::string& path, const TagRecord& record, bool overwrite,
                                   TrailerChangeObserver* observer) {
    OpenResult opened = OpenForWriting(path);
    if (opened.error != FileError::none)
        return Failed(opened.error);
    if (opened.length < kTrailerLength)
        return {TagFromNameOutcome::tooShort, FileError::none};

    // The last 128 bytes, read once: they tell whether there is a trailer and
    // are put back if overwriting it fails part-way.
    TagTrailer old;
    if (FileError error =
            opened.file.readAt(opened.length - kTrailerLength, old.data(), old.size());
        error != FileError::none)
        return Failed(error);
    const bool hasTrailer = IsTagMarker(old.data());
    if (hasTrailer && !overwrite)
        return {TagFromNameOutcome::leftAlone, FileError::none};

    const TagTrailer trailer = EncodeTagTrailer(record);
    if (observer) {
        const std::int64_t lengthAfter = opened.length + (hasTrailer ? 0 : kTrailerLength);
        observer->aboutToChange(path, {opened.length, old}, {lengthAfter, trailer});
    }
    FileError error = hasTrailer ? OverwriteTrailer(opened.file, opened.length, trailer, old)
                                 : AppendTrailer(opened.file, opened.length, trailer);
    if (error == FileError::none)
        error = opened.file.close();
    if (error != FileError::none)
        return Failed(error);
    return {TagFromNameOutcome::written, FileError::none};
}

} // namespace tagwerk
