#pragma once
// The journal folder: one file per action, named by its number
// ("000123.action"), and the file "lock", which a program holds (flock) while
// it numbers, deletes, undoes or puts aside action files, and which keeps the
// highest number ever given, so that no number is given twice. An action file
// itself stays locked for as long as its action is being recorded. The folder
// is used only while it is a directory of this user's that no one else may
// write, and none of its files is opened through a symbolic link: another
// user could otherwise plant actions that undo would carry out.
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
// action file numbered after every action given a number there; the oldest
// actions go, so that with the new one the newest kKeptActions remain. The
// new name is durable before the file is returned.
NewActionFile StartActionFile(const std::string& folder);

// The folder's lock, held from the first look at the newest action until the
// undo is done with it, so that no two programs take back the same action.
class LockedJournal {
public:
    // Not usable() when the folder is missing, untrusted or cannot be locked.
    explicit LockedJournal(std::string folder);
    bool usable() const { return lock_.isOpen(); }

    // The newest action that no running program is still recording. An
    // action file that holds no readable change is `damaged`, unless it is
    // empty or zeros only (a program killed before its first change), which
    // is deleted on the way when `tidy`.
    struct Newest {
        std::string path; // empty: there is none
        std::optional<JournaledAction> action;
        File file; // locked while it is looked at
    };
    Newest newest(bool tidy);

    // The name a damaged action file is put aside under, beside the journal.
    static std::string SetAsideName(const std::string& actionPath);
    FileError setAside(const std::string& actionPath);
    // Forgets an undone action, or keeps only the changes `action` still
    // holds, under its number.
    FileError forget(const std::string& actionPath);
    FileError keepOnly(const std::string& actionPath, const JournaledAction& action);

private:
    std::string folder_;
    File lock_;
};

// Whether the folder holds an action; looks only at the names.
bool HasActionFile(const std::string& folder);

} // namespace tagwerk
