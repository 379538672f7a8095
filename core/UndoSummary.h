#pragma once
// What an undo did, and what the journal could not do, as German sentences
// (UTF-8), so that the window and the command-line tool say it alike.
#include "core/UndoJournal.h"

#include <string>

namespace tagwerk {

inline constexpr const char* kNothingToUndo =
    "Es gibt keine Aktion, die rückgängig gemacht werden kann.";

inline constexpr const char* kJournalBroken =
    "Die Aktion konnte nicht vollständig im Journal vermerkt werden und lässt sich deshalb nicht "
    "(vollständig) rückgängig machen.";

// Names the action and counts the files restored, left alone because they
// changed since, no longer there, and failed, and says when the action stays
// to be finished; or says that the newest action was put aside unread.
std::string UndoSummary(const UndoResult& result);

// The same for what PreviewNewestAction found an undo would do.
std::string UndoPreviewSummary(const UndoResult& preview);

} // namespace tagwerk
