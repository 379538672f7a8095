// Start-up: shows the main window with the files named on the command line,
// or hands them to the program already running on this display.
#include "ui/desktop/FileIntake.h"
#include "ui/desktop/SingleInstance.h"
#include "ui/main/Form1.h"
#include "ui/main/WrappedToolTips.h"

#include <QApplication>
#include <QLockFile>
#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // Only the main window ends the program (closing it settles unsaved
    // edits first), not the closing of whatever window happened to be last.
    QApplication::setQuitOnLastWindowClosed(false);

    // What Qt leaves of the arguments are files and folders, as their bytes.
    QByteArrayList typed;
    for (int i = 1; i < argc; ++i)
        typed << QByteArray(argv[i]);
    const QByteArrayList paths = tagwerk::AbsolutePaths(typed);
    // Of two starts at the same moment one listens and the other hands over.
    using tagwerk::SingleInstance;
    QLockFile starting(SingleInstance::socketPath() + ".lock");
    starting.lock();
    const SingleInstance::HandOver handedOver = SingleInstance::handOver(paths);
    if (handedOver == SingleInstance::HandOver::delivered)
        return 0;
    SingleInstance instance;
    // A second window would leave the running one out of reach for good.
    if (handedOver == SingleInstance::HandOver::noAnswer || !instance.listen()) {
        std::fputs("tagwerk: Tagwerk läuft bereits, antwortet aber nicht. Bitte versuchen Sie "
                   "es später noch einmal.\n",
                   stderr);
        return 1;
    }
    starting.unlock();
    QObject::connect(&instance, &tagwerk::SingleInstance::argumentsReceived, &tagwerk::TakeInFiles);

    tagwerk::WrapToolTips(app);
    tagwerk::Form1::instance().show();
    if (!paths.isEmpty())
        tagwerk::TakeInFiles(paths);
    return app.exec();
}
