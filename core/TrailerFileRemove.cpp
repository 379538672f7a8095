#include "core/PathText.h"
#include "core/TrailerFile.h"
#include "core/TrailerFileWrite.h"

#include <algorithm>
#include <chrono>
#include <mutex>
#include <unordered_set>
#include <vector>

namespace tagwerk {

namespace {

// The copy is made inside the kernel in steps, after each of which the
// progress sink hears of every 100-byte block and then of every single byte
// now written. Where the kernel or file system cannot copy so, the rest goes
// through the program's memory in chunks.
constexpr std::int64_t kBufferedChunk = std::int64_t{64} << 10;
constexpr std::int64_t kBlock = 100;

class ProgressReport {
public:
    ProgressReport(const RemoveProgressSink& sink, std::int64_t payload)
        : sink_(sink), payload_(payload), blockPhaseEnd_(payload / kBlock * kBlock) {}

    // Tells the sink of every block and byte among the first `written`
    // bytes not told yet. False when the sink asked to abort.
    bool reach(std::int64_t written) {
        for (; next_ + kBlock - 1 <= std::min(written, blockPhaseEnd_); next_ += kBlock) {
            if (!sink_(next_, payload_)) {
                return false;
            }
        }
        for (; next_ > blockPhaseEnd_ && next_ <= written; ++next_) {
            (void)sink_(next_, payload_); // an abort is no longer possible here
        }
        return true;
    }

private:
    const RemoveProgressSink& sink_;
    const std::int64_t payload_;
    const std::int64_t blockPhaseEnd_;
    std::int64_t next_ = 1;
};

// How much one step of the kernel's copy takes on. While the sink listens,
// each step is sized by the speed of the one before to last about 15 ms, so
// that the bars move smoothly however fast the disk; it stays a multiple of
// 64 KiB, so that file systems that share extents can share every step.
// Without a listener the whole payload is one step, which on such file
// systems costs about as little as a change of metadata.
class CopySteps {
public:
    CopySteps(bool listened, std::int64_t payload)
        : size_(listened ? std::min(kFirst, payload) : payload), listened_(listened) {}

    std::int64_t size() const { return size_; }

    void took(std::chrono::steady_clock::duration spent) {
        if (!listened_) {
            return;
        }
        const double speedUp = std::min(
            2.0, std::chrono::duration<double>(kAimed) /
                     std::max<std::chrono::duration<double>>(spent, std::chrono::microseconds(1)));
        const auto size = static_cast<std::int64_t>(static_cast<double>(size_) * speedUp);
        size_ = std::clamp(size / kSmallest * kSmallest, kSmallest, kLargest);
    }

private:
    static constexpr std::int64_t kFirst = std::int64_t{1} << 20;
    static constexpr std::int64_t kSmallest = std::int64_t{64} << 10;
    static constexpr std::int64_t kLargest = std::int64_t{1} << 30;
    static constexpr std::chrono::milliseconds kAimed{15};

