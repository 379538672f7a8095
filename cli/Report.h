#pragma once
// What a run tells on standard error, and the exit status that follows.
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

} // namespace tagwerk
