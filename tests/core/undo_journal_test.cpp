// The undo journal on real files: every changing operation taken back, files
// that changed since left alone, and journals that were damaged, killed,
// written by two programs at once or could not be written at all.
#include "core/TagFromNameFile.h"
#include "core/TrailerFile.h"
#include "core/UndoJournal.h"
#include "support/Child.h"
#include "support/Printers.h"
#include "support/TagBytes.h"
#include "support/TempDir.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tagwerk {
namespace {

namespace fs = std::filesystem;
using test::Bytes;
using test::Concat;
using test::PatternBytes;
using test::ReadFileBytes;
using test::WithTrailer;
using test::WriteFileBytes;

const TagRecord kRecord{"Neu", "Band", "", "2024", "", 17};

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

std::string Journal() {
    return std::getenv("XDG_STATE_HOME") + std::string("/tagwerk/");
}

// Each test has a state folder of its own, whose parents are still missing.
class UndoJournalTest : public testing::Test {
protected:
    void SetUp() override { ::setenv("XDG_STATE_HOME", file("neu/state").c_str(), 1); }
    void TearDown() override { ::unsetenv("XDG_STATE_HOME"); }

    std::string file(const std::string& name) const { return dir_.file(name); }

    // The action files, oldest first.
    static std::vector<std::string> actionFiles() {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(Journal())) {
            if (entry.path().extension() == ".action")
                names.push_back(entry.path().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    test::TempDir dir_;
};

struct ActionCase {
    const char* name;
    ActionKind kind;
    Bytes content;
    Operation operation;
};

const ActionCase kActions[] = {
    {"saveOverATrailer", ActionKind::save, WithTrailer(1000), Save},
    {"saveAppended", ActionKind::save, PatternBytes(1000), Save},
    {"saveAppendedToAShortFile", ActionKind::save, PatternBytes(60), Save},
    {"singleRemoval", ActionKind::singleRemoval, WithTrailer(1000), Remove},
    {"removalLeavingAShortFile", ActionKind::removalRun, WithTrailer(50), Remove},
    {"blanking", ActionKind::blankingRun, WithTrailer(1000), Blank},
    {"tagsFromNamesAppended", ActionKind::tagsFromNamesRun, PatternBytes(1000), TagFromName(false)},
    {"tagsFromNamesOverwritten", ActionKind::tagsFromNamesRun, WithTrailer(1000),
     TagFromName(true)},
    {"overAFileThatIsATrailer", ActionKind::id3v1FromId3v2Run, WithTrailer(0), TagFromName(true)},
};

// What happens to the file between the action and its undo. An undo that
// finds the file gone or failing keeps the action; the next, once the file
// is back as the action left it, finishes it.
struct Meanwhile {
    const char* name;
    std::function<void(const std::string& path, const Bytes& original)> change;
    std::size_t restored, changedSince, gone, failed;
    bool undoWrites;
};

void FlipLastByte(const std::string& path, const Bytes&) {
    Bytes bytes = ReadFileBytes(path);
    bytes.back() ^= 1;
    WriteFileBytes(path, bytes);
}

// The top bit of the last byte and of the one eight before: a tail hash that
// takes the bytes as words and only multiplies would miss the change.
void FlipTwoTopBits(const std::string& path, const Bytes&) {
    Bytes bytes = ReadFileBytes(path);
    bytes.back() ^= 0x80;
    bytes[bytes.size() - 9] ^= 0x80;
    WriteFileBytes(path, bytes);
}

// The link leads to a copy of the file as the action left it: the copy is
// another file, which the action never changed.
void LinkToACopy(const std::string& path, const Bytes&) {
    fs::rename(path, path + ".alt");
    fs::copy_file(path + ".alt", path + ".kopie");
    fs::create_symlink(path + ".kopie", path);
}

const Meanwhile kMeanwhile[] = {
    {"nothing", [](auto&, auto&) {}, 1, 0, 0, 0, true},
    {"byte appended",
     [](auto& path, auto&) { WriteFileBytes(path, Concat(ReadFileBytes(path), {1})); }, 0, 1, 0, 0,
     false},
    {"last byte changed", FlipLastByte, 0, 1, 0, 0, false},
    {"two top bits flipped", FlipTwoTopBits, 0, 1, 0, 0, false},
    {"put back by hand", [](auto& path, auto& original) { WriteFileBytes(path, original); }, 1, 0,
     0, 0, false},
    {"path now a link to a copy", LinkToACopy, 0, 1, 0, 0, false},
    {"deleted", [](auto& path, auto&) { fs::remove(path); }, 0, 0, 1, 0, false},
    {"folder in its place", [](auto& path, auto&) { fs::remove(path), fs::create_directory(path); },
     0, 0, 0, 1, false},
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
        const Bytes left = ReadFileBytes(path);
        ASSERT_NE(left, c.content);
        m.change(path, c.content);
        const Bytes meanwhile = fs::is_regular_file(path) ? ReadFileBytes(path) : Bytes{};
        std::error_code gone;
        const fs::file_time_type changedAt = fs::last_write_time(path, gone);
        EXPECT_TRUE(HasActionToUndo());

        const UndoResult preview = PreviewNewestAction();
        EXPECT_EQ(fs::last_write_time(path, gone), changedAt);
        const UndoResult result = UndoNewestAction();
        EXPECT_EQ(preview, result);
        EXPECT_EQ(result.kind, c.kind);
        EXPECT_EQ(result.origin, ActionOrigin::window);
        EXPECT_EQ(result.restored, m.restored);
        EXPECT_EQ(result.changedSince, m.changedSince);
        EXPECT_EQ(result.gone, m.gone);
        EXPECT_EQ(result.failed, m.failed);
        EXPECT_EQ(result.changedPaths, std::vector<std::string>(m.undoWrites, path));
        if (fs::is_regular_file(path)) {
            EXPECT_EQ(ReadFileBytes(path), m.undoWrites ? c.content : meanwhile);
        }
        const bool kept = m.gone + m.failed > 0;
        EXPECT_EQ(result.kept, kept);
        EXPECT_EQ(HasActionToUndo(), kept);
        if (kept) {
            fs::remove_all(path);
            WriteFileBytes(path, left);
            EXPECT_EQ(UndoNewestAction().changedPaths, std::vector<std::string>{path});
            EXPECT_EQ(ReadFileBytes(path), c.content);
        }
        EXPECT_FALSE(UndoNewestAction().undone);
        fs::remove_all(path);
    }
}

INSTANTIATE_TEST_SUITE_P(Actions, UndoRoundTrip, testing::ValuesIn(kActions),
                         [](const auto& test) { return std::string(test.param.name); });

// One run through a folder that is a link, over a file that is a link and
// over plain files, saving and then removing: each file is found again as the
// one the run changed.
TEST_F(UndoJournalTest, FilesReachedThroughLinksAreTheOnesTheRunChanged) {
    fs::create_directory(file("echt"));
    fs::create_directory_symlink(file("echt"), file("verweis"));
    const std::string paths[] = {file("verweis/a.mp3"), file("verweis/b.mp3"),
                                 file("verweis/c.mp3"), file("d.mp3")};
    for (const std::string& path : paths)
        WriteFileBytes(path, PatternBytes(1000));
    fs::rename(file("echt/c.mp3"), file("c-ziel.mp3"));
    fs::create_symlink(file("c-ziel.mp3"), file("echt/c.mp3"));
    UndoJournalWriter journal(ActionKind::tagsFromNamesRun);
    for (const std::string& path : paths) {
        Save(path, &journal);
        Remove(path, &journal);
    }
    journal.finish();
    EXPECT_EQ(UndoNewestAction().restored, 2 * std::size(paths));
    for (const std::string& path : paths)
        EXPECT_EQ(ReadFileBytes(path), PatternBytes(1000)) << path;
}

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
    const UndoResult preview = PreviewNewestAction();
    const UndoResult result =
        UndoNewestAction([&](std::size_t i, std::size_t n) { progress.emplace_back(i, n); });
    EXPECT_EQ(preview, result);
    EXPECT_EQ(progress, (decltype(progress){{1, 3}, {2, 3}, {3, 3}}));
    EXPECT_EQ(result.restored, 3u);
    EXPECT_EQ(result.changedPaths, std::vector<std::string>(3, file("lied.mp3")));
    EXPECT_EQ(ReadFileBytes(file("lied.mp3")), PatternBytes(1000));
    EXPECT_FALSE(UndoNewestAction().undone);
    running.finish();
    EXPECT_EQ(UndoNewestAction().kind, ActionKind::removalRun);
    UndoJournalWriter(ActionKind::tagsFromNamesRun)
        .aboutToChange(file("ohne.mp3"), {1000, {}}, {1000, {}}, true);
    EXPECT_FALSE(HasActionToUndo());
    for (const char* folder : {"neu", "neu/state", "neu/state/tagwerk"})
        EXPECT_EQ(fs::status(file(folder)).permissions(), fs::perms::owner_all) << folder;
}

// An action whose journal outgrows what the disk is asked to write at once
// (and what stays in the program's memory) is read back in full.
TEST_F(UndoJournalTest, ALongActionIsReadBackInFull) {
    constexpr std::size_t kFiles = 20'000; // about 3 MB of journal
    {
        UndoJournalWriter journal(ActionKind::removalRun);
        for (std::size_t i = 0; i < kFiles; ++i)
            journal.aboutToChange(file(std::to_string(i)), {1128, {}}, {1000, {}}, true);
    }
    EXPECT_EQ(PreviewNewestAction().gone, kFiles); // every file is gone since
}

// A journal folder that another user owns or may write could hold actions
// of theirs: nothing in it is undone, and no action is recorded there. A lock
// that is a link creates nothing where it points.
TEST_F(UndoJournalTest, FolderAnotherUserMayWriteIsNotUsed) {
    const std::string path = file("lied.mp3");
    const std::string planted = file("gepflanzt");
    const std::pair<const char*, std::function<void()>> cases[] = {
        {"group may write",
         [] { fs::permissions(Journal(), fs::perms::group_write, fs::perm_options::add); }},
        {"others may write",
         [] { fs::permissions(Journal(), fs::perms::others_write, fs::perm_options::add); }},
        {"another user's", [] { test::GiveToChildUser(Journal()); }},
        {"lock a link",
         [&] { fs::remove(Journal() + "lock"), fs::create_symlink(planted, Journal() + "lock"); }},
    };
    for (const auto& [name, spoil] : cases) {
        SCOPED_TRACE(name);
        fs::remove_all(Journal());
        WriteFileBytes(path, PatternBytes(1000));
        UndoJournalWriter(ActionKind::save).aboutToChange(path, {1000, {}}, {1128, {}}, true);
        spoil();
        EXPECT_FALSE(UndoNewestAction().undone);
        UndoJournalWriter journal(ActionKind::save);
        Save(path, &journal);
        journal.finish();
        EXPECT_TRUE(journal.broken() || ::geteuid() != 0);
        EXPECT_FALSE(fs::exists(planted));
    }
}

// Two programs start actions at the same time, over and over: each action
// gets a journal file of its own, the newest twenty are kept, and each of
// them is undone in full. The journal lies in memory where it can, so that
// syncing takes no time and the two often start an action at the same
// moment. While a third program holds the journal's lock, neither starts one.
TEST_F(UndoJournalTest, TwoProgramsRecordingAtOnceNeverCollide) {
    const test::TempDir memory(fs::is_directory("/dev/shm") ? "/dev/shm"
                                                            : fs::temp_directory_path());
    ::setenv("XDG_STATE_HOME", memory.path().c_str(), 1);
    fs::create_directory(Journal());
    const int lock = ::open((Journal() + "lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_EQ(::flock(lock, LOCK_EX), 0);
    std::vector<pid_t> children;
    for (const char* name : {"a.mp3", "b.mp3"}) {
        WriteFileBytes(file(name), PatternBytes(300));
        if (children.emplace_back(::fork()) == 0) {
            ::close(lock); // or the child would hold it too
            bool broken = false;
            for (int i = 0; i < 100; ++i) {
                UndoJournalWriter journal(ActionKind::save);
                (void)WriteTagTrailer(file(name), {std::to_string(i), "", "", "", "", 1}, &journal);
                journal.finish();
                broken = broken || journal.broken();
            }
            ::_exit(broken ? 1 : 0);
        }
    }
    ::usleep(100'000);
    EXPECT_TRUE(actionFiles().empty());
    ::close(lock);
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(actionFiles().size(), 20u);
    // Two programs undo at the same time: each action is taken back once, in
    // order, so that each undo puts back its file.
    for (pid_t& child : children) {
        if ((child = ::fork()) == 0) {
            bool each = true;
            for (int i = 0; i < 10; ++i)
                each = each && UndoNewestAction().changedPaths.size() == 1;
            ::_exit(each ? 0 : 1);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_FALSE(UndoNewestAction().undone);
    // The numbers of the undone actions are not given again.
    UndoJournalWriter next(ActionKind::save);
    Save(file("a.mp3"), &next);
    next.finish();
    EXPECT_EQ(actionFiles(), std::vector<std::string>{Journal() + "000201.action"});
}

// Tells the journal; kills the program before the file numbered `dieBefore`
// changes.
struct DyingObserver : TrailerChangeObserver {
    DyingObserver(TrailerChangeObserver& to, std::size_t dieBefore)
        : journal(to), left(dieBefore) {}
    void aboutToChange(const std::string& path, const FileState& before, const FileState& after,
                       bool nameIsLink) override {
        journal.aboutToChange(path, before, after, nameIsLink);
        if (left-- == 0)
            ::raise(SIGKILL);
    }
    TrailerChangeObserver& journal;
    std::size_t left;
};

// Where the header and each record end: a record is framed by the size of
// what it holds (four bytes, least significant first) and an eight-byte check.
std::vector<std::size_t> RecordEnds(const Bytes& journal) {
    std::vector<std::size_t> ends;
    for (std::size_t at = 0; at + 4 <= journal.size(); ends.push_back(at)) {
        at += 12 + (journal[at] | journal[at + 1] << 8 | journal[at + 2] << 16 |
                    std::size_t{journal[at + 3]} << 24);
    }
    return ends;
}

// The check that ends each record, worked out byte by byte: FNV-1a over the
// record's bytes before it as little-endian words of eight, the last word
// filled with zeros. It must not change within a version of the journal, or
// the journals already written would become unreadable.
std::uint64_t ExpectedCheck(const Bytes& journal, std::size_t from, std::size_t to) {
    std::uint64_t hash = 14695981039346656037u;
    for (std::size_t at = from; at < to; at += 8) {
        std::uint64_t word = 0;
        for (std::size_t i = 0; i < 8 && at + i < to; ++i)
            word |= std::uint64_t{journal[at + i]} << (8 * i);
        hash = (hash ^ word) * 1099511628211u;
    }
    return hash;
}

std::uint64_t StoredCheck(const Bytes& journal, std::size_t end) {
    std::uint64_t check = 0;
    for (std::size_t i = 0; i < 8; ++i)
        check |= std::uint64_t{journal[end - 8 + i]} << (8 * i);
    return check;
}

// Gives the record from `start` to `end` the check that fits its bytes again,
// as if they had been written so.
void Reseal(Bytes& journal, std::size_t start, std::size_t end) {
    const std::uint64_t check = ExpectedCheck(journal, start, end - 8);
    for (std::size_t i = 0; i < 8; ++i)
        journal[end - 8 + i] = static_cast<unsigned char>(check >> (8 * i));
}

// Offsets in the journal: the version in the header, and the length of the
// path's start shared with the record before, in a file record.
constexpr std::size_t kVersionAt = 4 + 1 + 12;
constexpr std::size_t kSharedAt = 4 + 1 + 2 * 8 + 128 + 8;

// The journal as version 2 wrote it: its records have no target size.
void AsVersion2(Bytes& journal, const std::vector<std::size_t>& ends) {
    Bytes old(journal.begin(), journal.begin() + ends[0]);
    old[kVersionAt] = 2, Reseal(old, 0, ends[0]);
    for (std::size_t r = 1; r < ends.size(); ++r) {
        Bytes record(journal.begin() + ends[r - 1], journal.begin() + ends[r]);
        record.erase(record.begin() + kSharedAt + 2, record.begin() + kSharedAt + 4);
        const std::size_t size = RecordEnds(record)[0] - 12 - 2;
        for (std::size_t i = 0; i < 4; ++i)
            record[i] = static_cast<unsigned char>(size >> (8 * i));
        Reseal(record, 0, record.size());
        old.insert(old.end(), record.begin(), record.end());
    }
    journal = old;
}

// Long enough, with long names, for the journal to outgrow its first room.
constexpr std::size_t kRunLength = 40;

// Gets the journal and where its header and records end.
using Damage = std::function<void(Bytes& journal, const std::vector<std::size_t>& ends)>;

struct FaultyRun {
    const char* name;
    std::size_t restored, putBack;      // counted by the undo; the first files it puts back
    Damage damage;                      // done to the journal after the run
    std::size_t dieBefore = kRunLength; // the file before which the run is killed
    long long sizeLimit = 0;            // of every file the run writes
    fs::perms stateHome = fs::perms::owner_all;
};

// A run that is killed, whose journal cannot be written or is
// damaged afterwards, is undone for the files recorded up to the damage; a
// journal without a readable change is dropped. A journal that cannot be
// written does not stop the run, and the writer says it is broken.
TEST_F(UndoJournalTest, FaultyRunIsUndoneForTheFilesItRecorded) {
    const fs::perms readOnly = fs::perms::owner_read | fs::perms::owner_exec;
    const FaultyRun runs[] = {
        {"killed before the first file", 1, 0, {}, 0},
        {"killed before the 36th file", 36, 35, {}, 35},
        {"read-only state folder", 0, 0, {}, kRunLength, 0, readOnly},
        {"disk full", 0, 0, {}, kRunLength, 1000},
        {"garbage appended", 40, 40, [](Bytes& b, auto&) { b.insert(b.end(), 300, 0xA5); }},
        {"cut in the third record", 2, 2, [](Bytes& b, auto& e) { b.resize((e[2] + e[3]) / 2); }},
        {"byte of the second record flipped", 1, 1, [](Bytes& b, auto& e) { b[e[1] + 20] ^= 4; }},
        {"size of the second record grown", 1, 1, [](Bytes& b, auto& e) { b[e[1] + 1] ^= 1; }},
        {"check of the first record flipped", 0, 0, [](Bytes& b, auto& e) { b[e[1] - 1] ^= 0x80; }},
        {"header flipped", 0, 0, [](Bytes& b, auto&) { b[8] ^= 1; }},
        {"header of the version before", 0, 0,
         [](Bytes& b, auto& e) { b[kVersionAt] = 1, Reseal(b, 0, e[0]); }},
        {"second path shares more than the first has", 1, 1,
         [](Bytes& b, auto& e) {
             b[e[1] + kSharedAt] = b[e[1] + kSharedAt + 1] = 0xFF, Reseal(b, e[1], e[2]);
         }},
        {"cut in the header", 0, 0, [](Bytes& b, auto&) { b.resize(10); }},
        {"written by version 2", 40, 40, AsVersion2},
    };
    const std::string state = file("neu/state");
    fs::create_directory(file("neu"));
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < kRunLength; ++i)
        // Names of every length modulo eight, so that the records end at each
        // place in a word of their check.
        paths.push_back(file(std::string(200 + i % 8, 'n') + std::to_string(i) + ".mp3"));
    test::GiveToChildUser(dir_.path());
    for (const FaultyRun& c : runs) {
        SCOPED_TRACE(c.name);
        fs::remove_all(state);
        fs::create_directory(state);
        test::GiveToChildUser(state);
        fs::permissions(state, c.stateHome);
        for (const std::string& path : paths) {
            WriteFileBytes(path, PatternBytes(200));
            test::GiveToChildUser(path);
        }
        bool broken = false;
        const bool finished =
            test::RunForked(test::ChildUser::unprivileged, &broken, sizeof broken, [&](void* out) {
                if (c.sizeLimit > 0)
                    test::LimitFileSize(c.sizeLimit);
                UndoJournalWriter journal(ActionKind::tagsFromNamesRun);
                DyingObserver observer(journal, c.dieBefore);
                for (const std::string& path : paths)
                    TagFromName(false)(path, &observer);
                journal.finish();
                *static_cast<bool*>(out) = journal.broken();
            });
        EXPECT_EQ(finished, c.dieBefore == kRunLength);
        EXPECT_EQ(broken, c.stateHome != fs::perms::owner_all || c.sizeLimit > 0);
        fs::permissions(state, fs::perms::owner_all);
        if (::geteuid() == 0 && fs::exists(Journal())) { // used by its owner only
            ASSERT_EQ(::chown(Journal().c_str(), 0, 0), 0);
        }
        if (c.damage) {
            Bytes bytes = ReadFileBytes(actionFiles().back());
            const std::vector<std::size_t> ends = RecordEnds(bytes);
            ASSERT_EQ(ends.size(), kRunLength + 1);
            for (std::size_t r = 0, start = 0; r < ends.size(); start = ends[r++])
                EXPECT_EQ(StoredCheck(bytes, ends[r]), ExpectedCheck(bytes, start, ends[r] - 8))
                    << r;
            c.damage(bytes, ends);
            WriteFileBytes(actionFiles().back(), bytes);
        }
        const bool recorded = HasActionToUndo();
        const UndoResult preview = PreviewNewestAction();
        EXPECT_EQ(HasActionToUndo(), recorded); // nothing dropped, not even a damaged journal
        const UndoResult result = UndoNewestAction();
        EXPECT_EQ(preview, result);
        EXPECT_EQ(result.restored, c.restored);
        EXPECT_EQ(result.changedSince + result.failed, 0u); // no record read with a wrong path
        EXPECT_EQ(result.changedPaths.size(), c.putBack);
        // A journal without a readable change is put aside, not deleted.
        const bool setAside = c.damage && c.restored == 0;
        EXPECT_EQ(result.setAside.empty(), !setAside);
        EXPECT_EQ(fs::exists(result.setAside), setAside);
        EXPECT_FALSE(HasActionToUndo());
        for (std::size_t i = 0; i < paths.size(); ++i) {
            const bool changed = i < c.dieBefore && i >= c.putBack;
            EXPECT_EQ(fs::file_size(paths[i]), changed ? 328u : 200u) << i;
        }
    }
}

} // namespace
} // namespace tagwerk
