#pragma once
// The bytes of one action's journal file: a header record, then one record
// per file, each written before that file changes. A record is
//   size (u32: of type and payload) | type (u8) | payload | check (u64)
// with every number little-endian and the check a hash of all the record's
// bytes before it. Header payload: "TAGWERK-UNDO", version (3), kind,
// origin (u8 each). File payload:
//   length (i64) and 128-byte tail of the state before, which undo writes back
//   length (i64) and TailHash (u64) of the state after, which undo only
//     compares with the file
//   shared (u16) | target size (u16) | rest | target: the path is the first
//     `shared` bytes of the previous record's path (none for the first)
//     followed by `rest`, since the files of a run mostly lie in one folder;
//     the target is the file the path led to, every symbolic link resolved,
//     and left out (size 0) where that is the path itself
// A record is read only after all before it, so a damaged one ends the
// action there and can never lend a wrong start to a later path. Journals of
// version 2 are read too (their records have no target); those of another
// version are unreadable, as damaged ones are.
#include "core/TrailerChange.h"
#include "core/UndoJournal.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tagwerk {

// What a journal keeps of a state it only has to recognise again.
struct StateDigest {
    std::int64_t length = 0;
    std::uint64_t tailHash = 0;

    bool operator==(const StateDigest&) const = default;
};

StateDigest DigestOf(const FileState& state);

struct FileChange {
    std::string path;
    std::string target; // the file the path led to; empty where that is the path
    FileState before;
    StateDigest after;

    const std::string& file() const { return target.empty() ? path : target; }
};

struct JournaledAction {
    ActionKind kind = ActionKind::save;
    ActionOrigin origin = ActionOrigin::window;
    std::vector<FileChange> changes;
};

void AppendHeaderRecord(std::string& out, ActionKind kind, ActionOrigin origin);
// `previousPath` is the path of the action's record before, empty for its
// first.
void AppendChangeRecord(std::string& out, const FileChange& change,
                        const std::string& previousPath);

// The whole journal file of an action.
std::string ActionBytes(const JournaledAction& action);

// The action in a journal file's bytes, with the changes up to the first
// damaged or cut-off record; none when its header is unreadable.
std::optional<JournaledAction> ParseAction(std::string_view bytes);

// Whether the bytes start as a journal file of any version does.
bool IsJournalStart(std::string_view bytes);

} // namespace tagwerk
