#include "core/PathText.h"
#include "core/TrailerFile.h"
#include "core/TrailerFileWrite.h"

#include <algorithm>
#include <mutex>
#include <unordered_set>
#include <vector>

namespace tagwerk {

namespace {

// The copy moves large chunks; the progress sink still hears of every
// 100-byte block and then of every single byte, once that byte is written.
constexpr std::int64_t kCopyChunk = std::int64_t{64} << 10;
constexpr std::int64_t kBlock = 100;

class ProgressReport {
public:
    ProgressReport(const RemoveProgressSink& sink, std::int64_t payload)
        : sink_(sink), payload_(payload), blockPhaseEnd_(payload / kBlock * kBlock) {}

    // Tells the sink of every block and byte among the first `written`
    // bytes not told yet. False when the sink asked to abort.
    bool reach(std::int64_t written) {
        for (; next_ + kBlock - 1 <= std::min(written, blockPhaseEnd_); next_ += kBlock) {
            if (sink_ && !sink_(next_, payload_)) {
                return false;
            }
        }
        for (; next_ > blockPhaseEnd_ && next_ <= written; ++next_) {
            if (sink_) {
                (void)sink_(next_, payload_); // an abort is no longer possible here
            }
        }
        return true;
    }

private:
    const RemoveProgressSink& sink_;
    const std::int64_t payload_;
    const std::int64_t blockPhaseEnd_;
    std::int64_t next_ = 1;
};

enum class CopyOutcome { copied, failed, aborted };
struct CopyResult {
    CopyOutcome outcome = CopyOutcome::failed;
    FileError error = FileError::none;
};

CopyResult CopyPayload(const File& from, File& to, std::int64_t payload,
                       const RemoveProgressSink& sink) {
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(std::min(payload, kCopyChunk)));
    ProgressReport progress(sink, payload);
    for (std::int64_t done = 0; done < payload;) {
        auto size = static_cast<std::size_t>(std::min(payload - done, kCopyChunk));
        FileError error = from.readAt(done, buffer.data(), size);
        if (error == FileError::none) {
            error = to.writeAt(done, buffer.data(), size);
        }
        if (error != FileError::none) {
            return {CopyOutcome::failed, error};
        }
        done += static_cast<std::int64_t>(size);
        if (!progress.reach(done)) {
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

// The file the copy is made from: opened for reading only, after the handle
// that proved it writable is closed, so that a read lease keeps other
// programs from writing it until it is replaced. None when another program
// has it open for writing, or when it is no longer the file `stamp` was
// taken of.
struct Source {
    File file;
    bool leased = false;
    FileError error = FileError::none;
};

Source OpenSource(const std::string& path, TrailerForWriting& writable) {
    writable.file = File();
    OpenResult opened = OpenForReading(path);
    if (opened.error != FileError::none) {
        return {File(), false, opened.error};
    }
    const File::Lease lease = opened.file.takeLease(false);
    if (lease == File::Lease::othersOpen) {
        return {File(), false, FileError::beingWritten};
    }
    if (opened.stamp != writable.stamp) {
        return {File(), false, FileError::changedMeanwhile};
    }
    return {std::move(opened.file), lease == File::Lease::held, FileError::none};
}

} // namespace

// The file is never shortened in place: a copy of everything before the
// trailer replaces it in one atomic rename, so a failure at any point leaves
// the file as it was. A file that another program changed meanwhile is left
// as that program left it. A symbolic link is followed, so the link stays and
// its target is replaced.
RemoveResult RemoveTagTrailer(const std::string& directory, const std::string& fileName,
                              const RemoveProgressSink& sink, TrailerChangeObserver* observer) {
    ResolvedPath target = ResolveSymbolicLinks(directory + fileName);
    if (target.error != FileError::none) {
        return Failed(target.error);
    }
    TrailerForWriting original = OpenTrailerForWriting(target.path);
    if (original.error != FileError::none) {
        return Failed(original.error);
    }
    if (!original.found) {
        return {RemoveOutcome::noTrailer, FileError::none};
    }
    Source source = OpenSource(target.path, original);
    if (source.error != FileError::none) {
        return Failed(source.error);
    }
    const std::string targetDirectory = DirectoryOf(target.path);
    SweepLeftoversOnce(targetDirectory);
    TemporaryFileResult created = CreateTemporaryFile(targetDirectory);
    if (created.error != FileError::none) {
        return Failed(created.error);
    }
    TemporaryFile& copy = created.temporary;
    const std::int64_t payload = original.length - kTrailerLength;
    CopyResult copied = CopyPayload(source.file, copy.file(), payload, sink);
    if (copied.outcome == CopyOutcome::aborted) {
        return {RemoveOutcome::aborted, FileError::none};
    }
    if (copied.outcome == CopyOutcome::failed) {
        return Failed(copied.error);
    }
    if (FileError error = copy.file().takePermissionsOf(source.file); error != FileError::none) {
        return Failed(error);
    }
    // The bytes that will end the file, for the observer.
    const FileStateResult after =
        observer ? ReadFileState(source.file, payload) : FileStateResult{};
    if (after.error != FileError::none) {
        return Failed(after.error);
    }
    // What another program wrote, cut or put in the file's place while the
    // copy was made would be lost with the replacement; with a lease, the
    // replacement itself looks whether a program waits to write.
    if (FileError error = CheckUnchanged(target.path, original.stamp); error != FileError::none) {
        return Failed(error);
    }
    if (source.leased && source.file.leaseBroken()) {
        return Failed(FileError::beingWritten);
    }
    if (observer) {
        observer->aboutToChange(directory + fileName, {original.length, original.trailer},
                                after.state);
    }
    if (FileError error = copy.replace(target.path, source.leased ? &source.file : nullptr);
        error != FileError::none) {
        return Failed(error);
    }
    return {RemoveOutcome::removed, FileError::none};
}

} // namespace tagwerk
