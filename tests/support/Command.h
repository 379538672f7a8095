#pragma once
// Running other programs from the tests: shell commands and the Python
// scripts in tests/support that drive tools no one here wrote.
#include <string>

namespace tagwerk::test {

struct CommandResult {
    int status = -1;
    std::string output;
};

// Runs the command through the shell; the output is its standard output.
CommandResult RunCommand(const std::string& command);

// The text as one shell word.
std::string Quote(const std::string& text);

// The Python that has mutagen and eyeD3 (Debian's own, not a private one).
std::string Python();

// The command that runs tests/support/<script> with that Python.
std::string SupportScript(const std::string& script);

} // namespace tagwerk::test
