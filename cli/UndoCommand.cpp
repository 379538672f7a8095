#include "cli/Commands.h"
#include "core/UndoSummary.h"

#include <string>

namespace tagwerk {

// Nothing to undo, an action put aside unread and a file not restored are
// failures, so that a loop of undos ends.
int Undo(bool dryRun) {
    const UndoResult result = dryRun ? PreviewNewestAction() : UndoNewestAction();
    const std::string summary = dryRun ? UndoPreviewSummary(result) : UndoSummary(result);
    if (!result.undone) {
        WriteLine(stderr, "tagwerk-cli: " + (result.setAside.empty() ? kNothingToUndo : summary));
        return kExitFailed;
    }
    WriteLine(stdout, summary);
    return result.failed + result.gone > 0 ? kExitFailed : kExitDone;
}

} // namespace tagwerk
