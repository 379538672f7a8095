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

// Control characters of a tag shown, never sent to the terminal.
std::string Shown(const std::string& text) {
    return Visible(Utf8FromCp1252(text));
}

} // namespace

std::string RecordLines(const TagRecord& record) {
    std::string lines =
        "  Titel:         " + Shown(record.title) + "\n  Künstler:      " + Shown(record.artist) +
        "\n  Album:         " + Shown(record.album) + "\n  Jahr:          " + Shown(record.year) +
        "\n  Kommentar:     " + Shown(record.comment) +
        "\n  Musikrichtung: " + GenreText(record.genre) + "\n";
    if (record.track != 0)
        lines.append("  Titelnummer:   ").append(std::to_string(record.track)).append("\n");
    return lines;
}

} // namespace tagwerk
