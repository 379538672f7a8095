#include "ui/main/ActionRecording.h"

#include "core/UndoSummary.h"
#include "ui/main/Form1.h"
#include "ui/main/frmMessage.h"

#include <QAction>
#include <QApplication>
#include <QTimer>

namespace tagwerk {

void FinishAction(UndoJournalWriter& journal, const QString& notice) {
    journal.finish();
    Form1::instance().Rueckgaengig->setEnabled(HasActionToUndo());
    static bool warned = false;
    const bool warn = journal.broken() && !warned;
    warned = warned || warn;
    const QString warning = QString::fromUtf8(kJournalBroken);
    if (notice.isEmpty()) {
        if (warn)
            ShowNotice(warning);
        return;
    }
    ShowNotice(notice);
    // A second notice would replace the first in the one message window, so
    // the warning waits until the action's notice is closed.
    if (warn)
        QObject::connect(&frmMessage::instance(), &QObject::destroyed, qApp, [warning] {
            QTimer::singleShot(0, qApp, [warning] { ShowNotice(warning); });
        });
}

} // namespace tagwerk
