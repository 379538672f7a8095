#pragma once
// The single-file selection window: the user picks one file on any drive and
// directory, and its path is added to the main window's file list.
#include "ui/main/WindowSingleton.h"
#include "ui/select/FileSelectionWindow.h"

#include <QLineEdit>
#include <QPushButton>

namespace tagwerk {

class Form2 : public FileSelectionWindow, public WindowSingleton<Form2> {
    Q_OBJECT
public:
    QLineEdit* Text1 = nullptr;      // shows the file name last clicked; never read
    QPushButton* Command1 = nullptr; // "Datei öffnen"
    QPushButton* Command2 = nullptr; // "Abbrechen"

    void File1_Click();
    void File1_DblClick();
    void Command1_Click();

private:
    friend class WindowSingleton<Form2>;
    Form2();
    void Form_Load();
};

} // namespace tagwerk
