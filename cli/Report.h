#pragma once
// What a run tells on standard error, and the exit status that follows.
#include "core/FileError.h"

#include <cstdint>
#include <cstdio>
#include <string_view>

namespace tagwerk {

inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

class Report {
public:
    // One line: the path and why it failed.
    void failed(std::string_view path, std::string_view reason);
    // The same for a failed file operation; a folder is told to need -r.
    void failed(std::string_view path, FileError error);

    std::int64_t failures() const { return failures_; }
    int exitStatus() const { return failures_ > 0 ? kExitFailed : kExitDone; }

private:
    std::int64_t failures_ = 0;
};

// A line that changes nothing about the exit status.
void Warn(std::string_view text);

// Each line goes out whole, in one write.
void WriteLine(std::FILE* stream, std::string_view line);

// Text for standard output, as it is.
void Print(std::string_view text);

// `status`, or 1 with a line on standard error when standard output could
// not take all that was written to it. Call it last: it flushes.
int CheckedOutput(int status);

} // namespace tagwerk
