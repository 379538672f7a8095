#pragma once
// The main window: editor fields, file list, tag commands and menus.
#include "ui/main/FileListBox.h"
#include "ui/main/WindowSingleton.h"

#include <QLabel>
#include <QMainWindow>

namespace tagwerk {

class Form1 : public QMainWindow, public WindowSingleton<Form1> {
    Q_OBJECT
public:
    // Controls other windows write into, named as they are in every window.
    FileListBox* List1 = nullptr; // the file list
    QLabel* Label12 = nullptr;    // its entry count

private:
    friend class WindowSingleton<Form1>;
    Form1();
};

} // namespace tagwerk
