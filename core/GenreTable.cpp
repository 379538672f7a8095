#include "core/GenreTable.h"

#include <algorithm>

namespace tagwerk {

namespace {

// List order as the genre boxes show it; the code is the byte in the trailer.
constexpr std::array<GenreEntry, kGenreCount> kGenres{{
    {"A Capella", 123},
    {"Acid", 34},
    {"Acid Jazz", 74},
    {"Acid Punk", 73},
    {"Acoustic", 99},
    {"Alt. Rock", 40},
    {"Alternative", 20},
    {"Ambient", 26},
    {"Anime", 145},
    {"Avantgarde", 90},
    {"Ballad", 116},
    {"Bass", 41},
    {"Beat", 135},
    {"Bebob", 85},
    {"Big Band", 96},
    {"Black Metal", 138},
    {"Bluegrass", 89},
    {"Blues", 0},
    {"Booty Bass", 107},
    {"BritPop", 132},
    {"Cabaret", 65},
    {"Celtic", 88},
    {"Chamber Music", 104},
    {"Chanson", 102},
    {"Chorus", 97},
    {"Christian Gangsta.", 136},
    {"Christian Rap", 61},
    {"Christian Rock", 141},
    {"Classic Rock", 1},
    {"Classical", 32},
    {"Club", 112},
    {"Club-House", 128},
    {"Comedy", 57},
    {"Contemporary Ch.", 140},
    {"Country", 2},
    {"Crossover", 139},
    {"Cult", 58},
    {"Dance", 3},
    {"Dance Hall", 125},
    {"Darkwave", 50},
    {"Death Metal", 22},
    {"Disco", 4},
    {"Dream", 55},
    {"Drum & Bass", 127},
    {"Drum Solo", 122},
    {"Duet", 120},
    {"Easy Listening", 98},
    {"Electronic", 52},
    {"Ethnic", 48},
    {"Eurodance", 54},
    {"Euro-House", 124},
    {"Euro-Techno", 25},
    {"Fast-Fusion", 84},
    {"Folk", 80},
    {"Folk/Rock", 81},
    {"Folklore", 115},
    {"Freestyle", 119},
    {"Funk", 5},
    {"Fusion", 30},
    {"Game", 36},
    {"Gangsta Rap", 59},
    {"Goa", 126},
    {"Gospel", 38},
    {"Gothic", 49},
    {"Gothic Rock", 91},
    {"Grunge", 6},
    {"Hard Rock", 79},
    {"Hardcore", 129},
    {"Heavy Metal", 137},
    {"Hip-Hop", 7},
    {"House", 35},
    {"Humour", 100},
    {"Indie", 131},
    {"Industrial", 19},
    {"Instrumental", 33},
    {"Instrumental Pop", 46},
    {"Instrumental Rock", 47},
    {"Jazz", 8},
    {"Jazz+Funk", 29},
    {"JPop", 146},
    {"Jungle", 63},
    {"Latin", 86},
    {"Lo-Fi", 71},
    {"Meditative", 45},
    {"Merengue", 142},
    {"Metal", 9},
    {"Musical", 77},
    {"National Folk", 82},
    {"Native American", 64},
    {"Negerpunk", 133},
    {"New Age", 10},
    {"New Wave", 66},
    {"Noise", 39},
    {"Oldies", 11},
    {"Opera", 103},
    {"Other", 12},
    {"Polka", 75},
    {"Polsk Punk", 134},
    {"Pop", 13},
    {"Pop/Funk", 62},
    {"Pop-Folk", 53},
    {"Porn Groove", 109},
    {"Power Ballad", 117},
    {"Pranks", 23},
    {"Primus", 108},
    {"Progressive Rock", 92},
    {"Psychedelic", 67},
    {"Psychedelic Rock", 93},
    {"Punk", 43},
    {"Punk rock", 121},
    {"R&B", 14},
    {"Rap", 15},
    {"Rave", 68},
    {"Reggae", 16},
    {"Retro", 76},
    {"Revival", 87},
    {"Rhythmic Soul", 118},
    {"Rock", 17},
    {"Rock & Roll", 78},
    {"Salsa", 143},
    {"Samba", 114},
    {"Satire", 110},
    {"Showtunes", 69},
    {"Ska", 21},
    {"Slow Jam", 111},
    {"Slow Rock", 95},
    {"Sonata", 105},
    {"Soul", 42},
    {"Sound Clip", 37},
    {"Soundtrack", 24},
    {"Southern Rock", 56},
    {"Space", 44},
    {"Speech", 101},
    {"Swing", 83},
    {"Symphonic Rock", 94},
    {"Symphony", 106},
    {"Synthpop", 147},
    {"Tango", 113},
    {"Techno", 18},
    {"Techno-Industrial", 51},
    {"Terror", 130},
    {"Thrash Metal", 144},
    {"Top 40", 60},
    {"Trailer", 70},
    {"Trance", 31},
    {"Tribal", 72},
    {"Trip-Hop", 27},
    {"Vocal", 28},
    {kNoGenreName, kNoGenre},
}};

constexpr std::array<std::string_view, kGenreCount>
NamesOf(const std::array<GenreEntry, kGenreCount>& entries) {
    std::array<std::string_view, kGenreCount> names{};
    for (std::size_t i = 0; i < kGenreCount; ++i)
        names[i] = entries[i].name;
    return names;
}

constexpr std::array<std::string_view, kGenreCount> kGenreNames = NamesOf(kGenres);

} // namespace

const std::array<GenreEntry, kGenreCount>& GenreTable() {
    return kGenres;
}

const std::array<std::string_view, kGenreCount>& GenreNames() {
    return kGenreNames;
}

GenreCode GenreCodeFromName(std::string_view name) {
    const auto entry = std::find_if(kGenres.begin(), kGenres.end(),
                                    [name](const GenreEntry& e) { return e.name == name; });
    return entry == kGenres.end() ? kNoGenre : entry->code;
}

std::optional<GenreCode> GenreCodeFromNameIgnoringCase(std::string_view name) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    const auto entry = std::find_if(kGenres.begin(), kGenres.end(), [&](const GenreEntry& e) {
        return std::equal(e.name.begin(), e.name.end(), name.begin(), name.end(),
                          [&](char x, char y) { return lower(x) == lower(y); });
    });
    if (entry == kGenres.end())
        return std::nullopt;
    return entry->code;
}

std::optional<std::string_view> GenreNameFromCode(GenreCode code) {
    const auto entry = std::find_if(kGenres.begin(), kGenres.end(),
                                    [code](const GenreEntry& e) { return e.code == code; });
    if (entry == kGenres.end())
        return std::nullopt;
    return entry->name;
}

} // namespace tagwerk
