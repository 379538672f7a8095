#include "pattern/Dateinamenaufbau.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace tagwerk {
namespace {

// The text for a failure message, with every non-ASCII character as "~".
std::string Printable(std::u16string_view text) {
    std::string out;
    for (const char16_t c : text)
        out += c < 0x80 ? static_cast<char>(c) : '~';
    return out;
}

TEST(ParseDateinamenaufbau, SplitsIntoTokenAndSeparatorPairs) {
    using Pairs = std::vector<std::pair<std::u16string, std::u16string>>;
    const struct {
        std::u16string text;
        Pairs pairs;
        std::optional<std::size_t> unreadField = std::nullopt;
    } cases[] = {
        {u"2,\" - \",1,\".mp3\"", {{u"2", u" - "}, {u"1", u".mp3"}}},
        {u"2,\" - \",1", {{u"2", u" - "}}, 0},
        {u"1,a,x", {{u"1", u"a"}}},
        {u"1,.mp3", {{u"1", u".mp3"}}},
        {u"2, \" - \", 1, \".mp3\"", {{u"2", u" \" - "}, {u" 1", u" \".mp3"}}},
        {u"1,\"a\"b\",2,\"\"", {{u"1", u"a\"b"}, {u"2", u""}}},
        {u"1,\"", {{u"1", u""}}},
        {u"1,\"\"\"\"", {{u"1", u"\"\""}}},
        {u"1,,2,\".mp3\"", {{u"1", u""}, {u"2", u".mp3"}}},
        {u"1,a,2,b,", {{u"1", u"a"}, {u"2", u"b"}}},
        {u"1,a,,", {{u"1", u"a"}, {u"", u""}}},
        {u",", {{u"", u""}}},
        {u"", {}},
        {u"1 - 2", {}},
        {u"1,a,2,b,3,c,4,d,5,e,6,f,1,g", // six pairs at the most
         {{u"1", u"a"}, {u"2", u"b"}, {u"3", u"c"}, {u"4", u"d"}, {u"5", u"e"}, {u"6", u"f"}}},
        {u"1,a,2,b,3,c,4,d,5,e,6,f,1", // a seventh field is dropped, not left empty
         {{u"1", u"a"}, {u"2", u"b"}, {u"3", u"c"}, {u"4", u"d"}, {u"5", u"e"}, {u"6", u"f"}}},
    };
    for (const auto& c : cases) {
        Pairs parsed;
        for (const PatternPair& pair : ParseDateinamenaufbau(c.text))
            parsed.emplace_back(pair.fieldToken, pair.separator);
        EXPECT_EQ(parsed, c.pairs) << Printable(c.text);
        EXPECT_EQ(UnreadField(c.text), c.unreadField) << Printable(c.text);
    }
}

FixedValues Demo(bool titleFlag, bool overrideFlag) {
    FixedValues fixed;
    fixed.title = u"Demo";
    fixed.takeOver[0] = titleFlag;
    fixed.overrideNameParts = overrideFlag;
    return fixed;
}

FixedValues AllFixed(bool overrideFlag) {
    FixedValues fixed{u"T", u"A", u"L", u"2001", u"Jazz", u"C", {}, overrideFlag};
    fixed.takeOver.fill(true);
    return fixed;
}

TagRecord Record(std::string title, std::string artist, GenreCode genre = kNoGenre) {
    TagRecord record;
    record.title = std::move(title);
    record.artist = std::move(artist);
    record.genre = genre;
    return record;
}

const TagRecord kNoMatch{"no", "match", "", "", "", 0};

TEST(RecordFromFileName, CutsNamesAlongThePattern) {
    const std::u16string standard = u"2,\" - \",1,\".mp3\"";
    const std::u16string long40(40, u'x');
    const struct {
        std::u16string pattern;
        std::u16string path;
        FixedValues fixed;
        TagRecord expected; // kNoMatch when the name does not fit
    } cases[] = {
        {standard, u"/media/usb/Musik/Band - Lied.mp3", {}, Record("Lied", "Band")},
        {standard, u"Band - Lied - Live.mp3", {}, Record("Lied - Live", "Band")},
        {standard, u"Band - Lied.MP3", {}, kNoMatch},
        {standard, u"Band-Lied.mp3", {}, kNoMatch},
        {standard, u"/Musik - Alt/Band.mp3", {}, kNoMatch}, // only the name is cut
        {standard, u"C:\\Musik\\Band - Lied.mp3", {}, Record("Lied", "C:\\Musik\\Band")},
        {u"1,\".mp3\"", u"Lied.mp3.mp3", {}, Record("Lied", "")},
        {u"2,\" - \",1", u"Band - Lied.wav", {}, Record("", "Band")},
        {u"2,\" - \",1", u"Band - Lied.wav", Demo(true, false), Record("Demo", "Band")},
        {u"2, \" - \", 1, \".mp3\"", u"Band - Lied.mp3", {}, kNoMatch},
        {u"0,\" - \",1,\".mp3\"", u"Band - Lied.mp3", {}, Record("Lied", "")},
        {u"01,\"-\",1 ,\".mp3\"", u"A-B.mp3", {}, Record("", "")},
        {u"1,\"-\",1,\".mp3\"", u"A-B.mp3", {}, Record("B", "")},
        {u"1,,2,\".mp3\"", u"Band - Lied.mp3", {}, Record("", "Band - Lied")},
        {u"1,\".mp3\",2,\"\"", u"Lied.mp3", {}, Record("Lied", "")}, // empty name, empty separator
        {u"1,\".mp3\",2,\"x\"", u"Lied.mp3", {}, kNoMatch},
        {u"1,_,2,_,3,_,4,_,5,_,6,_,1,_",
         u"T_A_L_1999_Rock_C_Y_rest",
         {},
         {"T", "A", "L", "1999", "C", 17}},
        {u"", u"Band - Lied.mp3", {}, Record("", "")},
        {u"2 - 1", u"Band - Lied.mp3", AllFixed(false), {"T", "A", "L", "2001", "C", 8}},
        {standard, u"Band - Lied.mp3", Demo(true, false), Record("Lied", "Band")},
        {standard, u"Band - Lied.mp3", Demo(true, true), Record("Demo", "Band")},
        {u"2,\" - \",0,\".mp3\"", u"Band - Lied.mp3", Demo(true, false), Record("Demo", "Band")},
        {u"2,\" - \",0,\".mp3\"", u"Band - Lied.mp3", Demo(true, true), Record("Demo", "Band")},
        {standard, u"Band - Lied.mp3", Demo(false, true), Record("Lied", "Band")},
        {u"1,_,2,_,3,_,4,_,5,_,6,\".mp3\"",
         u"t_a_l_1999_Rock_c.mp3",
         AllFixed(true),
         {"T", "A", "L", "2001", "C", 8}},
        {u"4,_,1,\".mp3\"",
         u"1999 live_" + long40 + u".mp3",
         {},
         {std::string(30, 'x'), "", "", "1999", "", kNoGenre}},
        {u"5,\".mp3\"", u"Rock.mp3", {}, Record("", "", 17)},
        {u"5,\".mp3\"", u"rock.mp3", {}, Record("", "", kNoGenre)},
        {u"5,\".mp3\"", u"Rock .mp3", {}, Record("", "", kNoGenre)},
        {u"5,\".mp3\"", u"(keine Zuordnung).mp3", {}, Record("", "", kNoGenre)},
        {standard, u"Bänd – x - Lied €.mp3", {}, Record("Lied \x80", "B\xE4nd \x96 x")},
        {standard, u"Ba\u0308nd - Lied.mp3", {}, Record("Lied", "B\xE4nd")}, // decomposed ä
        {standard,
         u"a - \U0001F3B5" + std::u16string(30, u'z') + u".mp3",
         {},
         Record("?" + std::string(29, 'z'), "a")},
    };
    for (const auto& c : cases) {
        const auto record = RecordFromFileName(ParseDateinamenaufbau(c.pattern), c.path, c.fixed);
        if (c.expected == kNoMatch) {
            EXPECT_FALSE(record.has_value()) << Printable(c.pattern) << " on " << Printable(c.path);
            continue;
        }
        ASSERT_TRUE(record.has_value()) << Printable(c.pattern) << " on " << Printable(c.path);
        EXPECT_EQ(*record, c.expected) << Printable(c.pattern) << " on " << Printable(c.path);
    }
}

} // namespace
} // namespace tagwerk
