// What the undo journal costs, each time against the same work without it, in
// the same run on the same files:
// - tags from names over 10,000 files, WriteTagFromName in a loop recorded by
//   one journal writer as a window's run is, against the loop alone; beside it
//   the journal's size per file and the undo of the whole run;
// - a single save (WriteTagTrailer) with a journal of its own against none.
// Wall-clock and processor time are both given: the journal's syncs wait for
// the disk, which a busy machine makes vary, while processor time shows what
// the journal itself adds. The files and the journal folder ($XDG_STATE_HOME,
// so the user's own journal is left alone) lie beside this program, on a disk,
// whose syncs a temporary folder in memory would hide.
#include "bench/support/Measure.h"
#include "core/TagFromNameFile.h"
#include "core/TrailerFile.h"
#include "core/UndoJournal.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace tagwerk;
using namespace tagwerk::bench;
namespace fs = std::filesystem;

// Made in main(): the benchmarks' files and the journal folder lie below it.
std::string gWorkDirectory;

struct Journals {
    std::int64_t files = 0;
    std::int64_t bytes = 0;
    std::int64_t diskBytes = 0; // the blocks they take
};

Journals ActionFiles() {
    Journals found;
    std::error_code failed;
    for (const auto& entry : fs::directory_iterator(UndoJournalFolder(), failed)) {
        struct stat status {};
        if (entry.path().extension() == ".action" && ::stat(entry.path().c_str(), &status) == 0) {
            ++found.files;
            found.bytes += status.st_size;
            found.diskBytes += std::int64_t{status.st_blocks} * 512;
        }
    }
    return found;
}

// Undo keeps the newest 20 actions; the rounds start from none, so that each
// starts its journal in the same folder.
void RemoveActionFiles() {
    std::error_code failed;
    for (const auto& entry : fs::directory_iterator(UndoJournalFolder(), failed)) {
        if (entry.path().extension() == ".action") {
            fs::remove(entry.path(), failed);
        }
    }
}

const TagRecord kRecord{"Lied", "Band", "Album", "2024", "Kommentar", 17};

// `count` files of 4 KiB with a trailer, named as a run from names expects.
std::vector<std::string> MakeTaggedFiles(const std::string& directory, int count) {
    const std::string payload(4096, '\x5a');
    std::vector<std::string> paths;
    for (int i = 0; i < count; ++i) {
        paths.push_back(directory + "Band - Lied " + std::to_string(i) + ".mp3");
        std::ofstream(paths.back(), std::ios::binary).write(payload.data(), 4096);
        if (WriteTagTrailer(paths.back(), kRecord).outcome != WriteOutcome::written) {
            std::fprintf(stderr, "cannot tag %s\n", paths.back().c_str());
            std::exit(1);
        }
    }
    return paths;
}

// A title no earlier round gave, since a write that changes nothing is no
// change and leaves no record.
TagRecord RecordOfRound(int file, int round) {
    TagRecord record = kRecord;
    record.title = "Lied " + std::to_string(file) + " #" + std::to_string(round);
    return record;
}

void TagsFromNames(const std::vector<std::string>& paths, int round,
                   TrailerChangeObserver* journal) {
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (WriteTagFromName(paths[i], RecordOfRound(static_cast<int>(i), round), true, journal)
                .outcome != TagFromNameOutcome::written) {
            std::fprintf(stderr, "cannot tag %s\n", paths[i].c_str());
            std::exit(1);
        }
    }
}

// Times of the rounds of one kind.
struct Samples {
    std::vector<double> wall;
    std::vector<double> cpu;

    void add(Spent spent) {
        wall.push_back(spent.wall);
        cpu.push_back(spent.cpu);
    }
};

constexpr int kRunRounds = 9;

