#include "core/PathText.h"

namespace tagwerk {

SplitPathResult SplitPath(std::u16string_view path) {
    const auto last = path.rfind(kPathSeparator);
    if (last == std::u16string_view::npos)
        return {std::u16string(path), {}};
    return {std::u16string(path.substr(last + 1)), std::u16string(path.substr(0, last + 1))};
}

std::u16string JoinPath(std::u16string_view directory, std::u16string_view name) {
    std::u16string path(directory);
    if (path.empty() || path.back() != kPathSeparator)
        path += kPathSeparator;
    path += name;
    return path;
}

// Built by appending: GCC 12 at -O3 reports a false -Wrestrict for
// `"literal" + std::string`.
std::string SignPlaceNumber(std::int64_t value) {
    std::string text = " ";
    text += std::to_string(value);
    return text;
}

std::string FileCountCaption(std::int64_t count) {
    std::string caption = "(";
    caption += SignPlaceNumber(count);
    caption += " Dateien)";
    return caption;
}

} // namespace tagwerk
