#pragma once
// Path splitting and joining at the native separator, and the small number
// texts the windows show.
#include <cstdint>
#include <string>
#include <string_view>

namespace tagwerk {

// The one place that names the separator of paths.
inline constexpr char16_t kPathSeparator = u'/';

struct SplitPathResult {
    std::u16string name;      // after the last separator, or the whole path
    std::u16string directory; // up to and including the last separator, or empty
};

SplitPathResult SplitPath(std::u16string_view path);

// directory + name, with one separator between them unless the directory
// already ends in one (as a root directory does).
std::u16string JoinPath(std::u16string_view directory, std::u16string_view name);

// A non-negative number with one blank in front, the place of the sign: " 7".
std::string SignPlaceNumber(std::int64_t value);

// "( 3 Dateien)": the caption of a count label, "Dateien" for every count.
std::string FileCountCaption(std::int64_t count);

} // namespace tagwerk
