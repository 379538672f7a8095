// ID3v2 tags written by mutagen, made by hand (ID3v2.2, damaged tags) and
// missing, read into the values of a trailer from real MP3 files made by lame.
// No reading changes a byte of the file or its time of change.
#include "id3v2/Id3v2Reading.h"
#include "support/Command.h"
#include "support/Printers.h"
#include "support/TagBytes.h"
#include "support/TempDir.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <zlib.h>

namespace tagwerk {

void PrintTo(const Id3v2Tag& tag, std::ostream* out) {
    *out << "ID3v2." << tag.majorVersion << " ";
    PrintTo(tag.record, out);
}

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using test::Bytes;
using test::Id3v2Frame;
using test::Id3v2TagBytes;
using test::Latin1;
using test::Quote;
using test::RunCommand;

struct MutagenTag {
    int version;
    const char* frames; // a Python list of mutagen frames
    std::optional<TagRecord> expected;
};

const MutagenTag kMutagenTags[] = {
    {4,
     "[TIT2(encoding=3, text='Łóżko, Ősz, Grüß Gott €'), TPE1(encoding=3, text='Жанна 😀 O\\u030b'),"
     " TALB(encoding=3, text='Zwölf Lieder für Klavier und Orchester'),"
     " TDRC(encoding=3, text='2024-05-17'), TCON(encoding=3, text='17')]",
     TagRecord{"L\xf3zko, Osz, Gr\xfc\xdf Gott \x80", "????? ? O",
               "Zw\xf6lf Lieder f\xfcr Klavier und O", "2024", "", 17}},
    {3,
     "[TIT2(encoding=1, text='Dvořák: Aus der Neuen Welt'), TPE1(encoding=1, text='Česká"
     " filharmonie'), TALB(encoding=1, text='Sinfonie Nr. 9'), TYER(encoding=0, text='1954'),"
     " COMM(encoding=1, lang='deu', desc='', text='Aufnahme aus Prag'),"
     " TRCK(encoding=0, text='3/12')]",
     TagRecord{"Dvor\xe1k: Aus der Neuen Welt", "Cesk\xe1 filharmonie", "Sinfonie Nr. 9", "1954",
               "Aufnahme aus Prag", kNoGenre, 3}},
    {3,
     "[COMM(encoding=0, lang='eng', desc='d', text='x'), COMM(encoding=0, lang='deu', desc='',"
     " text='Erster'), COMM(encoding=0, lang='eng', desc='', text='Zweiter Kommentar')]",
     TagRecord{"", "", "", "", "Erster", kNoGenre}},
    {4, "[TYER(encoding=0, text='1987')]", TagRecord{"", "", "", "1987", "", kNoGenre}},
    {3,
     "[TIT2(encoding=0, text='Mit Bild'), TCON(encoding=0, text='Rock'), APIC(encoding=0,"
     " mime='image/jpeg', type=3, desc='Vorne', data=bytes(range(256)) * 100)]",
     TagRecord{"Mit Bild", "", "", "", "", 17}},
    // None of the six fields: no usable tag.
    {4, "[APIC(encoding=3, mime='image/png', type=3, desc='', data=bytes(100))]", std::nullopt},
    // Sizes from 128 on differ between syncsafe and plain; values joined.
    {4, "[TIT2(encoding=3, text='x' * 200), TPE1(encoding=3, text=['Explo', 'sions'])]",
     TagRecord{std::string(30, 'x'), "Explo/sions", "", "", "", kNoGenre}},
    // Genres: a number the table has comes first, then a name in any case.
    {3, "[TCON(encoding=0, text='(17)')]", TagRecord{"", "", "", "", "", 17}},
    {3, "[TCON(encoding=0, text='(17)Pop')]", TagRecord{"", "", "", "", "", 17}},
    {4, "[TCON(encoding=3, text=['Schlager', 'jpop'])]", TagRecord{"", "", "", "", "", 146}},
    {4, "[TCON(encoding=3, text='(200)ROCK')]", TagRecord{"", "", "", "", "", 17}},
    {3, "[TCON(encoding=1, text='(136)Christian Gangsta Rap')]",
     TagRecord{"", "", "", "", "", 136}},
    {4, "[TIT2(encoding=0, text='T'), TCON(encoding=0, text='(148)')]",
     TagRecord{"T", "", "", "", "", kNoGenre}},
    {3, "[TIT2(encoding=0, text='T'), TCON(encoding=0, text='Schlager')]",
     TagRecord{"T", "", "", "", "", kNoGenre}},
};

struct HandMadeTag {
    const char* name;
    std::string start; // of the file; the MP3 audio follows unless `cut`
    std::optional<Id3v2Tag> expected;
    bool cut = false;
};

// The text as zlib data, behind the four bytes of its size: the body of a
// compressed ID3v2.3 frame.
std::string Packed(const std::string& text) {
    uLongf size = compressBound(text.size());
    std::string packed(size, '\0');
    compress(reinterpret_cast<Bytef*>(packed.data()), &size,
             reinterpret_cast<const Bytef*>(text.data()), text.size());
    packed.resize(size);
    std::string length;
    for (int shift = 24; shift >= 0; shift -= 8)
        length += static_cast<char>(text.size() >> shift & 0xFF);
    return length + packed;
}

std::vector<HandMadeTag> HandMadeTags() {
    const std::string title = Id3v2Frame("TIT2", Latin1("Titel"));
    const std::string artist = Id3v2Frame("TPE1", Latin1("K\xfcnstler"));
    const TagRecord titleOnly{"Titel", "", "", "", "", kNoGenre};
    const TagRecord artistOnly{"", "K\xfcnstler", "", "", "", kNoGenre};
    const std::string packedTitle =
        "\x78\x9c\x63\x70\x4f\x2d\x48\x4c\xce\x2e\x01\x00\x0a\x7e\x02\xc0"s;
    return {
        {"ID3v2.2",
         Id3v2TagBytes(
             2, Id3v2Frame("TT2", Latin1("Titel")) + Id3v2Frame("TP1", Latin1("K\xfcnstler")) +
                    Id3v2Frame("TAL", Latin1("Album")) + Id3v2Frame("TYE", Latin1("1999")) +
                    Id3v2Frame("COM", Latin1("engd\0x"s)) +
                    Id3v2Frame("COM", Latin1("deu\0Kommentar"s)) +
                    Id3v2Frame("TCO", Latin1("(17)")) + Id3v2Frame("TRK", Latin1("3/12"))),
         Id3v2Tag{2, {"Titel", "K\xfcnstler", "Album", "1999", "Kommentar", 17, 3}}},
        // TagLib keeps what there is of a frame the end of the file cuts.
        {"file ends in the second frame",
         Id3v2TagBytes(3, title + artist).substr(0, 10 + title.size() + 12),
         Id3v2Tag{3, {"Titel", "K", "", "", "", kNoGenre}}, true},
        {"file ends in the first frame", Id3v2TagBytes(3, title).substr(0, 15), std::nullopt, true},
        {"size beyond the file", Id3v2TagBytes(3, title + artist, 0, 0x0FFFFFFF),
         Id3v2Tag{3, {"Titel", "K\xfcnstler", "", "", "", kNoGenre}}},
        {"garbage after the first frame",
         Id3v2TagBytes(3, title + "\x01\x02\x03\x04garbage"s + artist), Id3v2Tag{3, titleOnly}},
        {"garbage only", Id3v2TagBytes(3, "\x01\x02\x03\x04\0\0\0\x05\0\0garbage"s), std::nullopt},
        {"unsynchronised", Id3v2TagBytes(3, "TIT2\0\0\0\x05\0\0\0A\xff\0\xe0Z"s, '\x80'),
         Id3v2Tag{3, {"A\xff\xe0Z", "", "", "", "", kNoGenre}}},
        {"compressed frame",
         Id3v2TagBytes(3, Id3v2Frame("TIT2", "\0\0\0\x08"s + packedTitle, "\0\x80"s)),
         Id3v2Tag{3, {"Gepackt", "", "", "", "", kNoGenre}}},
        {"compressed flag on plain text",
         Id3v2TagBytes(3, Id3v2Frame("TIT2", "\0\0\0\x06"s + Latin1("Titel"), "\0\x80"s) + artist),
         Id3v2Tag{3, artistOnly}},
        {"encrypted frame",
         Id3v2TagBytes(3, Id3v2Frame("TIT2", "\x01" + Latin1("Titel"), "\0\x40"s) + artist),
         Id3v2Tag{3, artistOnly}},
        {"encrypted frames only",
         Id3v2TagBytes(4, Id3v2Frame("TIT2", "\x01" + Latin1("Titel"), "\0\x04"s)), std::nullopt},
        {"size zero", Id3v2TagBytes(3, title, 0, 0), std::nullopt},
        // Damaged frames are stepped over by their size.
        {"frames of size zero before the title",
         Id3v2TagBytes(3, Id3v2Frame("MCDI", "") + Id3v2Frame("TIT2", "") + title + artist),
         Id3v2Tag{3, {"Titel", "K\xfcnstler", "", "", "", kNoGenre}}},
        {"invalid id", Id3v2TagBytes(3, Id3v2Frame("ti?2", Latin1("x")) + artist),
         Id3v2Tag{3, artistOnly}},
        {"data-length flag on a one-byte frame",
         Id3v2TagBytes(4, Id3v2Frame("TIT2", "\0"s, "\0\x01"s) + artist), Id3v2Tag{4, artistOnly}},
        {"extended header ID3v2.3",
         Id3v2TagBytes(3, "\0\0\0\x06"s + std::string(6, '\0') + title, 0x40),
         Id3v2Tag{3, titleOnly}},
        {"extended header ID3v2.4 with CRC",
         Id3v2TagBytes(4, "\0\0\0\x0c\x01\x20\x05\x01\x02\x03\x04\x05"s + title + artist, 0x40),
         Id3v2Tag{4, {"Titel", "K\xfcnstler", "", "", "", kNoGenre}}},
        {"extended header flag without one", Id3v2TagBytes(3, title, 0x40), Id3v2Tag{3, titleOnly}},
        {"UTF-16 without byte-order mark",
         Id3v2TagBytes(3, Id3v2Frame("TIT2", "\x01T\0i\0t\0e\0l\0"s)), Id3v2Tag{3, titleOnly}},
        {"year in a date, else in TYER",
         Id3v2TagBytes(3, Id3v2Frame("TDRC", Latin1("ohne")) +
                              Id3v2Frame("TYER", Latin1("Oct 3, 1995"))),
         Id3v2Tag{3, {"", "", "", "1995", "", kNoGenre}}},
        {"plain sizes in ID3v2.4",
         Id3v2TagBytes(4, Id3v2Frame("TIT2", Latin1(std::string(255, 'x'))) + artist),
         Id3v2Tag{4, {std::string(30, 'x'), "K\xfcnstler", "", "", "", kNoGenre}}},
        // Hostile sizes: only what the fields hold is inflated or read.
        {"compression bomb",
         Id3v2TagBytes(3, Id3v2Frame("TIT2", Packed(Latin1(std::string(1 << 20, 'A'))), "\0\x80"s) +
                              artist),
         Id3v2Tag{3, {std::string(30, 'A'), "K\xfcnstler", "", "", "", kNoGenre}}},
        {"huge title",
         Id3v2TagBytes(3, Id3v2Frame("TIT2", Latin1(std::string(1 << 20, 'x'))) + artist),
         Id3v2Tag{3, {std::string(30, 'x'), "K\xfcnstler", "", "", "", kNoGenre}}},
        {"ID3v2.5", Id3v2TagBytes(5, title), std::nullopt},
        {"tag after other bytes", "RIFF"s + Id3v2TagBytes(3, title), std::nullopt},
        {"no tag", "", std::nullopt},
    };
}

class Id3v2Reading : public testing::Test {
protected:
    void SetUp() override {
        if (RunCommand(test::Python() + " -c 'import mutagen' && lame --version").status != 0)
            GTEST_SKIP() << "mutagen or lame is not installed";
        const std::string raw = dir.file("silence.raw"), mp3 = dir.file("lame.mp3");
        test::WriteFileBytes(raw, Bytes(44100, 0));
        test::CommandResult made = RunCommand("lame -r -s 44.1 --bitwidth 16 -m m --silent " +
                                              Quote(raw) + " " + Quote(mp3) + " 2>&1");
        ASSERT_EQ(made.status, 0) << made.output;
        audio = test::ReadFileBytes(mp3);
    }

