// tagwerk-cli over 10,000 files in one call, each against the bare system
// calls doing the same work in the same run:
// - `set` against open + pwrite of 128 bytes + close per file, and beside it
//   the least a safe `set` asks of the kernel (SetLeasedFloor), id3v2 (one call per file, as
//   scripts use it) and kid3-cli (one call; its time grows faster than the number of files, 40 s
//   for 1,000 and over 30 min for 10,000, so it gets the first 1,000);
// - `show --json` against open + pread of 128 bytes + close per file.
// Beside the ratio of the times on the clock, cpu_ratio compares the
// processor time used, which other work on a busy machine does not inflate.
// And the peak memory of `set` and `show --json` over 100,000 paths from
// --files-from against that over 10,000: flat, whatever the number.
// The bare loop blanks the trailers again, so every `set` is a change that
// tagwerk-cli records for undo.
#include "bench/support/Measure.h"

#include <benchmark/benchmark.h>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using namespace tagwerk::bench;

constexpr int kFiles = 10'000;
constexpr off_t kPayload = 4096;
constexpr std::size_t kTrailer = 128;

// Files of 4 KiB (or `payload` bytes), each ending in a trailer, removed at
// the end.
class ManyFiles {
public:
    explicit ManyFiles(int count = kFiles, off_t payload = kPayload) {
        std::string content(static_cast<std::size_t>(payload), 'x');
        content += "TAG" + std::string(kTrailer - 3, ' ');
        for (int i = 0; i < count; ++i) {
            paths_.push_back(directory_.path() + "/" + std::to_string(100000 + i) + ".mp3");
            std::ofstream(paths_.back(), std::ios::binary) << content;
        }
    }

    const std::vector<std::string>& paths() const { return paths_; }
    const std::string& folder() const { return directory_.path(); }

    // A list of the paths, one a line, for --files-from.
    std::string list() const {
        const std::string list = folder() + "/list";
        std::ofstream out(list);
        for (const std::string& path : paths_)
            out << path << '\n';
        return list;
    }

private:
    WorkDirectory directory_;
    std::vector<std::string> paths_;
};

double CpuSeconds(const timeval& user, const timeval& system) {
    return double(user.tv_sec + system.tv_sec) + double(user.tv_usec + system.tv_usec) / 1e6;
}

// Runs a program with its output thrown away; its processor time, negative
// unless it exited with 0.
double Run(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    int status = -1;
    rusage usage{};
    if (posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0)
        ::wait4(child, &status, 0, &usage);
    posix_spawn_file_actions_destroy(&actions);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return CpuSeconds(usage.ru_utime, usage.ru_stime);
}

void Report(benchmark::State& state, const Spent& command, const Spent& bare) {
    const double rounds = double(state.iterations());
    state.counters["command_ms"] = command.wall * 1000 / rounds;
    state.counters["bare_ms"] = bare.wall * 1000 / rounds;
    state.counters["ratio"] = command.wall / bare.wall;
    state.counters["cpu_ratio"] = command.cpu / bare.cpu;
}

Spent BareWrites(const ManyFiles& files) {
    const std::string trailer = "TAG" + std::string(kTrailer - 3, ' ');
    return Timed([&] {
        for (const std::string& path : files.paths()) {
            const int file = ::open(path.c_str(), O_WRONLY);
            benchmark::DoNotOptimize(::pwrite(file, trailer.data(), kTrailer, kPayload));
            ::close(file);
        }
    });
}

Spent BareReads(const ManyFiles& files) {
    return Timed([&] {
        char trailer[kTrailer];
        for (const std::string& path : files.paths()) {
            const int file = ::open(path.c_str(), O_RDONLY);
            benchmark::DoNotOptimize(::pread(file, trailer, kTrailer, kPayload));
            ::close(file);
        }
    });
}

// The bare loop plus what `set` cannot do without: the length, a write lease
// that keeps other programs out of the file, and the old trailer, which the
// journal records.
Spent LeasedWrites(const ManyFiles& files) {
    const std::string trailer = "TAG" + std::string(kTrailer - 3, ' ');
    return Timed([&] {
        char old[kTrailer];
        for (const std::string& path : files.paths()) {
            const int file = ::open(path.c_str(), O_RDWR);
            struct stat status {};
            ::fstat(file, &status);
            ::fcntl(file, F_SETSIG, SIGURG);
            ::fcntl(file, F_SETLEASE, F_WRLCK);
            const off_t at = status.st_size - off_t(kTrailer);
            benchmark::DoNotOptimize(::pread(file, old, kTrailer, at));
            benchmark::DoNotOptimize(::pwrite(file, trailer.data(), kTrailer, at));
            ::close(file);
        }
    });
}

