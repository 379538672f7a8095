// Speed and memory of the trailer file operations, each against the bare
// system calls doing the same work in the same run:
// - removing the trailer of a large file against a plain buffered copy of the
//   same bytes with the same syncs;
// - the peak memory of a removal, measured in a fresh process, for two file
//   sizes: it must not grow with the file;
// - writing a trailer into each of 10,000 files against open + write at the
//   end + close.
#include "bench/support/Measure.h"
#include "core/TrailerFile.h"

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

// A file of `payload` bytes of varied content, followed by a trailer.
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
    WriteTagTrailer(path, kRecord);
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

void BM_RemoveAgainstPlainCopy(benchmark::State& state) {
    const std::int64_t payload = state.range(0) * kMiB;
    const WorkDirectory work;
    const std::string directory = work.path() + "/";
    const std::string path = directory + "lied.mp3";
    MakeTaggedFile(path, payload);
    double removeSeconds = 0;
    double copySeconds = 0;
    std::int64_t sinkCalls = 0;
    auto sink = [&](std::int64_t, std::int64_t) { return ++sinkCalls > 0; };
    for (auto _ : state) {
        Clock::time_point start = Clock::now();
        PlainCopy(path, directory + "copy", directory, payload);
        copySeconds += SecondsSince(start);

        start = Clock::now();
        if (RemoveTagTrailer(directory, "lied.mp3", sink).outcome != RemoveOutcome::removed) {
            state.SkipWithError("removal failed");
            break;
        }
        const double seconds = SecondsSince(start);
        removeSeconds += seconds;
        state.SetIterationTime(seconds);
        WriteTagTrailer(path, kRecord); // the next round has a trailer again
    }
    state.counters["copy_ms"] = copySeconds * 1000 / double(state.iterations());
    state.counters["remove_ms"] = removeSeconds * 1000 / double(state.iterations());
    state.counters["ratio"] = removeSeconds / copySeconds;
    state.counters["sink_calls"] = double(sinkCalls) / double(state.iterations());
}
BENCHMARK(BM_RemoveAgainstPlainCopy)
    ->Arg(256)
    ->Iterations(5)
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
