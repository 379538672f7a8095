#pragma once
// A trailer's values as the terminal shows them.
#include "core/TagTrailer.h"

#include <string>

namespace tagwerk {

// "Rock (17)", "(keine Zuordnung)" for 255, "ohne Namen (200)" for a code
// the table lacks.
std::string GenreText(GenreCode code);

// One indented line per field, each ending in a newline.
std::string RecordLines(const TagRecord& record);

} // namespace tagwerk
