#include "id3v2/TconGenre.h"

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
    // TagLib turns "(136)Christian Gangsta Rap" into its own name of 136
    // alone, which our table spells differently.
    return TableCode(
        TagLib::ID3v1::genreIndex(TagLib::String(std::string(value), TagLib::String::UTF8)));
}

} // namespace

GenreCode GenreFromTcon(const std::vector<std::string>& values) {
    for (const std::string& value : values) {
        std::optional<GenreCode> code = CodeOfNumber(value);
        if (!code)
            code = CodeOfName(value);
        if (code)
            return *code;
    }
    return kNoGenre;
}

} // namespace tagwerk
