#pragma once
// Text between the command line and the terminal (UTF-8) and the trailer
// (Windows-1252).
#include "core/TagTrailer.h"

#include <stdexcept>
#include <string>
#include <string_view>

namespace tagwerk {

// A mistake in the command line: no file is touched, the program ends with 2.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Bytes that are not UTF-8 become U+FFFD, as in file names that are not.
std::u16string Utf16FromUtf8(std::string_view utf8);
std::string Utf8FromCp1252(std::string_view bytes);

bool IsUtf8(std::string_view bytes);

// The text as a terminal may safely show it: control characters (C0, DEL,
// C1) and bytes that are not UTF-8 become escapes such as "\x1b", so that a
// tag or a file name can neither drive the terminal nor break a line.
std::string Visible(std::string_view text);

// The Windows-1252 bytes of a value given for `option`, letters with
// combining marks composed first. A character the code page lacks is a
// UsageError naming it, unless `replace` makes it its base letter or "?"
// where it has none. A value longer than
// `width` characters is cut, with a warning.
std::string Cp1252Value(std::string_view option, std::string_view utf8, std::size_t width,
                        bool replace);

// A genre name of the table in any case, or (with `codes`) a code 0 to 255;
// anything else is a UsageError.
GenreCode GenreValue(std::string_view text, bool codes);

// A track number 1 to 255, or 0 for the empty text; anything else is a
// UsageError.
std::uint8_t TrackValue(std::string_view text);

} // namespace tagwerk
