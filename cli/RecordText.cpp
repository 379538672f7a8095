#include "cli/RecordText.h"

#include "cli/Text.h"
#include "core/GenreTable.h"

namespace tagwerk {

namespace {

// "Rock (17)", "(keine Zuordnung)" for 255, "ohne Namen (200)" for a code
// the table lacks.
std::string GenreText(GenreCode code) {
    const std::string number = std::to_string(code);
    if (code == kNoGenre)
        return std::string(kNoGenreName);
    const auto name = GenreNameFromCode(code);
    return (name ? std::string(*name) : std::string("ohne Namen")) + " (" + number + ")";
}

} // namespace

std::string RecordLines(const TagRecord& record) {
    return "  Titel:         " + Utf8FromCp1252(record.title) +
           "\n  Künstler:      " + Utf8FromCp1252(record.artist) +
           "\n  Album:         " + Utf8FromCp1252(record.album) +
           "\n  Jahr:          " + Utf8FromCp1252(record.year) +
           "\n  Kommentar:     " + Utf8FromCp1252(record.comment) +
           "\n  Musikrichtung: " + GenreText(record.genre) + "\n";
}

} // namespace tagwerk
