#include "bench/support/WindowBench.h"

#include "bench/support/Measure.h"
#include "ui/batch/Form7.h"
#include "ui/main/Form1.h"

#include <QCoreApplication>
#include <QProcess>
#include <QScrollBar>
#include <QTableView>
#include <algorithm>
#include <unistd.h>

namespace tagwerk::bench {

void PreferOffscreen() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

void ListInMainWindow(const QStringList& paths) {
    Form1& main = Form1::instance();
    main.List1->clearEntries();
    for (const QString& path : paths)
        main.List1->AddIfAbsent(path);
}

long PeakAfterListing(const QStringList& paths, const std::function<void()>& run) {
    Form1::instance().show();
    ListInMainWindow(paths);
    QCoreApplication::processEvents();
    if (run)
        run();
    return PeakResidentKiB();
}

namespace {

// Fifty jumps spread over the list; the longest is kept.
double WorstJump(Form7& preview) {
    QScrollBar& bar = *preview.List1->verticalScrollBar();
    double worst = 0;
    for (int jump = 1; jump <= 50; ++jump) {
        worst = std::max(worst, Timed([&] {
                                    bar.setValue(bar.maximum() * jump / 50);
                                    preview.grab();
                                }).wall);
    }
    return worst;
}

} // namespace

PreviewSeconds PreviewAgainstRun(const std::function<void()>& open,
                                 const std::function<void()>& run, int rounds) {
    PreviewSeconds best;
    for (int round = 0; round < rounds; ++round) {
        ::sync();
        best.open = std::min(best.open, Timed([&] {
                                            open();
                                            Form7::instance().grab();
                                        }).wall);
        best.worstScroll = std::min(best.worstScroll, WorstJump(Form7::instance()));
        Form7::instance().Command2_Click();
        QCoreApplication::processEvents();
        ::sync();
        best.run = std::min(best.run, Timed(run).wall);
    }
    return best;
}

QString InFreshProcess(const QStringList& arguments) {
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), arguments);
    if (!child.waitForFinished(-1) || child.exitCode() != 0)
        qFatal("the measuring process failed");
    return QString::fromLocal8Bit(child.readAllStandardOutput()).trimmed();
}

void ReportPreview(benchmark::State& state, const PreviewSeconds& seconds) {
    state.SetIterationTime(seconds.open);
    state.counters["preview_open_s"] = seconds.open;
    state.counters["worst_jump_s"] = seconds.worstScroll;
    state.counters["run_s"] = seconds.run;
    state.counters["open/run"] = seconds.open / seconds.run;
}

} // namespace tagwerk::bench
