// "Letzte Aktion rückgängig machen": takes back the newest recorded action,
// also one of an earlier program run or of the command-line tool.
#include "core/UndoSummary.h"
#include "ui/main/Form1.h"
#include "ui/main/ProgressDisplay.h"
#include "ui/main/TextConversion.h"
#include "ui/main/frmMessage.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QHash>
#include <QMenu>
#include <QMenuBar>
#include <QWindow>
#include <algorithm>

namespace tagwerk {

void Form1::createUndoItem() {
    QMenu* extras = menuBar()->findChild<QMenu*>("Extras");
    extras->addSeparator()->setObjectName("none");
    Rueckgaengig = extras->addAction("&Letzte Aktion rückgängig machen");
    Rueckgaengig->setObjectName("Rueckgaengig");
    Rueckgaengig->setShortcut(QKeySequence::Undo);
    Rueckgaengig->setEnabled(HasActionToUndo());
    // Another program may have recorded or undone an action meanwhile: seen
    // when the menu opens, and for the shortcut when the window comes to the front.
    connect(extras, &QMenu::aboutToShow, this,
            [this] { Rueckgaengig->setEnabled(HasActionToUndo()); });
    connect(qApp, &QGuiApplication::focusWindowChanged, this, [this] {
        if (isActiveWindow())
            Rueckgaengig->setEnabled(HasActionToUndo());
    });
    connect(Rueckgaengig, &QAction::triggered, this, &Form1::Rueckgaengig_Click);
}

void Form1::Rueckgaengig_Click() {
    setEnabled(false);
    std::optional<ProgressDisplay> progress;
    const UndoResult result = UndoNewestAction([&](std::size_t done, std::size_t total) {
        if (total < 2)
            return;
        if (!progress) {
            progress.emplace(*this);
            progress->BeginProgress();
        }
        const double fraction = static_cast<double>(done) / static_cast<double>(total);
        progress->ShowProgress(ProgressBar::overall, fraction, [&] {
            return PercentText(static_cast<std::int64_t>(done * 100 / total));
        });
    });
    if (progress)
        progress->EndProgress();
    setEnabled(true);
    Rueckgaengig->setEnabled(HasActionToUndo());
    if (!result.undone) { // another program took it back meanwhile, or it was put aside
        ShowNotice(QString::fromUtf8(result.setAside.empty() ? kNothingToUndo
                                                             : UndoSummary(result).c_str()));
        return;
    }
    // An undo is a run of its own: the marks of the run before give way to
    // the files it could not put back, which the next undo tries again.
    QHash<QString, QString> unrestored;
    for (const UndoneFile& file : result.files) {
        if (file.outcome == UndoFileOutcome::gone)
            unrestored.insert(QFile::decodeName(file.path.c_str()),
                              "Nicht mehr vorhanden; das nächste Rückgängigmachen holt sie nach.");
        else if (file.outcome == UndoFileOutcome::failed)
            unrestored.insert(QFile::decodeName(file.path.c_str()),
                              "Ließ sich nicht wiederherstellen; das nächste Rückgängigmachen "
                              "versucht es erneut.");
    }
    List1->markFailures(unrestored);
    // Reloaded before the summary is shown: the load may ask about unsaved
    // edits, and its question would take the summary's place.
    const std::string open = NativePath(openFilePath());
    if (!open.empty() && std::ranges::find(result.changedPaths, open) != result.changedPaths.end())
        reloadOpenFile();
    ShowNotice(QString::fromStdString(UndoSummary(result)));
}

} // namespace tagwerk
