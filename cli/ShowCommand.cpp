#include "cli/Commands.h"
#include "cli/RecordText.h"
#include "cli/Text.h"
#include "core/GenreTable.h"
#include "core/TrailerFile.h"

#include <nlohmann/json.hpp>

namespace tagwerk {

namespace {

using Json = nlohmann::ordered_json;

constexpr std::pair<const char*, std::string TagRecord::*> kTextFields[] = {
    {"title", &TagRecord::title}, {"artist", &TagRecord::artist},   {"album", &TagRecord::album},
    {"year", &TagRecord::year},   {"comment", &TagRecord::comment},
};

// The JSON object of one file. Its two forms are made once and only their
// values change from file to file: making them anew for each file would
// cost more than reading the file.
class FileJson {
public:
    FileJson() {
        for (const auto& [key, text] : kTextFields)
            tagged_["tag"][key] = "";
        tagged_["tag"]["genre"] = {{"code", 0}, {"name", nullptr}};
        tagged_["tag"]["track"] = nullptr;
    }

    // The object, with a path that is not UTF-8 kept in its valid parts and
    // U+FFFD for the rest, and then its bytes beside it as numbers.
    std::string dump(const std::string& path, const std::optional<TagRecord>& record) {
        Json& object = record ? tagged_ : untagged_;
        object["path"].get_ref<std::string&>() = path;
        if (record) {
            Json& tag = object["tag"];
            for (const auto& [key, text] : kTextFields)
                tag[key].get_ref<std::string&>() = Utf8FromCp1252((*record).*text);
            const auto name = GenreNameFromCode(record->genre);
            Json& genre = tag["genre"];
            genre["code"] = record->genre;
            genre["name"] = name && record->genre != kNoGenre ? Json(*name) : Json(nullptr);
            tag["track"] = record->track != 0 ? Json(record->track) : Json(nullptr);
        }
        if (!IsUtf8(path))
            return Json{{"path", path},
                        {"path_bytes", std::vector<std::uint8_t>(path.begin(), path.end())},
                        {"tag", object["tag"]}}
                .dump(-1, ' ', false, Json::error_handler_t::replace);
        return object.dump(-1, ' ', false, Json::error_handler_t::replace);
    }

private:
    Json tagged_{{"path", ""}, {"tag", Json::object()}};
    Json untagged_{{"path", ""}, {"tag", nullptr}};
};

} // namespace

// With --json, one object per line: written as each file is read, so that
// no tree of all files is built.
void Show(Files& files, bool json, Report& report) {
    FileJson fileJson;
    bool first = true;
    for (const std::string& file : files) {
        const ReadResult read = ReadTagTrailer(file, kTrailerRule);
        if (read.outcome == ReadOutcome::error) {
            report.failed(file, read.error);
            continue;
        }
        const bool found = read.outcome == ReadOutcome::trailerFound;
        if (json)
            Print((first ? "[\n" : ",\n") +
                  fileJson.dump(file, found ? std::optional(read.record) : std::nullopt));
        else
            Print(Visible(file) + "\n" + (found ? RecordLines(read.record) : "  Kein ID3-Tag\n"));
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
