// Faults while changing a file: each leaves every byte where it was and no
// temporary file behind. They run in a forked child that, under root, drops
// to an ordinary user, so that permission bits count.
#include "core/TrailerFile.h"
#include "support/Child.h"
#include "support/Printers.h"
#include "support/TagBytes.h"
#include "support/TempDir.h"

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/file.h>
#include <sys/stat.h>

namespace tagwerk {
namespace {

using test::Bytes;
using test::ChildUser;
using test::Concat;
using test::InChild;
using test::PatternBytes;
using test::ReadFileBytes;
using test::TempDir;
using test::WithTrailer;

enum class Operation { read, write, blank, remove };

// How an operation ended, as text that can cross from the child.
struct Ending {
    char text[40];
};

template <typename Result> Ending Describe(const Result& result) {
    std::ostringstream text;
    text << result.outcome << " " << result.error;
    Ending ending{};
    std::snprintf(ending.text, sizeof ending.text, "%s", text.str().c_str());
    return ending;
}

Ending RunOperation(Operation operation, const TempDir& dir, const std::string& name) {
    const std::string path = dir.file(name);
    switch (operation) {
    case Operation::read:
        return Describe(ReadTagTrailer(path));
    case Operation::write:
        return Describe(WriteTagTrailer(path, TagRecord{"Neu", "", "", "", "", 1}));
    case Operation::blank:
        return Describe(BlankTagTrailer(path));
    case Operation::remove:
        return Describe(RemoveTagTrailer(dir.path(), name, [](auto, auto) { return true; }));
    }
    return {};
}

// A directory that belongs to the child's user, holding lied.mp3.
struct Scene {
    TempDir dir;
    std::string path = dir.file("lied.mp3");

    explicit Scene(const Bytes& content) {
        test::GiveToChildUser(dir.path());
        test::WriteFileBytes(path, content);
        test::GiveToChildUser(path);
    }
};

struct PermissionCase {
    const char* name;
    Operation operation;
    bool hasTrailer;
    const char* ending;
};

class ReadOnly : public testing::TestWithParam<PermissionCase> {};

TEST_P(ReadOnly, FileFailsLikeASaveAndKeepsEveryByte) {
    const PermissionCase& c = GetParam();
    Scene scene(c.hasTrailer ? WithTrailer(3000) : PatternBytes(3000));
    const Bytes before = ReadFileBytes(scene.path);
    ASSERT_EQ(::chmod(scene.path.c_str(), 0444), 0);
    Ending ending = InChild<Ending>(
        ChildUser::unprivileged, [&] { return RunOperation(c.operation, scene.dir, "lied.mp3"); });
    EXPECT_STREQ(ending.text, c.ending);
    EXPECT_EQ(ReadFileBytes(scene.path), before);
    EXPECT_EQ(scene.dir.names(), std::vector<std::string>{"lied.mp3"});
}

INSTANTIATE_TEST_SUITE_P(
    Operations, ReadOnly,
    testing::Values(PermissionCase{"read", Operation::read, true, "trailerFound none"},
                    PermissionCase{"overwrite", Operation::write, true, "error accessDenied"},
                    PermissionCase{"append", Operation::write, false, "error accessDenied"},
                    PermissionCase{"blank", Operation::blank, true, "error accessDenied"},
                    PermissionCase{"blankNoTrailer", Operation::blank, false, "noTrailer none"},
                    PermissionCase{"remove", Operation::remove, true, "failed accessDenied"},
                    PermissionCase{"removeNoTrailer", Operation::remove, false, "noTrailer none"}),
    [](const auto& test) { return std::string(test.param.name); });

// A member of the file's group changes a file of root's. A removal cannot
// give its copy to the file's owner, but the copy still goes to the group, so
// the file stays shared. Only the owner may keep the time of last access when
// the trailer is read; a member of the group writes in place all the same, and
// the file keeps its owner.
TEST(SharedThroughGroup, AMemberOfTheGroupChangesTheFileAndItStaysShared) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root can hand the file to another owner";
    }
    struct Case {
        Operation operation;
        const char* ending;
        unsigned owner;
    };
    for (Case c : {Case{Operation::remove, "removed none", test::kChildUid},
                   Case{Operation::write, "written none", 0}}) {
        SCOPED_TRACE(c.ending);
        Scene scene(WithTrailer(3000));
        ASSERT_EQ(::chown(scene.path.c_str(), 0, test::kChildGroup), 0);
        ASSERT_EQ(::chmod(scene.path.c_str(), 0660), 0);
        Ending ending = InChild<Ending>(ChildUser::unprivileged, [&] {
            return RunOperation(c.operation, scene.dir, "lied.mp3");
        });
        EXPECT_STREQ(ending.text, c.ending);
        struct stat status {};
        ASSERT_EQ(::stat(scene.path.c_str(), &status), 0);
        EXPECT_EQ(status.st_uid, c.owner);
        EXPECT_EQ(status.st_gid, test::kChildGroup);
        EXPECT_EQ(status.st_mode & 07777, 0660u);
    }
}

