#include "support/OutcomeNames.h"

namespace tagwerk {

namespace {

template <std::size_t count, typename Enum>
std::ostream& PrintName(std::ostream& out, Enum value, const char* const (&names)[count]) {
    auto index = static_cast<std::size_t>(value);
    return out << (index < count ? names[index] : "?");
}

} // namespace

std::ostream& operator<<(std::ostream& out, FileError error) {
    return PrintName(
        out, error,
        {"none", "notFound", "accessDenied", "readOnlyMedium", "diskFull", "notAFile", "ioError"});
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

} // namespace tagwerk
