#include "id3v2/TconGenre.h"

#include "core/Cp1252.h"
#include "core/GenreTable.h"

#include <charconv>
#include <optional>
#include <taglib/id3v1genres.h>

namespace tagwerk {

namespace {

std::optional<GenreCode> TableCode(int code) {
    if (code < 0 || code >= kNoGenre || !GenreNameFromCode(static_cast<GenreCode>(code)))
        return std::nullopt;
    return static_cast<GenreCode>(code);
}

std::optional<GenreCode> CodeOfNumber(std::string_view value) {
    int number = -1;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (error != std::errc() || end != value.data() + value.size())
        return std::nullopt;
    return TableCode(number);
}

std::optional<GenreCode> CodeOfName(std::string_view value) {
    if (const std::optional<GenreCode> code = GenreCodeFromNameIgnoringCase(value))
        return TableCode(*code);
    // Taggers write the full names of TagLib's table ("Christian Gangsta
    // Rap"), which ours shortens.
    return TableCode(TagLib::ID3v1::genreIndex(TagLib::String(std::string(value))));
}

// The references in brackets at the start of a value, then the rest.
std::vector<std::string> Parts(std::string value) {
    std::vector<std::string> parts;
    while (value.starts_with('(') && !value.starts_with("((")) {
        const std::size_t close = value.find(')');
        if (close == std::string::npos)
            break;
        parts.push_back(value.substr(1, close - 1));
        value.erase(0, close + 1);
    }
    if (value.starts_with("(("))
        value.erase(0, 1);
    if (!value.empty())
        parts.push_back(value);
    return parts;
}

} // namespace

// Every name of the table is ASCII: a character the code page lacks names none.
GenreCode GenreFromTcon(const std::vector<std::u16string>& values) {
    for (const std::u16string& value : values) {
        for (const std::string& part : Parts(EncodeCp1252(value))) {
            std::optional<GenreCode> code = CodeOfNumber(part);
            if (!code)
                code = CodeOfName(part);
            if (code)
                return *code;
        }
    }
    return kNoGenre;
}

} // namespace tagwerk
