// Our trailers against implementations no one here wrote: mutagen, eyeD3,
// id3v2 and lame, on real MP3 files made by lame.
#include "core/TrailerFile.h"
#include "support/Command.h"
#include "support/Printers.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

namespace tagwerk {
namespace {

using test::CommandResult;
using test::Python;
using test::Quote;
using test::ReadFileBytes;
using test::RunCommand;
using test::TempDir;

std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char byte : bytes) {
        hex += digits[byte >> 4];
        hex += digits[byte & 15];
    }
    return hex.empty() ? "''" : hex;
}

std::string Unhex(const std::string& hex) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    }
    return bytes;
}

std::string Oracle(const std::string& arguments) {
    return test::SupportScript("id3v1_oracle.py") + " " + arguments;
}

// What another tool makes of a trailer: the record and the ID3v1.1 track.
struct ForeignTag {
    TagRecord record;
    int track = 0;
};

ForeignTag ReadWith(const std::string& tool, const std::string& path) {
    CommandResult result = RunCommand(Oracle("read " + tool + " " + Quote(path)));
    EXPECT_EQ(result.status, 0) << result.output;
    std::istringstream lines(result.output);
    std::string texts[5], genre, track;
    for (std::string& text : texts) {
        std::getline(lines, text);
    }
    std::getline(lines, genre);
    std::getline(lines, track);
    ForeignTag tag;
    tag.record = {Unhex(texts[0]), Unhex(texts[1]), Unhex(texts[2]),
                  Unhex(texts[3]), Unhex(texts[4]), static_cast<GenreCode>(std::stoi(genre))};
    tag.track = std::stoi(track);
    return tag;
}

void WriteWith(const std::string& tool, const std::string& path, const TagRecord& record,
               int track) {
    std::ostringstream arguments;
    arguments << "write " << tool << " " << Quote(path);
    for (const std::string* text :
         {&record.title, &record.artist, &record.album, &record.year, &record.comment}) {
        arguments << " " << Hex(*text);
    }
    arguments << " " << int(record.genre) << " " << track;
    CommandResult result = RunCommand(Oracle(arguments.str()));
    ASSERT_EQ(result.status, 0) << result.output;
}

class Oracle : public testing::Test {
protected:
    void SetUp() override {
        for (const char* check :
             {"lame --version", "id3v2 --version", "PYTHON -c 'import mutagen, eyed3'"}) {
            std::string command = check;
            if (command.rfind("PYTHON", 0) == 0) {
                command.replace(0, 6, Python());
            }
            if (RunCommand(command).status != 0) {
                GTEST_SKIP() << "not installed: " << command;
            }
        }
        const std::string raw = dir.file("silence.raw");
        test::WriteFileBytes(raw, test::Bytes(44100, 0));
        CommandResult made = RunCommand("lame -r -s 44.1 --bitwidth 16 -m m --silent " +
                                        Quote(raw) + " " + Quote(mp3) + " 2>&1");
        ASSERT_EQ(made.status, 0) << made.output;
        audio = ReadFileBytes(mp3);
    }

    // A fresh copy of the MP3, without any tag.
    std::string FreshCopy(const std::string& name) {
        const std::string path = dir.file(name);
        test::WriteFileBytes(path, audio);
        return path;
    }

    TempDir dir;
    std::string mp3 = dir.file("lame.mp3");
    test::Bytes audio;
};

// Latin-1 texts (the part of Windows-1252 the other tools share), fields
// filled to their width, and no genre.
const TagRecord kRecords[] = {
    {"Lied", "K\xfcnstler", "Album", "1999", "Kommentar", 17},
    {"ABCDEFGHIJKLMNOPQRSTUVWXYZ\xe4\xf6\xfc\xdf", "\xc0\xc9\xce\xd5\xdc abc def ghi jkl mno pqrs",
     "123456789012345678901234567890", "2024", "Kommentar mit genau dreissig Z", 0},
    {"Rock & Roll (Live)", "\xc7'est la vie", "", "", "", 147},
    {"Nur ein Titel", "", "", "", "", kNoGenre},
    {"Mit Nummer", "", "", "", "Kommentar", 17, 7},
};

// mutagen reads the comment as 29 bytes and a 30th byte other than a blank
// as the track number (ID3v1.1), even behind a blank.
ForeignTag AsReadBy(const std::string& tool, const TagRecord& record) {
    ForeignTag tag{record, record.track};
    tag.record.track = 0;
    if (tool == "mutagen" && record.comment.size() == kTextWidth && record.comment.back() != ' ') {
        tag.track = static_cast<unsigned char>(record.comment.back());
        tag.record.comment = record.comment.substr(0, kTextWidth - 1);
        tag.record.comment.erase(tag.record.comment.find_last_not_of(' ') + 1);
    }
    return tag;
}

TEST_F(Oracle, TrailersWeWriteReadTheSameInOtherTools) {
    for (const TagRecord& record : kRecords) {
        SCOPED_TRACE(record.title);
        const std::string path = FreshCopy("ours.mp3");
        ASSERT_EQ(WriteTagTrailer(path, record).outcome, WriteOutcome::written);
        for (const char* tool : {"mutagen", "eyed3", "id3v2"}) {
            SCOPED_TRACE(tool);
            ForeignTag tag = ReadWith(tool, path);
            ForeignTag expected = AsReadBy(tool, record);
            EXPECT_EQ(tag.record, expected.record);
            EXPECT_EQ(tag.track, expected.track);
        }
    }
}

// They pad with NULs and keep a track number behind a NUL at the end of the
// comment (ID3v1.1); the comment is the text before that NUL.
TEST_F(Oracle, TrailersOtherToolsWriteDecodeAsTheyWroteThem) {
    const TagRecord records[] = {
        {"T\xebtel", "Art", "Alb", "1999", "Komm", 40},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZ\xe4\xf6\xfc\xdf", "\xc9t\xe9", "Album", "2001",
         "Achtundzwanzig Zeichen lang.", 17},
    };
    for (const char* tool : {"mutagen", "eyed3", "id3v2", "lame"}) {
        for (const TagRecord& record : records) {
            SCOPED_TRACE(std::string(tool) + " " + record.title);
            const std::string path = FreshCopy("theirs.mp3");
            WriteWith(tool, path, record, 9);
            ReadResult read = ReadTagTrailer(path);
            ASSERT_EQ(read.outcome, ReadOutcome::trailerFound);
            TagRecord expected = record;
            expected.track = 9;
            EXPECT_EQ(read.record, expected);
        }
    }
}

// A trailer another tool appended, removed by us, gives back lame's bytes.
TEST_F(Oracle, RemovingAForeignTrailerGivesBackTheMp3) {
    const std::string path = FreshCopy("lied.mp3");
    WriteWith("id3v2", path, kRecords[0], 3);
    ASSERT_EQ(std::filesystem::file_size(path), audio.size() + kTrailerSize);
    EXPECT_EQ(RemoveTagTrailer(dir.path(), "lied.mp3", {}).outcome, RemoveOutcome::removed);
    EXPECT_EQ(ReadFileBytes(path), audio);
}

} // namespace
} // namespace tagwerk
