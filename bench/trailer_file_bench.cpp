// Speed and memory of the trailer file operations, each against the bare
// system calls doing the same work, or the same operation on a small file,
// in the same run:
// - removing the trailer of a 256 MiB file on an ext4 image against a plain
//   buffered copy of the same bytes with the same syncs;
// - the longest wait of the progress sink during that removal;
// - removing the trailer without a progress display (as tagwerk-cli removes)
//   of a 1 GiB file against that of a 16 MiB file, on btrfs and on XFS images,
//   which share extents rather than copy them;
// - the peak memory of a removal, measured in a fresh process, for two file
//   sizes: it must not grow with the file;
// - writing a trailer into each of 10,000 files against open + write at the
//   end + close.
#include "bench/support/Measure.h"
#include "bench/support/MountedImage.h"
#include "core/TrailerFile.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using namespace tagwerk;
using namespace tagwerk::bench;

constexpr std::int64_t kMiB = 1 << 20;

const TagRecord kRecord{"Lied", "Interpret", "Album", "2024", "Kommentar", 17};

// Appends the trailer and writes the file out, as a file the user removes
// a tag from has long been.
void GiveTrailerAndSync(const std::string& path) {
    WriteTagTrailer(path, kRecord);
    int file = ::open(path.c_str(), O_RDONLY);
    ::fsync(file);
    ::close(file);
}

// A file of `payload` bytes of varied content, followed by a trailer, on disk.
void MakeTaggedFile(const std::string& path, std::int64_t payload) {
    std::vector<char> chunk(kMiB);
    for (std::size_t i = 0; i < chunk.size(); ++i) {
        chunk[i] = static_cast<char>(i * 131 + i / 977);
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (std::int64_t left = payload; left > 0; left -= kMiB) {
        out.write(chunk.data(), std::min<std::int64_t>(left, kMiB));
    }
    out.close();
    GiveTrailerAndSync(path);
}

// The baseline: read and write through a 64 KiB buffer, then the syncs the
// removal does too (the copy, and the directory after the rename).
void PlainCopy(const std::string& from, const std::string& to, const std::string& directory,
               std::int64_t length) {
    int in = ::open(from.c_str(), O_RDONLY);
    int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<char> buffer(64 * 1024);
    for (std::int64_t left = length; left > 0;) {
        auto want = static_cast<std::size_t>(std::min<std::int64_t>(left, buffer.size()));
        ssize_t got = ::read(in, buffer.data(), want);
        if (got <= 0 || ::write(out, buffer.data(), std::size_t(got)) != got) {
            std::perror("copy");
            std::exit(1);
        }
        left -= got;
    }
    ::fsync(out);
    ::close(out);
    ::close(in);
    ::rename(to.c_str(), (to + ".done").c_str());
    int dir = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY);
    ::fsync(dir);
    ::close(dir);
}

// Pairs of a plain copy and a removal, taking turns, since other work on the
// machine slows both of a pair alike; the progress sink listens.
void BM_RemoveAgainstPlainCopy(benchmark::State& state) {
    const std::int64_t payload = state.range(0) * kMiB;
    const MountedImage image("ext4", 4 * state.range(0) + 256);
    const std::string directory = image.path() + "/";
    const std::string path = directory + "lied.mp3";
    MakeTaggedFile(path, payload);
    double removeSeconds = 0;
    double copySeconds = 0;
    std::vector<double> ratios;
    std::int64_t sinkCalls = 0;
    auto sink = [&](std::int64_t, std::int64_t) { return ++sinkCalls > 0; };
    for (auto _ : state) {
        Clock::time_point start = Clock::now();
        PlainCopy(path, directory + "copy", directory, payload);
        const double copy = SecondsSince(start);

        start = Clock::now();
        if (RemoveTagTrailer(directory, "lied.mp3", sink).outcome != RemoveOutcome::removed) {
            state.SkipWithError("removal failed");
            break;
        }
        const double seconds = SecondsSince(start);
        state.SetIterationTime(seconds);
        copySeconds += copy;
        removeSeconds += seconds;
        ratios.push_back(seconds / copy);
        GiveTrailerAndSync(path); // the next round has a trailer again
    }
    state.SetLabel(image.label());
    state.counters["copy_ms"] = copySeconds * 1000 / double(state.iterations());
    state.counters["remove_ms"] = removeSeconds * 1000 / double(state.iterations());
    state.counters["ratio"] = removeSeconds / copySeconds;
    state.counters["ratio_median"] = Median(ratios);
    state.counters["sink_calls"] = double(sinkCalls) / double(state.iterations());
}
BENCHMARK(BM_RemoveAgainstPlainCopy)
    ->Arg(256)
    ->Iterations(5)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// The longest wait of the progress sink between two calls while the trailer
