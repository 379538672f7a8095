#include "core/TagFromNameFile.h"

#include "core/FileIo.h"
#include "core/TrailerFileWrite.h"

namespace tagwerk {

namespace {

TagFromNameResult Failed(FileError error) {
    return {TagFromNameOutcome::failed, error};
}

} // namespace

TagFromNameResult WriteTagFromName(const std::string& path, const TagRecord& record,
                                   bool overwrite) {
    OpenResult opened = OpenForWriting(path);
    if (opened.error != FileError::none)
        return Failed(opened.error);
    if (opened.length < kTrailerLength)
        return {TagFromNameOutcome::tooShort, FileError::none};

    std::uint8_t marker[3];
    if (FileError error = opened.file.readAt(opened.length - kTrailerLength, marker, sizeof marker);
        error != FileError::none)
        return Failed(error);
    const bool hasTrailer = IsTagMarker(marker);
    if (hasTrailer && !overwrite)
        return {TagFromNameOutcome::leftAlone, FileError::none};

    FileError error = PutTrailer(opened.file, opened.length, hasTrailer, EncodeTagTrailer(record));
    if (error == FileError::none)
        error = opened.file.close();
    if (error != FileError::none)
        return Failed(error);
    return {TagFromNameOutcome::written, FileError::none};
}

} // namespace tagwerk
