// The undo journal on real files: every changing operation taken back, and
// files that changed since left alone.
#include "core/TagFromNameFile.h"
#include "core/TrailerFile.h"
#include "core/UndoJournal.h"
#include "support/Printers.h"
#include "support/TempDir.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace tagwerk {
namespace {

namespace fs = std::filesystem;
using test::Bytes;
using test::Concat;
using test::PatternBytes;
using test::ReadFileBytes;
using test::WriteFileBytes;

const TagRecord kRecord{"Neu", "Band", "", "2024", "", 17};

Bytes Tagged(std::size_t payload) {
    Bytes trailer = PatternBytes(kTrailerSize);
    std::copy_n("TAG", 3, trailer.begin());
    return Concat(PatternBytes(payload), trailer);
}

using Operation = std::function<void(const std::string& path, TrailerChangeObserver*)>;

void Save(const std::string& path, TrailerChangeObserver* observer) {
    EXPECT_EQ(WriteTagTrailer(path, kRecord, observer).outcome, WriteOutcome::written);
}

void Remove(const std::string& path, TrailerChangeObserver* observer) {
    const std::size_t split = path.rfind('/') + 1;
    EXPECT_EQ(RemoveTagTrailer(path.substr(0, split), path.substr(split), {}, observer).outcome,
              RemoveOutcome::removed);
}

void Blank(const std::string& path, TrailerChangeObserver* observer) {
    EXPECT_EQ(BlankTagTrailer(path, observer).outcome, BlankOutcome::blanked);
}

Operation TagFromName(bool overwrite) {
    return [overwrite](const std::string& path, TrailerChangeObserver* observer) {
        EXPECT_EQ(WriteTagFromName(path, kRecord, overwrite, observer).outcome,
                  TagFromNameOutcome::written);
    };
}

// Each test has a state folder of its own, whose parents are still missing.
class UndoJournalTest : public testing::Test {
protected:
    void SetUp() override { ::setenv("XDG_STATE_HOME", file("neu/state").c_str(), 1); }
    void TearDown() override { ::unsetenv("XDG_STATE_HOME"); }

    std::string file(const std::string& name) const { return dir_.file(name); }

