#pragma once
// A trailer's values as the terminal shows them.
#include "core/TagTrailer.h"

#include <string>

namespace tagwerk {

// One indented line per field, each ending in a newline; control
// characters are shown as escapes.
std::string RecordLines(const TagRecord& record);

} // namespace tagwerk
