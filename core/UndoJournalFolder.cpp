#include "core/UndoJournalFolder.h"

#include "core/PathText.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace tagwerk {

namespace {

constexpr char kSeparator = static_cast<char>(kPathSeparator);
constexpr std::string_view kActionSuffix = ".action";
constexpr std::string_view kSetAsideSuffix = ".damaged";
constexpr std::string_view kRewriteSuffix = ".action-neu";
constexpr std::size_t kNumberDigits = 6;
constexpr std::size_t kNumberBytes = 20; // of the highest number, in the lock file

std::optional<std::uint64_t> ActionNumber(std::string_view name) {
    if (!name.ends_with(kActionSuffix)) {
        return std::nullopt;
    }
    name.remove_suffix(kActionSuffix.size());
    std::uint64_t number = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), number);
    if (name.empty() || error != std::errc() || end != name.data() + name.size()) {
        return std::nullopt;
    }
    return number;
}

// The action's path with another suffix in place of ".action".
std::string WithSuffix(const std::string& actionPath, std::string_view suffix) {
    return actionPath.substr(0, actionPath.size() - kActionSuffix.size()) + std::string(suffix);
}

std::string ActionPath(const std::string& folder, std::uint64_t number) {
    const std::string digits = std::to_string(number);
    const std::size_t padding = kNumberDigits - std::min(kNumberDigits, digits.size());
    return folder + std::string(padding, '0') + digits + std::string(kActionSuffix);
}

