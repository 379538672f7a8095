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

std::string SignPlaceNumber(std::int64_t value) {
    return " " + std::to_string(value);
}

std::string FileCountCaption(std::int64_t count) {
    return "(" + SignPlaceNumber(count) + " Dateien)";
}

} // namespace tagwerk
