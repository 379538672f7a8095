#include "core/GenreTable.h"

#include <gtest/gtest.h>

namespace tagwerk {
namespace {

struct ListedGenre {
    std::string_view name;
    int code;
};

// The genre list as it was handed over, typed out a second time in list
// order: name and code.
// clang-format off
constexpr ListedGenre kListed[] = {
    {"A Capella", 123}, {"Acid", 34}, {"Acid Jazz", 74}, {"Acid Punk", 73}, {"Acoustic", 99},
    {"Alt. Rock", 40}, {"Alternative", 20}, {"Ambient", 26}, {"Anime", 145}, {"Avantgarde", 90},
    {"Ballad", 116}, {"Bass", 41}, {"Beat", 135}, {"Bebob", 85}, {"Big Band", 96},
    {"Black Metal", 138}, {"Bluegrass", 89}, {"Blues", 0}, {"Booty Bass", 107},
    {"BritPop", 132}, {"Cabaret", 65}, {"Celtic", 88}, {"Chamber Music", 104}, {"Chanson", 102},
    {"Chorus", 97}, {"Christian Gangsta.", 136}, {"Christian Rap", 61}, {"Christian Rock", 141},
    {"Classic Rock", 1}, {"Classical", 32}, {"Club", 112}, {"Club-House", 128}, {"Comedy", 57},
    {"Contemporary Ch.", 140}, {"Country", 2}, {"Crossover", 139}, {"Cult", 58}, {"Dance", 3},
    {"Dance Hall", 125}, {"Darkwave", 50}, {"Death Metal", 22}, {"Disco", 4}, {"Dream", 55},
    {"Drum & Bass", 127}, {"Drum Solo", 122}, {"Duet", 120}, {"Easy Listening", 98},
    {"Electronic", 52}, {"Ethnic", 48}, {"Eurodance", 54}, {"Euro-House", 124},
    {"Euro-Techno", 25}, {"Fast-Fusion", 84}, {"Folk", 80}, {"Folk/Rock", 81},
    {"Folklore", 115}, {"Freestyle", 119}, {"Funk", 5}, {"Fusion", 30}, {"Game", 36},
    {"Gangsta Rap", 59}, {"Goa", 126}, {"Gospel", 38}, {"Gothic", 49}, {"Gothic Rock", 91},
    {"Grunge", 6}, {"Hard Rock", 79}, {"Hardcore", 129}, {"Heavy Metal", 137}, {"Hip-Hop", 7},
    {"House", 35}, {"Humour", 100}, {"Indie", 131}, {"Industrial", 19}, {"Instrumental", 33},
    {"Instrumental Pop", 46}, {"Instrumental Rock", 47}, {"Jazz", 8}, {"Jazz+Funk", 29},
    {"JPop", 146}, {"Jungle", 63}, {"Latin", 86}, {"Lo-Fi", 71}, {"Meditative", 45},
    {"Merengue", 142}, {"Metal", 9}, {"Musical", 77}, {"National Folk", 82},
    {"Native American", 64}, {"Negerpunk", 133}, {"New Age", 10}, {"New Wave", 66},
    {"Noise", 39}, {"Oldies", 11}, {"Opera", 103}, {"Other", 12}, {"Polka", 75},
    {"Polsk Punk", 134}, {"Pop", 13}, {"Pop/Funk", 62}, {"Pop-Folk", 53}, {"Porn Groove", 109},
    {"Power Ballad", 117}, {"Pranks", 23}, {"Primus", 108}, {"Progressive Rock", 92},
    {"Psychedelic", 67}, {"Psychedelic Rock", 93}, {"Punk", 43}, {"Punk rock", 121},
    {"R&B", 14}, {"Rap", 15}, {"Rave", 68}, {"Reggae", 16}, {"Retro", 76}, {"Revival", 87},
    {"Rhythmic Soul", 118}, {"Rock", 17}, {"Rock & Roll", 78}, {"Salsa", 143}, {"Samba", 114},
    {"Satire", 110}, {"Showtunes", 69}, {"Ska", 21}, {"Slow Jam", 111}, {"Slow Rock", 95},
    {"Sonata", 105}, {"Soul", 42}, {"Sound Clip", 37}, {"Soundtrack", 24},
    {"Southern Rock", 56}, {"Space", 44}, {"Speech", 101}, {"Swing", 83},
    {"Symphonic Rock", 94}, {"Symphony", 106}, {"Synthpop", 147}, {"Tango", 113},
    {"Techno", 18}, {"Techno-Industrial", 51}, {"Terror", 130}, {"Thrash Metal", 144},
    {"Top 40", 60}, {"Trailer", 70}, {"Trance", 31}, {"Tribal", 72}, {"Trip-Hop", 27},
    {"Vocal", 28}, {"(keine Zuordnung)", 255},
};
// clang-format on

// Both lookups hold for every entry, so names and codes are unique; with no
// name for 148 to 254 (below), the codes are exactly 0 to 147 and 255.
TEST(GenreTable, EveryEntryIsAsListed) {
    ASSERT_EQ(std::size(kListed), kGenreCount);
    for (std::size_t position = 0; position < kGenreCount; ++position) {
        const ListedGenre& listed = kListed[position];
        const GenreEntry& entry = GenreTable()[position];
        EXPECT_EQ(entry.name, listed.name) << "position " << position;
        EXPECT_EQ(entry.code, listed.code) << listed.name;
        EXPECT_EQ(GenreNames()[position], listed.name);
        EXPECT_EQ(GenreCodeFromName(listed.name), listed.code);
        EXPECT_EQ(GenreNameFromCode(static_cast<GenreCode>(listed.code)), listed.name);
    }
}

// anyCase is what GenreCodeFromNameIgnoringCase finds; -1 for nothing.
TEST(GenreCodeFromName, OnlyTheExactWholeNameMatches) {
    const struct {
        std::string_view text;
        int code;
        int anyCase;
    } cases[] = {
        // clang-format off
        {"Alt. Rock", 40, 40},    {"alt. rock", 255, 40},   {"Alt. Rock ", 255, -1},
        {" Alt. Rock", 255, -1},  {"", 255, -1},            {"Alt.", 255, -1},
        {"Punk rock", 121, 121},  {"Punk Rock", 255, 121},  {"ROCK & ROLL", 255, 78},
        {"Rock", 17, 17},         {"(keine Zuordnung)", 255, 255},
        {"(KEINE ZUORDNUNG)", 255, 255},                    {"Blues", 0, 0},
        // clang-format on
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GenreCodeFromName(c.text), c.code) << '"' << c.text << '"';
        const std::optional<GenreCode> anyCase = GenreCodeFromNameIgnoringCase(c.text);
        EXPECT_EQ(anyCase ? int(*anyCase) : -1, c.anyCase) << '"' << c.text << '"';
    }
}

TEST(GenreNameFromCode, CodesWithoutEntryHaveNoName) {
    for (int code = 148; code <= 254; ++code)
        EXPECT_FALSE(GenreNameFromCode(static_cast<GenreCode>(code)).has_value()) << code;
}

} // namespace
} // namespace tagwerk
