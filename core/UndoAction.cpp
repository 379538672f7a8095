#include "core/TrailerFileWrite.h"
#include "core/UndoJournal.h"
#include "core/UndoJournalFolder.h"
#include "core/UndoJournalFormat.h"

#include <map>

namespace tagwerk {

namespace {

enum class PutBackOutcome { restored, alreadyBack, changedSince, failed };

// The reverse of the change, on a file as the change left it, which is `now`:
// the journal keeps only a hash of that state's tail, and `now` is the state
// that matched it.
FileError Reverse(File& file, const FileChange& change, const FileState& now) {
    const FileState& before = change.before;
    if (now.length > before.length) {
        return file.truncate(before.length);
    }
    if (now.length < before.length) {
        return AppendTrailer(file, now.length, before.tail);
    }
    return OverwriteTrailer(file, now.length, before.tail, now.tail);
}

// How a preview has left the files it would put back, by path: an older
// change of the same file is weighed against that, not against the file.
using PreviewStates = std::map<std::string, FileState>;

// A file is looked at through a read-only handle first, so that one that
// cannot be written still counts as back when it is as it was. A preview
// goes as far as opening the file for writing, which changes nothing.
PutBackOutcome PutBack(const FileChange& change, PreviewStates* preview) {
    OpenResult readable = OpenForReading(change.path);
    if (readable.error != FileError::none) {
        return readable.error == FileError::notFound ? PutBackOutcome::changedSince
                                                     : PutBackOutcome::failed;
    }
    FileStateResult now = ReadFileState(readable.file, readable.length);
    if (now.error != FileError::none) {
        return PutBackOutcome::failed;
    }
    if (preview != nullptr && preview->contains(change.path)) {
        now.state = preview->at(change.path);
    }
    if (now.state == change.before) {
        return PutBackOutcome::alreadyBack;
    }
    if (DigestOf(now.state) != change.after) {
        return PutBackOutcome::changedSince;
    }
    OpenResult writable = OpenForWriting(change.path);
    if (writable.error != FileError::none) {
        return PutBackOutcome::failed;
    }
    if (writable.stamp != readable.stamp) {
        return PutBackOutcome::changedSince;
    }
    if (preview != nullptr) {
        (*preview)[change.path] = change.before;
        return PutBackOutcome::restored;
    }
    FileError error = Reverse(writable.file, change, now.state);
    if (error == FileError::none) {
        error = writable.file.close();
    }
    return error == FileError::none ? PutBackOutcome::restored : PutBackOutcome::failed;
}

// Newest file first, so that a file the action changed twice ends as it was
// before the first change.
UndoResult PutBackAll(const JournaledAction& action, PreviewStates* preview,
                      const UndoProgressSink& progress) {
    const std::vector<FileChange>& changes = action.changes;
    UndoResult result;
    result.undone = true;
    result.kind = action.kind;
    result.origin = action.origin;
    for (std::size_t done = 1; done <= changes.size(); ++done) {
        const FileChange& change = changes[changes.size() - done];
        switch (PutBack(change, preview)) {
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
    return result;
}

} // namespace

bool HasActionToUndo() {
    return !ActionNumbers(UndoJournalFolder()).empty();
}

UndoResult UndoNewestAction(const UndoProgressSink& progress) {
    std::optional<ClaimedAction> claimed = ClaimNewestAction(UndoJournalFolder());
    if (!claimed) {
        return {};
    }
    UndoResult result = PutBackAll(claimed->action, nullptr, progress);
    (void)RemoveFile(claimed->path);
    return result;
}

UndoResult PreviewNewestAction() {
    const std::optional<JournaledAction> action = PeekNewestAction(UndoJournalFolder());
    if (!action) {
        return {};
    }
    PreviewStates preview;
    return PutBackAll(*action, &preview, {});
}

} // namespace tagwerk
