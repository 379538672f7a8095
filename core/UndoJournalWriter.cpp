#include "core/PathText.h"
#include "core/UndoJournal.h"
#include "core/UndoJournalFolder.h"
#include "core/UndoJournalFormat.h"

#include <filesystem>

namespace tagwerk {

UndoJournalWriter::UndoJournalWriter(ActionKind kind, ActionOrigin origin)
    : kind_(kind), origin_(origin) {}

UndoJournalWriter::~UndoJournalWriter() {
    finish();
}

// A relative path is completed, so that an undo from another working
// directory finds the file. The working directory is asked for once, as an
// action runs in one: asking for it for every file took a few hundredths of
// a long run of tagwerk-cli. When it cannot be had, paths stay relative.
std::string UndoJournalWriter::absolutePath(const std::string& path) {
    const char separator = static_cast<char>(kPathSeparator);
    if (!path.empty() && path[0] == separator) {
        return path;
    }
    if (!workingDirectory_) {
        std::error_code failed;
        std::string directory = std::filesystem::current_path(failed).string();
        if (failed) {
            directory.clear();
        } else if (!directory.empty() && directory.back() != separator) {
            directory.push_back(separator);
        }
        workingDirectory_ = std::move(directory);
    }
    if (workingDirectory_->empty()) {
        return path;
    }
    std::string absolute;
    absolute.reserve(workingDirectory_->size() + path.size());
    return absolute.append(*workingDirectory_).append(path);
}

// Each record is in the kernel's page cache before its file changes, so a
// killed program loses none; only the first is synced at once.
void UndoJournalWriter::aboutToChange(const std::string& path, const FileState& before,
                                      const FileState& after, bool nameIsLink) {
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
    FileChange change{absolutePath(path), {}, before, DigestOf(after)};
    // Undo changes only the file the path led to at the time.
    if (ResolvedPath target = links_.resolve(change.path, nameIsLink);
        target.error == FileError::none && target.path != change.path) {
        change.target = std::move(target.path);
    }
    AppendChangeRecord(record_, change, previousPath_);
    previousPath_ = std::move(change.path);
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
