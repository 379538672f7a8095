#include "cli/Files.h"

#include "collect/Mp3Files.h"

#include <cerrno>
#include <cstdlib>
#include <sys/types.h>

namespace tagwerk {

Files::Files(FileArguments arguments, Report& report)
    : arguments_(std::move(arguments)), report_(report) {
    if (arguments_.recursive)
        collect(arguments_.paths);
    else
        pending_ = std::move(arguments_.paths);
    if (arguments_.list == "-") {
        list_ = stdin;
    } else if (!arguments_.list.empty()) {
        list_ = std::fopen(arguments_.list.c_str(), "re");
        if (list_ == nullptr)
            report_.failed("--files-from " + arguments_.list, FileErrorFromErrno(errno));
    }
}

Files::~Files() {
    if (list_ != nullptr && list_ != stdin)
        std::fclose(list_);
    std::free(entry_);
}

// The paths and, for a folder, its files: all of them are listed before the
// first is worked on, as a folder's files come in the order of their names.
void Files::collect(const std::vector<std::string>& paths) {
    CollectedFiles collected = FilesOfArguments(paths);
    for (const UnreadablePath& unreadable : collected.unreadable)
        report_.failed(unreadable.path, FileErrorFromErrno(unreadable.error));
    pending_ = std::move(collected.files);
    nextPending_ = 0;
}

// Empty entries of the list, such as the end of a last line, name nothing.
bool Files::next() {
    for (;;) {
        if (nextPending_ < pending_.size()) {
            current_ = std::move(pending_[nextPending_++]);
            return true;
        }
        if (list_ == nullptr)
            return false;
        const char separator = arguments_.nulSeparated ? '\0' : '\n';
        const ssize_t length = ::getdelim(&entry_, &entryCapacity_, separator, list_);
        if (length < 0) {
            if (std::ferror(list_))
                report_.failed("--files-from " + arguments_.list, FileErrorFromErrno(errno));
            return false;
        }
        std::string entry(entry_, static_cast<std::size_t>(length));
        if (!entry.empty() && entry.back() == separator)
            entry.pop_back();
        if (entry.empty())
            continue;
        if (arguments_.recursive) {
            collect({entry});
        } else {
            current_ = std::move(entry);
            return true;
        }
    }
}

} // namespace tagwerk
