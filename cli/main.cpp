// tagwerk-cli: Tagwerk's work on the ID3v1 tag from scripts and terminals.
#include "cli/CommandLine.h"
#include "collect/Mp3Files.h"
#include "core/FileErrorReason.h"

#include <cerrno>

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

void Run(const Invocation& invocation, const Files& files, Report& report) {
    const std::string& command = invocation.command;
    const bool dryRun = invocation.dryRun;
    if (command == "show")
        Show(files, invocation.json, report);
    else if (command == "set")
        Set(files, invocation.fields, dryRun, report);
    else if (command == "remove")
        Remove(files, dryRun, report);
    else if (command == "blank")
        Blank(files, dryRun, report);
    else if (command == "from-names")
        FromNames(files, invocation.pattern, invocation.fixed, invocation.overwrite, dryRun,
                  report);
    else if (command == "from-v2")
        FromV2(files, invocation.overwrite, dryRun, report);
    else
        Genres();
}

} // namespace

int main(int argc, char** argv) {
    auto commandLine = ReadCommandLine(argc, argv);
    if (const int* exitStatus = std::get_if<int>(&commandLine))
        return *exitStatus;
    Invocation& invocation = std::get<Invocation>(commandLine);
    Report report;
    Run(invocation, FilesToWorkOn(invocation, report), report);
    return report.exitStatus();
}