    // Reads the tag, and checks that the file kept its bytes and its time.
    static std::optional<Id3v2Tag> ReadLeavingAlone(const std::string& path) {
        const auto hourAgo = fs::file_time_type::clock::now() - std::chrono::hours(1);
        fs::last_write_time(path, hourAgo);
        const Bytes before = test::ReadFileBytes(path);
        std::optional<Id3v2Tag> tag = ReadId3v2Tag(path);
        EXPECT_EQ(test::ReadFileBytes(path), before);
        EXPECT_EQ(fs::last_write_time(path), hourAgo);
        return tag;
    }

    test::TempDir dir;
    const std::string path = dir.file("lied.mp3");
    Bytes audio;
};

TEST_F(Id3v2Reading, TagsMutagenWrote) {
    for (const MutagenTag& written : kMutagenTags) {
        SCOPED_TRACE(written.frames);
        test::WriteFileBytes(path, audio);
        test::CommandResult made = RunCommand(
            "LC_ALL=C.UTF-8 " + test::SupportScript("id3v2_writer.py") + " " + Quote(path) + " " +
            std::to_string(written.version) + " " + Quote(written.frames) + " 2>&1");
        ASSERT_EQ(made.status, 0) << made.output;
        EXPECT_EQ(ReadLeavingAlone(path),
                  written.expected ? std::optional(Id3v2Tag{written.version, *written.expected})
                                   : std::nullopt);
    }
}

TEST_F(Id3v2Reading, TagsMadeByHand) {
    for (const HandMadeTag& made : HandMadeTags()) {
        SCOPED_TRACE(made.name);
        const Bytes start(made.start.begin(), made.start.end());
        test::WriteFileBytes(path, made.cut ? start : test::Concat(start, audio));
        EXPECT_EQ(ReadLeavingAlone(path), made.expected);
    }
}

TEST_F(Id3v2Reading, NothingFromAMissingFileOrADirectory) {
    EXPECT_EQ(ReadId3v2Tag(dir.file("fehlt.mp3")), std::nullopt);
    EXPECT_EQ(ReadId3v2Tag(dir.path()), std::nullopt);
}

} // namespace
} // namespace tagwerk
