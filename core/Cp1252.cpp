#include "core/Cp1252.h"

#include <array>
#include <string_view>

namespace tagwerk {

namespace {

// Characters of the bytes 0x80 to 0x9F; the five undefined bytes keep their
// own value. Every other byte is the code point of the same value.
constexpr std::array<char16_t, 32> kHighControls{
    u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F',
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178',
};

constexpr char kReplacement = '?';

// A letter followed by a combining mark, as file names copied from some
// systems store accented letters, stands for the code page's precomposed
// letter: each mark with the letters it combines with and the results.
struct Composition {
    char16_t mark;
    std::u16string_view letters;
    std::u16string_view composed;
};
constexpr std::array<Composition, 8> kCompositions{{
    {u'\u0300', u"AEIOUaeiou", u"ÀÈÌÒÙàèìòù"},
    {u'\u0301', u"AEIOUYaeiouy", u"ÁÉÍÓÚÝáéíóúý"},
    {u'\u0302', u"AEIOUaeiou", u"ÂÊÎÔÛâêîôû"},
    {u'\u0303', u"ANOano", u"ÃÑÕãñõ"},
    {u'\u0308', u"AEIOUYaeiouy", u"ÄËÏÖÜŸäëïöüÿ"},
    {u'\u030A', u"Aa", u"Åå"},
    {u'\u030C', u"SZsz", u"ŠŽšž"},
    {u'\u0327', u"Cc", u"Çç"},
}};

// The precomposed letter of `letter` with `mark`, or 0 when there is none.
char16_t Composed(char16_t letter, char16_t mark) {
    for (const Composition& composition : kCompositions) {
        if (composition.mark != mark)
            continue;
        const auto at = composition.letters.find(letter);
        return at == std::u16string_view::npos ? 0 : composition.composed[at];
    }
    return 0;
}

constexpr bool IsHighControlByte(char16_t c) {
    return c >= 0x80 && c <= 0x9F;
}

constexpr bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

constexpr bool IsLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// The byte of a character, or nothing when the code page lacks it.
bool ByteOf(char16_t c, char& byte) {
    if (c <= 0xFF && !IsHighControlByte(c)) {
        byte = static_cast<char>(c);
        return true;
    }
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == c) {
            byte = static_cast<char>(0x80 + i);
            return true;
        }
    }
    return false;
}

} // namespace

std::u16string DecodeCp1252(std::string_view bytes) {
    std::u16string text;
    text.reserve(bytes.size());
    for (const char b : bytes) {
        const auto byte = static_cast<unsigned char>(b);
        text += IsHighControlByte(byte) ? kHighControls[byte - 0x80] : static_cast<char16_t>(byte);
    }
    return text;
}

std::string EncodeCp1252(std::u16string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char byte = kReplacement;
        const char16_t next = i + 1 < text.size() ? text[i + 1] : 0;
        if (const char16_t composed = Composed(text[i], next); composed != 0) {
            (void)ByteOf(composed, byte);
            ++i; // letter and mark, one byte
        } else if (!ByteOf(text[i], byte) && IsHighSurrogate(text[i]) && IsLowSurrogate(next)) {
            ++i; // one character, one "?"
        }
        bytes += byte;
    }
    return bytes;
}

bool IsCp1252Character(char16_t c) {
    char byte = 0;
    return ByteOf(c, byte);
}

} // namespace tagwerk