// of a large file is removed: the copy goes on in steps short enough for the
// bars to move smoothly.
void BM_LongestWaitForProgress(benchmark::State& state) {
    const MountedImage image("ext4", 4 * state.range(0) + 256);
    const std::string directory = image.path() + "/";
    MakeTaggedFile(directory + "lied.mp3", state.range(0) * kMiB);
    std::vector<double> longest;
    for (auto _ : state) {
        Clock::time_point last = Clock::now();
        double wait = 0;
        auto sink = [&](std::int64_t, std::int64_t) {
            const Clock::time_point now = Clock::now();
            wait = std::max(wait, std::chrono::duration<double>(now - last).count());
            last = now;
            return true;
        };
        const Clock::time_point start = Clock::now();
        if (RemoveTagTrailer(directory, "lied.mp3", sink).outcome != RemoveOutcome::removed) {
            state.SkipWithError("removal failed");
            break;
        }
        state.SetIterationTime(SecondsSince(start));
        longest.push_back(wait * 1000);
        GiveTrailerAndSync(directory + "lied.mp3");
    }
    state.SetLabel(image.label());
    state.counters["longest_wait_ms_median"] = Median(longest);
    state.counters["longest_wait_ms_max"] = *std::max_element(longest.begin(), longest.end());
}
BENCHMARK(BM_LongestWaitForProgress)
    ->Arg(256)
    ->Iterations(5)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// One removal of the trailer of `name` without a progress display; the file
// then gets its trailer back and is synced for the next.
double RemovalSeconds(const std::string& directory, const std::string& name) {
    const Clock::time_point start = Clock::now();
    if (RemoveTagTrailer(directory, name, {}).outcome != RemoveOutcome::removed) {
        std::fprintf(stderr, "removal failed\n");
        std::exit(1);
    }
    const double seconds = SecondsSince(start);
    GiveTrailerAndSync(directory + name);
    return seconds;
}

// On a file system that shares extents the removal takes the time of a
// change of metadata, whatever the size of the file. The two sizes take
// turns, so that other work on the machine slows both alike; the first
// round, which finds the files as they were made, is left out.
void BM_RemoveSharingExtents(benchmark::State& state, const std::string& kind) {
    const MountedImage image(kind, 3 << 10);
    const std::string directory = image.path() + "/";
    // Lengths as MP3 files have them, not a whole number of the file system's blocks.
    MakeTaggedFile(directory + "gross.mp3", 1024 * kMiB + 1000);
    MakeTaggedFile(directory + "klein.mp3", 16 * kMiB + 1000);
    for (auto _ : state) {
        std::vector<double> large;
        std::vector<double> small;
        for (int round = 0; round <= 15; ++round) {
            const double largeSeconds = RemovalSeconds(directory, "gross.mp3");
            const double smallSeconds = RemovalSeconds(directory, "klein.mp3");
            if (round > 0) {
                large.push_back(largeSeconds);
                small.push_back(smallSeconds);
            }
        }
        state.SetIterationTime(Median(large));
        state.counters["1GiB_ms"] = Median(large) * 1000;
        state.counters["16MiB_ms"] = Median(small) * 1000;
        state.counters["1GiB/16MiB"] = Median(large) / Median(small);
    }
    state.SetLabel(image.label());
}
BENCHMARK_CAPTURE(BM_RemoveSharingExtents, btrfs, std::string("btrfs"))
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_RemoveSharingExtents, xfs, std::string("xfs"))
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Runs this program anew with `arguments` and returns the number it prints.
long RunFreshProcess(const std::string& arguments) {
    std::string command = ProgramPath().string() + " " + arguments;
    FILE* pipe = ::popen(command.c_str(), "r");
    long value = -1;
    if (pipe == nullptr || std::fscanf(pipe, "%ld", &value) != 1) {
        value = -1;
    }
    if (pipe != nullptr) {
        ::pclose(pipe);
    }
    return value;
}

