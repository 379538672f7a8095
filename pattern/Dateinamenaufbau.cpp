#include "pattern/Dateinamenaufbau.h"

#include "core/Cp1252.h"
#include "core/GenreTable.h"
#include "core/PathText.h"

namespace tagwerk {

namespace {

constexpr char16_t kComma = u',';
constexpr char16_t kQuote = u'"';

// Strips one double quote at the start, then one at the end.
std::u16string RemoveQuotes(std::u16string_view text) {
    if (!text.empty() && text.front() == kQuote)
        text.remove_prefix(1);
    if (!text.empty() && text.back() == kQuote)
        text.remove_suffix(1);
    return std::u16string(text);
}

enum Field { title, artist, album, year, genre, comment, fieldCount };

std::array<std::u16string, fieldCount> FixedFields(const FixedValues& fixed) {
    return {fixed.title, fixed.artist, fixed.album, fixed.year, fixed.genreName, fixed.comment};
}

void TakeOverFixed(std::array<std::u16string, fieldCount>& fields, const FixedValues& fixed) {
    const auto values = FixedFields(fixed);
    for (std::size_t i = 0; i < fieldCount; ++i)
        if (fixed.takeOver[i])
            fields[i] = values[i];
}

// Windows-1252 bytes of the text, at most `width` characters.
std::string Cut(std::u16string_view text, std::size_t width) {
    std::string bytes = EncodeCp1252(text);
    if (bytes.size() > width)
        bytes.resize(width);
    return bytes;
}

} // namespace

std::optional<std::size_t> FieldIndex(std::u16string_view token) {
    if (token.size() == 1 && token[0] >= u'1' && token[0] <= u'6')
        return static_cast<std::size_t>(token[0] - u'1');
    return std::nullopt;
}

namespace {

struct ParsedPattern {
    Dateinamenaufbau pairs;
    std::u16string_view unread; // after the last pair
};

ParsedPattern Parse(std::u16string_view text) {
    Dateinamenaufbau pairs;
    std::u16string_view rest = text;
    while (pairs.size() < kMaxPatternPairs) {
        const auto tokenEnd = rest.find(kComma);
        if (tokenEnd == std::u16string_view::npos)
            break;
        PatternPair pair;
        pair.fieldToken = std::u16string(rest.substr(0, tokenEnd));
        rest.remove_prefix(tokenEnd + 1);
        const auto separatorEnd = rest.find(kComma);
        pair.separator = RemoveQuotes(rest.substr(0, separatorEnd));
        rest = separatorEnd == std::u16string_view::npos ? std::u16string_view{}
                                                         : rest.substr(separatorEnd + 1);
        pairs.push_back(std::move(pair));
    }
    return {std::move(pairs), rest};
}

} // namespace

Dateinamenaufbau ParseDateinamenaufbau(std::u16string_view text) {
    return Parse(text).pairs;
}

std::optional<std::size_t> UnreadField(std::u16string_view text) {
    const ParsedPattern parsed = Parse(text);
    return parsed.pairs.size() < kMaxPatternPairs ? FieldIndex(parsed.unread) : std::nullopt;
}

std::optional<TagRecord> RecordFromFileName(const Dateinamenaufbau& pattern,
                                            std::u16string_view path, const FixedValues& fixed) {
    std::u16string_view name = path;
    if (const auto last = name.rfind(kPathSeparator); last != std::u16string_view::npos)
        name.remove_prefix(last + 1);

    std::array<std::u16string, fieldCount> fields;
    fields[genre] = u"(keine Zuordnung)";
    TakeOverFixed(fields, fixed);

    for (const PatternPair& pair : pattern) {
        // An empty separator occurs at the first position, also of an empty name.
        const auto at = name.find(pair.separator);
        if (at == std::u16string_view::npos)
            return std::nullopt;
        if (const auto field = FieldIndex(pair.fieldToken))
            fields[*field] = std::u16string(name.substr(0, at));
        name.remove_prefix(at + pair.separator.size());
    }
    if (fixed.overrideNameParts)
        TakeOverFixed(fields, fixed);

    TagRecord record;
    record.title = Cut(fields[title], kTextWidth);
    record.artist = Cut(fields[artist], kTextWidth);
    record.album = Cut(fields[album], kTextWidth);
    record.year = Cut(fields[year], kYearWidth);
    record.comment = Cut(fields[comment], kTextWidth);
    record.genre = GenreCodeFromName(EncodeCp1252(fields[genre]));
    return record;
}

} // namespace tagwerk
