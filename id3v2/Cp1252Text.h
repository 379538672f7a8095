#pragma once
// Text of an ID3v2 frame, or typed on the command line, as Windows-1252 bytes.
#include <string>
#include <string_view>

namespace tagwerk {

// Characters the code page has are kept; a letter it lacks becomes its base
// letter ("Ł" gives "L", "ő" gives "o") where it has one, anything else "?".
std::string Cp1252FromUnicode(std::u16string_view text);
std::string Cp1252FromUtf8(std::string_view utf8);

} // namespace tagwerk
