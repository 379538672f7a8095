#pragma once
// The files a command works on, handed out one at a time: the paths of the
// command line, then those of a list (--files-from), so that a list of any
// length is one action and memory stays flat in its length. With -r a
// folder gives its MP3 files.
#include "cli/Report.h"

#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

namespace tagwerk {

struct FileArguments {
    std::vector<std::string> paths;
    bool recursive = false;
    std::string list; // "" for none, "-" for standard input
    bool nulSeparated = false;
};

class Files {
public:
    // Paths that cannot be taken, the list among them, go to `report`.
    Files(FileArguments arguments, Report& report);
    ~Files();
    Files(const Files&) = delete;
    Files& operator=(const Files&) = delete;

    // Whether the list, if any, could be opened.
    bool listOpen() const { return arguments_.list.empty() || list_ != nullptr; }

    // One pass, for a range-for loop.
    class Iterator {
    public:
        using value_type = std::string;
        using difference_type = std::ptrdiff_t;
        explicit Iterator(Files* files) : files_(files) {}
        const std::string& operator*() const { return files_->current_; }
        Iterator& operator++() {
            if (!files_->next())
                files_ = nullptr;
            return *this;
        }
        void operator++(int) { ++*this; }
        bool operator==(std::default_sentinel_t) const { return files_ == nullptr; }

    private:
        Files* files_;
    };
    Iterator begin() { return ++Iterator(this); }
    std::default_sentinel_t end() { return {}; }

private:
    bool next();
    void collect(const std::vector<std::string>& paths);

    FileArguments arguments_;
    Report& report_;
    std::vector<std::string> pending_; // of the command line, or of one folder
    std::size_t nextPending_ = 0;
    std::FILE* list_ = nullptr;
    char* entry_ = nullptr; // getdelim's buffer
    std::size_t entryCapacity_ = 0;
    std::string current_;
};

} // namespace tagwerk
