// Collecting a tree of 100,000 MP3 files (100 folders of 1,000) in the order
// the selection windows list them, against a bare walk with readdir that
// only gathers the paths, unsorted.
#include "bench/support/Measure.h"
#include "collect/Mp3Files.h"

#include <benchmark/benchmark.h>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace tagwerk::bench;

constexpr int kFolders = 100;
constexpr int kFilesPerFolder = 1000;

// Names with capitals and umlauts, so the collation has work to do.
void MakeTree(const std::string& root) {
    const char* const words[] = {"Über", "alle", "Bäume", "Lied", "ölig", "Zugabe"};
    for (int folder = 0; folder < kFolders; ++folder) {
        const std::string path = root + "/" + words[folder % 6] + std::to_string(folder);
        fs::create_directory(path);
        for (int file = 0; file < kFilesPerFolder; ++file)
            std::ofstream(path + "/" + words[file % 6] + " - " + std::to_string(file) + ".mp3");
    }
}

void BareWalk(const std::string& folder, std::vector<std::string>& paths) {
    DIR* entries = ::opendir(folder.c_str());
    while (const dirent* entry = ::readdir(entries)) {
        if (entry->d_name[0] == '.')
            continue;
        if (entry->d_type == DT_DIR)
            BareWalk(folder + "/" + entry->d_name, paths);
        else
            paths.push_back(folder + "/" + entry->d_name);
    }
    ::closedir(entries);
}

void BM_CollectTree(benchmark::State& state) {
    const WorkDirectory tree;
    const std::string& root = tree.path();
    MakeTree(root);
    double collectSeconds = 0;
    double bareSeconds = 0;
    for (auto _ : state) {
        Clock::time_point start = Clock::now();
        const tagwerk::CollectedFiles collected = tagwerk::Mp3FilesOf(root);
        const double seconds = SecondsSince(start);
        collectSeconds += seconds;
        state.SetIterationTime(seconds);
        if (collected.files.size() != kFolders * kFilesPerFolder) {
            state.SkipWithError("files missing");
            break;
        }
        start = Clock::now();
        std::vector<std::string> paths;
        BareWalk(root, paths);
        benchmark::DoNotOptimize(paths.data());
        bareSeconds += SecondsSince(start);
    }
    state.counters["collect_ms"] = collectSeconds * 1000 / double(state.iterations());
    state.counters["bare_ms"] = bareSeconds * 1000 / double(state.iterations());
    state.counters["ratio"] = collectSeconds / bareSeconds;
}
BENCHMARK(BM_CollectTree)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
