#include "core/PathText.h"
#include "core/UndoJournal.h"
#include "core/UndoJournalFolder.h"
#include "core/UndoJournalFormat.h"

#include <filesystem>

namespace tagwerk {

namespace {

// A relative path is completed, so that an undo from another working
// directory finds the file.
std::string AbsolutePath(const std::string& path) {
    if (!path.empty() && path[0] == static_cast<char>(kPathSeparator)) {
        return path;
    }
    std::error_code failed;
    const std::filesystem::path absolute = std::filesystem::absolute(path, failed);
    return failed ? path : absolute.string();
}

} // namespace

UndoJournalWriter::UndoJournalWriter(ActionKind kind, ActionOrigin origin)
    : kind_(kind), origin_(origin) {}

UndoJournalWriter::~UndoJournalWriter() {
    finish();
}

// Each record is in the kernel's page cache before its file changes, so a
// killed program loses none; only the first is synced at once.
void UndoJournalWriter::aboutToChange(const std::string& path, const FileState& before,
                                      const FileState& after) {
    if (broken_ || before == after) {
        return;
    }
    record_.clear();
    const bool first = !journal_;
    if (first) {
        NewActionFile started = StartActionFile(UndoJournalFolder());
        if (started.error != FileError::none) {
            broken_ = true;
            return;
        }
        journal_.emplace(std::move(started.file));
        AppendHeaderRecord(record_, kind_, origin_);
    }
    AppendChangeRecord(record_, AbsolutePath(path), before, after);
    FileError error = journal_->append(record_);
    if (error == FileError::none && first) {
        error = journal_->sync();
    }
    unsynced_ = !first;
    broken_ = error != FileError::none;
}

void UndoJournalWriter::finish() {
    if (unsynced_ && journal_->sync() != FileError::none) {
        broken_ = true;
    }
    unsynced_ = false;
    journal_.reset(); // lets other programs undo the action
}

} // namespace tagwerk
