// The batch runs through their windows against the core work alone, in the
// same run on the same files:
// - tags from file names for 10,000 listed files: the window's run against
//   RecordFromFileName + WriteTagFromName in a plain loop, and against id3v2
//   (one process per file) and kid3-cli (one process per 100 files) writing
//   the same ID3v1 tags; and the window's run with its undo journal against
//   the same run without one;
// - the removal run over 20 files of 50 MiB and over 2,000 files of 48 KiB
//   against RemoveTagTrailer alone, and "ID3-Tag entfernen" on one file of
//   200 MiB against RemoveTagTrailer on it, on an ext4 image;
// - the preview of that run over the 10,000 files against the run itself;
// - the peak memory of a run over 100,000 listed files, in a fresh process,
//   beside that of a process that only lists them and one with an empty list.
#include "bench/support/Measure.h"
#include "bench/support/MountedImage.h"
#include "bench/support/WindowBench.h"
#include "core/TagFromNameFile.h"
#include "core/TrailerFile.h"
#include "pattern/Dateinamenaufbau.h"
#include "ui/batch/Form4.h"
#include "ui/batch/Form5.h"
#include "ui/main/Form1.h"
#include "ui/main/TextConversion.h"
#include "ui/main/frmMessage.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <functional>
#include <unistd.h>
#include <vector>

namespace {

using namespace tagwerk;
using namespace tagwerk::bench;

constexpr int kRounds = 3;
const QString kPattern = QStringLiteral(R"(2," - ",1,".mp3")");

void WriteFile(const QString& path, qint64 size) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot create %s", qPrintable(path));
    const QByteArray chunk(1 << 20, '\x5a');
    for (qint64 left = size; left > 0; left -= chunk.size())
        file.write(chunk.constData(), std::min<qint64>(left, chunk.size()));
}

// `count` files named "Band - Lied N.mp3" of `size` bytes.
QStringList MakeNamedFiles(const QString& directory, int count, qint64 size) {
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        paths << directory + QString("/Band - Lied %1.mp3").arg(i);
        WriteFile(paths.last(), size);
    }
    return paths;
}

// "Starten" in the window, overwriting the tags the files already have.
void TagsFromNamesThroughWindow() {
    Form1::instance().ID3Name->trigger();
    Form4& window = Form4::instance();
    window.Check7->setChecked(true);
    window.Command1_Click();
    frmMessage::unload();
}

void TagsFromNamesInCore(const QStringList& paths) {
    const Dateinamenaufbau pattern = ParseDateinamenaufbau(kPattern.toStdU16String());
    const FixedValues fixed;
    for (const QString& path : paths) {
        const std::optional<TagRecord> record =
            RecordFromFileName(pattern, path.toStdU16String(), fixed);
        if (!record || WriteTagFromName(NativePath(path), *record, true).outcome !=
                           TagFromNameOutcome::written)
            qFatal("the core could not tag %s", qPrintable(path));
    }
}

void Run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(-1) || process.exitCode() != 0)
        qFatal("%s failed", qPrintable(program));
}

