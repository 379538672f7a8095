#pragma once
// The batch removal window: removes or blanks the trailers of every file of
// the main window's file list, with the progress on the main window. A run
// stops at its next check once the window is hidden ("Abbruch" or the close
// box), and ends by unloading the window.
#include "core/UndoJournal.h"
#include "ui/main/WindowSingleton.h"

#include <QWidget>
#include <functional>

class QLabel;
class QPushButton;

namespace tagwerk {

class ProgressDisplay;

class Form5 : public QWidget, public WindowSingleton<Form5> {
    Q_OBJECT
public:
    QLabel* Label1 = nullptr;        // what the two actions do
    QPushButton* Command1 = nullptr; // "Entferne alle ID3-Tags"
    QPushButton* Command2 = nullptr; // "Leere alle ID3-Tags (soweit vorhanden)"
    QPushButton* Command3 = nullptr; // "Abbruch"

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

protected:
    // Closing by the title bar acts like "Abbruch".
    void closeEvent(QCloseEvent* event) override;
    // Shown below the main window's progress texts, so that the logo and the
    // texts stay in sight during a run, and with the keyboard focus.
    void showEvent(QShowEvent* event) override;

private:
    friend class WindowSingleton<Form5>;
    Form5();

    bool aborted() const { return isHidden(); }
    bool running_ = false;
    // The work on listed file i of n; why it failed, empty when it did not.
    using FileWork = std::function<QString(ProgressDisplay& progress, const QString& entry, int i,
                                           int n, UndoJournalWriter& journal)>;
    // `done` names the action in the notice about failed files; the removal
    // shows the bar of the current file too.
    void runOverList(ActionKind kind, const QString& done, const FileWork& work);
};

} // namespace tagwerk
