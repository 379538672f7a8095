#include "core/GenreTable.h"

#include <gtest/gtest.h>

namespace tagwerk {
namespace {

struct ListedGenre {
    std::size_t position;
    std::string_view name;
    int code;
};

// The genre list as it was handed over, typed out a second time: position,
// name, code.
constexpr ListedGenre kListed[] = {
    {0, "A Capella", 123},
    {1, "Acid", 34},
    {2, "Acid Jazz", 74},
    {3, "Acid Punk", 73},
    {4, "Acoustic", 99},
    {5, "Alt. Rock", 40},
    {6, "Alternative", 20},
    {7, "Ambient", 26},
    {8, "Anime", 145},
    {9, "Avantgarde", 90},
    {10, "Ballad", 116},
    {11, "Bass", 41},
    {12, "Beat", 135},
    {13, "Bebob", 85},
    {14, "Big Band", 96},
    {15, "Black Metal", 138},
    {16, "Bluegrass", 89},
    {17, "Blues", 0},
    {18, "Booty Bass", 107},
    {19, "BritPop", 132},
    {20, "Cabaret", 65},
    {21, "Celtic", 88},
    {22, "Chamber Music", 104},
    {23, "Chanson", 102},
    {24, "Chorus", 97},
    {25, "Christian Gangsta.", 136},
    {26, "Christian Rap", 61},
    {27, "Christian Rock", 141},
    {28, "Classic Rock", 1},
    {29, "Classical", 32},
    {30, "Club", 112},
    {31, "Club-House", 128},
    {32, "Comedy", 57},
    {33, "Contemporary Ch.", 140},
    {34, "Country", 2},
    {35, "Crossover", 139},
    {36, "Cult", 58},
    {37, "Dance", 3},
    {38, "Dance Hall", 125},
    {39, "Darkwave", 50},
    {40, "Death Metal", 22},
    {41, "Disco", 4},
    {42, "Dream", 55},
    {43, "Drum & Bass", 127},
    {44, "Drum Solo", 122},
    {45, "Duet", 120},
    {46, "Easy Listening", 98},
    {47, "Electronic", 52},
    {48, "Ethnic", 48},
    {49, "Eurodance", 54},
    {50, "Euro-House", 124},
    {51, "Euro-Techno", 25},
    {52, "Fast-Fusion", 84},
    {53, "Folk", 80},
    {54, "Folk/Rock", 81},
    {55, "Folklore", 115},
    {56, "Freestyle", 119},
    {57, "Funk", 5},
    {58, "Fusion", 30},
    {59, "Game", 36},
    {60, "Gangsta Rap", 59},
    {61, "Goa", 126},
    {62, "Gospel", 38},
    {63, "Gothic", 49},
    {64, "Gothic Rock", 91},
    {65, "Grunge", 6},
    {66, "Hard Rock", 79},
    {67, "Hardcore", 129},
    {68, "Heavy Metal", 137},
    {69, "Hip-Hop", 7},
    {70, "House", 35},
    {71, "Humour", 100},
    {72, "Indie", 131},
    {73, "Industrial", 19},
    {74, "Instrumental", 33},
    {75, "Instrumental Pop", 46},
    {76, "Instrumental Rock", 47},
    {77, "Jazz", 8},
    {78, "Jazz+Funk", 29},
    {79, "JPop", 146},
    {80, "Jungle", 63},
    {81, "Latin", 86},
    {82, "Lo-Fi", 71},
    {83, "Meditative", 45},
    {84, "Merengue", 142},
    {85, "Metal", 9},
    {86, "Musical", 77},
    {87, "National Folk", 82},
    {88, "Native American", 64},
    {89, "Negerpunk", 133},
    {90, "New Age", 10},
    {91, "New Wave", 66},
    {92, "Noise", 39},
    {93, "Oldies", 11},
    {94, "Opera", 103},
    {95, "Other", 12},
    {96, "Polka", 75},
    {97, "Polsk Punk", 134},
    {98, "Pop", 13},
    {99, "Pop/Funk", 62},
    {100, "Pop-Folk", 53},
    {101, "Porn Groove", 109},
    {102, "Power Ballad", 117},
    {103, "Pranks", 23},
    {104, "Primus", 108},
    {105, "Progressive Rock", 92},
    {106, "Psychedelic", 67},
    {107, "Psychedelic Rock", 93},
    {108, "Punk", 43},
    {109, "Punk rock", 121},
    {110, "R&B", 14},
    {111, "Rap", 15},
    {112, "Rave", 68},
    {113, "Reggae", 16},
    {114, "Retro", 76},
    {115, "Revival", 87},
    {116, "Rhythmic Soul", 118},
    {117, "Rock", 17},
    {118, "Rock & Roll", 78},
    {119, "Salsa", 143},
    {120, "Samba", 114},
    {121, "Satire", 110},
    {122, "Showtunes", 69},
    {123, "Ska", 21},
    {124, "Slow Jam", 111},
    {125, "Slow Rock", 95},
    {126, "Sonata", 105},
    {127, "Soul", 42},
    {128, "Sound Clip", 37},
    {129, "Soundtrack", 24},
    {130, "Southern Rock", 56},
    {131, "Space", 44},
    {132, "Speech", 101},
    {133, "Swing", 83},
    {134, "Symphonic Rock", 94},
    {135, "Symphony", 106},
    {136, "Synthpop", 147},
    {137, "Tango", 113},
    {138, "Techno", 18},
    {139, "Techno-Industrial", 51},
    {140, "Terror", 130},
    {141, "Thrash Metal", 144},
    {142, "Top 40", 60},
    {143, "Trailer", 70},
    {144, "Trance", 31},
    {145, "Tribal", 72},
    {146, "Trip-Hop", 27},
    {147, "Vocal", 28},
    {148, "(keine Zuordnung)", 255},
};

// Both lookups hold for every entry, so names and codes are unique; with no
// name for 148 to 254 (below), the codes are exactly 0 to 147 and 255.
TEST(GenreTable, EveryEntryIsAsListed) {
    ASSERT_EQ(std::size(kListed), kGenreCount);
    for (const ListedGenre& listed : kListed) {
        ASSERT_EQ(listed.position, std::size_t(&listed - kListed));
        const GenreEntry& entry = GenreTable()[listed.position];
        EXPECT_EQ(entry.name, listed.name) << "position " << listed.position;
        EXPECT_EQ(entry.code, listed.code) << listed.name;
        EXPECT_EQ(GenreNames()[listed.position], listed.name);
        EXPECT_EQ(GenreCodeFromName(listed.name), listed.code);
        EXPECT_EQ(GenreNameFromCode(static_cast<GenreCode>(listed.code)), listed.name);
    }
}

TEST(GenreCodeFromName, OnlyTheExactWholeNameMatches) {
    const struct {
        std::string_view text;
        int code;
    } cases[] = {
        {"Alt. Rock", 40},          {"alt. rock", 255}, {"Alt. Rock ", 255},
        {" Alt. Rock", 255},        {"", 255},          {"Alt.", 255},
        {"Punk rock", 121},         {"Punk Rock", 255}, {"Rock", 17},
        {"(keine Zuordnung)", 255}, {"Blues", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GenreCodeFromName(c.text), c.code) << '"' << c.text << '"';
}

TEST(GenreNameFromCode, CodesWithoutEntryHaveNoName) {
    for (int code = 148; code <= 254; ++code)
        EXPECT_FALSE(GenreNameFromCode(static_cast<GenreCode>(code)).has_value()) << code;
}

} // namespace
} // namespace tagwerk
