#pragma once
// The file-name pattern: a comma-separated list alternating field tokens and
// the literal separators between the parts of a file name, for example
// 2," - ",1,".mp3" for "Artist - Title.mp3".
#include "core/TagTrailer.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tagwerk {

struct PatternPair {
    std::u16string fieldToken; // "1" to "6" name a field; anything else drops its part
    std::u16string separator;  // never contains a comma
};

inline constexpr std::size_t kMaxPatternPairs = 6;
using Dateinamenaufbau = std::vector<PatternPair>; // 0 to 6 pairs

// Field number "1" to "6" as index 0 to 5; any other token is no field.
std::optional<std::size_t> FieldIndex(std::u16string_view token);

// Never fails; what it cannot use it ignores.
Dateinamenaufbau ParseDateinamenaufbau(std::u16string_view text);

// The field (index 0 to 5) that the text names last without a separator
// after it, so that the parse leaves it unread and it stays empty, as "1" in
// 2,"-",1; nullopt when there is none.
std::optional<std::size_t> UnreadField(std::u16string_view text);

// What the user typed into the batch window, with one take-over flag per field
// in field order: title, artist, album, year, genre, comment.
struct FixedValues {
    std::u16string title;
    std::u16string artist;
    std::u16string album;
    std::u16string year;
    std::u16string genreName = u"(keine Zuordnung)";
    std::u16string comment;
    std::array<bool, 6> takeOver{};
    bool overrideNameParts = false;
};

// Cuts the file name of `path` (after its last separator) along the pattern
// into a record; nullopt when a separator does not occur (no match). Texts
// are cut to their widths and converted to Windows-1252.
std::optional<TagRecord> RecordFromFileName(const Dateinamenaufbau& pattern,
                                            std::u16string_view path, const FixedValues& fixed);

} // namespace tagwerk
