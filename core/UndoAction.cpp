#include "core/TrailerFileWrite.h"
#include "core/UndoJournal.h"
#include "core/UndoJournalFolder.h"

namespace tagwerk {

namespace {

enum class PutBackOutcome { restored, alreadyBack, changedSince, failed };

// The reverse of the change, on a file as the change left it.
FileError Reverse(File& file, const FileChange& change) {
    const FileState& before = change.before;
    const FileState& after = change.after;
    if (after.length > before.length) {
        return file.truncate(before.length);
    }
    if (after.length < before.length) {
        return AppendTrailer(file, after.length, before.tail);
    }
    return OverwriteTrailer(file, after.length, before.tail, after.tail);
}

// A file is looked at through a read-only handle first, so that one that
// cannot be written still counts as back when it is as it was.
PutBackOutcome PutBack(const FileChange& change) {
    OpenResult readable = OpenForReading(change.path);
    if (readable.error != FileError::none) {
        return readable.error == FileError::notFound ? PutBackOutcome::changedSince
                                                     : PutBackOutcome::failed;
    }
    const FileStateResult now = ReadFileState(readable.file, readable.length);
    if (now.error != FileError::none) {
        return PutBackOutcome::failed;
    }
    if (now.state == change.before) {
        return PutBackOutcome::alreadyBack;
    }
    if (now.state != change.after) {
        return PutBackOutcome::changedSince;
    }
    OpenResult writable = OpenForWriting(change.path);
    if (writable.error != FileError::none) {
        return PutBackOutcome::failed;
    }
    if (writable.stamp != readable.stamp) {
        return PutBackOutcome::changedSince;
    }
    FileError error = Reverse(writable.file, change);
    if (error == FileError::none) {
        error = writable.file.close();
    }
    return error == FileError::none ? PutBackOutcome::restored : PutBackOutcome::failed;
}

} // namespace

bool HasActionToUndo() {
    return !ActionNumbers(UndoJournalFolder()).empty();
}

// Newest file first, so that a file the action changed twice ends as it was
// before the first change.
UndoResult UndoNewestAction(const UndoProgressSink& progress) {
    std::optional<ClaimedAction> claimed = ClaimNewestAction(UndoJournalFolder());
    if (!claimed) {
        return {};
    }
    const std::vector<FileChange>& changes = claimed->action.changes;
    UndoResult result;
    result.undone = true;
    result.kind = claimed->action.kind;
    result.origin = claimed->action.origin;
    for (std::size_t done = 1; done <= changes.size(); ++done) {
        const FileChange& change = changes[changes.size() - done];
        switch (PutBack(change)) {
        case PutBackOutcome::restored:
            result.changedPaths.push_back(change.path);
            [[fallthrough]];
        case PutBackOutcome::alreadyBack:
            ++result.restored;
            break;
        case PutBackOutcome::changedSince:
            ++result.changedSince;
            break;
        case PutBackOutcome::failed:
            ++result.failed;
            break;
        }
        if (progress) {
            progress(done, changes.size());
        }
    }
    (void)RemoveFile(claimed->path);
    return result;
}

} // namespace tagwerk
