// Start-up: shows the main window; nothing else runs at start.
#include "ui/main/Form1.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    tagwerk::Form1::instance().show();
    return app.exec();
}
