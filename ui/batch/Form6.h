#pragma once
// The batch window that gives every file of the main window's file list an
// ID3v1 tag with the values of the ID3v2 tag at the file's start. A run
// stops after its current file once the window is hidden ("Abbruch", Escape
// or the close box). Its values last from one opening to the next.
#include "ui/main/WindowSingleton.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QPushButton;

namespace tagwerk {

class Form6 : public QWidget, public WindowSingleton<Form6> {
    Q_OBJECT
public:
    QLabel* Label1 = nullptr;        // what the run does
    QCheckBox* Check1 = nullptr;     // overwrite existing ID3v1 tags
    QPushButton* Command1 = nullptr; // "Starten"
    QPushButton* Command2 = nullptr; // "Abbruch"
    QPushButton* Command3 = nullptr; // "&Vorschau...": what "Starten" would do, writing nothing

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

protected:
    // Closing by the title bar acts like "Abbruch".
    void closeEvent(QCloseEvent* event) override;
    // Centred over the main window, below its logo and progress texts, so
    // that they stay in sight during a run.
    void showEvent(QShowEvent* event) override;

private:
    friend class WindowSingleton<Form6>;
    Form6();

    bool running_ = false;
};

} // namespace tagwerk
