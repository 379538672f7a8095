#include "core/FileIo.h"

#include "core/PathText.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <string_view>
#include <sys/file.h>
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

// Temporary files are named kTemporaryPrefix, six letters or digits chosen
// by mkstemp, kTemporarySuffix.
constexpr std::string_view kTemporaryPrefix = ".tagwerk-";
constexpr std::string_view kTemporarySuffix = ".tmp";
constexpr std::size_t kRandomLength = 6;

bool IsTemporaryName(std::string_view name) {
    if (name.size() != kTemporaryPrefix.size() + kRandomLength + kTemporarySuffix.size() ||
        !name.starts_with(kTemporaryPrefix) || !name.ends_with(kTemporarySuffix)) {
        return false;
    }
    std::string_view random = name.substr(kTemporaryPrefix.size(), kRandomLength);
    return std::all_of(random.begin(), random.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    });
}

// A sweep may lock a new file before its creator does and then removes it,
// so a new file is the creator's only when its lock succeeds while the file
// still has its name. Where the file system has no locks, no sweep can take
// a file either.
bool ClaimNewFile(int descriptor) {
    if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        return errno != EWOULDBLOCK;
    }
    struct stat status {};
    return ::fstat(descriptor, &status) == 0 && status.st_nlink > 0;
}

// Removes `name` in the listed directory if it is a regular file that no live
// copy holds locked. The name is checked again under the lock, as a copy that
// has just replaced its target lets go of its lock but no longer has that name.
void RemoveIfLeftover(int directory, const char* name) {
    int descriptor =
        ::openat(directory, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0) {
        return;
    }
    struct stat opened {};
    struct stat named {};
    if (::fstat(descriptor, &opened) == 0 && S_ISREG(opened.st_mode) &&
        ::flock(descriptor, LOCK_EX | LOCK_NB) == 0 &&
        ::fstatat(directory, name, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
        named.st_dev == opened.st_dev && named.st_ino == opened.st_ino) {
        (void)::unlinkat(directory, name, 0);
    }
    CloseIgnoringFailure(descriptor);
}

KernelCopyCall kernelCopyCall = CopyFileRange;

// What copy_file_range fails with where the kernel lacks it (ENOSYS), the
// files lie on different file systems (EXDEV) or the file system cannot copy
// them (EINVAL, EOPNOTSUPP): a copy through the program still works there.
bool CopyUnsupported(int error) {
    return error == ENOSYS || error == EXDEV || error == EINVAL || error == EOPNOTSUPP;
}

} // namespace

long CopyFileRange(int from, std::int64_t fromOffset, int to, std::int64_t toOffset,
                   std::size_t size) {
    off_t in = fromOffset;
    off_t out = toOffset;
    return ::copy_file_range(from, &in, to, &out, size, 0);
}

KernelCopyCall ReplaceKernelCopyCall(KernelCopyCall call) {
    return std::exchange(kernelCopyCall, call);
}

File::File(File&& other) noexcept
    : descriptor_(std::exchange(other.descriptor_, -1)),
      writeLeaseHeld_(std::exchange(other.writeLeaseHeld_, false)) {}

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        CloseIgnoringFailure(descriptor_);
        descriptor_ = std::exchange(other.descriptor_, -1);
        writeLeaseHeld_ = std::exchange(other.writeLeaseHeld_, false);
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

KernelCopyResult File::copyFrom(const File& source, std::int64_t offset, std::size_t size) {
    for (;;) {
        const long count = kernelCopyCall(source.descriptor_, offset, descriptor_, offset, size);
        if (count > 0) {
            return {count, false, FileError::none};
        }
        if (count == 0 || CopyUnsupported(errno)) {
            return {0, true, FileError::none};
        }
        if (errno != EINTR) {
            return {0, false, LastError()};
        }
    }
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

FileError File::lock() {
    while (::flock(descriptor_, LOCK_EX) != 0) {
        if (errno != EINTR) {
            return LastError();
        }
    }
    return FileError::none;
}

bool File::tryLock() {
    return ::flock(descriptor_, LOCK_EX | LOCK_NB) == 0;
}

// A failed close leaves the descriptor released all the same (Linux), so it
// is never closed twice.
FileError File::close() {
    int descriptor = std::exchange(descriptor_, -1);
    writeLeaseHeld_ = false;
    return ::close(descriptor) == 0 || errno == EINTR ? FileError::none : LastError();
}

FileError CreateDirectories(const std::string& path, unsigned mode) {
    const char separator = static_cast<char>(kPathSeparator);
    for (std::size_t end = path.find(separator, 1);; end = path.find(separator, end + 1)) {
        if (::mkdir(path.substr(0, end).c_str(), mode) != 0 && errno != EEXIST) {
            return LastError();
        }
        if (end == std::string::npos) {
            return FileError::none;
        }
    }
}

std::vector<std::string> ListDirectory(const std::string& path) {
    std::vector<std::string> names;
    if (DIR* listing = ::opendir(path.c_str())) {
        while (const dirent* entry = ::readdir(listing)) {
            const std::string_view name = entry->d_name;
            if (name != "." && name != "..") {
                names.emplace_back(name);
            }
        }
        ::closedir(listing);
    }
    return names;
}

void SyncDirectory(const std::string& directory) {
    int descriptor =
        ::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor >= 0) {
        (void)::fsync(descriptor);
        CloseIgnoringFailure(descriptor);
    }
}

