#include "cli/Text.h"

#include "cli/Report.h"
#include "core/Cp1252.h"
#include "core/GenreTable.h"
#include "id3v2/Cp1252Text.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <unicode/normalizer2.h>
#include <unicode/unistr.h>
#include <unicode/utf8.h>

namespace tagwerk {

namespace {

icu::UnicodeString FromUtf8(std::string_view utf8) {
    return icu::UnicodeString::fromUTF8(
        icu::StringPiece(utf8.data(), static_cast<std::int32_t>(utf8.size())));
}

std::u16string_view View(const icu::UnicodeString& text) {
    return {text.getBuffer(), static_cast<std::size_t>(text.length())};
}

std::string Utf8(const icu::UnicodeString& text) {
    std::string utf8;
    return text.toUTF8String(utf8);
}

std::string Quoted(std::string_view text) {
    return "„" + std::string(text) + "“";
}

// Calls `each` with every character of the text and the bytes it takes; a
// byte sequence that is not UTF-8 comes as a negative character.
template <typename Each> void ForEachCharacter(std::string_view text, Each each) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    const auto length = static_cast<std::int32_t>(text.size());
    for (std::int32_t i = 0; i < length;) {
        const std::int32_t start = i;
        UChar32 c = 0;
        U8_NEXT(bytes, i, length, c);
        each(c, text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(i - start)));
    }
}

void AppendEscape(std::string& text, std::uint8_t value) {
    constexpr char kHex[] = "0123456789abcdef";
    text += "\\x";
    text += kHex[value >> 4];
    text += kHex[value & 0xF];
}

// The text in the code page, letters with combining marks composed; a
// character the code page lacks is a UsageError naming it.
std::string StrictCp1252(std::string_view option, std::string_view utf8) {
    icu::UnicodeString text = FromUtf8(utf8);
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* composed = icu::Normalizer2::getNFCInstance(status);
    if (U_SUCCESS(status))
        text = composed->normalize(text, status);
    for (std::int32_t i = 0; i < text.length(); i = text.moveIndex32(i, 1)) {
        const UChar32 c = text.char32At(i);
        if (c > 0xFFFF || !IsCp1252Character(static_cast<char16_t>(c))) {
            char codePoint[16];
            std::snprintf(codePoint, sizeof codePoint, "U+%04X", static_cast<unsigned>(c));
            throw UsageError("Das Zeichen " + Quoted(Utf8(icu::UnicodeString(c))) + " (" +
                             codePoint + ") in " + std::string(option) +
                             " gibt es in Windows-1252 nicht; mit --replace wird es zu seinem "
                             "Grundbuchstaben oder zu „?“.");
        }
    }
    return EncodeCp1252(View(text));
}

} // namespace

std::u16string Utf16FromUtf8(std::string_view utf8) {
    return std::u16string(View(FromUtf8(utf8)));
}

// Every character of the code page lies below U+FFFF: one to three bytes.
std::string Utf8FromCp1252(std::string_view bytes) {
    std::string utf8;
    utf8.reserve(bytes.size());
    for (const char16_t c : DecodeCp1252(bytes)) {
        if (c < 0x80) {
            utf8 += static_cast<char>(c);
        } else if (c < 0x800) {
            utf8 += static_cast<char>(0xC0 | c >> 6);
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            utf8 += static_cast<char>(0xE0 | c >> 12);
            utf8 += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return utf8;
}

bool IsUtf8(std::string_view bytes) {
    bool valid = true;
    ForEachCharacter(bytes, [&valid](UChar32 c, std::string_view) { valid = valid && c >= 0; });
    return valid;
}

std::string Visible(std::string_view text) {
    std::string visible;
    visible.reserve(text.size());
    ForEachCharacter(text, [&visible](UChar32 c, std::string_view bytes) {
        if (c < 0) {
            for (const char byte : bytes)
                AppendEscape(visible, static_cast<std::uint8_t>(byte));
        } else if (c < 0x20 || (c >= 0x7F && c < 0xA0)) {
            AppendEscape(visible, static_cast<std::uint8_t>(c));
        } else {
            visible += bytes;
        }
    });
    return visible;
}

std::string Cp1252Value(std::string_view option, std::string_view utf8, std::size_t width,
                        bool replace) {
    if (!IsUtf8(utf8))
        throw UsageError("Der Wert von " + std::string(option) + " ist kein gültiges UTF-8.");
    std::string bytes = replace ? Cp1252FromUtf8(utf8) : StrictCp1252(option, utf8);
    if (bytes.size() > width) {
        bytes.resize(width);
        Warn(std::string(option) + " hat mehr als " + std::to_string(width) +
             " Zeichen und wird gekürzt auf " + Quoted(Utf8FromCp1252(bytes)) + ".");
    }
    return bytes;
}

namespace {

// The number of one to three digits, else nothing.
std::optional<int> SmallNumber(std::string_view text) {
    const bool digits =
        !text.empty() && text.size() <= 3 &&
        std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    return digits ? std::optional(std::stoi(std::string(text))) : std::nullopt;
}

} // namespace

GenreCode GenreValue(std::string_view text, bool codes) {
    if (const std::optional<int> number = SmallNumber(text); codes && number && *number <= 255)
        return static_cast<GenreCode>(*number);
    if (const std::optional<GenreCode> code = GenreCodeFromNameIgnoringCase(text))
        return *code;
    throw UsageError("Die Musikrichtung " + Quoted(text) +
                     " gibt es nicht; tagwerk-cli genres zeigt alle.");
}

std::uint8_t TrackValue(std::string_view text) {
    if (text.empty())
        return 0;
    const int number = SmallNumber(text).value_or(0);
    if (number < 1 || number > 255)
        throw UsageError("Die Titelnummer " + Quoted(text) +
                         " ist keine Zahl von 1 bis 255; --track= löscht sie.");
    return static_cast<std::uint8_t>(number);
}

} // namespace tagwerk