    std::int64_t size_;
    const bool listened_;
};

enum class CopyOutcome { copied, failed, aborted };
struct CopyResult {
    CopyOutcome outcome = CopyOutcome::failed;
    FileError error = FileError::none;
};

// Copies the `size` bytes at `done` through the program's memory.
FileError CopyBuffered(const File& from, File& to, std::int64_t done, std::int64_t size,
                       std::vector<std::uint8_t>& buffer) {
    buffer.resize(static_cast<std::size_t>(size));
    FileError error = from.readAt(done, buffer.data(), buffer.size());
    return error == FileError::none ? to.writeAt(done, buffer.data(), buffer.size()) : error;
}

CopyResult CopyPayload(const File& from, File& to, std::int64_t payload,
                       const RemoveProgressSink& sink) {
    ProgressReport progress(sink, payload);
    CopySteps steps(static_cast<bool>(sink), payload);
    bool inKernel = true;
    std::vector<std::uint8_t> buffer; // only once the kernel cannot copy
    for (std::int64_t done = 0; done < payload;) {
        std::int64_t copied = std::min(payload - done, kBufferedChunk);
        if (inKernel) {
            const auto start = std::chrono::steady_clock::now();
            const KernelCopyResult step = to.copyFrom(
                from, done, static_cast<std::size_t>(std::min(payload - done, steps.size())));
            if (step.error != FileError::none) {
                return {CopyOutcome::failed, step.error};
            }
            inKernel = !step.unsupported;
            if (step.unsupported) {
                continue;
            }
            steps.took(std::chrono::steady_clock::now() - start);
            copied = step.copied;
        } else if (FileError error = CopyBuffered(from, to, done, copied, buffer);
                   error != FileError::none) {
            return {CopyOutcome::failed, error};
        }
        done += copied;
        if (sink && !progress.reach(done)) {
            return {CopyOutcome::aborted, FileError::none};
        }
    }
    return {CopyOutcome::copied, FileError::none};
}

std::string DirectoryOf(const std::string& path) {
    return path.substr(0, path.rfind(static_cast<char>(kPathSeparator)) + 1);
}

// Each folder is swept once while the program runs: sweeping before every
// removal would list a large folder once per file of a batch run.
void SweepLeftoversOnce(const std::string& directory) {
    static std::mutex guard;
    static std::unordered_set<std::string> swept;
    const std::lock_guard lock(guard);
    if (swept.insert(directory).second) {
        SweepLeftoverTemporaryFiles(directory);
    }
}

RemoveResult Failed(FileError error) {
    return {RemoveOutcome::failed, error};
}

// The copy is made through the handle the trailer was read through. A read
// lease on it keeps other programs from writing the file until it is
// replaced; as read leases let each other in, its lock keeps out another
// removal of the file. Whether the file could be written is only asked: it
// is replaced, never written.
FileError HoldForCopying(const std::string& path, File& file, bool& leased) {
    if (FileError error = CheckWritable(path); error != FileError::none) {
        return error;
    }
    const File::Lease lease = file.takeReadLease();
    leased = lease == File::Lease::held;
    return lease == File::Lease::othersOpen || (leased && !file.tryLock()) ? FileError::beingWritten
                                                                           : FileError::none;
}

} // namespace

// The file is never shortened in place: a copy of everything before the
// trailer replaces it in one atomic rename, so a failure at any point leaves
// the file as it was. A file that another program changed meanwhile is left
// as that program left it. A symbolic link is followed, so the link stays and
// its target is replaced.
RemoveResult RemoveTagTrailer(const std::string& directory, const std::string& fileName,
                              const RemoveProgressSink& sink, TrailerChangeObserver* observer,
                              TrailerRule rule) {
    const std::string path = directory + fileName;
    TrailerForWriting original = OpenTrailerForReading(path, rule);
    if (original.error != FileError::none) {
        return Failed(original.error);
    }
    if (!original.found) {
        return {RemoveOutcome::noTrailer, FileError::none};
    }
    bool leased = false;
    if (FileError error = HoldForCopying(path, original.file, leased); error != FileError::none) {
        return Failed(error);
    }
    // Only a link needs resolving: renamed over, it would be replaced itself.
    ResolvedPath target{path};
    if (original.nameIsLink) {
        target = ResolveSymbolicLinks(path);
        if (target.error != FileError::none) {
            return Failed(target.error);
        }
    }
    const std::string targetDirectory = DirectoryOf(target.path);
    SweepLeftoversOnce(targetDirectory);
    TemporaryFileResult created = CreateTemporaryFile(targetDirectory);
    if (created.error != FileError::none) {
        return Failed(created.error);
    }
    TemporaryFile& copy = created.temporary;
    const std::int64_t payload = original.length - kTrailerLength;
    CopyResult copied = CopyPayload(original.file, copy.file(), payload, sink);
    if (copied.outcome == CopyOutcome::aborted) {
        return {RemoveOutcome::aborted, FileError::none};
    }
    if (copied.outcome == CopyOutcome::failed) {
        return Failed(copied.error);
    }
    if (FileError error = copy.file().takePermissionsOf(original.file); error != FileError::none) {
        return Failed(error);
    }
    // The bytes that will end the file, for the observer.
    const FileStateResult after =
        observer ? ReadFileState(original.file, payload) : FileStateResult{};
    if (after.error != FileError::none) {
        return Failed(after.error);
    }
    // What another program wrote, cut or put in the file's place while the
    // copy was made would be lost with the replacement; with a lease, the
    // replacement itself looks whether a program waits to write.
    if (FileError error = CheckUnchanged(target.path, original.stamp); error != FileError::none) {
        return Failed(error);
    }
    if (leased && original.file.leaseBroken()) {
        return Failed(FileError::beingWritten);
    }
    if (observer) {
        observer->aboutToChange(path, {original.length, original.trailer}, after.state,
                                original.nameIsLink);
    }
    if (FileError error = copy.replace(target.path, leased ? &original.file : nullptr);
        error != FileError::none) {
        return Failed(error);
    }
    return {RemoveOutcome::removed, FileError::none};
}

} // namespace tagwerk