    test::TempDir dir_;
};

struct ActionCase {
    const char* name;
    ActionKind kind;
    Bytes content;
    Operation operation;
};

const ActionCase kActions[] = {
    {"saveOverATrailer", ActionKind::save, Tagged(1000), Save},
    {"saveAppended", ActionKind::save, PatternBytes(1000), Save},
    {"saveAppendedToAShortFile", ActionKind::save, PatternBytes(60), Save},
    {"singleRemoval", ActionKind::singleRemoval, Tagged(1000), Remove},
    {"removalLeavingAShortFile", ActionKind::removalRun, Tagged(50), Remove},
    {"blanking", ActionKind::blankingRun, Tagged(1000), Blank},
    {"tagsFromNamesAppended", ActionKind::tagsFromNamesRun, PatternBytes(1000), TagFromName(false)},
    {"tagsFromNamesOverwritten", ActionKind::tagsFromNamesRun, Tagged(1000), TagFromName(true)},
    {"overAFileThatIsATrailer", ActionKind::id3v1FromId3v2Run, Tagged(0), TagFromName(true)},
};

// What happens to the file between the action and its undo.
struct Meanwhile {
    const char* name;
    std::function<void(const std::string& path, const Bytes& original)> change;
    std::size_t restored, changedSince, failed;
    bool undoWrites;
};

void FlipLastByte(const std::string& path, const Bytes&) {
    Bytes bytes = ReadFileBytes(path);
    bytes.back() ^= 1;
    WriteFileBytes(path, bytes);
}

const Meanwhile kMeanwhile[] = {
    {"nothing", [](auto&, auto&) {}, 1, 0, 0, true},
    {"byte appended",
     [](auto& path, auto&) { WriteFileBytes(path, Concat(ReadFileBytes(path), {1})); }, 0, 1, 0,
     false},
    {"last byte changed", FlipLastByte, 0, 1, 0, false},
    {"put back by hand", [](auto& path, auto& original) { WriteFileBytes(path, original); }, 1, 0,
     0, false},
    {"deleted", [](auto& path, auto&) { fs::remove(path); }, 0, 1, 0, false},
    {"folder in its place", [](auto& path, auto&) { fs::remove(path), fs::create_directory(path); },
     0, 0, 1, false},
};

class UndoRoundTrip : public UndoJournalTest, public testing::WithParamInterface<ActionCase> {};

TEST_P(UndoRoundTrip, PutsBackOnlyAFileAsTheActionLeftIt) {
    const ActionCase& c = GetParam();
    const std::string path = file("Band - Lied.mp3");
    for (const Meanwhile& m : kMeanwhile) {
        SCOPED_TRACE(m.name);
        WriteFileBytes(path, c.content);
        UndoJournalWriter journal(c.kind);
        c.operation(path, &journal);
        journal.finish();
        EXPECT_FALSE(journal.broken());
        ASSERT_NE(ReadFileBytes(path), c.content);
        m.change(path, c.content);
        const Bytes meanwhile = fs::is_regular_file(path) ? ReadFileBytes(path) : Bytes{};
        EXPECT_TRUE(HasActionToUndo());

        const UndoResult result = UndoNewestAction();
        EXPECT_EQ(result.kind, c.kind);
        EXPECT_EQ(result.origin, ActionOrigin::window);
        EXPECT_EQ(result.restored, m.restored);
        EXPECT_EQ(result.changedSince, m.changedSince);
        EXPECT_EQ(result.failed, m.failed);
        EXPECT_EQ(result.changedPaths, std::vector<std::string>(m.undoWrites, path));
        if (fs::is_regular_file(path)) {
            EXPECT_EQ(ReadFileBytes(path), m.undoWrites ? c.content : meanwhile);
        }
        EXPECT_FALSE(HasActionToUndo());
        EXPECT_FALSE(UndoNewestAction().undone);
        fs::remove_all(path);
    }
}

INSTANTIATE_TEST_SUITE_P(Actions, UndoRoundTrip, testing::ValuesIn(kActions),
                         [](const auto& test) { return std::string(test.param.name); });

// One action changes a file three times, through a relative path, and leaves
// another alone: the file ends as it was. An action that changes nothing is
// no action; one still being recorded is skipped. The folders are made for
// the owner alone.
TEST_F(UndoJournalTest, UndoGoesNewestFileFirstAndSkipsAnActionStillRecorded) {
    const fs::path working = fs::current_path();
    fs::current_path(dir_.path());
    WriteFileBytes("lied.mp3", PatternBytes(1000));
    WriteFileBytes("ohne.mp3", PatternBytes(1000));
    {
        UndoJournalWriter journal(ActionKind::save);
        Save("lied.mp3", &journal);
        Save("lied.mp3", &journal); // the same trailer again
        Blank("lied.mp3", &journal);
        Remove("lied.mp3", &journal);
        EXPECT_EQ(BlankTagTrailer("ohne.mp3", &journal).outcome, BlankOutcome::noTrailer);
    }
    fs::current_path(working);
    UndoJournalWriter running(ActionKind::removalRun);
    Save(file("ohne.mp3"), &running);
    std::vector<std::pair<std::size_t, std::size_t>> progress;
    const UndoResult result =
        UndoNewestAction([&](std::size_t i, std::size_t n) { progress.emplace_back(i, n); });
    EXPECT_EQ(progress, (decltype(progress){{1, 3}, {2, 3}, {3, 3}}));
    EXPECT_EQ(result.restored, 3u);
    EXPECT_EQ(result.changedPaths, std::vector<std::string>(3, file("lied.mp3")));
    EXPECT_EQ(ReadFileBytes(file("lied.mp3")), PatternBytes(1000));
    EXPECT_FALSE(UndoNewestAction().undone);
    running.finish();
    EXPECT_EQ(UndoNewestAction().kind, ActionKind::removalRun);
    UndoJournalWriter(ActionKind::tagsFromNamesRun)
        .aboutToChange(file("ohne.mp3"), {1000, {}}, {1000, {}});
    EXPECT_FALSE(HasActionToUndo());
    for (const char* folder : {"neu", "neu/state", "neu/state/tagwerk"})
        EXPECT_EQ(fs::status(file(folder)).permissions(), fs::perms::owner_all) << folder;
}

} // namespace
} // namespace tagwerk