void BM_TagsFromNames(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    QTemporaryDir dir;
    const QStringList paths = MakeNamedFiles(dir.path(), count, 4096);
    ListInMainWindow(paths);
    TagsFromNamesInCore(paths); // every file has its tag from now on
    const QString id3v2 = QStandardPaths::findExecutable("id3v2");
    const QString kid3 = QStandardPaths::findExecutable("kid3-cli");
    for (auto _ : state) {
        const double core = BestSeconds([&] { TagsFromNamesInCore(paths); }, kRounds);
        const double window = BestSeconds(TagsFromNamesThroughWindow, kRounds);
        state.SetIterationTime(window);
        state.counters["core_s"] = core;
        state.counters["window_s"] = window;
        state.counters["window/core"] = window / core;
        if (!id3v2.isEmpty()) {
            const double seconds = BestSeconds(
                [&] {
                    for (int i = 0; i < count; ++i)
                        Run(id3v2, {"-1", "-a", "Band", "-t", QString("Lied %1").arg(i), paths[i]});
                },
                1);
            state.counters["id3v2_s"] = seconds;
        }
        if (!kid3.isEmpty()) {
            // kid3-cli slows down with the square of the files it is given
            // (23 s for 1000 at once), so it gets them a hundred at a time.
            const double seconds = BestSeconds(
                [&] {
                    for (int first = 0; first < count; first += 100)
                        Run(kid3,
                            QStringList{"-c", R"(totag "%{artist} - %{title}" 1)", "-c", "save"} +
                                paths.mid(first, 100));
                },
                1);
            state.counters["kid3-cli_s"] = seconds;
        }
    }
}
BENCHMARK(BM_TagsFromNames)
    ->Arg(10'000)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// The preview of the same run over 10,000 files against the run itself:
// it works out only the rows in sight, so it opens in a fraction of the run.
void BM_TagsFromNamesPreview(benchmark::State& state) {
    QTemporaryDir dir;
    ListInMainWindow(MakeNamedFiles(dir.path(), static_cast<int>(state.range(0)), 4096));
    for (auto _ : state) {
        const PreviewSeconds seconds = PreviewAgainstRun(
            [] {
                Form1::instance().ID3Name->trigger();
                Form4::instance().Command3_Click();
            },
            TagsFromNamesThroughWindow, kRounds);
        ReportPreview(state, seconds);
    }
}
BENCHMARK(BM_TagsFromNamesPreview)
    ->Arg(10'000)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// The window's run recording it for undo against the same run whose journal
// cannot even be made (its folder lies below a file), in pairs that take
// turns, since other work on the machine slows both of a pair alike. Every
// round writes a new comment: a trailer written unchanged is no change.
void BM_TagsFromNamesJournal(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    QTemporaryDir dir;
    const QStringList paths = MakeNamedFiles(dir.path(), count, 4096);
    ListInMainWindow(paths);
    const QByteArray journalHome = qgetenv("XDG_STATE_HOME");
    Form4& window = Form4::instance();
    window.Check6->setChecked(true);
    int round = 0;
    for (auto _ : state) {
        std::vector<double> ratios;
        double recorded = 0;
        for (int pair = 0; pair < 2 * kRounds + 1; ++pair) {
            double seconds[2] = {};
            for (const bool journal : {false, true}) {
                qputenv("XDG_STATE_HOME", journal ? journalHome : "/dev/null/kein-journal");
                window.Text6->setText(QString("Runde %1").arg(++round));
                ::sync();
                const auto start = Clock::now();
                TagsFromNamesThroughWindow();
                seconds[journal] = SecondsSince(start);
                QDir(journalHome + "/tagwerk").removeRecursively();
            }
            recorded += seconds[1];
            ratios.push_back(seconds[1] / seconds[0]);
        }
        qputenv("XDG_STATE_HOME", journalHome);
        state.SetIterationTime(recorded / static_cast<double>(ratios.size()));
        state.counters["journal/none_median"] = Median(ratios);
        state.counters["journal/none_max"] = *std::max_element(ratios.begin(), ratios.end());
    }
}
BENCHMARK(BM_TagsFromNamesJournal)
    ->Arg(10'000)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Appends the trailers again and writes every dirty page out, so that the
// next pass does not pay for the writing of the one before.
void GiveTrailers(const QStringList& paths) {
    for (const QString& path : paths)
        if (WriteTagTrailer(NativePath(path), TagRecord{"Lied", "Band", "", "", "", 17}).outcome !=
            WriteOutcome::written)
            qFatal("cannot tag %s", qPrintable(path));
    ::sync();
}

void RemoveInCore(const QStringList& paths) {
    for (const QString& path : paths) {
        const int split = path.lastIndexOf('/') + 1;
        RemoveTagTrailer(NativePath(path.left(split)), NativePath(path.mid(split)),
                         [](std::int64_t, std::int64_t) { return true; });
    }
}

// The best of three alternating rounds of the core removal and of
// `throughWindow` on files that get their trailers back before each pass.
// The processor time beside the wall-clock time shows the window's own cost
// also when waiting for the disk (fsync) varies from pass to pass.
void CompareRemovals(benchmark::State& state, const QStringList& paths, qint64 size,
                     const std::function<void()>& throughWindow) {
    for (auto _ : state) {
        Fastest core;
        Fastest window;
        for (int round = 0; round < 3; ++round) {
            GiveTrailers(paths);
            core.keep(Timed([&] { RemoveInCore(paths); }));
            GiveTrailers(paths);
            window.keep(Timed(throughWindow));
        }
        if (QFileInfo(paths.first()).size() != size)
            qFatal("the window did not remove the tags");
        state.SetIterationTime(window.wall);
        state.counters["core_s"] = core.wall;
        state.counters["window_s"] = window.wall;
        state.counters["window/core"] = window.wall / core.wall;
        state.counters["core_cpu_s"] = core.cpu;
        state.counters["window_cpu_s"] = window.cpu;
        state.counters["MiB/s"] =
            static_cast<double>(paths.size()) * size / (1 << 20) / window.wall;
    }
}

QStringList MakeLargeFiles(const QTemporaryDir& dir, int count, qint64 size) {
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        paths << dir.filePath(QString("gross %1.mp3").arg(i));
        WriteFile(paths.last(), size);
    }
    return paths;
}

// "Entferne alle ID3-Tags" over `count` files of `KiB` each.
void BM_RemovalRun(benchmark::State& state) {
    const qint64 size = state.range(1) << 10;
    const MountedImage image("ext4", 2048);
    QTemporaryDir dir(QString::fromStdString(image.path()) + "/XXXXXX");
    const QStringList paths = MakeLargeFiles(dir, static_cast<int>(state.range(0)), size);
    ListInMainWindow(paths);
    CompareRemovals(state, paths, size, [] {
        Form1::instance().ID3Entf->trigger();
        Form5::instance().Command1_Click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    });
    state.SetLabel(image.label());
}
BENCHMARK(BM_RemovalRun)
    ->Args({20, 50 << 10})
    ->Args({2000, 48})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// "ID3-Tag entfernen" on the open file of `MiB`.
void BM_SingleRemoval(benchmark::State& state) {
    const qint64 size = state.range(0) << 20;
    const MountedImage image("ext4", 1024);
    QTemporaryDir dir(QString::fromStdString(image.path()) + "/XXXXXX");
    const QStringList paths = MakeLargeFiles(dir, 1, size);
    Form1& main = Form1::instance();
    CompareRemovals(state, paths, size, [&] {
        main.showAsOpenFile(paths.first());
        main.Command3_Click();
    });
    state.SetLabel(image.label());
}
BENCHMARK(BM_SingleRemoval)
    ->Arg(200)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// In a fresh process: list the files of `directory` and, with `run`, press
// "Starten".
long PeakOfList(const QString& directory, bool run) {
    // One name at a time: a listing of QFileInfos would outweigh the list box.
    QStringList paths;
    for (QDirIterator names(directory.isEmpty() ? QString("/nonexistent") : directory, QDir::Files);
         names.hasNext();)
        paths << names.next();
    return PeakAfterListing(paths, run ? TagsFromNamesThroughWindow : std::function<void()>());
}

long PeakInChild(const QString& directory, bool run) {
    return InFreshProcess({"--peak", directory, run ? "run" : "list"}).toLong();
}

// The run against the same process that only lists the files, and one with
// an empty list: the list box holds the entries, the run itself adds little.
void BM_PeakMemory(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    QTemporaryDir dir;
    MakeNamedFiles(dir.path(), count, 200);
    for (auto _ : state) {
        const auto start = Clock::now();
        const long peak = PeakInChild(dir.path(), true);
        state.SetIterationTime(SecondsSince(start));
        const long listed = PeakInChild(dir.path(), false);
        const long empty = PeakInChild(QString(), true);
        state.counters["peak_MiB"] = peak / 1024.0;
        state.counters["list_only_MiB"] = listed / 1024.0;
        state.counters["empty_list_MiB"] = empty / 1024.0;
        state.counters["run_adds_MiB"] = (peak - listed) / 1024.0;
    }
}
BENCHMARK(BM_PeakMemory)
    ->Arg(100'000)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    PreferOffscreen();
    QApplication app(argc, argv);
    if (argc == 4 && std::string(argv[1]) == "--peak") {
        std::printf("%ld\n",
                    PeakOfList(QString::fromLocal8Bit(argv[2]), argv[3] == std::string("run")));
        return 0;
    }
    const PrivateUndoJournal journal;
    Form1::instance().show();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
