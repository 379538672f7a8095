#include "bench/support/Measure.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string_view>

namespace tagwerk::bench {

namespace fs = std::filesystem;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double ProcessorSeconds() {
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double Median(std::vector<double> values) {
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

namespace {

// A "Name:   1234 kB" line of /proc/self/status.
long StatusKiB(std::string_view name) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.size() > name.size() && line.starts_with(name) && line[name.size()] == ':')
            return std::atol(line.c_str() + name.size() + 1);
    return -1;
}

} // namespace

long PeakResidentKiB() {
    return StatusKiB("VmHWM");
}

long ResidentKiB() {
    return StatusKiB("VmRSS");
}

fs::path ProgramPath() {
    return fs::read_symlink("/proc/self/exe");
}

WorkDirectory::WorkDirectory() : WorkDirectory(fs::temp_directory_path(), "tagwerk-bench-") {}

WorkDirectory::WorkDirectory(const fs::path& parent, const std::string& prefix)
    : path_((parent / (prefix + "XXXXXX")).string()) {
    if (::mkdtemp(path_.data()) == nullptr) {
        std::perror("mkdtemp");
        std::exit(1);
    }
}

WorkDirectory::~WorkDirectory() {
    std::error_code ignored; // what stays behind in the temporary folder does no harm
    fs::remove_all(path_, ignored);
}

PrivateUndoJournal::PrivateUndoJournal()
    : folder_(fs::temp_directory_path(), "tagwerk-bench-state-") {
    ::setenv("XDG_STATE_HOME", folder_.path().c_str(), 1);
}

} // namespace tagwerk::bench