// In a directory that cannot be written a removal cannot create its copy and
// fails; changing the file in place needs no directory entry and works.
TEST(ReadOnlyDirectory, RemovalFailsWhileInPlaceChangesWork) {
    struct Case {
        Operation operation;
        const char* ending;
        bool changes;
    };
    for (Case c : {Case{Operation::remove, "failed accessDenied", false},
                   Case{Operation::write, "written none", true},
                   Case{Operation::blank, "blanked none", true}}) {
        Scene scene(WithTrailer(3000));
        const Bytes before = ReadFileBytes(scene.path);
        ASSERT_EQ(::chmod(scene.dir.path().c_str(), 0555), 0);
        Ending ending = InChild<Ending>(ChildUser::unprivileged, [&] {
            return RunOperation(c.operation, scene.dir, "lied.mp3");
        });
        EXPECT_STREQ(ending.text, c.ending);
        const Bytes after = ReadFileBytes(scene.path);
        ASSERT_EQ(after.size(), before.size());
        EXPECT_EQ(Bytes(after.begin(), after.end() - 128),
                  Bytes(before.begin(), before.end() - 128));
        EXPECT_EQ(after != before, c.changes);
        EXPECT_EQ(scene.dir.names(), std::vector<std::string>{"lied.mp3"});
    }
}

// Another program has the file open for writing (a recorder, a download
// still running): where a lease tells so, the file is not touched; where none
// can be had (an ordinary user's change to a file of root's) it is changed.
// Another removal of the same file reads it, holding it locked.
TEST(AnotherProgramWriting, FileOpenForWritingIsNotTouchedWhereALeaseTellsSo) {
    struct Case {
        Operation operation;
        ChildUser user;
        const char* ending;
        bool otherRemoves = false;
    };
    for (Case c : {Case{Operation::write, ChildUser::same, "error beingWritten"},
                   Case{Operation::blank, ChildUser::same, "error beingWritten"},
                   Case{Operation::remove, ChildUser::same, "failed beingWritten"},
                   Case{Operation::remove, ChildUser::same, "failed beingWritten", true},
                   Case{Operation::write, ChildUser::unprivileged, "written none"},
                   Case{Operation::remove, ChildUser::unprivileged, "removed none"}}) {
        SCOPED_TRACE(c.ending);
        Scene scene(WithTrailer(3000));
        if (c.user == ChildUser::unprivileged &&
            (::chown(scene.path.c_str(), 0, 0) != 0 || ::chmod(scene.path.c_str(), 0666) != 0)) {
            GTEST_SKIP() << "only root can hand the file to another owner";
        }
        const Bytes before = ReadFileBytes(scene.path);
        const int other = ::open(scene.path.c_str(),
                                 (c.otherRemoves ? O_RDONLY : O_WRONLY | O_APPEND) | O_CLOEXEC);
        ASSERT_TRUE(!c.otherRemoves || ::flock(other, LOCK_EX) == 0);
        Ending ending = InChild<Ending>(
            c.user, [&] { return RunOperation(c.operation, scene.dir, "lied.mp3"); });
        ::close(other);
        EXPECT_STREQ(ending.text, c.ending);
        EXPECT_EQ(ReadFileBytes(scene.path) == before, c.user == ChildUser::same);
    }
}

struct FullDiskCase {
    const char* name;
    Operation operation;
    Bytes content;
    long long limit; // the file-size limit that stands for the full disk
};

// The limit lets a write through part-way before it fails, so that a partial
// trailer or a partial copy would be seen.
TEST(FullDisk, PartWayFailureLeavesTheFileAsItWas) {
    const std::size_t payload = 3000;
    const FullDiskCase cases[] = {
        {"append", Operation::write, PatternBytes(payload), payload + 64},
        {"overwrite", Operation::write, WithTrailer(payload), payload + 64},
        {"blank", Operation::blank, WithTrailer(payload), payload + 64},
        {"remove", Operation::remove, WithTrailer(payload), 1000},
        {"remove, in a later step of the kernel's copy", Operation::remove,
         WithTrailer((3 << 20) + 50), (1 << 20) + 50},
    };
    for (const FullDiskCase& c : cases) {
        SCOPED_TRACE(c.name);
        Scene scene(c.content);
        Ending ending = InChild<Ending>(ChildUser::same, [&] {
            test::LimitFileSize(c.limit);
            return RunOperation(c.operation, scene.dir, "lied.mp3");
        });
        const bool remove = c.operation == Operation::remove;
        EXPECT_STREQ(ending.text, remove ? "failed diskFull" : "error diskFull");
        EXPECT_EQ(ReadFileBytes(scene.path), c.content);
        EXPECT_EQ(scene.dir.names(), std::vector<std::string>{"lied.mp3"});
    }
}

// The copy writes the payload and nothing more: a limit of exactly its length
// is enough.
TEST(FullDisk, RemovalNeedsRoomForThePayloadOnly) {
    Scene scene(WithTrailer(5000));
    Ending ending = InChild<Ending>(ChildUser::same, [&] {
        test::LimitFileSize(5000);
        return RunOperation(Operation::remove, scene.dir, "lied.mp3");
    });
    EXPECT_STREQ(ending.text, "removed none");
    EXPECT_EQ(ReadFileBytes(scene.path), PatternBytes(5000));
}

// A removal killed while it copies leaves its copy behind, as large as what
// was copied; the next removal in that folder clears it away.
TEST(Killed, LeftoverCopyGoesWithTheNextRemovalInTheFolder) {
    TempDir dir;
    test::WriteFileBytes(dir.file("lied.mp3"), WithTrailer(3000));
    test::WriteFileBytes(dir.file("zwei.mp3"), WithTrailer(3000));
    EXPECT_FALSE(test::RunForked(ChildUser::same, nullptr, 0, [&](void*) {
        auto dieAtOnce = [](auto, auto) { return ::raise(SIGKILL) == 0; };
        (void)RemoveTagTrailer(dir.path(), "lied.mp3", dieAtOnce);
    }));
    ASSERT_EQ(dir.names().size(), 3u);
    EXPECT_STREQ(RunOperation(Operation::remove, dir, "zwei.mp3").text, "removed none");
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"lied.mp3", "zwei.mp3"}));
}

} // namespace
} // namespace tagwerk