// Times the commands over the files, and the bare loop in the same round.
template <typename Bare>
void CompareWithBare(benchmark::State& state, const ManyFiles& files,
                     const std::vector<std::vector<std::string>>& commands, Bare bare) {
    Spent commandSpent;
    Spent bareSpent;
    for (auto _ : state) {
        Spent round;
        const Clock::time_point start = Clock::now();
        for (const std::vector<std::string>& command : commands) {
            const double cpuSeconds = Run(command);
            if (cpuSeconds < 0) {
                state.SkipWithError(("failed: " + command.front()).c_str());
                return;
            }
            round.cpu += cpuSeconds;
        }
        round.wall = SecondsSince(start);
        state.SetIterationTime(round.wall);
        commandSpent += round;
        bareSpent += bare(files);
    }
    Report(state, commandSpent, bareSpent);
}

std::vector<std::vector<std::string>> OneCall(std::vector<std::string> start,
                                              const ManyFiles& files) {
    start.insert(start.end(), files.paths().begin(), files.paths().end());
    return {start};
}

void BM_SetTagwerkCli(benchmark::State& state) {
    const ManyFiles files;
    CompareWithBare(state, files, OneCall({TAGWERK_CLI, "set", "--title=Lied"}, files), BareWrites);
}
BENCHMARK(BM_SetTagwerkCli)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_SetLeasedFloor(benchmark::State& state) {
    const ManyFiles files;
    Spent floor;
    Spent bare;
    for (auto _ : state) {
        const Spent round = LeasedWrites(files);
        state.SetIterationTime(round.wall);
        floor += round;
        bare += BareWrites(files);
    }
    Report(state, floor, bare);
}
BENCHMARK(BM_SetLeasedFloor)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

// One process per file, as a script's loop starts it.
void BM_SetId3v2PerFile(benchmark::State& state) {
    const ManyFiles files;
    std::vector<std::vector<std::string>> calls;
    for (const std::string& path : files.paths())
        calls.push_back({"id3v2", "-1", "-t", "Lied", path});
    CompareWithBare(state, files, calls, BareWrites);
}
BENCHMARK(BM_SetId3v2PerFile)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_SetKid3Cli(benchmark::State& state) {
    const ManyFiles files(static_cast<int>(state.range(0)));
    CompareWithBare(state, files, OneCall({"kid3-cli", "-c", "set title Lied 1"}, files),
                    BareWrites);
}
BENCHMARK(BM_SetKid3Cli)->Arg(1000)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_ShowJsonTagwerkCli(benchmark::State& state) {
    const ManyFiles files;
    CompareWithBare(state, files, OneCall({TAGWERK_CLI, "show", "--json"}, files), BareReads);
}
BENCHMARK(BM_ShowJsonTagwerkCli)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

// The peak memory of a program in KiB, or a negative number unless it exits
// with 0. GNU time tells it: the peak that wait4 gives for a child of this
// process would include this process's own, which the child's image
// replaced.
long PeakKiB(std::vector<std::string> arguments, const std::string& scratch) {
    const std::string told = scratch + "/peak";
    arguments.insert(arguments.begin(), {"/usr/bin/time", "-f", "%M", "-o", told});
    if (Run(arguments) < 0)
        return -1;
    long peak = -1;
    std::ifstream(told) >> peak;
    return peak;
}

// Small files, as only memory counts here: 100,000 of them take 400 MB.
void BM_PeakMemoryOfPathLists(benchmark::State& state) {
    const char* const commands[][2] = {{"set", "--title=Lied"}, {"show", "--json"}};
    for (auto _ : state) {
        long peak[2][2] = {};
        for (const int size : {0, 1}) {
            const ManyFiles files(size == 0 ? kFiles : 10 * kFiles, 1);
            for (std::size_t command = 0; command < 2; ++command) {
                peak[command][size] =
                    PeakKiB({TAGWERK_CLI, commands[command][0], commands[command][1],
                             "--files-from=" + files.list()},
                            files.folder());
                if (peak[command][size] < 0) {
                    state.SkipWithError("tagwerk-cli failed");
                    return;
                }
            }
        }
        for (std::size_t command = 0; command < 2; ++command) {
            const std::string name = commands[command][0];
            state.counters[name + "_10k_kib"] = double(peak[command][0]);
            state.counters[name + "_100k_kib"] = double(peak[command][1]);
            state.counters[name + "_ratio"] = double(peak[command][1]) / double(peak[command][0]);
        }
    }
}
BENCHMARK(BM_PeakMemoryOfPathLists)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    const PrivateUndoJournal journal; // tagwerk-cli records what it writes
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
