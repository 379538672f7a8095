#include "id3v2/Cp1252Text.h"

#include "core/Cp1252.h"

#include <memory>
#include <unicode/normalizer2.h>
#include <unicode/translit.h>
#include <unicode/uniset.h>

namespace tagwerk {

namespace {

// ICU's Latin-ASCII knows base letters that removing accents does not find
// ("Ł", "đ"); it is kept to the letters the code page lacks, so that "ä" or
// "€" stay as they are.
std::unique_ptr<icu::Transliterator> MakeBaseLetters() {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Transliterator> baseLetters(
        icu::Transliterator::createInstance("Latin-ASCII", UTRANS_FORWARD, status));
    auto lacking = std::make_unique<icu::UnicodeSet>(u"[:Letter:]", status);
    if (U_FAILURE(status))
        return nullptr;
    std::string everyByte;
    for (int byte = 0; byte < 256; ++byte)
        everyByte += static_cast<char>(byte);
    for (char16_t c : DecodeCp1252(everyByte))
        lacking->remove(c);
    baseLetters->adoptFilter(lacking.release());
    return baseLetters;
}

std::string EncodeWithBaseLetters(icu::UnicodeString unicode) {
    // ICU does not promise that one transliterator may serve several threads.
    thread_local const std::unique_ptr<icu::Transliterator> baseLetters = MakeBaseLetters();
    UErrorCode status = U_ZERO_ERROR;
    // Composed first, so that "o" followed by a combining double acute is "ő".
    const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
    if (U_SUCCESS(status))
        unicode = nfc->normalize(unicode, status);
    if (baseLetters)
        baseLetters->transliterate(unicode);
    return EncodeCp1252(
        std::u16string_view(unicode.getBuffer(), static_cast<std::size_t>(unicode.length())));
}

} // namespace

std::string Cp1252FromUnicode(std::u16string_view text) {
    return EncodeWithBaseLetters(
        icu::UnicodeString(text.data(), static_cast<int32_t>(text.size())));
}

std::string Cp1252FromUtf8(std::string_view utf8) {
    return EncodeWithBaseLetters(icu::UnicodeString::fromUTF8(
        icu::StringPiece(utf8.data(), static_cast<int32_t>(utf8.size()))));
}

} // namespace tagwerk
