#include "core/Cp1252.h"

#include <algorithm>
#include <cstdio>
#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace tagwerk {
namespace {

// Python's own cp1252 codec and Unicode data: for every byte it can decode,
// a line "byte code-point" followed by the code points of the character's
// canonical decomposition. Its tables are not ours, which is the point.
struct PythonCharacter {
    unsigned char byte;
    std::u16string character;
    std::u16string decomposed;
};

std::vector<PythonCharacter> PythonCp1252() {
    const char* script = "python3 -c \""
                         "import unicodedata\n"
                         "for b in range(256):\n"
                         "    try: c = bytes([b]).decode('cp1252')\n"
                         "    except UnicodeDecodeError: continue\n"
                         "    d = unicodedata.normalize('NFD', c)\n"
                         "    print(b, ord(c), *map(ord, d))\n"
                         "\"";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(script, "r"), pclose);
    std::vector<PythonCharacter> table;
    if (!pipe)
        return table;
    std::string output;
    char buffer[4096];
    while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe.get()))
        output.append(buffer, n);
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream numbers(line);
        unsigned byte = 0;
        unsigned codePoint = 0;
        numbers >> byte >> codePoint;
        PythonCharacter entry{static_cast<unsigned char>(byte),
                              std::u16string(1, static_cast<char16_t>(codePoint)),
                              {}};
        while (numbers >> codePoint)
            entry.decomposed += static_cast<char16_t>(codePoint);
        table.push_back(entry);
    }
    return table;
}

constexpr unsigned char kUndefined[] = {0x81, 0x8D, 0x8F, 0x90, 0x9D};

TEST(Cp1252, AgreesWithPythonOnEveryDefinedByte) {
    const auto python = PythonCp1252();
    ASSERT_EQ(python.size(), 251u) << "python3 with its cp1252 codec is needed";
    std::set<char16_t> encodable;
    for (const PythonCharacter& entry : python) {
        const std::string bytes(1, static_cast<char>(entry.byte));
        EXPECT_EQ(DecodeCp1252(bytes), entry.character) << int(entry.byte);
        EXPECT_EQ(EncodeCp1252(entry.character), bytes) << int(entry.byte);
        // A letter with a combining mark is the same letter.
        EXPECT_EQ(EncodeCp1252(entry.decomposed), bytes) << int(entry.byte);
        encodable.insert(entry.character[0]);
    }
    // Everything Python cannot encode is foreign to us as well, apart from
    // the five undefined bytes, which stand for themselves.
    for (unsigned c = 0; c <= 0xFFFF; ++c) {
        const auto character = static_cast<char16_t>(c);
        const bool undefinedByte =
            std::find(std::begin(kUndefined), std::end(kUndefined), c) != std::end(kUndefined);
        EXPECT_EQ(IsCp1252Character(character), encodable.count(character) == 1 || undefinedByte)
            << c;
    }
}

TEST(Cp1252, EveryByteSurvivesTheRoundTripAndUndefinedOnesStandForThemselves) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const std::u16string text = DecodeCp1252(all);
    ASSERT_EQ(text.size(), 256u);
    EXPECT_EQ(EncodeCp1252(text), all);
    for (const unsigned char byte : kUndefined)
        EXPECT_EQ(text[byte], char16_t{byte});
}

TEST(Cp1252, ForeignCharactersBecomeOneQuestionMarkEach) {
    const struct {
        std::u16string text;
        std::string bytes;
    } cases[] = {
        {u"Grüße €", "Gr\xFC\xDF"
                     "e \x80"},
        {u"\u0100", "?"},         // Latin A with macron
        {u"a\U0001F3B5b", "a?b"}, // a surrogate pair is one character
        {u"\U0001F3B5\U0001F3B5", "??"},
        {std::u16string(1, u'\xD800') + u"x", "?x"}, // a lone high surrogate
        {std::u16string(1, u'\xDC00'), "?"},         // a lone low surrogate
        {std::u16string(1, u'\xD800'), "?"},         // high surrogate at the end
        {u"\u2013\u201E\u201C", "\x96\x84\x93"},
        {u"u\u0308\u0308", "\xFC?"}, // a second mark has no letter
        {u"x\u0308", "x?"},          // no precomposed letter
        {u"\u0308u", "?u"},
        {u"u\u0327", "u?"},
        {u"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EncodeCp1252(c.text), c.bytes) << c.bytes;
}

} // namespace
} // namespace tagwerk
