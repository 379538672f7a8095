// tagwerk-cli: Tagwerk's work on the ID3v1 tag from scripts and terminals.
#include "cli/CommandLine.h"
#include "core/UndoSummary.h"

#include <csignal>
#include <optional>

namespace {

using namespace tagwerk;

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

void Run(const Invocation& invocation, Files& files, Report& report,
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
// never stops or fails the work; it is told once. A list of paths that
// cannot be opened stops it before the first file.
int RunRecorded(Invocation& invocation) {
    Report report;
    Files files(std::move(invocation.files), report);
    if (!files.listOpen())
        return report.exitStatus();
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

// A reader that went away (`| head`) ends the program quietly, as it does
// other tools, even where the caller ignores that signal. Any other output
// that is lost is a failure.
int main(int argc, char** argv) {
    std::signal(SIGPIPE, SIG_DFL);
    auto commandLine = ReadCommandLine(argc, argv);
    if (const int* exitStatus = std::get_if<int>(&commandLine))
        return CheckedOutput(*exitStatus);
    Invocation& invocation = std::get<Invocation>(commandLine);
    if (invocation.command == "undo")
        return CheckedOutput(Undo(invocation.dryRun));
    return CheckedOutput(RunRecorded(invocation));
}
