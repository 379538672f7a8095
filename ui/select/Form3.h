#pragma once
// The multi-file selection window: the user collects files from several
// directories and drives in a list of its own and hands them all at once to
// the main window's file list. The list survives hiding the window.
#include "ui/main/FileListBox.h"
#include "ui/main/WindowSingleton.h"
#include "ui/select/FileSelectionWindow.h"

#include <QPushButton>

namespace tagwerk {

class Form3 : public FileSelectionWindow, public WindowSingleton<Form3> {
    Q_OBJECT
public:
    QLabel* Label5 = nullptr;        // name of the file selected in File1
    QPushButton* Command1 = nullptr; // "Datei zu Liste hinzufügen"
    QPushButton* Command3 = nullptr; // "Alle Dateien im aktuellen Verzeichnis hinzufügen"
    QPushButton* Command7 = nullptr; // subdirectory search: offered, never enabled
    QLabel* Label1 = nullptr;        // "Zu öffnende Dateien:"
    QLabel* Label10 = nullptr;       // entry count of List1
    FileListBox* List1 = nullptr;    // the files to open
    QLabel* Label6 = nullptr;        // "Datei:"
    QLabel* Label7 = nullptr;        // file-name part of the entry selected in List1
    QLabel* Label8 = nullptr;        // "Verzeichnis:"
    QLabel* Label9 = nullptr;        // directory part of the entry selected in List1
    QPushButton* Command5 = nullptr; // "Ausgewählten Listeneintrag entfernen"
    QPushButton* Command4 = nullptr; // "Alle Listeneinträge löschen"
    QPushButton* Command6 = nullptr; // "Dateien öffnen"
    QPushButton* Command2 = nullptr; // "A&bbrechen"

    void File1_Click();
    void Command1_Click();
    void Command3_Click();
    void List1_Click();
    void List1_DblClick();
    void Command5_Click();
    void Command4_Click();
    void Command6_Click();

private:
    friend class WindowSingleton<Form3>;
    Form3();
    void Form_Load();
    void PlaceControls();
    void SetToolTips();
    void ShowListCount();
};

} // namespace tagwerk
