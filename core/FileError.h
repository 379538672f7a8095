#pragma once
// Why a file operation failed, in terms a window can turn into a message.
namespace tagwerk {

enum class FileError {
    none,
    notFound,         // the file (or a directory on its path) does not exist
    accessDenied,     // no permission for the file or its directory
    readOnlyMedium,   // the file system is mounted read-only
    diskFull,         // no space left, quota or file-size limit reached
    notAFile,         // the path names a directory or other non-regular file
    changedMeanwhile, // another program changed the file while it was worked on
    beingWritten,     // another program has the file open for writing
    ioError,          // any other failure of the system
};

// Maps an errno value to its FileError.
FileError FileErrorFromErrno(int error);

} // namespace tagwerk
