#include "cli/Report.h"

#include <cstdio>
#include <string>

namespace tagwerk {

void WriteLine(std::FILE* stream, std::string_view line) {
    std::string whole(line);
    whole += '\n';
    std::fwrite(whole.data(), 1, whole.size(), stream);
}

void Print(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
}

void Report::failed(std::string_view path, std::string_view reason) {
    ++failures_;
    WriteLine(stderr, "tagwerk-cli: " + std::string(path) + ": " + std::string(reason));
}

void Warn(std::string_view text) {
    WriteLine(stderr, "tagwerk-cli: Warnung: " + std::string(text));
}

} // namespace tagwerk