// The numbers of the actions in the folder, ascending.
std::vector<std::uint64_t> ActionNumbers(const std::string& folder) {
    std::vector<std::uint64_t> numbers;
    for (const std::string& name : ListDirectory(folder)) {
        if (const std::optional<std::uint64_t> number = ActionNumber(name)) {
            numbers.push_back(*number);
        }
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

// A folder another user owns or may write could hold actions of theirs.
bool IsTrusted(const std::string& folder) {
    struct stat status {};
    return !folder.empty() && ::stat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode) &&
           status.st_uid == ::geteuid() && (status.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

// The folder's lock, held until the returned file closes.
OpenResult LockFolder(const std::string& folder) {
    if (!IsTrusted(folder)) {
        return {File(), 0, {}, FileError::accessDenied};
    }
    OpenResult opened = CreateForWriting(folder + "lock", Creation::ifMissing);
    if (opened.error == FileError::none) {
        opened.error = opened.file.lock();
    }
    return opened;
}

// The highest number given so far, kept in the lock file (empty in a journal
// of an earlier version), or found among the action files.
std::uint64_t HighestNumber(const File& lock, const std::vector<std::uint64_t>& numbers) {
    std::uint64_t highest = numbers.empty() ? 0 : numbers.back();
    const std::int64_t length = lock.currentLength();
    std::string text(static_cast<std::size_t>(std::clamp<std::int64_t>(length, 0, kNumberBytes)),
                     '\0');
    std::uint64_t kept = 0;
    if (!text.empty() && lock.readAt(0, text.data(), text.size()) == FileError::none) {
        std::from_chars(text.data(), text.data() + text.size(), kept);
    }
    return std::max(highest, kept);
}

FileError KeepHighestNumber(File& lock, std::uint64_t number) {
    std::string text = std::to_string(number);
    text.resize(kNumberBytes, ' ');
    FileError error = lock.writeAt(0, text.data(), text.size());
    return error == FileError::none ? lock.sync() : error;
}

// A program killed between creating its action file and recording its first
// change leaves it empty, or zeros only where room was reserved.
bool HoldsNothing(std::string_view bytes) {
    return bytes.find_first_not_of('\0') == std::string_view::npos;
}

// Only what this program wrote is deleted: a regular file of the folder that
// starts as a journal does.
bool IsJournalFile(const std::string& path) {
    OpenResult opened = OpenOwnFile(path);
    std::string start(std::min<std::int64_t>(opened.length, 64), '\0');
    return opened.error == FileError::none &&
           opened.file.readAt(0, start.data(), start.size()) == FileError::none &&
           IsJournalStart(start);
}

} // namespace

std::string UndoJournalFolder() {
    const auto absolute = [](const char* variable) {
        return variable != nullptr && variable[0] == kSeparator;
    };
    const std::string tagwerk = std::string(1, kSeparator) + "tagwerk" + kSeparator;
    if (const char* state = std::getenv("XDG_STATE_HOME"); absolute(state)) {
        return state + tagwerk;
    }
    if (const char* home = std::getenv("HOME"); absolute(home)) {
        return home + (std::string(1, kSeparator) + ".local" + kSeparator + "state") + tagwerk;
    }
    return {};
}

NewActionFile StartActionFile(const std::string& folder) {
    if (FileError error = CreateDirectories(folder, 0700); error != FileError::none) {
        return {File(), error};
    }
    OpenResult lock = LockFolder(folder);
    if (lock.error != FileError::none) {
        return {File(), lock.error};
    }
    const std::vector<std::uint64_t> numbers = ActionNumbers(folder);
    const std::uint64_t number = HighestNumber(lock.file, numbers) + 1;
    OpenResult created = CreateForWriting(ActionPath(folder, number), Creation::newOnly);
    if (created.error == FileError::none) {
        created.error = created.file.lock();
    }
    if (created.error == FileError::none) {
        created.error = KeepHighestNumber(lock.file, number);
    }
    if (created.error != FileError::none) {
        return {File(), created.error};
    }
    const std::size_t kept = kKeptActions - 1;
    for (std::size_t old = 0; old + kept < numbers.size(); ++old) {
        if (const std::string path = ActionPath(folder, numbers[old]); IsJournalFile(path)) {
            (void)RemoveFile(path);
        }
    }
    SyncDirectory(folder);
    return {std::move(created.file), FileError::none};
}

LockedJournal::LockedJournal(std::string folder) : folder_(std::move(folder)) {
    OpenResult lock = LockFolder(folder_);
    if (lock.error == FileError::none) {
        lock_ = std::move(lock.file);
    }
}

LockedJournal::Newest LockedJournal::newest(bool tidy) {
    const std::vector<std::uint64_t> numbers =
        usable() ? ActionNumbers(folder_) : std::vector<std::uint64_t>{};
    for (auto number = numbers.rbegin(); number != numbers.rend(); ++number) {
        std::string path = ActionPath(folder_, *number);
        OpenResult opened = OpenOwnFile(path);
        if (opened.error != FileError::none || !opened.file.tryLock()) {
            continue;
        }
        std::string bytes(static_cast<std::size_t>(opened.length), '\0');
        if (opened.file.readAt(0, bytes.data(), bytes.size()) != FileError::none) {
            continue;
        }
        if (HoldsNothing(bytes)) {
            if (tidy) {
                (void)RemoveFile(path);
            }
            continue;
        }
        std::optional<JournaledAction> action = ParseAction(bytes);
        if (action && action->changes.empty()) {
            action.reset();
        }
        return {std::move(path), std::move(action), std::move(opened.file)};
    }
    return {};
}

std::string LockedJournal::SetAsideName(const std::string& actionPath) {
    return WithSuffix(actionPath, kSetAsideSuffix);
}

FileError LockedJournal::setAside(const std::string& actionPath) {
    if (::rename(actionPath.c_str(), SetAsideName(actionPath).c_str()) != 0) {
        return FileErrorFromErrno(errno);
    }
    SyncDirectory(folder_);
    return FileError::none;
}

FileError LockedJournal::forget(const std::string& actionPath) {
    FileError error = RemoveFile(actionPath);
    SyncDirectory(folder_);
    return error;
}

// Written under another name and renamed over the action, so that a crash
// leaves either the whole action or what is left of it.
FileError LockedJournal::keepOnly(const std::string& actionPath, const JournaledAction& action) {
    const std::string rewritten = WithSuffix(actionPath, kRewriteSuffix);
    (void)RemoveFile(rewritten); // left by a program killed while it wrote it
    OpenResult created = CreateForWriting(rewritten, Creation::newOnly);
    const std::string bytes = ActionBytes(action);
    FileError error = created.error;
    if (error == FileError::none) {
        error = created.file.writeAt(0, bytes.data(), bytes.size());
    }
    if (error == FileError::none) {
        error = created.file.sync();
    }
    if (error == FileError::none && ::rename(rewritten.c_str(), actionPath.c_str()) != 0) {
        error = FileErrorFromErrno(errno);
    }
    if (error != FileError::none) {
        (void)RemoveFile(rewritten);
    }
    SyncDirectory(folder_);
    return error;
}

bool HasActionFile(const std::string& folder) {
    return IsTrusted(folder) && !ActionNumbers(folder).empty();
}

} // namespace tagwerk
