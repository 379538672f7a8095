// tagwerk-cli over 10,000 files in one call, each against the bare system
// calls doing the same work in the same run:
// - `set` against open + pwrite of 128 bytes + close per file, and beside it
//   id3v2 (one call per file, as scripts use it) and kid3-cli (one call; its
//   time grows faster than the number of files, 40 s for 1,000 and over
//   30 min for 10,000, so it gets the first 1,000);
// - `show --json` against open + pread of 128 bytes + close per file.
// Beside the ratio of the times on the clock, cpu_ratio compares the
// processor time used, which other work on a busy machine does not inflate.
// The bare loop blanks the trailers again, so every `set` is a change that
// tagwerk-cli records for undo.
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kFiles = 10'000;
constexpr off_t kPayload = 4096;
constexpr std::size_t kTrailer = 128;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Files of 4 KiB, each ending in a trailer, removed at the end.
class ManyFiles {
public:
    explicit ManyFiles(int count = kFiles) {
        directory_ = (fs::temp_directory_path() / "tagwerk-bench-XXXXXX").string();
        if (::mkdtemp(directory_.data()) == nullptr) {
            std::perror("mkdtemp");
            std::exit(1);
        }
        std::string content(kPayload, 'x');
        content += "TAG" + std::string(kTrailer - 3, ' ');
        for (int i = 0; i < count; ++i) {
            paths_.push_back(directory_ + "/" + std::to_string(100000 + i) + ".mp3");
            std::ofstream(paths_.back(), std::ios::binary) << content;
        }
    }
    ~ManyFiles() { fs::remove_all(directory_); }

    const std::vector<std::string>& paths() const { return paths_; }

private:
    std::string directory_;
    std::vector<std::string> paths_;
};

double CpuSeconds(const timeval& user, const timeval& system) {
    return double(user.tv_sec + system.tv_sec) + double(user.tv_usec + system.tv_usec) / 1e6;
}

double OwnCpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return CpuSeconds(usage.ru_utime, usage.ru_stime);
}

// Runs a program with its output thrown away and gives the processor time it
// used, or a negative number unless it exits with 0.
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
    return WIFEXITED(status) && WEXITSTATUS(status) == 0
               ? CpuSeconds(usage.ru_utime, usage.ru_stime)
               : -1;
}

// Clock and processor time of one command or loop.
struct Spent {
    double seconds = 0;
    double cpuSeconds = 0;
    Spent& operator+=(const Spent& other) {
        seconds += other.seconds;
        cpuSeconds += other.cpuSeconds;
        return *this;
    }
};

void Report(benchmark::State& state, const Spent& command, const Spent& bare) {
    const double rounds = double(state.iterations());
    state.counters["command_ms"] = command.seconds * 1000 / rounds;
    state.counters["bare_ms"] = bare.seconds * 1000 / rounds;
    state.counters["ratio"] = command.seconds / bare.seconds;
    state.counters["cpu_ratio"] = command.cpuSeconds / bare.cpuSeconds;
}

// The loop's clock and processor time.
template <typename Loop> Spent Timed(Loop loop) {
    const double cpuStart = OwnCpuSeconds();
    const Clock::time_point start = Clock::now();
    loop();
    return {SecondsSince(start), OwnCpuSeconds() - cpuStart};
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
            round.cpuSeconds += cpuSeconds;
        }
        round.seconds = SecondsSince(start);
        state.SetIterationTime(round.seconds);
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

} // namespace

// tagwerk-cli records what it writes for undo; here in a folder of the
// benchmark's own instead of the user's.
int main(int argc, char** argv) {
    std::string state = (fs::temp_directory_path() / "tagwerk-bench-state-XXXXXX").string();
    if (::mkdtemp(state.data()) == nullptr || ::setenv("XDG_STATE_HOME", state.c_str(), 1) != 0) {
        std::perror("state folder");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fs::remove_all(state);
    return 0;
}
