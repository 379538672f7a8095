#include "bench/support/WindowBench.h"

#include "bench/support/Measure.h"
#include "ui/main/Form1.h"

#include <QCoreApplication>
#include <QProcess>

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

QString InFreshProcess(const QStringList& arguments) {
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), arguments);
    if (!child.waitForFinished(-1) || child.exitCode() != 0)
        qFatal("the measuring process failed");
    return QString::fromLocal8Bit(child.readAllStandardOutput()).trimmed();
}

} // namespace tagwerk::bench
