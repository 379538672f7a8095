#include "cli/Commands.h"
#include "cli/RecordText.h"
#include "cli/Text.h"
#include "core/FileErrorReason.h"
#include "core/GenreTable.h"
#include "core/TrailerFile.h"

#include <nlohmann/json.hpp>

namespace tagwerk {

namespace {

using Json = nlohmann::ordered_json;

Json TagJson(const TagRecord& record) {
    const auto name = GenreNameFromCode(record.genre);
    return {{"title", Utf8FromCp1252(record.title)},
            {"artist", Utf8FromCp1252(record.artist)},
            {"album", Utf8FromCp1252(record.album)},
            {"year", Utf8FromCp1252(record.year)},
            {"comment", Utf8FromCp1252(record.comment)},
            {"genre", {{"code", record.genre}, {"name", name ? Json(*name) : Json(nullptr)}}}};
}

} // namespace

// With --json, one object per line: written as each file is read, so that
// no tree of all files is built.
void Show(const Files& files, bool json, Report& report) {
    bool first = true;
    for (const std::string& file : files) {
        const ReadResult read = ReadTagTrailer(file);
        if (read.outcome == ReadOutcome::error) {
            report.failed(file, FileErrorReason(read.error));
            continue;
        }
        const bool found = read.outcome == ReadOutcome::trailerFound;
        if (!json) {
            Print(file + "\n" + (found ? RecordLines(read.record) : "  Kein ID3-Tag\n"));
            continue;
        }
        // A path that is not UTF-8 keeps its valid parts; U+FFFD stands for the rest.
        const Json object{{"path", file}, {"tag", found ? TagJson(read.record) : Json(nullptr)}};
        Print((first ? "[\n" : ",\n") +
              object.dump(-1, ' ', false, Json::error_handler_t::replace));
        first = false;
    }
    if (json)
        Print(first ? "[]\n" : "\n]\n");
}

void Genres() {
    for (const GenreEntry& entry : GenreTable())
        WriteLine(stdout, std::to_string(entry.code) + "\t" + std::string(entry.name));
}

} // namespace tagwerk
