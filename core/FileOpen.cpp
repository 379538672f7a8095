// The file layer (core/FileIo.h) opening files, and the leases through which
// the kernel keeps other programs from writing a file while Tagwerk changes
// it.
#include "core/FileIo.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tagwerk {

namespace {

FileStamp StampOf(const struct stat& status) {
    return {status.st_dev, status.st_ino, status.st_size, status.st_mtim.tv_sec,
            status.st_mtim.tv_nsec};
}

struct OpenedDescriptor {
    int descriptor = -1;
    FileStamp stamp;
    FileError error = FileError::none;
    bool nameIsLink = false;
    File::Lease lease = File::Lease::unavailable;
};

// The kernel tells the holder of a lease that another program waits for by a
// signal, SIGIO unless told otherwise, which would end this program. SIGURG
// is ignored unless a program asks for it; the holder asks leaseBroken()
// instead.
File::Lease TakeLease(int descriptor, bool write) {
    if (::fcntl(descriptor, F_SETSIG, SIGURG) != 0) {
        return File::Lease::unavailable;
    }
    if (::fcntl(descriptor, F_SETLEASE, write ? F_WRLCK : F_RDLCK) == 0) {
        return File::Lease::held;
    }
    return errno == EAGAIN ? File::Lease::othersOpen : File::Lease::unavailable;
}

// A path is first opened without following a link in its last part, which
// then says it is one: few are, and so the journal need not ask for each.
int OpenOnce(const std::string& path, int access, bool& nameIsLink) {
    constexpr int kCommon = O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    const int descriptor = ::open(path.c_str(), access | O_NOFOLLOW | kCommon, 0600);
    nameIsLink = descriptor < 0 && errno == ELOOP && (access & O_NOFOLLOW) == 0;
    return nameIsLink ? ::open(path.c_str(), access | kCommon, 0600) : descriptor;
}

// O_NONBLOCK keeps the open from waiting on a FIFO, which is then refused as
// not a file. On a regular file it only keeps the open from waiting for a
// program that holds a lease on it (another Tagwerk changing the file): such
// an open is tried again a few times, as a change in place takes moments
// only. A file it creates is its owner's alone. A write lease is asked for
// before the file's length is taken, so that the length stays true while
// the lease is held.
OpenedDescriptor OpenRegularFile(const std::string& path, int access, bool writeLease = false) {
    constexpr int kAttempts = 20;
    constexpr useconds_t kPause = 5000;
    OpenedDescriptor opened;
    for (int attempt = 1; opened.descriptor < 0; ++attempt) {
        opened.descriptor = OpenOnce(path, access, opened.nameIsLink);
        if (opened.descriptor < 0 && (errno != EWOULDBLOCK || attempt == kAttempts)) {
            opened.error =
                errno == EWOULDBLOCK ? FileError::beingWritten : FileErrorFromErrno(errno);
            return opened;
        }
        if (opened.descriptor < 0) {
            ::usleep(kPause);
        }
    }
    if (writeLease) {
        opened.lease = TakeLease(opened.descriptor, true);
    }
    struct stat status {};
    if (::fstat(opened.descriptor, &status) != 0) {
        opened.error = FileErrorFromErrno(errno);
    } else if (!S_ISREG(status.st_mode)) {
        opened.error = FileError::notAFile;
    }
    if (opened.error != FileError::none) {
        ::close(opened.descriptor);
        opened.descriptor = -1;
        return opened;
    }
    opened.stamp = StampOf(status);
    return opened;
}

OpenResult Opened(const OpenedDescriptor& opened, File file) {
    return {std::move(file), opened.stamp.length, opened.stamp, opened.error, opened.nameIsLink};
}

// The trailer read before it is replaced is no access worth recording, and
// recording it would update the file's inode a second time whenever the file
// was written since it was last read. Only the owner may ask for that.
OpenedDescriptor OpenWritable(const std::string& path, bool writeLease) {
    OpenedDescriptor opened = OpenRegularFile(path, O_RDWR | O_NOATIME, writeLease);
    if (opened.error == FileError::accessDenied) {
        opened = OpenRegularFile(path, O_RDWR, writeLease);
    }
    return opened;
}

} // namespace

File::Lease File::takeReadLease() {
    return TakeLease(descriptor_, false);
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

OpenResult OpenForReading(const std::string& path) {
    const OpenedDescriptor opened = OpenRegularFile(path, O_RDONLY);
    return Opened(opened, File(opened.descriptor));
}

// A write lease is refused while any other handle has the file open; a read
// lease through a handle of its own then tells whether one of them writes.
// The read lease goes with that handle before the file is opened for writing
// again, as an open for writing would break it.
OpenResult OpenForChanging(const std::string& path) {
    const OpenedDescriptor leased = OpenWritable(path, true);
    if (leased.error != FileError::none || leased.lease != File::Lease::othersOpen) {
        return Opened(leased, File(leased.descriptor, leased.lease == File::Lease::held));
    }
    ::close(leased.descriptor);
    {
        OpenResult probe = OpenForReading(path);
        if (probe.error == FileError::none &&
            probe.file.takeReadLease() == File::Lease::othersOpen) {
            probe.error = FileError::beingWritten;
        }
        if (probe.error != FileError::none) {
            return {File(), 0, {}, probe.error};
        }
    }
    const OpenedDescriptor opened = OpenWritable(path, false);
    if (opened.error == FileError::none && opened.stamp != leased.stamp) {
        ::close(opened.descriptor);
        return {File(), 0, {}, FileError::changedMeanwhile};
    }
    return Opened(opened, File(opened.descriptor));
}

FileError CheckWritable(const std::string& path) {
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0 ? FileError::none
                                                                      : FileErrorFromErrno(errno);
}

OpenResult OpenOwnFile(const std::string& path) {
    const OpenedDescriptor opened = OpenRegularFile(path, O_RDWR | O_NOFOLLOW);
    return Opened(opened, File(opened.descriptor));
}

OpenResult CreateForWriting(const std::string& path, Creation creation) {
    const int flags = O_RDWR | O_CREAT | O_NOFOLLOW | (creation == Creation::newOnly ? O_EXCL : 0);
    const OpenedDescriptor opened = OpenRegularFile(path, flags);
    return Opened(opened, File(opened.descriptor));
}

FileError CheckUnchanged(const std::string& path, const FileStamp& stamp) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0) {
        return FileErrorFromErrno(errno);
    }
    return StampOf(status) == stamp ? FileError::none : FileError::changedMeanwhile;
}

} // namespace tagwerk
