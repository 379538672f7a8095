#pragma once
// What both file selection windows share: drive selector, directory list,
// file list and file-type filter, which follow each other, the return to the
// main window, and the tool-window frame.
#include "ui/select/DirectoryList.h"
#include "ui/select/DriveSelector.h"
#include "ui/select/FileNameList.h"

#include <QComboBox>
#include <QLabel>
#include <QWidget>
#include <initializer_list>

namespace tagwerk {

class FileSelectionWindow : public QWidget {
    Q_OBJECT
public:
    QLabel* Label4 = nullptr;        // "Laufwerk:"
    DriveSelector* Drive1 = nullptr; // the drive whose directories are listed
    DirectoryList* Dir1 = nullptr;   // the current directory and its subdirectories
    FileNameList* File1 = nullptr;   // the matching files of the current directory
    QLabel* Label2 = nullptr;        // "Datei:"
    QLabel* Label3 = nullptr;        // "Dateityp:"
    QComboBox* Combo1 = nullptr;     // the file type listed in File1

    // The root path of the last drive applied without error: a drive is
    // known by its root, which stays when its volume name changes.
    QString LastDrive;

    void Combo1_Click();
    void Dir1_Change();
    void Drive1_Change();
    // Leaves the window as it is and goes back to the main window.
    void Command2_Click();

protected:
    // Builds the shared controls, listing the program's current directory.
    FileSelectionWindow(const QString& name, const QString& title, int widthTwips, int heightTwips);

    // Names the shared controls for screen readers, once their tooltips are set.
    void NameBrowserControls();
    // The shared part of the load: file list, filter and LastDrive set up.
    void LoadBrowser();
    void ReturnToMainWindow();
    template <class Control> static Control* Named(Control* control, const char* name) {
        control->setObjectName(name);
        return control;
    }
    // Tab moves through the controls in this order.
    void SetKeyboardOrder(std::initializer_list<QWidget*> order);
    static QString CountCaption(qsizetype count);
    // Shows the new number of entries of the main window's file list.
    static void ShowMainFileCount();

    // Closing by the title bar is the same as cancelling.
    void closeEvent(QCloseEvent* event) override;
    // A later show lists the directory again, keeping the selection; a
    // directory removed meanwhile gives way to its nearest parent.
    void showEvent(QShowEvent* event) override;

private:
    bool ApplyDrive();

    bool shown_ = false;
};

} // namespace tagwerk
