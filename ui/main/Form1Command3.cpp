// "ID3-Tag entfernen": cuts the trailer off the open file through a
// temporary copy while the logo shows the progress.
#include "core/TrailerFile.h"
#include "ui/main/ActionRecording.h"
#include "ui/main/FileErrorText.h"
#include "ui/main/Form1.h"
#include "ui/main/ProgressDisplay.h"
#include "ui/main/TextConversion.h"
#include "ui/main/frmMessage.h"

#include <QPushButton>

namespace tagwerk {

void Form1::Command3_Click() {
    setEnabled(false);
    ProgressDisplay progress(*this);
    progress.BeginProgress();
    UndoJournalWriter journal(ActionKind::singleRemoval);
    const RemoveResult result = RemoveTagTrailer(
        NativePath(Label11->path()), NativePath(Label10->path()),
        [&progress](std::int64_t p, std::int64_t n) {
            progress.ShowProgress(ProgressBar::overall,
                                  static_cast<double>(p) / static_cast<double>(n),
                                  [=] { return PercentText(p * 100 / n); });
            return true;
        },
        &journal);
    // Emptied only once the tag is gone: after a failure the fields still
    // show the tag the file keeps.
    if (result.outcome == RemoveOutcome::removed) {
        emptyEditor();
        rememberOpenFileStamp(openFilePath());
    }
    progress.EndProgress();
    setEnabled(true);
    if (result.error == FileError::changedMeanwhile || result.error == FileError::beingWritten) {
        // The usual list of causes would mislead here.
        FinishAction(journal, "Der ID3-Tag wurde nicht entfernt. " + FileErrorText(result.error));
        return;
    }
    if (result.outcome == RemoveOutcome::failed) {
        FinishAction(
            journal,
            "Fehler beim Entfernen des ID3-Tags. Mögliche Ursachen: zuwenig Speicherplatz "
            "auf dem Datenträger, schreibgeschützter Datenträger oder Fehler beim Lesen der "
            "MP3-Datei.");
        return;
    }
    Command2->setEnabled(false);
    FinishAction(journal);
}

} // namespace tagwerk
