#pragma once
// The main window: editor fields, file list, tag commands and menus.
#include <QMainWindow>

namespace tagwerk {

class Form1 : public QMainWindow {
    Q_OBJECT
public:
    // The one main window, created on first use.
    static Form1& instance();

private:
    Form1();
};

} // namespace tagwerk
