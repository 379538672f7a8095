#include "support/Printers.h"

namespace tagwerk {

namespace {

template <std::size_t count, typename Enum>
std::ostream& PrintName(std::ostream& out, Enum value, const char* const (&names)[count]) {
    auto index = static_cast<std::size_t>(value);
    return out << (index < count ? names[index] : "?");
}

void PrintText(std::ostream& out, const std::string& text) {
    static const char digits[] = "0123456789abcdef";
    out << '"';
    for (unsigned char c : text) {
        if (c >= 0x20 && c < 0x7F) {
            out << c;
        } else {
            out << "\\x" << digits[c >> 4] << digits[c & 15];
        }
    }
    out << '"';
}

} // namespace

std::ostream& operator<<(std::ostream& out, FileError error) {
    return PrintName(out, error,
                     {"none", "notFound", "accessDenied", "readOnlyMedium", "diskFull", "notAFile",
                      "changedMeanwhile", "beingWritten", "ioError"});
}

std::ostream& operator<<(std::ostream& out, ReadOutcome outcome) {
    return PrintName(out, outcome, {"noTrailer", "trailerFound", "error"});
}

std::ostream& operator<<(std::ostream& out, WriteOutcome outcome) {
    return PrintName(out, outcome, {"written", "error"});
}

std::ostream& operator<<(std::ostream& out, BlankOutcome outcome) {
    return PrintName(out, outcome, {"noTrailer", "blanked", "error"});
}

std::ostream& operator<<(std::ostream& out, RemoveOutcome outcome) {
    return PrintName(out, outcome, {"noTrailer", "removed", "failed", "aborted"});
}

void PrintTo(const TagRecord& record, std::ostream* out) {
    for (const std::string* text :
         {&record.title, &record.artist, &record.album, &record.year, &record.comment}) {
        PrintText(*out, *text);
        *out << " ";
    }
    *out << "genre " << int(record.genre);
    if (record.track != 0)
        *out << " track " << int(record.track);
}

void PrintTo(const UndoResult& result, std::ostream* out) {
    *out << (result.undone ? "undone" : "nothing") << " kind " << int(result.kind) << " origin "
         << int(result.origin) << " restored " << result.restored << " changedSince "
         << result.changedSince << " failed " << result.failed << " put back";
    for (const std::string& path : result.changedPaths) {
        *out << " " << path;
    }
}

} // namespace tagwerk
