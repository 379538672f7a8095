#include "core/FileIo.h"

#include "core/PathText.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace tagwerk {

static_assert(sizeof(off_t) == 8, "file offsets must be 64-bit");

namespace {

FileError LastError() {
    return FileErrorFromErrno(errno);
}

void CloseIgnoringFailure(int descriptor) {
    if (descriptor >= 0) {
        ::close(descriptor);
    }
}

// Repeats a read or write that may stop short (or be interrupted) until all
// `size` bytes are through. Nothing moved at all means the file ended.
template <typename Transfer> FileError TransferAll(std::size_t size, Transfer transfer) {
    std::size_t done = 0;
    while (done < size) {
        ssize_t count = transfer(done);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            return LastError();
        }
        if (count == 0) {
            return FileError::ioError;
        }
        done += static_cast<std::size_t>(count);
    }
    return FileError::none;
}

FileStamp StampOf(const struct stat& status) {
    return {status.st_dev, status.st_ino, status.st_size, status.st_mtim.tv_sec,
            status.st_mtim.tv_nsec};
}

struct OpenedDescriptor {
    int descriptor = -1;
    FileStamp stamp;
    FileError error = FileError::none;
};

// O_NONBLOCK keeps the open from waiting on a FIFO, which is then refused as
// not a file; on regular files it has no effect.
OpenedDescriptor OpenRegularFile(const std::string& path, int access) {
    int descriptor = ::open(path.c_str(), access | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (descriptor < 0) {
        return {-1, {}, LastError()};
    }
    struct stat status {};
    if (::fstat(descriptor, &status) != 0) {
        FileError error = LastError();
        CloseIgnoringFailure(descriptor);
        return {-1, {}, error};
    }
    if (!S_ISREG(status.st_mode)) {
        CloseIgnoringFailure(descriptor);
        return {-1, {}, FileError::notAFile};
    }
    return {descriptor, StampOf(status), FileError::none};
}

} // namespace

File::File(File&& other) noexcept : descriptor_(std::exchange(other.descriptor_, -1)) {}

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        CloseIgnoringFailure(descriptor_);
        descriptor_ = std::exchange(other.descriptor_, -1);
    }
    return *this;
}

File::~File() {
    CloseIgnoringFailure(descriptor_);
}

FileError File::readAt(std::int64_t offset, void* buffer, std::size_t size) const {
    auto* bytes = static_cast<unsigned char*>(buffer);
    return TransferAll(size, [&](std::size_t done) {
        return ::pread(descriptor_, bytes + done, size - done, offset + std::int64_t(done));
    });
}

FileError File::writeAt(std::int64_t offset, const void* data, std::size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    return TransferAll(size, [&](std::size_t done) {
        return ::pwrite(descriptor_, bytes + done, size - done, offset + std::int64_t(done));
    });
}

FileError File::truncate(std::int64_t length) {
    while (::ftruncate(descriptor_, length) != 0) {
        if (errno != EINTR) {
            return LastError();
        }
    }
    return FileError::none;
}

FileError File::sync() {
    return ::fsync(descriptor_) == 0 ? FileError::none : LastError();
}

FileError File::takePermissionsOf(const File& model) {
    struct stat status {};
    if (::fstat(model.descriptor_, &status) != 0) {
        return LastError();
    }
    // Only a privileged user may give a file away; for others the file keeps
    // their own owner, which is no reason to fail. The owner may still hand it
    // to any group they belong to, so a file shared through a group stays shared.
    if (::fchown(descriptor_, status.st_uid, status.st_gid) != 0) {
        (void)::fchown(descriptor_, static_cast<uid_t>(-1), status.st_gid);
    }
    return ::fchmod(descriptor_, status.st_mode & 07777) == 0 ? FileError::none : LastError();
}

// A failed close leaves the descriptor released all the same (Linux), so it
// is never closed twice.
FileError File::close() {
    int descriptor = std::exchange(descriptor_, -1);
    return ::close(descriptor) == 0 || errno == EINTR ? FileError::none : LastError();
}

OpenResult OpenForReading(const std::string& path) {
    OpenedDescriptor opened = OpenRegularFile(path, O_RDONLY);
    return {File(opened.descriptor), opened.stamp.length, opened.stamp, opened.error};
}

OpenResult OpenForWriting(const std::string& path) {
    OpenedDescriptor opened = OpenRegularFile(path, O_RDWR);
    return {File(opened.descriptor), opened.stamp.length, opened.stamp, opened.error};
}

TemporaryFile::TemporaryFile(TemporaryFile&& other) noexcept
    : file_(std::move(other.file_)), path_(std::exchange(other.path_, {})) {}

TemporaryFile& TemporaryFile::operator=(TemporaryFile&& other) noexcept {
    if (this != &other) {
        discard();
        file_ = std::move(other.file_);
        path_ = std::exchange(other.path_, {});
    }
    return *this;
}

TemporaryFile::~TemporaryFile() {
    discard();
}

void TemporaryFile::discard() {
    file_ = File();
    if (!path_.empty()) {
        ::unlink(path_.c_str());
        path_.clear();
    }
}

FileError TemporaryFile::replace(const std::string& target) {
    if (FileError error = file_.sync(); error != FileError::none) {
        return error;
    }
    if (FileError error = file_.close(); error != FileError::none) {
        return error;
    }
    if (::rename(path_.c_str(), target.c_str()) != 0) {
        return LastError();
    }
    // The rename has happened; syncing the directory only makes it durable
    // sooner, and some file systems cannot sync a directory at all.
    std::string directory = path_.substr(0, path_.rfind(static_cast<char>(kPathSeparator)) + 1);
    int descriptor =
        ::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor >= 0) {
        (void)::fsync(descriptor);
        CloseIgnoringFailure(descriptor);
    }
    path_.clear();
    return FileError::none;
}

TemporaryFileResult CreateTemporaryFile(const std::string& directory) {
    std::string path = directory + ".tagwerk-XXXXXX.tmp";
    const int suffixLength = 4; // ".tmp"
    int descriptor = ::mkostemps(path.data(), suffixLength, O_CLOEXEC);
    if (descriptor < 0) {
        return {TemporaryFile(), LastError()};
    }
    return {TemporaryFile(File(descriptor), std::move(path)), FileError::none};
}

FileError CheckUnchanged(const std::string& path, const FileStamp& stamp) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0) {
        return LastError();
    }
    return StampOf(status) == stamp ? FileError::none : FileError::changedMeanwhile;
}

ResolvedPath ResolveSymbolicLinks(const std::string& path) {
    std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr),
                                                         &std::free);
    if (!resolved) {
        return {{}, LastError()};
    }
    return {resolved.get(), FileError::none};
}

} // namespace tagwerk
