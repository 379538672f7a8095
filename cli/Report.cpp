#include "cli/Report.h"

#include "cli/Text.h"
#include "core/FileErrorReason.h"

#include <cerrno>
#include <cstdio>
#include <string>
#include <sys/stat.h>

namespace tagwerk {

namespace {

// Why standard output first failed to take a write; 0 while it has not.
int outputError = 0;

void Write(std::FILE* stream, std::string_view text) {
    if (std::fwrite(text.data(), 1, text.size(), stream) != text.size() && stream == stdout &&
        outputError == 0)
        outputError = errno != 0 ? errno : EIO;
}

} // namespace

void WriteLine(std::FILE* stream, std::string_view line) {
    std::string whole(line);
    whole += '\n';
    Write(stream, whole);
}

void Print(std::string_view text) {
    Write(stdout, text);
}

int CheckedOutput(int status) {
    if (std::fflush(stdout) != 0 && outputError == 0)
        outputError = errno;
    if (outputError == 0 && !std::ferror(stdout))
        return status;
    WriteLine(stderr,
              std::string("tagwerk-cli: Die Ausgabe ließ sich nicht vollständig schreiben: ") +
                  FileErrorReason(FileErrorFromErrno(outputError != 0 ? outputError : EIO)));
    return kExitFailed;
}

void Report::failed(std::string_view path, std::string_view reason) {
    ++failures_;
    WriteLine(stderr, "tagwerk-cli: " + Visible(path) + ": " + std::string(reason));
}

void Report::failed(std::string_view path, FileError error) {
    struct stat status {};
    if (error == FileError::notAFile && ::stat(std::string(path).c_str(), &status) == 0 &&
        S_ISDIR(status.st_mode))
        failed(path, "Der Pfad ist ein Ordner; mit -r werden seine MP3-Dateien bearbeitet.");
    else
        failed(path, FileErrorReason(error));
}

void Warn(std::string_view text) {
    WriteLine(stderr, "tagwerk-cli: Warnung: " + std::string(text));
}

} // namespace tagwerk
