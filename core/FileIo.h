#pragma once
// The one small layer through which core reaches the file system (POSIX).
// Each call says how it ended as a FileError; none throws. Offsets and
// lengths are 64-bit, so files over 4 GiB work.
#include "core/FileError.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tagwerk {

struct OpenResult;
struct TemporaryFileResult;
enum class Creation;

// How one copy made inside the kernel ended.
struct KernelCopyResult {
    std::int64_t copied = 0;  // may be fewer bytes than asked for
    bool unsupported = false; // the kernel or file system cannot copy these files so
    FileError error = FileError::none;
};

// An open regular file. It is closed when it goes out of scope; where the
// outcome of closing matters (after writing), call close() instead.
class File {
public:
    File() = default;
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    ~File();

    bool isOpen() const { return descriptor_ >= 0; }

    // Reads exactly `size` bytes at `offset`; a file that ends before is an ioError.
    FileError readAt(std::int64_t offset, void* buffer, std::size_t size) const;
    // Writes all `size` bytes at `offset`.
    FileError writeAt(std::int64_t offset, const void* data, std::size_t size);
    // Copies up to `size` bytes at `offset` of `source` to the same offset of
    // this file inside the kernel, without passing them through the program;
    // file systems that share extents (btrfs, XFS with reflink) share them
    // instead of copying. Unsupported when the system has no such copy, the
    // file system refuses it or nothing was copied; the bytes then have to
    // go through readAt and writeAt.
    KernelCopyResult copyFrom(const File& source, std::int64_t offset, std::size_t size);
    FileError truncate(std::int64_t length);
    FileError sync();
    // Gives this file the permission bits of `model` and, where the system
    // allows it, its owner and group, or at least its group.
    FileError takePermissionsOf(const File& model);
    // An exclusive lock (flock) that lasts until the file is closed: lock()
    // waits for it, tryLock() takes it only if no other open file holds it.
    FileError lock();
    bool tryLock();
    // A lease (Linux): the kernel makes another program's open of the file
    // wait until this handle lets go of it, and tells this handle so. A read
    // lease, on a handle opened for reading only, keeps out writers; a write
    // lease (OpenForChanging) keeps out every other open. `othersOpen`:
    // another handle has the file open for writing (read lease) or at all
    // (write lease). `unavailable`: another owner's file, or a file system
    // without leases.
    enum class Lease { held, othersOpen, unavailable };
    Lease takeReadLease();
    // Whether another program has asked to open the file since the lease was
    // taken; only for a handle that holds one.
    bool leaseBroken() const;
    // Whether this handle holds a write lease: no other program can have
    // written the file since the lease was taken.
    bool holdsWriteLease() const { return writeLeaseHeld_; }
    // The file's length now; -1 when it cannot be had.
    std::int64_t currentLength() const;
    FileError close();

private:
    explicit File(int descriptor, bool writeLeaseHeld = false)
        : descriptor_(descriptor), writeLeaseHeld_(writeLeaseHeld) {}
    friend OpenResult OpenForReading(const std::string& path);
    friend OpenResult OpenForChanging(const std::string& path);
    friend OpenResult CreateForWriting(const std::string& path, Creation creation);
    friend OpenResult OpenOwnFile(const std::string& path);
    friend TemporaryFileResult CreateTemporaryFile(const std::string& directory);
    friend class AppendMapping;

    int descriptor_ = -1;
    bool writeLeaseHeld_ = false;
};

// The system call behind File::copyFrom, with copy_file_range's arguments
// and result; a test puts in one that fails or stops short.
using KernelCopyCall = long (*)(int from, std::int64_t fromOffset, int to, std::int64_t toOffset,
                                std::size_t size);
// The kernel's own copy_file_range.
long CopyFileRange(int from, std::int64_t fromOffset, int to, std::int64_t toOffset,
                   std::size_t size);
// Puts `call` in place of the system call and gives back the one it replaces.
KernelCopyCall ReplaceKernelCopyCall(KernelCopyCall call);

// Which file a path names and how it is: another program that replaces,
// writes or cuts the file changes one of these (short of a write within the
// same tick of the file system's clock).
struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t length = 0;
    std::int64_t modifiedSeconds = 0;
    std::int64_t modifiedNanoseconds = 0;

    bool operator==(const FileStamp&) const = default;
};

// An opened file, and its length and stamp at the time it was opened.
struct OpenResult {
    File file;
    std::int64_t length = 0;
    FileStamp stamp;
    FileError error = FileError::none;
    // Whether the path's last part is a symbolic link (its folders may be
    // links either way).
    bool nameIsLink = false;
};

