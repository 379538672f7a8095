#include "id3v2/FrameText.h"

#include <unicode/unistr.h>

namespace tagwerk {

namespace {

enum Encoding : unsigned char { latin1 = 0, utf16 = 1, utf16be = 2, utf8 = 3 };

std::u16string Latin1(std::string_view bytes) {
    std::u16string text;
    for (const char byte : bytes)
        text += static_cast<char16_t>(static_cast<unsigned char>(byte));
    return text;
}

std::u16string Utf8(std::string_view bytes) {
    const icu::UnicodeString text = icu::UnicodeString::fromUTF8(
        icu::StringPiece(bytes.data(), static_cast<std::int32_t>(bytes.size())));
    return std::u16string(text.getBuffer(), static_cast<std::size_t>(text.length()));
}

// A byte-order mark decides the order and is left out; without one the
// order is `bigEndian`.
std::u16string Utf16(std::string_view bytes, bool bigEndian) {
    const auto unit = [&](std::size_t i) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<char16_t>(bigEndian ? first << 8 | second : second << 8 | first);
    };
    std::size_t i = 0;
    if (bytes.size() >= 2 &&
        (bytes.substr(0, 2) == "\xff\xfe" || bytes.substr(0, 2) == "\xfe\xff")) {
        bigEndian = bytes[0] == '\xfe';
        i = 2;
    }
    std::u16string text;
    for (; i + 1 < bytes.size(); i += 2)
        text += unit(i);
    return text;
}

} // namespace

std::optional<std::vector<std::u16string>> TextValues(std::string_view body) {
    std::vector<std::u16string> values;
    if (body.empty())
        return values;
    const auto encoding = static_cast<unsigned char>(body[0]);
    if (encoding > utf8)
        return std::nullopt;
    const auto decoded = [&](std::string_view bytes) {
        return encoding == latin1 ? Latin1(bytes)
               : encoding == utf8 ? Utf8(bytes)
                                  : Utf16(bytes, encoding == utf16be);
    };
    const std::size_t step = encoding == utf16 || encoding == utf16be ? 2 : 1;
    std::size_t start = 1;
    for (std::size_t i = 1; i + step <= body.size(); i += step) {
        if (body.substr(i, step) == std::string_view("\0\0", step)) {
            values.push_back(decoded(body.substr(start, i - start)));
            start = i + step;
        }
    }
    if (start < body.size())
        values.push_back(decoded(body.substr(start)));
    while (!values.empty() && values.back().empty())
        values.pop_back();
    return values;
}

std::optional<std::u16string> CommentWithoutDescription(std::string_view body) {
    if (body.size() < 4)
        return std::nullopt;
    // The encoding byte, then the description and the text behind the language.
    std::string text(body.substr(3));
    text[0] = body[0];
    std::optional<std::vector<std::u16string>> values = TextValues(text);
    if (!values || (!values->empty() && !values->front().empty()))
        return std::nullopt;
    if (values->empty())
        return std::u16string();
    values->erase(values->begin());
    return Joined(*values);
}

std::u16string Joined(const std::vector<std::u16string>& values) {
    std::u16string text;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0)
            text += u'/';
        text += values[i];
    }
    return text;
}

std::u16string FirstYear(std::u16string_view text) {
    const auto digit = [&](std::size_t i) {
        return i < text.size() && text[i] >= u'0' && text[i] <= u'9';
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!digit(i) || (i > 0 && digit(i - 1)))
            continue;
        std::size_t end = i;
        while (digit(end))
            ++end;
        if (end - i == 4)
            return std::u16string(text.substr(i, 4));
    }
    return {};
}

int TrackNumber(std::u16string_view text) {
    std::size_t i = text.find_first_not_of(u' ');
    int number = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9' && number <= 255; ++i)
        number = number * 10 + (text[i] - u'0');
    return number <= 255 ? number : 0;
}

} // namespace tagwerk
