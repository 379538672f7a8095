#pragma once
// The preview of a batch run: every file of the main window's file list, in
// its order, with the values the run would write into its tag, or why the
// run would leave it alone or fail on it. Nothing is written; "Starten" runs
// the run, "Schließen" goes back to the batch window as it was. The rows are
// worked out as they come into sight, so a long list opens at once.
#include "ui/batch/FileDecision.h"
#include "ui/main/WindowSingleton.h"

#include <QString>
#include <QWidget>
#include <functional>

class QLabel;
class QPushButton;
class QTableView;

namespace tagwerk {

// What tells one run's preview from another's.
struct PreviewTexts {
    QString title;     // the window's title
    QString noValues;  // a file whose name or ID3v2 tag gives no values
    QString leftAlone; // a file that keeps the tag it has
};

// What the run does with the entry of the file list (a path as listed).
using EntryDecision = std::function<FileDecision(const QString& entry)>;

class Form7 : public QWidget, public WindowSingleton<Form7> {
    Q_OBJECT
public:
    QLabel* Label1 = nullptr;        // what the table shows
    QTableView* List1 = nullptr;     // file and the six values, or what happens instead
    QPushButton* Command1 = nullptr; // "&Starten"
    QPushButton* Command2 = nullptr; // "S&chließen"

    // Shows the preview of the main window's file list in front of `owner`,
    // which takes no input until the preview closes; `start` runs the run.
    static void Open(QWidget& owner, const PreviewTexts& texts, EntryDecision decide,
                     std::function<void()> start);

    void Command1_Click();
    void Command2_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    friend class WindowSingleton<Form7>;
    Form7();

    std::function<void()> start_;
};

} // namespace tagwerk
