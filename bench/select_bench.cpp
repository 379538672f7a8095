// The selection windows with a folder of 100,000 files: listing it, adding
// all of it to the multi-file list, and handing that list to the main window.
#include "bench/support/WindowBench.h"
#include "ui/main/Form1.h"
#include "ui/select/DirectoryListing.h"
#include "ui/select/Form3.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace tagwerk;

namespace {

constexpr int kFiles = 100'000;
QString folder; // holds kFiles MP3 files

void MakeFolder(const QString& path) {
    for (int i = 0; i < kFiles; ++i) {
        QFile file(path + QString("/Künstler %1 - Titel Nr. %2.mp3").arg(i % 977).arg(i));
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot create %s", qPrintable(file.fileName()));
    }
}

Form3& MultiFileWindow() {
    Form3& form = Form3::instance();
    if (form.File1->directory() != folder)
        form.File1->setDirectory(folder);
    form.show();
    QCoreApplication::processEvents();
    return form;
}

// Reading the folder, matching "*.mp3" and sorting, without a window.
void BM_MatchingFileNames(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(MatchingFileNames(folder, "*.mp3"));
}

// The same, and showing the names in the file list.
void BM_ListFolder(benchmark::State& state) {
    Form3& form = MultiFileWindow();
    for (auto _ : state) {
        form.File1->setDirectory(folder);
        QCoreApplication::processEvents();
    }
    state.counters["files"] = static_cast<double>(form.File1->names().size());
}

// "Alle Dateien im aktuellen Verzeichnis hinzufügen" into an empty list.
void BM_AddAllFiles(benchmark::State& state) {
    Form3& form = MultiFileWindow();
    for (auto _ : state) {
        state.PauseTiming();
        form.List1->clearEntries();
        QCoreApplication::processEvents();
        state.ResumeTiming();
        form.Command3_Click();
        QCoreApplication::processEvents();
    }
    state.counters["entries"] = form.List1->count();
}

// The same again when every file is listed already: nothing is added.
void BM_AddAllFilesAgain(benchmark::State& state) {
    Form3& form = MultiFileWindow();
    form.Command3_Click();
    for (auto _ : state) {
        form.Command3_Click();
        QCoreApplication::processEvents();
    }
    state.counters["entries"] = form.List1->count();
}

// "Dateien öffnen" with 100,000 entries into the main window's empty list.
void BM_OpenFiles(benchmark::State& state) {
    Form3& form = MultiFileWindow();
    form.Command3_Click();
    FileListBox* fileList = Form1::instance().List1;
    for (auto _ : state) {
        state.PauseTiming();
        fileList->clearEntries();
        form.show();
        QCoreApplication::processEvents();
        state.ResumeTiming();
        form.Command6_Click();
        QCoreApplication::processEvents();
    }
    state.counters["entries"] = fileList->count();
}

BENCHMARK(BM_MatchingFileNames)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListFolder)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddAllFiles)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddAllFilesAgain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenFiles)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    tagwerk::bench::PreferOffscreen();
    QApplication app(argc, argv);
    QTemporaryDir tree;
    if (!tree.isValid())
        qFatal("no temporary directory");
    folder = tree.path();
    MakeFolder(folder);
    QDir::setCurrent(folder);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    Form3::unload();
    Form1::unload();
    return 0;
}
