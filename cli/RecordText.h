#pragma once
// A trailer's values as the terminal shows them.
#include "core/TagTrailer.h"

#include <string>

namespace tagwerk {

// One indented line per field, each ending in a newline.
std::string RecordLines(const TagRecord& record);

} // namespace tagwerk
