#include "core/FileError.h"

#include <cerrno>

namespace tagwerk {

FileError FileErrorFromErrno(int error) {
    switch (error) {
    case 0:
        return FileError::none;
    case ENOENT:
    case ENOTDIR:
        return FileError::notFound;
    case EACCES:
    case EPERM:
    case ETXTBSY:
        return FileError::accessDenied;
    case EROFS:
        return FileError::readOnlyMedium;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return FileError::diskFull;
    case EISDIR:
    case ENXIO:  // open() of a Unix socket, or of a device that is not there
    case ENODEV: // what some drivers give instead
        return FileError::notAFile;
    default:
        return FileError::ioError;
    }
}

} // namespace tagwerk
