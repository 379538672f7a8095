#include "core/TrailerFileWrite.h"
#include "core/UndoJournal.h"
#include "core/UndoJournalFolder.h"
#include "core/UndoJournalFormat.h"

#include <algorithm>
#include <map>

namespace tagwerk {

namespace {

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

// Whether the path still leads to the file the action changed: every
// symbolic link on the way resolves as it did, and the path and that place
// name the very file that was opened.
bool LeadsToChangedFile(const FileChange& change, const OpenResult& opened, LinkResolver& links) {
    const ResolvedPath now = links.resolve(change.path, opened.nameIsLink);
    return now.error == FileError::none && now.path == change.file() &&
           CheckUnchanged(now.path, opened.stamp) == FileError::none;
}

// A file is looked at through a read-only handle first, so that one that
// cannot be written still counts as back when it is as it was. That handle
// is closed before the file is opened for changing, which would not get a
// lease beside it. A preview goes as far as opening the file for changing,
// which changes nothing.
UndoFileOutcome PutBack(const FileChange& change, PreviewStates* preview, LinkResolver& links) {
    OpenResult readable = OpenForReading(change.path);
    if (readable.error != FileError::none) {
        return readable.error == FileError::notFound ? UndoFileOutcome::gone
                                                     : UndoFileOutcome::failed;
    }
    if (!LeadsToChangedFile(change, readable, links)) {
        return UndoFileOutcome::otherFile;
    }
    FileStateResult now = ReadFileState(readable.file, readable.length);
    readable.file = File();
    if (now.error != FileError::none) {
        return UndoFileOutcome::failed;
    }
    if (preview != nullptr && preview->contains(change.path)) {
        now.state = preview->at(change.path);
    }
    if (now.state == change.before) {
        return UndoFileOutcome::alreadyBack;
    }
    if (DigestOf(now.state) != change.after) {
        return UndoFileOutcome::changedSince;
    }
    OpenResult writable = OpenForChanging(change.path);
    if (writable.error != FileError::none) {
        return UndoFileOutcome::failed;
    }
    if (writable.stamp != readable.stamp) {
        return UndoFileOutcome::changedSince;
    }
    if (preview != nullptr) {
        (*preview)[change.path] = change.before;
        return UndoFileOutcome::restored;
    }
    FileError error = Reverse(writable.file, change, now.state);
    if (error == FileError::none) {
        error = writable.file.close();
    }
    return error == FileError::none ? UndoFileOutcome::restored : UndoFileOutcome::failed;
}

void Count(UndoResult& result, const FileChange& change, UndoFileOutcome outcome) {
    result.files.push_back({change.path, outcome});
    switch (outcome) {
    case UndoFileOutcome::restored:
        result.changedPaths.push_back(change.path);
        [[fallthrough]];
    case UndoFileOutcome::alreadyBack:
        ++result.restored;
        break;
    case UndoFileOutcome::changedSince:
    case UndoFileOutcome::otherFile:
        ++result.changedSince;
        break;
    case UndoFileOutcome::gone:
        ++result.gone;
        break;
    case UndoFileOutcome::failed:
        ++result.failed;
        break;
    }
}

// Newest file first, so that a file the action changed twice ends as it was
// before the first change. A file left gone or failed keeps its older changes
// too, untried, as they rest on the newer one; `left` gets the changes the
// action keeps.
UndoResult PutBackAll(const JournaledAction& action, PreviewStates* preview,
                      const UndoProgressSink& progress, JournaledAction& left) {
    const std::vector<FileChange>& changes = action.changes;
    UndoResult result;
    result.undone = true;
    result.kind = action.kind;
    result.origin = action.origin;
    left = {action.kind, action.origin, {}};
    std::map<std::string, UndoFileOutcome> unfinished;
    LinkResolver links;
    for (std::size_t done = 1; done <= changes.size(); ++done) {
        const FileChange& change = changes[changes.size() - done];
        const auto newer = unfinished.find(change.path);
        const UndoFileOutcome outcome =
            newer != unfinished.end() ? newer->second : PutBack(change, preview, links);
        Count(result, change, outcome);
        if (outcome == UndoFileOutcome::gone || outcome == UndoFileOutcome::failed) {
            unfinished.emplace(change.path, outcome);
            left.changes.push_back(change);
        }
        if (progress) {
            progress(done, changes.size());
        }
    }
    std::reverse(left.changes.begin(), left.changes.end()); // oldest first, as recorded
    result.kept = !left.changes.empty();
    return result;
}

UndoResult Undo(bool preview, const UndoProgressSink& progress) {
    LockedJournal journal(UndoJournalFolder());
    LockedJournal::Newest newest = journal.newest(!preview);
    if (newest.path.empty()) {
        return {};
    }
    UndoResult result;
    if (!newest.action) {
        result.setAside = LockedJournal::SetAsideName(newest.path);
        if (!preview) {
            newest.file = File();
            (void)journal.setAside(newest.path);
        }
        return result;
    }
    PreviewStates states;
    JournaledAction left;
    result = PutBackAll(*newest.action, preview ? &states : nullptr, progress, left);
    if (!preview) {
        (void)(result.kept ? journal.keepOnly(newest.path, left) : journal.forget(newest.path));
    }
    return result;
}

} // namespace

bool HasActionToUndo() {
    return HasActionFile(UndoJournalFolder());
}

UndoResult UndoNewestAction(const UndoProgressSink& progress) {
    return Undo(false, progress);
}

UndoResult PreviewNewestAction() {
    return Undo(true, {});
}

} // namespace tagwerk
