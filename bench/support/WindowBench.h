// What the benchmarks of the windows share: they run without a screen unless
// told otherwise, list files in the main window as the user's selection
// would, and measure some things in a fresh process of their own.
#pragma once

#include <QString>
#include <QStringList>
#include <benchmark/benchmark.h>
#include <functional>

namespace tagwerk::bench {

// Call before the QApplication is made; an explicit QT_QPA_PLATFORM wins, to
// watch a run on a real screen.
void PreferOffscreen();

void ListInMainWindow(const QStringList& paths);

// In a measuring process: the peak resident memory in KiB after listing
// `paths` in the shown main window and, where given, running `run` on them.
long PeakAfterListing(const QStringList& paths, const std::function<void()>& run);

// The preview of a run over the listed files against the run itself, each
// the best of `rounds` taken in turns (after a sync): the seconds from
// pressing "&Vorschau..." (`open`) until the preview is drawn, the longest a
// jump of its table to rows not shown before takes until they are drawn, and
// the seconds of `run`.
struct PreviewSeconds {
    double open = 1e9;
    double worstScroll = 1e9;
    double run = 1e9;
};
PreviewSeconds PreviewAgainstRun(const std::function<void()>& open,
                                 const std::function<void()>& run, int rounds);
// Reports them, the time to open being the iteration's.
void ReportPreview(benchmark::State& state, const PreviewSeconds& seconds);

// Starts this program anew with `arguments` (a mode its main() handles) and
// gives what it printed, trimmed; a process that fails ends the benchmark.
QString InFreshProcess(const QStringList& arguments);

} // namespace tagwerk::bench
