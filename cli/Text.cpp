#include "cli/Text.h"

#include "cli/Report.h"
#include "core/Cp1252.h"
#include "core/GenreTable.h"

#include <algorithm>
#include <cstdio>
#include <unicode/normalizer2.h>
#include <unicode/unistr.h>

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

std::string Cp1252Value(std::string_view option, std::string_view utf8, std::size_t width,
                        bool replace) {
    icu::UnicodeString text = FromUtf8(utf8);
    if (Utf8(text) != utf8)
        throw UsageError("Der Wert von " + std::string(option) + " ist kein gültiges UTF-8.");
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* composed = icu::Normalizer2::getNFCInstance(status);
    if (U_SUCCESS(status))
        text = composed->normalize(text, status);
    for (std::int32_t i = 0; !replace && i < text.length(); i = text.moveIndex32(i, 1)) {
        const UChar32 c = text.char32At(i);
        if (c > 0xFFFF || !IsCp1252Character(static_cast<char16_t>(c))) {
            char codePoint[16];
            std::snprintf(codePoint, sizeof codePoint, "U+%04X", static_cast<unsigned>(c));
            throw UsageError("Das Zeichen " + Quoted(Utf8(icu::UnicodeString(c))) + " (" +
                             codePoint + ") in " + std::string(option) +
                             " gibt es in Windows-1252 nicht; mit --replace wird es zu „?“.");
        }
    }
    std::string bytes = EncodeCp1252(View(text));
    if (bytes.size() > width) {
        bytes.resize(width);
        Warn(std::string(option) + " hat mehr als " + std::to_string(width) +
             " Zeichen und wird gekürzt auf " + Quoted(Utf8FromCp1252(bytes)) + ".");
    }
    return bytes;
}

GenreCode GenreValue(std::string_view text, bool codes) {
    const bool digits =
        !text.empty() && text.size() <= 3 &&
        std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (codes && digits && std::stoi(std::string(text)) <= 255)
        return static_cast<GenreCode>(std::stoi(std::string(text)));
    if (const std::optional<GenreCode> code = GenreCodeFromNameIgnoringCase(text))
        return *code;
    throw UsageError("Die Musikrichtung " + Quoted(text) +
                     " gibt es nicht; tagwerk-cli genres zeigt alle.");
}

} // namespace tagwerk