FileError RemoveFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0 ? FileError::none : LastError();
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

// The name goes while the lock is still held: after it, a sweep could remove
// the file and the name could become another file's by the time it goes.
void TemporaryFile::discard() {
    if (!path_.empty()) {
        ::unlink(path_.c_str());
        path_.clear();
    }
    file_ = File();
}

FileError TemporaryFile::replace(const std::string& target, File* leased) {
    if (FileError error = file_.sync(); error != FileError::none) {
        return error;
    }
    if (leased != nullptr) {
        if (FileError error = exchangeGuarded(target, *leased); error != FileError::none) {
            return error;
        }
    } else if (::rename(path_.c_str(), target.c_str()) != 0) {
        return LastError();
    }
    // Only under its final name may the copy let go of its lock, or a sweep
    // would take it for a leftover. Its bytes are synced and in place, so a
    // failing close changes nothing.
    file_ = File();
    // The rename has happened; syncing the directory only makes it durable
    // sooner, and some file systems cannot sync a directory at all.
    SyncDirectory(path_.substr(0, path_.rfind(static_cast<char>(kPathSeparator)) + 1));
    path_.clear();
    return FileError::none;
}

// A program that asks to open the target waits for the lease and then gets
// the file its name named when it asked. Swapped, the target keeps a name
// (the copy's) until the lease has been looked at again, so that it can be
// swapped back when a program asked meanwhile; its lock keeps a sweep from
// taking it for a leftover copy. Where the file system cannot swap, the
// lease is looked at just before the rename.
FileError TemporaryFile::exchangeGuarded(const std::string& target, File& leased) {
    if (leased.leaseBroken()) {
        return FileError::beingWritten;
    }
    if (::renameat2(AT_FDCWD, path_.c_str(), AT_FDCWD, target.c_str(), RENAME_EXCHANGE) != 0) {
        if (errno != EINVAL && errno != ENOSYS) {
            return LastError();
        }
        return ::rename(path_.c_str(), target.c_str()) == 0 ? FileError::none : LastError();
    }
    if (leased.leaseBroken() &&
        ::renameat2(AT_FDCWD, path_.c_str(), AT_FDCWD, target.c_str(), RENAME_EXCHANGE) == 0) {
        return FileError::beingWritten;
    }
    (void)::unlink(path_.c_str());
    return FileError::none;
}

// A new file a sweep took is closed and not removed: the sweep removes it,
// and by then its name may be another's.
TemporaryFileResult CreateTemporaryFile(const std::string& directory) {
    const std::string pattern = directory + std::string(kTemporaryPrefix) +
                                std::string(kRandomLength, 'X') + std::string(kTemporarySuffix);
    const int attempts = 100;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        std::string path = pattern;
        int descriptor =
            ::mkostemps(path.data(), static_cast<int>(kTemporarySuffix.size()), O_CLOEXEC);
        if (descriptor < 0) {
            return {TemporaryFile(), LastError()};
        }
        if (ClaimNewFile(descriptor)) {
            return {TemporaryFile(File(descriptor), std::move(path)), FileError::none};
        }
        CloseIgnoringFailure(descriptor);
    }
    return {TemporaryFile(), FileError::ioError};
}

void SweepLeftoverTemporaryFiles(const std::string& directory) {
    DIR* listing = ::opendir(directory.empty() ? "." : directory.c_str());
    if (listing == nullptr) {
        return;
    }
    while (const dirent* entry = ::readdir(listing)) {
        if (IsTemporaryName(entry->d_name)) {
            RemoveIfLeftover(::dirfd(listing), entry->d_name);
        }
    }
    ::closedir(listing);
}

ResolvedPath ResolveSymbolicLinks(const std::string& path) {
    std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr),
                                                         &std::free);
    if (!resolved) {
        return {{}, LastError()};
    }
    return {resolved.get(), FileError::none};
}

ResolvedPath LinkResolver::resolve(const std::string& path, bool nameIsLink) {
    const std::size_t nameStart = path.rfind('/') + 1;
    const std::string_view name = std::string_view(path).substr(nameStart);
    if (nameStart == 0 || name.empty() || name == "." || name == "..") {
        return ResolveSymbolicLinks(path);
    }
    if (path.compare(0, nameStart, folder_) != 0) {
        folder_.assign(path, 0, nameStart);
        ResolvedPath folder = ResolveSymbolicLinks(folder_);
        resolvedFolder_ = folder.error == FileError::none ? std::move(folder.path) : "";
        if (!resolvedFolder_.empty() && resolvedFolder_.back() != '/') {
            resolvedFolder_ += '/';
        }
    }
    if (resolvedFolder_.empty() || nameIsLink) {
        return ResolveSymbolicLinks(path);
    }
    return {resolvedFolder_ + std::string(name), FileError::none};
}

} // namespace tagwerk
