// Files from the desktop against the program's own ways, in the same run:
// - a folder of 100,000 MP3 files taken in as from the command line (a drop
//   takes the same way) against "Alle Dateien im aktuellen Verzeichnis
//   hinzufügen" of the multi-file window over the same files;
// - start to the first window with a file argument against the same start
//   without one, each in a fresh process;
// - the memory of a 100,000-entry list, per entry, against an empty list.
#include "bench/support/Measure.h"
#include "bench/support/WindowBench.h"
#include "ui/desktop/FileIntake.h"
#include "ui/desktop/SingleInstance.h"
#include "ui/main/Form1.h"
#include "ui/main/frmMessage.h"
#include "ui/select/Form3.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QWindow>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <malloc.h>

namespace {

using namespace tagwerk;
using namespace tagwerk::bench;

void MakeFiles(const QString& directory, int count) {
    for (int i = 0; i < count; ++i) {
        QFile file(directory + QString("/Band - Lied %1.mp3").arg(i));
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot create a file in %s", qPrintable(directory));
    }
}

void BM_FolderOnTheCommandLine(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    QTemporaryDir dir;
    MakeFiles(dir.path(), count);
    Form1& main = Form1::instance();
    Form3& multi = Form3::instance();
    multi.Dir1->setPath("/", dir.path());
    for (auto _ : state) {
        main.List1->clearEntries();
        auto start = Clock::now();
        TakeInFiles({QFile::encodeName(dir.path())});
        const double commandLine = SecondsSince(start);
        frmMessage::unload();
        if (main.List1->count() != count)
            qFatal("the intake took %d files", main.List1->count());

        multi.List1->clearEntries();
        start = Clock::now();
        multi.Command3_Click();
        const double button = SecondsSince(start);
        state.SetIterationTime(commandLine);
        state.counters["command_line_s"] = commandLine;
        state.counters["add_all_button_s"] = button;
        state.counters["ratio"] = commandLine / button;
    }
}
BENCHMARK(BM_FolderOnTheCommandLine)
    ->Arg(100'000)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// The fastest of five fresh processes of this program in one of the modes
// handled in main().
double BestStart(const QStringList& arguments) {
    return BestSeconds([&] { InFreshProcess(arguments); }, 5);
}

void BM_StartWithAFile(benchmark::State& state) {
    QTemporaryDir dir;
    MakeFiles(dir.path(), 1);
    const QString file = dir.path() + "/Band - Lied 0.mp3";
    for (auto _ : state) {
        const double withFile = BestStart({"--start", file});
        const double without = BestStart({"--start"});
        state.SetIterationTime(withFile);
        state.counters["with_file_ms"] = withFile * 1000;
        state.counters["without_ms"] = without * 1000;
        state.counters["ratio"] = withFile / without;
    }
}
BENCHMARK(BM_StartWithAFile)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_ListMemory(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    QTemporaryDir dir;
    MakeFiles(dir.path(), count);
    for (auto _ : state) {
        const double listed = InFreshProcess({"--resident", dir.path()}).toDouble();
        const double empty = InFreshProcess({"--resident"}).toDouble();
        state.counters["listed_MiB"] = listed / 1024;
        state.counters["empty_MiB"] = empty / 1024;
        state.counters["KiB_per_entry"] = (listed - empty) / count;
    }
}
BENCHMARK(BM_ListMemory)->Arg(100'000)->Iterations(1)->Unit(benchmark::kMillisecond);

// As the program starts: listening for later starts, the main window shown,
// the file (if any) taken in and opened.
void StartAsTheProgram(const QByteArrayList& paths) {
    SingleInstance instance;
    instance.listen();
    Form1& main = Form1::instance();
    main.show();
    if (!paths.isEmpty())
        TakeInFiles(paths);
    while (!main.windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

} // namespace

int main(int argc, char** argv) {
    PreferOffscreen();
    // A runtime folder of its own, so no running Tagwerk takes the files.
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.value(1) == "--start") {
        StartAsTheProgram(argc > 2 ? QByteArrayList{argv[2]} : QByteArrayList{});
        return 0;
    }
    if (arguments.value(1) == "--resident") {
        Form1::instance().show();
        if (argc > 2)
            TakeInFiles({argv[2]});
        QCoreApplication::processEvents();
        frmMessage::unload();
        ::malloc_trim(0); // what the intake freed again does not count
        std::printf("%ld\n", ResidentKiB());
        return 0;
    }
    Form1::instance().show();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