// Opens an existing regular file for reading; never creates one.
OpenResult OpenForReading(const std::string& path);

// Whether the process could open the file at `path` for writing, asked
// without opening it (with the effective user's rights).
FileError CheckWritable(const std::string& path);

// Opens an existing regular file for reading and writing to change it in
// place, without truncating it and without creating it; reading through it
// leaves the file's time of last access as it was, where the user owns the
// file. It keeps other programs out while it is open: it holds a write
// lease, so that another program's open waits until it is closed. A file
// another program has open for writing fails with beingWritten and is not
// touched. Where no lease can be had (another owner, a network file system,
// a program reading the file) it is opened all the same. The length is
// taken after the lease, so while it is held (holdsWriteLease()), the
// length and stamp stay as they were opened.
OpenResult OpenForChanging(const std::string& path);

// Opens a regular file for reading and writing, creating it readable and
// writable by its owner only: if it is missing, or only as a new file (a
// name already taken fails). Never through a symbolic link.
enum class Creation { ifMissing, newOnly };
OpenResult CreateForWriting(const std::string& path, Creation creation);

// Opens an existing regular file of the program's own for reading and
// writing, never through a symbolic link.
OpenResult OpenOwnFile(const std::string& path);

// Creates the directory and those of its parents that are missing, each with
// the permission bits `mode`; directories already there stay as they are.
FileError CreateDirectories(const std::string& path, unsigned mode);

// The names in a directory, without "." and ".."; none if it cannot be listed.
std::vector<std::string> ListDirectory(const std::string& path);

FileError RemoveFile(const std::string& path);

// Makes the names created, renamed and removed in the directory (which ends
// in the separator, or is empty for the working directory) durable. Some
// file systems cannot sync a directory; that is no failure.
void SyncDirectory(const std::string& directory);

// A file created under a name no other file had. Unless it has replaced its
// target, it is closed and removed when it goes out of scope, so no stray copy
// stays behind after a failure. Until then it holds an exclusive lock
// (flock), so that a sweep can tell it from a copy whose process died.
class TemporaryFile {
public:
    TemporaryFile() = default;
    TemporaryFile(TemporaryFile&& other) noexcept;
    TemporaryFile& operator=(TemporaryFile&& other) noexcept;
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile();

    File& file() { return file_; }

    // Syncs the file, renames it over `target` (in the same directory) in one
    // atomic step, closes it and syncs the directory. With `leased`, a handle
    // of the target that holds a read lease and the target's lock (tryLock):
    // when another program asked to open the target meanwhile, the target
    // stays and is beingWritten, as that program may hold it already and
    // would write into a file no longer there. The two are swapped rather
    // than renamed where the file system can, so that a program that asks
    // during the rename still finds the target there.
    FileError replace(const std::string& target, File* leased = nullptr);

private:
    TemporaryFile(File file, std::string path) : file_(std::move(file)), path_(std::move(path)) {}
    friend TemporaryFileResult CreateTemporaryFile(const std::string& directory);
    void discard();
    FileError exchangeGuarded(const std::string& target, File& leased);

    File file_;
    std::string path_;
};

struct TemporaryFileResult {
    TemporaryFile temporary;
    FileError error = FileError::none;
};

// Creates an empty hidden file `.tagwerk-XXXXXX.tmp` (six random letters or
// digits) exclusively in `directory` (which ends in the separator); it never
// replaces an existing file.
TemporaryFileResult CreateTemporaryFile(const std::string& directory);

// Removes from `directory` (which ends in the separator) the temporary files
// that processes killed before they could remove them left behind: regular
// files under the names CreateTemporaryFile gives that no live copy holds
// locked. Every other file stays; a file that cannot be removed stays too.
void SweepLeftoverTemporaryFiles(const std::string& directory);

// Fails with changedMeanwhile unless `path` still names the file `stamp` was
// taken of, unchanged; a symbolic link there now is not that file.
FileError CheckUnchanged(const std::string& path, const FileStamp& stamp);

struct ResolvedPath {
    std::string path;
    FileError error = FileError::none;
};

// The absolute path with every symbolic link resolved: the file a write
// through `path` would change.
ResolvedPath ResolveSymbolicLinks(const std::string& path);

// ResolveSymbolicLinks for the absolute paths of one run, which mostly share
// their folder: a folder is resolved once, and a file's own name is looked at
// only where it may itself be a link.
class LinkResolver {
public:
    // `nameIsLink` false: the caller knows the last part is no link.
    ResolvedPath resolve(const std::string& path, bool nameIsLink);

private:
    std::string folder_;         // as given, ending in the separator
    std::string resolvedFolder_; // the same, resolved; empty when it failed
};

} // namespace tagwerk
