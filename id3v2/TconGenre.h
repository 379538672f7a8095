#pragma once
// The genre code of an ID3v2 TCON frame.
#include "core/TagTrailer.h"

#include <string>
#include <vector>

namespace tagwerk {

// The first of the frame's values that names a genre of the table: by its
// number, or by its name in any case. A value may begin with references in
// brackets, as ID3v2.3 writes them ("(17)(18)Pop" names 17, 18 and Pop;
// "((" stands for a bracket of the name). 255 when none does.
GenreCode GenreFromTcon(const std::vector<std::u16string>& values);

} // namespace tagwerk
