#pragma once
// The journal folder: one file per action, named by its number
// ("000123.action"), and the file "lock", which a program holds (flock) while
// it numbers, deletes or claims action files. An action file itself stays
// locked for as long as its action is being recorded.
#include "core/FileIo.h"
#include "core/UndoJournalFormat.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tagwerk {

inline constexpr std::size_t kKeptActions = 20;

struct NewActionFile {
    File file; // locked
    FileError error = FileError::none;
};

// Creates the folder (owner only) if it is missing and in it a new, locked
// action file numbered after every action there; the oldest actions go, so
// that with the new one the newest kKeptActions remain.
NewActionFile StartActionFile(const std::string& folder);

struct ClaimedAction {
    File file; // locked, so that no other program claims it too
    std::string path;
    JournaledAction action;
};

// The newest action in the folder that no running program is still
// recording. Action files on the way that hold no readable change are deleted.
std::optional<ClaimedAction> ClaimNewestAction(const std::string& folder);

// The action ClaimNewestAction would claim, read and let go at once, so that
// looking at it keeps no other program from claiming it. Deletes nothing.
std::optional<JournaledAction> PeekNewestAction(const std::string& folder);

// The numbers of the actions in the folder, ascending.
std::vector<std::uint64_t> ActionNumbers(const std::string& folder);

} // namespace tagwerk
