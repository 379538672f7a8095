#include "core/TagTrailer.h"

#include <gtest/gtest.h>
#include <random>
#include <string>

namespace tagwerk {
namespace {

constexpr std::size_t kTitleOffset = 3;
constexpr std::size_t kCommentOffset = 97;

// A trailer with "TAG", blank fields and no genre, and `bytes` placed at `offset`.
TagTrailer TrailerWith(std::size_t offset, const std::string& bytes) {
    TagTrailer trailer = BlankTagTrailerBytes();
    for (std::size_t i = 0; i < bytes.size(); ++i)
        trailer[offset + i] = static_cast<std::uint8_t>(bytes[i]);
    return trailer;
}

std::string Bytes(const TagTrailer& trailer, std::size_t offset, std::size_t length) {
    return std::string(trailer.begin() + static_cast<std::ptrdiff_t>(offset),
                       trailer.begin() + static_cast<std::ptrdiff_t>(offset + length));
}

TEST(TagMarker, OnlyUpperCaseTagIsAMarker) {
    const struct {
        const char* bytes;
        bool marker;
    } cases[] = {
        {"TAG", true},  {"tag", false}, {"Tag", false},  {"TAg", false},
        {"TAH", false}, {" TA", false}, {"\0TA", false},
    };
    for (const auto& c : cases) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(c.bytes);
        EXPECT_EQ(IsTagMarker(bytes), c.marker) << c.bytes;
    }
}

TEST(DecodeTagTrailer, TextFieldsAreCutAtNulAndStrippedOfTrailingBlanks) {
    const struct {
        std::string field;
        std::string text;
    } cases[] = {
        {std::string(30, '\0'), ""},
        {std::string(30, ' '), ""},
        {"  Abc", "  Abc"},
        {std::string("Abc  \0xyz", 9), "Abc"},
        {std::string("\0Abc", 4), ""},
        {"A b c", "A b c"},
        {std::string(30, 'x'), std::string(30, 'x')},
        {"Tab\t", "Tab\t"},
        {"\x80\xFF\x81", "\x80\xFF\x81"},
    };
    for (const auto& c : cases) {
        const TagRecord record = DecodeTagTrailer(TrailerWith(kTitleOffset, c.field));
        EXPECT_EQ(record.title, c.text) << c.field;
    }
}

TEST(DecodeTagTrailer, EachFieldReadsFromItsOwnPlace) {
    TagTrailer trailer = BlankTagTrailerBytes();
    const std::string all = "TAG" + std::string(30, 't') + std::string(30, 'a') +
                            std::string(30, 'l') + "1999" + std::string(30, 'c') + "\x11";
    std::copy(all.begin(), all.end(), trailer.begin());
    const TagRecord record = DecodeTagTrailer(trailer);
    EXPECT_EQ(record.title, std::string(30, 't'));
    EXPECT_EQ(record.artist, std::string(30, 'a'));
    EXPECT_EQ(record.album, std::string(30, 'l'));
    EXPECT_EQ(record.year, "1999");
    EXPECT_EQ(record.comment, std::string(30, 'c'));
    EXPECT_EQ(record.genre, 0x11);
}

// ID3v1.1: a NUL in the comment's next-to-last byte and a byte other than
// NUL after it are a track number; the comment ends at the NUL either way.
// Written back, a track keeps its place while the comment fits in 28 bytes.
TEST(DecodeTagTrailer, TrackNumberAfterNulInTheCommentField) {
    using namespace std::string_literals;
    const struct {
        std::string field;
        std::string comment;
        std::uint8_t track;
        std::string written; // the comment field as encoded again
    } cases[] = {
        {std::string(28, 'c') + "\0\x07"s, std::string(28, 'c'), 7,
         std::string(28, 'c') + "\0\x07"s},
        {"abc" + std::string(26, '\0') + "\xff", "abc", 255,
         "abc" + std::string(25, ' ') + "\0\xff"s},
        {std::string(28, 'c') + "\0\0"s, std::string(28, 'c'), 0,
         std::string(30, 'c').replace(28, 2, "  ")},
        {std::string(28, 'c') + " \x07", std::string(28, 'c') + " \x07", 0,
         std::string(28, 'c') + " \x07"},
        {std::string(29, 'c') + "Z", std::string(29, 'c') + "Z", 0, std::string(29, 'c') + "Z"},
    };
    for (const auto& c : cases) {
        const TagRecord record = DecodeTagTrailer(TrailerWith(kCommentOffset, c.field));
        EXPECT_EQ(record.comment, c.comment) << c.field;
        EXPECT_EQ(record.track, c.track) << c.field;
        EXPECT_EQ(Bytes(EncodeTagTrailer(record), kCommentOffset, 30), c.written) << c.field;
    }
    // A comment of 29 or 30 bytes wins over the track.
    const TagRecord longComment{"", "", "", "", std::string(29, 'c'), kNoGenre, 9};
    EXPECT_EQ(Bytes(EncodeTagTrailer(longComment), kCommentOffset, 30), std::string(29, 'c') + " ");
}

TEST(EncodeTagTrailer, FieldsAreFilledWithBlanksInTheirOrder) {
    TagRecord record;
    record.title = "Lied ";
    record.artist = "Band";
    record.album = "";
    record.year = "99";
    record.comment = "\xE4\x80";
    record.genre = 17;
    const TagTrailer trailer = EncodeTagTrailer(record);
    const std::string expected = "TAG" + std::string("Lied ") + std::string(25, ' ') + "Band" +
                                 std::string(26, ' ') + std::string(30, ' ') + "99  " + "\xE4\x80" +
                                 std::string(28, ' ') + "\x11";
    EXPECT_EQ(Bytes(trailer, 0, kTrailerSize), expected);
}

TEST(EncodeTagTrailer, BlankRecordIsTagBlanksAndNoGenre) {
    const std::string expected = "TAG" + std::string(124, ' ') + "\xFF";
    EXPECT_EQ(Bytes(EncodeTagTrailer(TagRecord{}), 0, kTrailerSize), expected);
}

TEST(EncodeTagTrailer, NulBecomesBlankAndLongTextIsCut) {
    TagRecord record;
    record.title = std::string("a\0b", 3);
    record.artist = std::string(40, 'x') + "END";
    record.year = "19999";
    const TagTrailer trailer = EncodeTagTrailer(record);
    EXPECT_EQ(Bytes(trailer, kTitleOffset, 30), "a b" + std::string(27, ' '));
    EXPECT_EQ(Bytes(trailer, 33, 30), std::string(30, 'x'));
    EXPECT_EQ(Bytes(trailer, 63, 30), std::string(30, ' ')); // the album is not overrun
    EXPECT_EQ(Bytes(trailer, 93, 4), "1999");
    EXPECT_EQ(Bytes(trailer, 97, 30), std::string(30, ' '));
}

TEST(TagTrailerRoundTrip, DecodeThenEncodeKeepsEveryTrailerWithoutNul) {
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> anyByte(1, 255);
    std::uniform_int_distribution<int> mostlyBlank(0, 3);
    for (int round = 0; round < 2000; ++round) {
        TagTrailer trailer{'T', 'A', 'G'};
        for (std::size_t i = 3; i < kTrailerSize; ++i) {
            // Blanks often, so that trailing and inner blanks are exercised.
            trailer[i] =
                mostlyBlank(random) == 0 ? ' ' : static_cast<std::uint8_t>(anyByte(random));
        }
        trailer[127] = static_cast<std::uint8_t>(random() % 256);
        ASSERT_EQ(EncodeTagTrailer(DecodeTagTrailer(trailer)), trailer) << "round " << round;
    }
}

TEST(TagTrailerRoundTrip, EncodeThenDecodeKeepsRecordsWithoutTrailingBlanks) {
    TagRecord record{"  Titel", std::string(30, '\xFF'), "A  B",
                     "abcd",    "\x81\x8D\x8F\x90\x9D",  148};
    EXPECT_EQ(DecodeTagTrailer(EncodeTagTrailer(record)), record);
}

} // namespace
} // namespace tagwerk