void BM_RemovePeakMemory(benchmark::State& state) {
    const WorkDirectory work;
    const std::string directory = work.path() + "/";
    MakeTaggedFile(directory + "lied.mp3", state.range(0) * kMiB);
    long peak = -1;
    long idle = -1;
    for (auto _ : state) {
        idle = RunFreshProcess("--peak-idle");
        peak = RunFreshProcess("--peak-remove " + directory);
        WriteTagTrailer(directory + "lied.mp3", kRecord);
    }
    state.counters["peak_KiB"] = double(peak);
    state.counters["idle_KiB"] = double(idle);
    state.counters["removal_KiB"] = double(peak - idle);
}
BENCHMARK(BM_RemovePeakMemory)->Arg(16)->Arg(256)->Iterations(1)->Unit(benchmark::kMillisecond);

constexpr int kManyFiles = 10'000;

void BM_WriteIntoManyFiles(benchmark::State& state) {
    const WorkDirectory work;
    const std::string directory = work.path() + "/";
    const std::vector<char> payload(4096, 'x');
    std::vector<std::string> paths;
    for (int i = 0; i < kManyFiles; ++i) {
        paths.push_back(directory + std::to_string(i) + ".mp3");
        std::ofstream(paths.back(), std::ios::binary)
            .write(payload.data(), std::streamsize(payload.size()));
    }
    const TagTrailer bytes = EncodeTagTrailer(kRecord);
    double writeSeconds = 0;
    double bareSeconds = 0;
    for (auto _ : state) {
        Clock::time_point start = Clock::now();
        for (const std::string& path : paths) {
            if (WriteTagTrailer(path, kRecord).outcome != WriteOutcome::written) {
                state.SkipWithError("write failed");
                return;
            }
        }
        const double seconds = SecondsSince(start);
        writeSeconds += seconds;
        state.SetIterationTime(seconds);

        start = Clock::now();
        for (const std::string& path : paths) {
            int file = ::open(path.c_str(), O_WRONLY);
            ::lseek(file, -static_cast<off_t>(kTrailerSize), SEEK_END);
            benchmark::DoNotOptimize(::write(file, bytes.data(), bytes.size()));
            ::close(file);
        }
        bareSeconds += SecondsSince(start);
    }
    state.counters["write_us_per_file"] =
        writeSeconds * 1e6 / kManyFiles / double(state.iterations());
    state.counters["bare_us_per_file"] =
        bareSeconds * 1e6 / kManyFiles / double(state.iterations());
    state.counters["ratio"] = writeSeconds / bareSeconds;
}
BENCHMARK(BM_WriteIntoManyFiles)->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

// `--peak-idle` and `--peak-remove DIR` are the fresh processes the memory
// benchmark starts: they print their peak resident memory in KiB.
int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--peak-idle") == 0) {
        std::printf("%ld\n", PeakResidentKiB());
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "--peak-remove") == 0) {
        RemoveResult result = RemoveTagTrailer(argv[2], "lied.mp3", {});
        std::printf("%ld\n", result.outcome == RemoveOutcome::removed ? PeakResidentKiB() : -1L);
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
