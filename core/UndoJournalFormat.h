#pragma once
// The bytes of one action's journal file: a header record, then one record
// per file, each written before that file changes. A record is
//   size (u32: of type and payload) | type (u8) | payload | check (u64)
// with every number little-endian and the check a hash of all the record's
// bytes before it. Header payload: "TAGWERK-UNDO", version, kind,
// origin (u8 each). File payload: the length (i64) and the 128-byte tail of
// the state before, the same of the state after, then the path.
#include "core/TrailerChange.h"
#include "core/UndoJournal.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tagwerk {

struct FileChange {
    std::string path;
    FileState before;
    FileState after;
};

struct JournaledAction {
    ActionKind kind = ActionKind::save;
    ActionOrigin origin = ActionOrigin::window;
    std::vector<FileChange> changes;
};

void AppendHeaderRecord(std::string& out, ActionKind kind, ActionOrigin origin);
void AppendChangeRecord(std::string& out, const std::string& path, const FileState& before,
                        const FileState& after);

// The action in a journal file's bytes, with the changes up to the first
// damaged or cut-off record; none when its header is unreadable.
std::optional<JournaledAction> ParseAction(std::string_view bytes);

} // namespace tagwerk
