// Part of the file layer (core/FileIo.h): leases, through which the kernel
// keeps other programs from writing a file while Tagwerk changes it.
#include "core/FileIo.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>

namespace tagwerk {

// The kernel tells the holder of a lease that another program waits for by a
// signal, SIGIO unless told otherwise, which would end this program. SIGURG
// is ignored unless a program asks for it; the holder asks leaseBroken()
// instead.
File::Lease File::takeLease(bool write) {
    if (::fcntl(descriptor_, F_SETSIG, SIGURG) != 0) {
        return Lease::unavailable;
    }
    if (::fcntl(descriptor_, F_SETLEASE, write ? F_WRLCK : F_RDLCK) == 0) {
        return Lease::held;
    }
    return errno == EAGAIN ? Lease::othersOpen : Lease::unavailable;
}

// While another program waits, the lease reads as the one it is to become:
// none for a read lease, which a writer breaks.
bool File::leaseBroken() const {
    return ::fcntl(descriptor_, F_GETLEASE) == F_UNLCK;
}

std::int64_t File::currentLength() const {
    struct stat status {};
    return ::fstat(descriptor_, &status) == 0 ? status.st_size : -1;
}

// A write lease is refused while any other handle has the file open; a read
// lease through a handle of its own then tells whether one of them writes.
// The read lease goes with that handle before the file is opened for writing
// again, as an open for writing would break it.
OpenResult OpenForChanging(const std::string& path) {
    OpenResult opened = OpenForWriting(path);
    if (opened.error != FileError::none || opened.file.takeLease(true) != File::Lease::othersOpen) {
        return opened;
    }
    opened.file = File();
    const FileStamp stamp = opened.stamp;
    {
        OpenResult probe = OpenForReading(path);
        if (probe.error == FileError::none &&
            probe.file.takeLease(false) == File::Lease::othersOpen) {
            probe.error = FileError::beingWritten;
        }
        if (probe.error != FileError::none) {
            return {File(), 0, {}, probe.error};
        }
    }
    opened = OpenForWriting(path);
    if (opened.error == FileError::none && opened.stamp != stamp) {
        return {File(), 0, {}, FileError::changedMeanwhile};
    }
    return opened;
}

} // namespace tagwerk
