#pragma once
// Conversion between Windows-1252 bytes and Unicode text (UTF-16, as the
// windows hold it). The five bytes the code page leaves undefined (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) stand for the code points of the same value, so
// every byte converts to a character and back unchanged.
#include <string>
#include <string_view>

namespace tagwerk {

std::u16string DecodeCp1252(std::string_view bytes);

// A letter followed by a combining mark becomes the precomposed letter where
// the code page has one ("u" + U+0308 is "ü"). Any other character the code
// page cannot hold becomes "?" (one "?" for a surrogate pair).
std::string EncodeCp1252(std::u16string_view text);

// Whether the character has a byte in Windows-1252 (NUL included).
bool IsCp1252Character(char16_t c);

} // namespace tagwerk
