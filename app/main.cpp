// Start-up: shows the main window; nothing else runs at start.
#include "ui/main/Form1.h"
#include "ui/main/WrappedToolTips.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // Only the main window ends the program (closing it settles unsaved
    // edits first), not the closing of whatever window happened to be last.
    QApplication::setQuitOnLastWindowClosed(false);
    tagwerk::WrapToolTips(app);
    tagwerk::Form1::instance().show();
    return app.exec();
}
