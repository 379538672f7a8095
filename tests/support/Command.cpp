#include "support/Command.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace tagwerk::test {

CommandResult RunCommand(const std::string& command) {
    CommandResult result;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return result;
    }
    char buffer[4096];
    for (std::size_t count; (count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        result.output.append(buffer, count);
    }
    result.status = ::pclose(pipe);
    return result;
}

std::string Quote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

std::string Python() {
    return ::access("/usr/bin/python3", X_OK) == 0 ? "/usr/bin/python3" : "python3";
}

std::string SupportScript(const std::string& script) {
    const char* source = std::getenv("TAGWERK_SOURCE_DIR");
    std::filesystem::path root = source != nullptr
                                     ? std::filesystem::path(source)
                                     : std::filesystem::path(__FILE__).parent_path() / "../..";
    return Python() + " " + Quote((root / "tests/support" / script).string());
}

} // namespace tagwerk::test
