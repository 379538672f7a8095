#pragma once
// Reading the command line: which subcommand, with which values, on which
// paths. Everything that can be wrong with it is found here, before any
// file is touched.
#include "cli/Commands.h"

#include <string>
#include <variant>
#include <vector>

namespace tagwerk {

struct Invocation {
    std::string command;
    FileArguments files;
    bool dryRun = false;
    bool json = false;
    bool overwrite = false;
    FieldValues fields;       // set
    Dateinamenaufbau pattern; // from-names
    FixedValues fixed;        // from-names
};

// The invocation, or the exit status when the program has nothing more to
// do: 0 after the help or the version, 2 after a usage error (told on
// standard error).
std::variant<Invocation, int> ReadCommandLine(int argc, char** argv);

} // namespace tagwerk
