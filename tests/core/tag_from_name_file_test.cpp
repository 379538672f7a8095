// Giving one listed file a trailer from its name: where the 128 bytes go,
// when the file is left alone, and that a failure leaves every byte in place.
#include "core/TagFromNameFile.h"
#include "support/Child.h"
#include "support/Printers.h"
#include "support/TagBytes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace tagwerk {

std::ostream& operator<<(std::ostream& out, TagFromNameOutcome outcome) {
    const char* const names[] = {"written", "leftAlone", "tooShort", "failed"};
    return out << names[static_cast<int>(outcome)];
}

namespace {

using test::Bytes;
using test::Concat;
using test::PatternBytes;
using test::ReadFileBytes;
using test::TempDir;
using test::TrailerBytes;
using test::WriteFileBytes;

const TagRecord kRecord{"Lied", "Band", "", "1999", "", 17};

// `size` pattern bytes whose last 128 begin with `marker` (when given).
Bytes Content(std::size_t size, const char* marker = nullptr) {
    Bytes bytes = PatternBytes(size);
    if (marker)
        std::copy(marker, marker + 3, bytes.end() - 128);
    return bytes;
}

Bytes Replaced(const Bytes& content) {
    return Concat(Bytes(content.begin(), content.end() - 128), TrailerBytes(kRecord));
}

struct PlacementCase {
    const char* name;
    Bytes content;
    bool overwrite;
    TagFromNameOutcome outcome;
    Bytes expected;
};

class TagFromNamePlacement : public testing::TestWithParam<PlacementCase> {};

TEST_P(TagFromNamePlacement, TrailerGoesWhereItBelongs) {
    const PlacementCase& c = GetParam();
    TempDir dir;
    const std::string path = dir.file("Band - Lied.mp3");
    WriteFileBytes(path, c.content);
    const TagFromNameResult preview = PreviewTagFromName(path, c.overwrite);
    EXPECT_EQ(preview.outcome, c.outcome);
    EXPECT_EQ(ReadFileBytes(path), c.content);
    const TagFromNameResult result = WriteTagFromName(path, kRecord, c.overwrite);
    EXPECT_EQ(result.outcome, c.outcome);
    EXPECT_EQ(result.error, FileError::none);
    EXPECT_EQ(ReadFileBytes(path), c.expected);
}

const Bytes kPlain = Content(1000);
const Bytes kTagged = Content(1000, "TAG");
const Bytes kOnlyTrailer = Content(128, "TAG");
const TagRecord kTrackOnly{"", "", "", "", "", kNoGenre, 4};

INSTANTIATE_TEST_SUITE_P(
    Files, TagFromNamePlacement,
    testing::Values(
        PlacementCase{"appendedWithoutOverwrite", kPlain, false, TagFromNameOutcome::written,
                      Concat(kPlain, TrailerBytes(kRecord))},
        PlacementCase{"appendedWithOverwrite", kPlain, true, TagFromNameOutcome::written,
                      Concat(kPlain, TrailerBytes(kRecord))},
        PlacementCase{"trailerLeftAlone", kTagged, false, TagFromNameOutcome::leftAlone, kTagged},
        PlacementCase{"trailerReplaced", kTagged, true, TagFromNameOutcome::written,
                      Replaced(kTagged)},
        PlacementCase{"trackKept", Concat(kPlain, TrailerBytes(kTrackOnly)), true,
                      TagFromNameOutcome::written,
                      Concat(kPlain, TrailerBytes({"Lied", "Band", "", "1999", "", 17, 4}))},
        PlacementCase{"lowerCaseMarkerIsNoTrailer", Content(1000, "tag"), false,
                      TagFromNameOutcome::written,
                      Concat(Content(1000, "tag"), TrailerBytes(kRecord))},
        // A file that is nothing but a trailer counts as having one.
        PlacementCase{"only128BytesLeftAlone", kOnlyTrailer, false, TagFromNameOutcome::leftAlone,
                      kOnlyTrailer},
        PlacementCase{"only128BytesReplaced", kOnlyTrailer, true, TagFromNameOutcome::written,
                      TrailerBytes(kRecord)},
        PlacementCase{"exactly128WithoutMarker", Content(128), true, TagFromNameOutcome::written,
                      Concat(Content(128), TrailerBytes(kRecord))},
        PlacementCase{"shorterThanATrailer", PatternBytes(127), true, TagFromNameOutcome::tooShort,
                      PatternBytes(127)},
        PlacementCase{"empty", Bytes{}, false, TagFromNameOutcome::tooShort, Bytes{}}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(TagFromNameFailures, MissingFileIsNotCreatedAndADirectoryIsNoFile) {
    TempDir dir;
    EXPECT_EQ(WriteTagFromName(dir.file("fehlt.mp3"), kRecord, true).error, FileError::notFound);
    EXPECT_EQ(PreviewTagFromName(dir.file("fehlt.mp3"), true).error, FileError::notFound);
    ASSERT_EQ(::mkdir(dir.file("ordner.mp3").c_str(), 0755), 0);
    const TagFromNameResult directory = WriteTagFromName(dir.file("ordner.mp3"), kRecord, true);
    EXPECT_EQ(directory.outcome, TagFromNameOutcome::failed);
    EXPECT_EQ(directory.error, FileError::notAFile);
    EXPECT_EQ(dir.names(), std::vector<std::string>{"ordner.mp3"});
}

// A file that cannot be written fails even where it would be left alone,
// and its preview says so.
TEST(TagFromNameFailures, ReadOnlyFileFailsWhateverTheDecision) {
    struct Case {
        Bytes content;
        bool overwrite;
    };
    for (const Case& c : {Case{kTagged, false}, Case{kTagged, true}, Case{kPlain, false},
                          Case{PatternBytes(50), false}}) {
        TempDir dir;
        const std::string path = dir.file("lied.mp3");
        test::GiveToChildUser(dir.path());
        WriteFileBytes(path, c.content);
        test::GiveToChildUser(path);
        ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
        for (const bool preview : {true, false}) {
            const auto result =
                test::InChild<TagFromNameResult>(test::ChildUser::unprivileged, [&] {
                    return preview ? PreviewTagFromName(path, c.overwrite)
                                   : WriteTagFromName(path, kRecord, c.overwrite);
                });
            EXPECT_EQ(result.outcome, TagFromNameOutcome::failed) << preview;
            EXPECT_EQ(result.error, FileError::accessDenied) << preview;
            EXPECT_EQ(ReadFileBytes(path), c.content);
        }
    }
}

// The disk fills up after 50 of the 128 bytes: the file is cut back.
TEST(TagFromNameFailures, PartialAppendIsCutBack) {
    TempDir dir;
    const std::string path = dir.file("lied.mp3");
    WriteFileBytes(path, kPlain);
    const auto result = test::InChild<TagFromNameResult>(test::ChildUser::same, [&] {
        test::LimitFileSize(static_cast<long long>(kPlain.size()) + 50);
        return WriteTagFromName(path, kRecord, false);
    });
    EXPECT_EQ(result.outcome, TagFromNameOutcome::failed);
    EXPECT_EQ(result.error, FileError::diskFull);
    EXPECT_EQ(ReadFileBytes(path), kPlain);
}

TEST(TagFromNameSummary, CountsWithABlankInFrontAndTheSecondSentenceOnlyForFilesLeftAlone) {
    EXPECT_EQ(TagFromNameSummary(0, 0), "Auftrag ausgeführt. Es traten bei  0 Dateien Fehler auf.");
    EXPECT_EQ(TagFromNameSummary(2, 3),
              "Auftrag ausgeführt. Es traten bei  2 Dateien Fehler auf. Außerdem enthielten  3 "
              "Dateien bereits einen ID3-Tag (wurde nicht geändert).");
}

} // namespace
} // namespace tagwerk
