#pragma once
// Undo of the actions that change trailers, also after a restart. Every action
// writes a journal file in the user's state folder before it changes a file;
// undo takes back the newest action, file by file, wherever a file is still
// exactly as the action left it. The newest 20 actions are kept.
//
// How a window uses it:
// - For each action that changes files, one writer: pass it to every
//   WriteTagTrailer, RemoveTagTrailer, BlankTagTrailer or WriteTagFromName
//   of the action, call finish() after the last file, and if broken() then
//   says the action went (partly) unrecorded, warn once per program run.
//       UndoJournalWriter journal(ActionKind::tagsFromNamesRun);
//       for (...) WriteTagFromName(path, record, overwrite, &journal);
//       journal.finish();
// - HasActionToUndo() enables the undo command; UndoNewestAction(progress)
//   runs it and gives the counts for the summary; when the open file's path
//   is among its changedPaths, the window loads that file again.
//   PreviewNewestAction() gives the same counts without changing anything.
#include "core/AppendMapping.h"
#include "core/FileIo.h"
#include "core/TrailerChange.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tagwerk {

// $XDG_STATE_HOME/tagwerk/, or $HOME/.local/state/tagwerk/ when that variable
// is unset or not an absolute path; ends in the separator. Empty when neither
// variable gives an absolute path.
std::string UndoJournalFolder();

enum class ActionKind : std::uint8_t {
    save,
    singleRemoval,
    removalRun,
    blankingRun,
    tagsFromNamesRun,
    id3v1FromId3v2Run,
};

// Whether the action ran in the window or in the command-line tool.
enum class ActionOrigin : std::uint8_t { window, tool };

// Records one action: pass it as the observer of each operation the action
// runs. The journal file is made on the first change announced, so an action
// that changes nothing leaves none. A journal that cannot be written (no
// state folder, read-only home, full disk) never stops the action: the writer
// then stays broken for the rest of it and tries no further, and what it
// recorded before stays undoable.
class UndoJournalWriter final : public TrailerChangeObserver {
public:
    explicit UndoJournalWriter(ActionKind kind, ActionOrigin origin = ActionOrigin::window);
    UndoJournalWriter(const UndoJournalWriter&) = delete;
    UndoJournalWriter& operator=(const UndoJournalWriter&) = delete;
    ~UndoJournalWriter(); // finishes, if finish() was not called

    void aboutToChange(const std::string& path, const FileState& before, const FileState& after,
                       bool nameIsLink) override;

    // Syncs the journal and ends the action; call it after the last file.
    void finish();

    // Whether some change of this action went unrecorded.
    bool broken() const { return broken_; }

private:
    std::string absolutePath(const std::string& path);

    ActionKind kind_;
    ActionOrigin origin_;
    std::optional<AppendMapping> journal_;
    std::string record_;       // reused for every record
    std::string previousPath_; // of the record before, which the next one's path starts from
    // Ends in the separator; empty when it could not be had. Asked for at the
    // first relative path.
    std::optional<std::string> workingDirectory_;
    LinkResolver links_;
    bool unsynced_ = false;
    bool broken_ = false;
};

// Cheap enough to decide whether the undo command is enabled. It may also
// count an action another running program is still recording, or a journal
// file too damaged to undo anything; undoing then finds nothing or puts the
// damaged one aside.
bool HasActionToUndo();

// What became of one file of the action.
enum class UndoFileOutcome : std::uint8_t {
    restored,     // put back
    alreadyBack,  // found as it was before the action
    changedSince, // left alone: changed since the action
    otherFile,    // left alone: the path leads to another file than the action changed
    gone,         // no longer there (a drive or share not mounted, a file deleted)
    failed,       // could not be read or written, or another program is writing it
};

struct UndoneFile {
    std::string path;
    UndoFileOutcome outcome = UndoFileOutcome::restored;

    bool operator==(const UndoneFile&) const = default;
};

struct UndoResult {
    bool undone = false; // false: there was no action to undo
    ActionKind kind = ActionKind::save;
    ActionOrigin origin = ActionOrigin::window;
    std::size_t restored = 0;     // put back, or found as they were before the action
    std::size_t changedSince = 0; // left alone: changed or replaced since, or another file now
    std::size_t gone = 0;         // no longer there
    std::size_t failed = 0;       // could not be read or written
    // The files this undo changed, as the action's operations were given them
    // (a relative path completed by the working directory of the time).
    std::vector<std::string> changedPaths;
    // Every file of the action, newest change first, with what became of it.
    std::vector<UndoneFile> files;
    // Some files were gone or failed: the action stays, holding those, and
    // the next undo finishes it before it goes further back.
    bool kept = false;
    // Not empty: the newest action could not be read and was put aside under
    // this name beside the journal; nothing was undone, and only the next
    // undo goes further back.
    std::string setAside;

    bool operator==(const UndoResult&) const = default;
};

// Called after each file of the action with the files done and their number.
using UndoProgressSink = std::function<void(std::size_t done, std::size_t total)>;

// Takes back the newest action that no running program is still recording,
// newest file first, and forgets it, so that the next undo goes one action
// further back; an action whose files were not all there or writable is kept
// with those files. A file still exactly as the action left it (length and
// last 128 bytes), reached through the same path to the same file, is put
// back: the old trailer written over the new one, an appended trailer cut
// off, a removed trailer appended again. The journal stays locked until the
// undo is done, so that no other undo takes back the same action.
UndoResult UndoNewestAction(const UndoProgressSink& progress = {});

// What UndoNewestAction would do now, found out without writing a file and
// without forgetting the action: the same counts, and as changedPaths the
// files it would change.
UndoResult PreviewNewestAction();

} // namespace tagwerk
