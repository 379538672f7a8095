#pragma once
// The genre code of an ID3v2 TCON frame.
#include "core/TagTrailer.h"

#include <string>
#include <vector>

namespace tagwerk {

// The first of the frame's values (UTF-8, as TagLib gives them) that names a
// genre of the table: by its number, or by its name in any case. 255 when
// none does.
GenreCode GenreFromTcon(const std::vector<std::string>& values);

} // namespace tagwerk
