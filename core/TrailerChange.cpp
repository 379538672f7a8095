#include "core/TrailerChange.h"

#include <algorithm>

namespace tagwerk {

FileStateResult ReadFileState(const File& file, std::int64_t length) {
    FileStateResult result;
    result.state.length = length;
    const std::int64_t size = std::min<std::int64_t>(length, kTrailerSize);
    result.error =
        file.readAt(length - size, result.state.tail.data(), static_cast<std::size_t>(size));
    return result;
}

} // namespace tagwerk
