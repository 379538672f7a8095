// tagwerk-cli over 10,000 files in one call, each against the bare system
// calls doing the same work in the same run:
// - `set` against open + pwrite of 128 bytes + close per file, and beside it
//   id3v2 (one call per file, as scripts use it) and kid3-cli (one call);
// - `show --json` against open + pread of 128 bytes + close per file.
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <string>
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

// 10,000 files of 4 KiB, each ending in a trailer, removed at the end.
class ManyFiles {
public:
    ManyFiles() {
        directory_ = (fs::temp_directory_path() / "tagwerk-bench-XXXXXX").string();
        if (::mkdtemp(directory_.data()) == nullptr) {
            std::perror("mkdtemp");
            std::exit(1);
        }
        std::string content(kPayload, 'x');
        content += "TAG" + std::string(kTrailer - 3, ' ');
        for (int i = 0; i < kFiles; ++i) {
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

// Runs a program with its output thrown away; false unless it exits with 0.
bool Run(const std::vector<std::string>& arguments) {
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
    if (posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0)
        ::waitpid(child, &status, 0);
    posix_spawn_file_actions_destroy(&actions);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::vector<std::string> Command(std::vector<std::string> start, const ManyFiles& files) {
    start.insert(start.end(), files.paths().begin(), files.paths().end());
    return start;
}

double BareWrites(const ManyFiles& files) {
    const std::string trailer = "TAG" + std::string(kTrailer - 3, ' ');
    const Clock::time_point start = Clock::now();
    for (const std::string& path : files.paths()) {
        const int file = ::open(path.c_str(), O_WRONLY);
        benchmark::DoNotOptimize(::pwrite(file, trailer.data(), kTrailer, kPayload));
        ::close(file);
    }
    return SecondsSince(start);
}

double BareReads(const ManyFiles& files) {
    char trailer[kTrailer];
    const Clock::time_point start = Clock::now();
    for (const std::string& path : files.paths()) {
        const int file = ::open(path.c_str(), O_RDONLY);
        benchmark::DoNotOptimize(::pread(file, trailer, kTrailer, kPayload));
        ::close(file);
    }
    return SecondsSince(start);
}

// Times a command over the files, and the bare loop in the same round.
template <typename Bare>
void CompareWithBare(benchmark::State& state, const ManyFiles& files,
                     const std::vector<std::string>& command, Bare bare) {
    double commandSeconds = 0;
    double bareSeconds = 0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        if (!Run(command)) {
            state.SkipWithError(("failed: " + command.front()).c_str());
            return;
        }
        const double seconds = SecondsSince(start);
        commandSeconds += seconds;
        state.SetIterationTime(seconds);
        bareSeconds += bare(files);
    }
    state.counters["command_ms"] = commandSeconds * 1000 / double(state.iterations());
    state.counters["bare_ms"] = bareSeconds * 1000 / double(state.iterations());
    state.counters["ratio"] = commandSeconds / bareSeconds;
}

void BM_SetTagwerkCli(benchmark::State& state) {
    const ManyFiles files;
    CompareWithBare(state, files, Command({TAGWERK_CLI, "set", "--title=Lied"}, files), BareWrites);
}
BENCHMARK(BM_SetTagwerkCli)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

// One process per file, as a script's loop starts it.
void BM_SetId3v2PerFile(benchmark::State& state) {
    const ManyFiles files;
    double id3v2Seconds = 0;
    double bareSeconds = 0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        for (const std::string& path : files.paths()) {
            if (!Run({"id3v2", "-1", "-t", "Lied", path})) {
                state.SkipWithError("id3v2 failed");
                return;
            }
        }
        const double seconds = SecondsSince(start);
        id3v2Seconds += seconds;
        state.SetIterationTime(seconds);
        bareSeconds += BareWrites(files);
    }
    state.counters["command_ms"] = id3v2Seconds * 1000 / double(state.iterations());
    state.counters["bare_ms"] = bareSeconds * 1000 / double(state.iterations());
    state.counters["ratio"] = id3v2Seconds / bareSeconds;
}
BENCHMARK(BM_SetId3v2PerFile)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_SetKid3Cli(benchmark::State& state) {
    const ManyFiles files;
    CompareWithBare(state, files, Command({"kid3-cli", "-c", "set title Lied 1"}, files),
                    BareWrites);
}
BENCHMARK(BM_SetKid3Cli)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_ShowJsonTagwerkCli(benchmark::State& state) {
    const ManyFiles files;
    CompareWithBare(state, files, Command({TAGWERK_CLI, "show", "--json"}, files), BareReads);
}
BENCHMARK(BM_ShowJsonTagwerkCli)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
