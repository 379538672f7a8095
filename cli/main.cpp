// tagwerk-cli: Tagwerk's work on the ID3v1 tag from scripts and terminals.
#include "cli/CommandLine.h"
#include "collect/Mp3Files.h"
#include "core/FileErrorReason.h"
#include "core/UndoSummary.h"

#include <cerrno>
#include <optional>

namespace {

using namespace tagwerk;

// The paths as given, or with -r the files their folders give.
Files FilesToWorkOn(Invocation& invocation, Report& report) {
    if (!invocation.recursive)
        return std::move(invocation.paths);
    CollectedFiles collected = FilesOfArguments(invocation.paths);
    for (const UnreadablePath& unreadable : collected.unreadable)
        report.failed(unreadable.path, FileErrorReason(FileErrorFromErrno(unreadable.error)));
    return std::move(collected.files);
}

// What the commands that write record their work as, for undo.
std::optional<ActionKind> RecordedAs(const std::string& command) {
    if (command == "set")
        return ActionKind::save;
    if (command == "remove")
        return ActionKind::removalRun;
    if (command == "blank")
        return ActionKind::blankingRun;
    if (command == "from-names")
        return ActionKind::tagsFromNamesRun;
    if (command == "from-v2")
        return ActionKind::id3v1FromId3v2Run;
    return std::nullopt;
}

void Run(const Invocation& invocation, const Files& files, Report& report,
         TrailerChangeObserver* journal) {
    const std::string& command = invocation.command;
    const bool dryRun = invocation.dryRun;
    if (command == "show")
        Show(files, invocation.json, report);
    else if (command == "set")
        Set(files, invocation.fields, dryRun, report, journal);
    else if (command == "remove")
        Remove(files, dryRun, report, journal);
    else if (command == "blank")
        Blank(files, dryRun, report, journal);
    else if (command == "from-names")
        FromNames(files, invocation.pattern, invocation.fixed, invocation.overwrite, dryRun, report,
                  journal);
    else if (command == "from-v2")
        FromV2(files, invocation.overwrite, dryRun, report, journal);
    else
        Genres();
}

// One journal for all files of the run, so that one undo takes it all back;
// a trial run has nothing to take back. A journal that cannot be written
// never stops or fails the work; it is told once.
int RunRecorded(Invocation& invocation) {
    Report report;
    const Files files = FilesToWorkOn(invocation, report);
    const std::optional<ActionKind> kind = RecordedAs(invocation.command);
    if (!kind || invocation.dryRun) {
        Run(invocation, files, report, nullptr);
        return report.exitStatus();
    }
    UndoJournalWriter journal(*kind, ActionOrigin::tool);
    Run(invocation, files, report, &journal);
    journal.finish();
    if (journal.broken())
        Warn(kJournalBroken);
    return report.exitStatus();
}

} // namespace

int main(int argc, char** argv) {
    auto commandLine = ReadCommandLine(argc, argv);
    if (const int* exitStatus = std::get_if<int>(&commandLine))
        return *exitStatus;
    Invocation& invocation = std::get<Invocation>(commandLine);
    if (invocation.command == "undo")
        return Undo(invocation.dryRun);
    return RunRecorded(invocation);
}
