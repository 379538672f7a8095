#pragma once
// The end of every action that changes files: its journal is finished, the
// undo command learns that there is something to take back, and the
// action's notice is shown. The first action of a program run whose journal
// could not be written says so once, after its own notice.
#include "core/UndoJournal.h"

#include <QString>

namespace tagwerk {

// Shows `notice` unless it is empty.
void FinishAction(UndoJournalWriter& journal, const QString& notice = {});

} // namespace tagwerk
