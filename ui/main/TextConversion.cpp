#include "ui/main/TextConversion.h"

#include "core/Cp1252.h"

namespace tagwerk {

namespace {

constexpr char16_t kKeptByteBase = 0xDC00; // U+DC80 to U+DCFF keep the bytes 0x80 to 0xFF

// Whether the character at `i` keeps a byte: a low surrogate of that range
// that is no second half of a pair (those stand for real characters).
bool IsKeptByte(QStringView path, qsizetype i) {
    const char16_t c = path[i].unicode();
    return c >= kKeptByteBase + 0x80 && c <= kKeptByteBase + 0xFF &&
           (i == 0 || !path[i - 1].isHighSurrogate());
}

// The first character of `bytes` and the number of its bytes, or length 0
// when they begin with no valid UTF-8 sequence: overlong forms, surrogates
// and code points above U+10FFFF are invalid, so that their bytes are kept.
struct Utf8Character {
    std::size_t length = 0;
    char32_t codePoint = 0;
};

Utf8Character DecodeUtf8(std::string_view bytes) {
    const auto byte = [bytes](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return {1, lead};
    std::size_t length = 0;
    unsigned char low = 0x80; // the range of the second byte
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : low;
        high = lead == 0xED ? 0x9F : high;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : low;
        high = lead == 0xF4 ? 0x8F : high;
    } else {
        return {};
    }
    if (bytes.size() < length || byte(1) < low || byte(1) > high)
        return {};
    char32_t codePoint = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if (byte(i) < 0x80 || byte(i) > 0xBF)
            return {};
        codePoint = codePoint << 6 | (byte(i) & 0x3F);
    }
    return {length, codePoint};
}

} // namespace

QString FromCp1252(std::string_view bytes) {
    return QString::fromStdU16String(DecodeCp1252(bytes));
}

std::string ToCp1252(const QString& text) {
    return EncodeCp1252(text.toStdU16String());
}

// Decoded here rather than by QString::fromUtf8, which drops a leading byte
// order mark.
QString PathFromNative(std::string_view bytes) {
    QString path;
    path.reserve(static_cast<qsizetype>(bytes.size()));
    while (!bytes.empty()) {
        const Utf8Character character = DecodeUtf8(bytes);
        if (character.length == 0) {
            path += QChar(kKeptByteBase + static_cast<unsigned char>(bytes.front()));
            bytes.remove_prefix(1);
        } else {
            path += QChar::fromUcs4(character.codePoint);
            bytes.remove_prefix(character.length);
        }
    }
    return path;
}

std::string NativePath(const QString& path) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(path.size()));
    qsizetype text = 0; // where the text since the last kept byte begins
    for (qsizetype i = 0; i < path.size(); ++i) {
        if (!IsKeptByte(path, i))
            continue;
        bytes += QStringView(path).sliced(text, i - text).toUtf8().toStdString();
        bytes += static_cast<char>(path[i].unicode() - kKeptByteBase);
        text = i + 1;
    }
    bytes += QStringView(path).sliced(text).toUtf8().toStdString();
    return bytes;
}

QString ShownPath(const QString& path) {
    QString shown = path;
    for (qsizetype i = 0; i < path.size(); ++i)
        if (IsKeptByte(path, i))
            shown[i] = QChar::ReplacementCharacter;
    return shown;
}

} // namespace tagwerk
