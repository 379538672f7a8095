#include "core/UndoJournalFolder.h"

#include "core/PathText.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <string_view>

namespace tagwerk {

namespace {

constexpr char kSeparator = static_cast<char>(kPathSeparator);
constexpr std::string_view kActionSuffix = ".action";
constexpr std::size_t kNumberDigits = 6;

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

std::string ActionPath(const std::string& folder, std::uint64_t number) {
    const std::string digits = std::to_string(number);
    const std::size_t padding = kNumberDigits - std::min(kNumberDigits, digits.size());
    return folder + std::string(padding, '0') + digits + std::string(kActionSuffix);
}

// The folder's lock, held until the returned file closes. Without a folder
// there is no lock, rather than one in the working directory.
OpenResult LockFolder(const std::string& folder) {
    if (folder.empty()) {
        return {File(), 0, {}, FileError::notFound};
    }
    OpenResult opened = CreateForWriting(folder + "lock", Creation::ifMissing);
    if (opened.error == FileError::none) {
        opened.error = opened.file.lock();
    }
    return opened;
}

// The newest action that no running program is still recording, its file
// locked; with `dropUnreadable`, action files on the way that hold no
// readable change are deleted.
std::optional<ClaimedAction> NewestAction(const std::string& folder, bool dropUnreadable) {
    const OpenResult lock = LockFolder(folder);
    if (lock.error != FileError::none) {
        return std::nullopt;
    }
    const std::vector<std::uint64_t> numbers = ActionNumbers(folder);
    for (auto number = numbers.rbegin(); number != numbers.rend(); ++number) {
        std::string path = ActionPath(folder, *number);
        OpenResult opened = OpenForReading(path);
        if (opened.error != FileError::none || !opened.file.tryLock()) {
            continue;
        }
        std::string bytes(static_cast<std::size_t>(opened.length), '\0');
        if (opened.file.readAt(0, bytes.data(), bytes.size()) != FileError::none) {
            continue;
        }
        std::optional<JournaledAction> action = ParseAction(bytes);
        if (action && !action->changes.empty()) {
            return ClaimedAction{std::move(opened.file), std::move(path), std::move(*action)};
        }
        if (dropUnreadable) {
            (void)RemoveFile(path);
        }
    }
    return std::nullopt;
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
    const OpenResult lock = LockFolder(folder);
    if (lock.error != FileError::none) {
        return {File(), lock.error};
    }
    const std::vector<std::uint64_t> numbers = ActionNumbers(folder);
    const std::uint64_t number = numbers.empty() ? 1 : numbers.back() + 1;
    OpenResult created = CreateForWriting(ActionPath(folder, number), Creation::newOnly);
    if (created.error == FileError::none) {
        created.error = created.file.lock();
    }
    if (created.error != FileError::none) {
        return {File(), created.error};
    }
    for (std::uint64_t old : numbers) {
        if (old + kKeptActions <= number) {
            (void)RemoveFile(ActionPath(folder, old));
        }
    }
    return {std::move(created.file), FileError::none};
}

std::optional<ClaimedAction> ClaimNewestAction(const std::string& folder) {
    return NewestAction(folder, true);
}

std::optional<JournaledAction> PeekNewestAction(const std::string& folder) {
    std::optional<ClaimedAction> newest = NewestAction(folder, false);
    if (!newest) {
        return std::nullopt;
    }
    return std::move(newest->action);
}

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

} // namespace tagwerk