// Alternating rounds of the run without and with the journal, each after a
// sync, so that none pays for the writing of the one before. The ratios are
// the median of each pair's, as a build beside the benchmark slows both of a
// pair alike. After each recorded run its undo, which also removes the
// journal again.
void BM_TagsFromNamesRun(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const std::string directory = gWorkDirectory + "files/";
    fs::create_directories(directory);
    const std::vector<std::string> paths = MakeTaggedFiles(directory, count);
    RemoveActionFiles();
    int round = 0;
    for (auto _ : state) {
        Samples plain, recorded, undo, ratios;
        Journals journal;
        for (int pass = 0; pass < kRunRounds; ++pass) {
            ::sync();
            const Spent without = Timed([&] { TagsFromNames(paths, ++round, nullptr); });
            ::sync();
            const Spent with = Timed([&] {
                UndoJournalWriter writer(ActionKind::tagsFromNamesRun);
                TagsFromNames(paths, ++round, &writer);
                writer.finish();
                if (writer.broken()) {
                    std::fprintf(stderr, "the journal could not be written\n");
                    std::exit(1);
                }
            });
            plain.add(without);
            recorded.add(with);
            ratios.add({with.wall / without.wall, with.cpu / without.cpu});
            journal = ActionFiles();
            ::sync();
            UndoResult result;
            undo.add(Timed([&] { result = UndoNewestAction(); }));
            if (journal.files != 1 || result.restored != paths.size()) {
                std::fprintf(stderr, "the run was not undone in full\n");
                std::exit(1);
            }
            RemoveActionFiles();
        }
        state.SetIterationTime(Median(recorded.wall));
        state.counters["plain_ms"] = Median(plain.wall) * 1e3;
        state.counters["journal_ms"] = Median(recorded.wall) * 1e3;
        state.counters["wall_ratio"] = Median(ratios.wall);
        state.counters["plain_cpu_ms"] = Median(plain.cpu) * 1e3;
        state.counters["journal_cpu_ms"] = Median(recorded.cpu) * 1e3;
        state.counters["cpu_ratio"] = Median(ratios.cpu);
        state.counters["journal_B/file"] = double(journal.bytes) / count;
        state.counters["journal_MiB/10k"] = double(journal.diskBytes) * 1e4 / count / (1 << 20);
        state.counters["undo_ms"] = Median(undo.wall) * 1e3;
        state.counters["undo/run"] = Median(undo.wall) / Median(recorded.wall);
    }
    // The files are removed only at the end: ext4 without a journal passes
    // over inodes freed a short while ago when it makes a file, so removing
    // 10,000 here would slow the making of the single saves' action files.
}
BENCHMARK(BM_TagsFromNamesRun)
    ->Arg(10'000)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

constexpr int kSaves = 200;

// Alternating saves of one file without and with a journal of its own; the
// median of each, since a single sync's wait varies widely.
void BM_SingleSave(benchmark::State& state) {
    const std::string directory = gWorkDirectory + "save/";
    fs::create_directories(directory);
    const std::string path = MakeTaggedFiles(directory, 1).front();
    RemoveActionFiles();
    int round = 0;
    const auto save = [&](TrailerChangeObserver* journal) {
        if (WriteTagTrailer(path, RecordOfRound(0, ++round), journal).outcome !=
            WriteOutcome::written) {
            std::fprintf(stderr, "cannot save %s\n", path.c_str());
            std::exit(1);
        }
    };
    for (auto _ : state) {
        Samples plain, recorded;
        for (int i = 0; i < kSaves; ++i) {
            plain.add(Timed([&] { save(nullptr); }));
            recorded.add(Timed([&] {
                UndoJournalWriter writer(ActionKind::save);
                save(&writer);
            }));
            RemoveActionFiles();
        }
        state.SetIterationTime(Median(recorded.wall));
        state.counters["plain_us"] = Median(plain.wall) * 1e6;
        state.counters["journal_us"] = Median(recorded.wall) * 1e6;
        state.counters["wall_ratio"] = Median(recorded.wall) / Median(plain.wall);
        state.counters["plain_cpu_us"] = Median(plain.cpu) * 1e6;
        state.counters["journal_cpu_us"] = Median(recorded.cpu) * 1e6;
        state.counters["cpu_ratio"] = Median(recorded.cpu) / Median(plain.cpu);
    }
    fs::remove_all(directory);
}
BENCHMARK(BM_SingleSave)->Iterations(1)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    const WorkDirectory work(ProgramPath().parent_path(), "undo-bench-");
    gWorkDirectory = work.path() + "/";
    ::setenv("XDG_STATE_HOME", (gWorkDirectory + "state").c_str(), 1);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
