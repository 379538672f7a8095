#include "cli/Commands.h"
#include "core/UndoSummary.h"

#include <string>

namespace tagwerk {

// Nothing to undo is a failure, so that a loop of undos ends.
int Undo(bool dryRun) {
    const UndoResult result = dryRun ? PreviewNewestAction() : UndoNewestAction();
    if (!result.undone) {
        WriteLine(stderr, "tagwerk-cli: " + std::string(kNothingToUndo));
        return kExitFailed;
    }
    WriteLine(stdout, dryRun ? UndoPreviewSummary(result) : UndoSummary(result));
    return result.failed > 0 ? kExitFailed : kExitDone;
}

} // namespace tagwerk
