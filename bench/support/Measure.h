// What the benchmarks measure with and where they work, in standard C++ and
// POSIX only, so that the core-only benchmarks use it as the window ones do.
#pragma once

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace tagwerk::bench {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start);

// The processor time of this whole process so far, user and system, which
// other work on a busy machine does not inflate as it does the clock's.
double ProcessorSeconds();

// Clock and processor time of a piece of work.
struct Spent {
    double wall = 0;
    double cpu = 0;

    Spent& operator+=(const Spent& other) {
        wall += other.wall;
        cpu += other.cpu;
        return *this;
    }
};

template <typename Work> Spent Timed(Work&& work) {
    const double startCpu = ProcessorSeconds();
    const Clock::time_point start = Clock::now();
    work();
    const double wall = SecondsSince(start);
    return {wall, ProcessorSeconds() - startCpu};
}

// The shortest clock and processor times of several rounds, each kept on its
// own: the round the disk made wait longest need not be the busiest one.
struct Fastest {
    double wall = 1e9;
    double cpu = 1e9;

    void keep(const Spent& spent) {
        wall = std::min(wall, spent.wall);
        cpu = std::min(cpu, spent.cpu);
    }
};

// The fastest of `rounds` runs of `work` on the clock, in seconds.
template <typename Work> double BestSeconds(Work&& work, int rounds) {
    Fastest best;
    for (int i = 0; i < rounds; ++i)
        best.keep(Timed(work));
    return best.wall;
}

double Median(std::vector<double> values);

// The highest resident memory of this process so far, and the present one,
// in KiB, or -1 where /proc does not tell.
long PeakResidentKiB();
long ResidentKiB();

// This program's file, for starting it anew and for working beside it.
std::filesystem::path ProgramPath();

// A folder of its own made with mkdtemp, by default below the system's
// temporary folder, and removed with all it holds when this goes. A folder
// that cannot be made ends the program: no measurement means anything then.
class WorkDirectory {
public:
    WorkDirectory();
    WorkDirectory(const std::filesystem::path& parent, const std::string& prefix);
    ~WorkDirectory();
    WorkDirectory(const WorkDirectory&) = delete;
    WorkDirectory& operator=(const WorkDirectory&) = delete;

    // Without a slash at the end.
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// The runs record their work for undo; while this lives, in a temporary
// folder of the benchmark's own ($XDG_STATE_HOME, which the processes it
// starts inherit) instead of the user's.
class PrivateUndoJournal {
public:
    PrivateUndoJournal();

private:
    WorkDirectory folder_;
};

} // namespace tagwerk::bench
