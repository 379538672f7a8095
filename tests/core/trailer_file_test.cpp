// The trailer operations on real files in a temporary directory.
#include "core/TrailerFile.h"
#include "support/Child.h"
#include "support/Printers.h"
#include "support/TagBytes.h"
#include "support/TempDir.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace tagwerk {
namespace {

using test::Bytes;
using test::Concat;
using test::PatternBytes;
using test::ReadFileBytes;
using test::TempDir;
using test::TrailerBytes;
using test::WriteFileBytes;

// A trailer laid out by hand: "TAG", the title padded with NULs, NULs up to
// the genre byte.
Bytes RawTrailer(const std::string& marker, const std::string& title, std::uint8_t genre) {
    Bytes trailer(kTrailerSize, 0);
    std::copy(marker.begin(), marker.end(), trailer.begin());
    std::copy(title.begin(), title.end(), trailer.begin() + 3);
    trailer.back() = genre;
    return trailer;
}

TagRecord SampleRecord() {
    return {"Lied", "K\xfcnstler", "Album", "99", "Kommentar", 17};
}

struct ReadCase {
    const char* name;
    Bytes content;
    bool found;
    std::string title;
};

TEST(ReadTagTrailer, FindsTheTrailerByTheFileLengthAlone) {
    const Bytes trailer = RawTrailer("TAG", "Abc", 17);
    const ReadCase cases[] = {
        {"empty", {}, false, ""},
        {"only a trailer, 128 bytes", trailer, false, ""},
        {"one byte and a trailer", Concat({0xFF}, trailer), true, "Abc"},
        {"payload and a trailer", Concat(PatternBytes(5000), trailer), true, "Abc"},
        {"lower-case marker", Concat(PatternBytes(10), RawTrailer("tag", "Abc", 17)), false, ""},
        {"trailer one byte before the end", Concat(Concat({1}, trailer), {0}), false, ""},
    };
    TempDir dir;
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFileBytes(dir.file("a.mp3"), c.content);
        ReadResult result = ReadTagTrailer(dir.file("a.mp3"));
        EXPECT_EQ(result.error, FileError::none);
        EXPECT_EQ(result.outcome, c.found ? ReadOutcome::trailerFound : ReadOutcome::noTrailer);
        EXPECT_EQ(result.record.title, c.title);
        EXPECT_EQ(result.record.genre, c.found ? 17 : kNoGenre);
        EXPECT_EQ(ReadFileBytes(dir.file("a.mp3")), c.content);
    }
}

struct WriteCase {
    const char* name;
    Bytes content;
    std::size_t kept;     // bytes before the new trailer
    std::uint8_t track{}; // the replaced trailer's, which the new one keeps
};

TagRecord WithTrack(TagRecord record, std::uint8_t track) {
    record.track = track;
    return record;
}

TEST(WriteTagTrailer, OverwritesTheTrailerOrAppendsOne) {
    const Bytes trailer = RawTrailer("TAG", "Alt", 3);
    const Bytes payload = PatternBytes(1000);
    const WriteCase cases[] = {
        {"empty file", {}, 0},
        {"no trailer", payload, 1000},
        {"with trailer", Concat(payload, trailer), 1000},
        {"only a trailer", trailer, 128},
        {"short file starting with TAG", RawTrailer("TAG", "", 0), 128},
        {"lower-case marker", Concat(payload, RawTrailer("tAG", "", 0)), 1128},
        {"trailer with a track", Concat(payload, TrailerBytes(WithTrack({}, 12))), 1000, 12},
    };
    TempDir dir;
    for (const WriteCase& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFileBytes(dir.file("a.mp3"), c.content);
        WriteResult result = WriteTagTrailer(dir.file("a.mp3"), SampleRecord());
        EXPECT_EQ(result.outcome, WriteOutcome::written);
        EXPECT_EQ(result.error, FileError::none);
        Bytes expected(c.content.begin(), c.content.begin() + std::ptrdiff_t(c.kept));
        const TagRecord written = WithTrack(SampleRecord(), c.track);
        EXPECT_EQ(ReadFileBytes(dir.file("a.mp3")), Concat(expected, TrailerBytes(written)));
        if (c.kept > 0) {
            EXPECT_EQ(ReadTagTrailer(dir.file("a.mp3")).record, written);
        }
    }
}

// The file was written after it was last read, so reading it would count.
TEST(WriteTagTrailer, ReadingTheOldTrailerLeavesTheTimeOfAccess) {
    TempDir dir;
    const std::string path = dir.file("a.mp3");
    WriteFileBytes(path, Concat(PatternBytes(1000), TrailerBytes(SampleRecord())));
    const timespec times[] = {{1'000'000'000, 0}, {1'100'000'000, 0}}; // access, change
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    ASSERT_EQ(WriteTagTrailer(path, SampleRecord()).outcome, WriteOutcome::written);
    struct stat status {};
    ASSERT_EQ(::stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_atim.tv_sec, 1'000'000'000);
}

TEST(UpdateTagTrailer, TheChangeSeesTheRecordOfTheTrailerItReplaces) {
    const Bytes payload = PatternBytes(1000);
    TempDir dir;
    const std::string path = dir.file("a.mp3");
    for (const bool tagged : {false, true}) {
        SCOPED_TRACE(tagged);
        WriteFileBytes(path, tagged ? Concat(payload, TrailerBytes(SampleRecord())) : payload);
        const WriteResult result = UpdateTagTrailer(path, [](std::optional<TagRecord> old) {
            TagRecord changed = old.value_or(TagRecord{"", "", "", "", "ohne", 0});
            changed.title = "Neu";
            return changed;
        });
        EXPECT_EQ(result.outcome, WriteOutcome::written);
        TagRecord expected = tagged ? SampleRecord() : TagRecord{"", "", "", "", "ohne", 0};
        expected.title = "Neu";
        EXPECT_EQ(ReadFileBytes(path), Concat(payload, TrailerBytes(expected)));
    }
}

TEST(BlankTagTrailer, BlanksOnlyAnExistingTrailer) {
    const Bytes payload = PatternBytes(777);
    const Bytes trailer = TrailerBytes(SampleRecord());
    TempDir dir;
    WriteFileBytes(dir.file("a.mp3"), Concat(payload, trailer));
    BlankResult result = BlankTagTrailer(dir.file("a.mp3"));
    EXPECT_EQ(result.outcome, BlankOutcome::blanked);
    Bytes blank(kTrailerSize, ' ');
    blank[0] = 'T', blank[1] = 'A', blank[2] = 'G', blank[127] = 0xFF;
    EXPECT_EQ(ReadFileBytes(dir.file("a.mp3")), Concat(payload, blank));

    for (const Bytes& content : {payload, trailer, Bytes{}}) {
        WriteFileBytes(dir.file("b.mp3"), content);
        EXPECT_EQ(BlankTagTrailer(dir.file("b.mp3")).outcome, BlankOutcome::noTrailer);
        EXPECT_EQ(ReadFileBytes(dir.file("b.mp3")), content);
    }
}

// The sink's calls as the removal promises them: p = 1, 101, ... for each
// whole 100-byte block, then every single remaining byte.
std::vector<std::int64_t> PromisedPositions(std::int64_t n) {
    std::vector<std::int64_t> positions;
    for (std::int64_t p = 1; p <= n / 100 * 100 - 99; p += 100) {
        positions.push_back(p);
    }
    for (std::int64_t p = n / 100 * 100 + 1; p <= n; ++p) {
        positions.push_back(p);
    }
    return positions;
}

class RemoveTagTrailerSizes : public testing::TestWithParam<std::int64_t> {};

TEST_P(RemoveTagTrailerSizes, CopiesThePayloadAndReportsEachBlockOnceWritten) {
    const std::int64_t n = GetParam();
    const Bytes payload = PatternBytes(std::size_t(n));
    TempDir dir;
    WriteFileBytes(dir.file("lied.mp3"), Concat(payload, RawTrailer("TAG", "x", 1)));
    std::vector<std::int64_t> positions;
    bool lengthsOk = true;
    auto sink = [&](std::int64_t p, std::int64_t total) {
        positions.push_back(p);
        lengthsOk = lengthsOk && total == n;
        // The bytes reported (a block, or a single byte at the end) are
        // already in the copy, the only other file.
        const std::int64_t reported = p <= n / 100 * 100 ? p + 99 : p;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
            if (entry.path().filename() != "lied.mp3" &&
                std::int64_t(entry.file_size()) < reported) {
                lengthsOk = false;
            }
        }
        return true;
    };
    RemoveResult result = RemoveTagTrailer(dir.path(), "lied.mp3", sink);
    EXPECT_EQ(result.outcome, RemoveOutcome::removed);
    EXPECT_EQ(ReadFileBytes(dir.file("lied.mp3")), payload);
    EXPECT_EQ(positions, PromisedPositions(n));
    EXPECT_TRUE(lengthsOk);
    EXPECT_EQ(dir.names(), std::vector<std::string>{"lied.mp3"});
}

// 1 byte: no block; 250: blocks and bytes; multiples of 100: blocks only;
// past 1 MiB the copy goes on in further steps, with blocks across their
// edges.
INSTANTIATE_TEST_SUITE_P(Payloads, RemoveTagTrailerSizes,
                         testing::Values(1, 99, 100, 101, 250, 1000, (64 << 10) + 1,
                                         3 * (64 << 10) + 57, (1 << 20) + 1));

template <int Error> long Refuse(int, std::int64_t, int, std::int64_t, std::size_t) {
    errno = Error;
    return -1;
}
long CopyNothing(int, std::int64_t, int, std::int64_t, std::size_t) {
    return 0;
}
long RefuseAfterFirstStep(int from, std::int64_t offset, int to, std::int64_t, std::size_t size) {
    return offset == 0 ? CopyFileRange(from, offset, to, offset, size)
                       : Refuse<EOPNOTSUPP>(0, 0, 0, 0, 0);
}
long StopShort(int from, std::int64_t offset, int to, std::int64_t, std::size_t size) {
    return CopyFileRange(from, offset, to, offset, std::min<std::size_t>(size, 4097));
}

// The copy made in the kernel, refused by the kernel or file system, done in
// part or aborted: the rest goes through the program, and the sink hears of
// each block once it is written, the last one being the block it aborted at.
TEST(RemoveTagTrailer, CopyInTheKernelRefusedDoneInPartOrAborted) {
    struct Case {
        const char* name;
        KernelCopyCall call;
        std::int64_t abortAt;
        RemoveOutcome outcome;
        FileError error;
    };
    const Case cases[] = {
        {"no such call", Refuse<ENOSYS>, 0, RemoveOutcome::removed, FileError::none},
        {"another file system", Refuse<EXDEV>, 0, RemoveOutcome::removed, FileError::none},
        {"invalid here", Refuse<EINVAL>, 0, RemoveOutcome::removed, FileError::none},
        {"not supported", Refuse<EOPNOTSUPP>, 0, RemoveOutcome::removed, FileError::none},
        {"nothing copied", CopyNothing, 0, RemoveOutcome::removed, FileError::none},
        {"refused after a step", RefuseAfterFirstStep, 0, RemoveOutcome::removed, FileError::none},
        {"stops short", StopShort, 0, RemoveOutcome::removed, FileError::none},
        {"read error", Refuse<EIO>, 0, RemoveOutcome::failed, FileError::ioError},
        // The block at 1,048,601 is the first of the second step (1 MiB on).
        {"abort in a later step", CopyFileRange, 1'048'601, RemoveOutcome::aborted,
         FileError::none},
    };
    const std::int64_t n = (1 << 20) + 1057;
    const Bytes original = Concat(PatternBytes(std::size_t(n)), RawTrailer("TAG", "a", 1));
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFileBytes(dir.file("lied.mp3"), original);
        const KernelCopyCall kernel = ReplaceKernelCopyCall(c.call);
        std::vector<std::int64_t> positions;
        const RemoveResult result = RemoveTagTrailer(dir.path(), "lied.mp3", [&](auto p, auto) {
            positions.push_back(p);
            return p != c.abortAt;
        });
        ReplaceKernelCopyCall(kernel);
        EXPECT_EQ(result.outcome, c.outcome);
        EXPECT_EQ(result.error, c.error);
        if (c.outcome == RemoveOutcome::removed) {
            EXPECT_EQ(ReadFileBytes(dir.file("lied.mp3")),
                      Bytes(original.begin(), original.end() - 128));
            EXPECT_EQ(positions, PromisedPositions(n));
        } else {
            EXPECT_EQ(ReadFileBytes(dir.file("lied.mp3")), original);
            EXPECT_EQ(positions.empty() ? 0 : positions.back(), c.abortAt);
        }
        EXPECT_EQ(dir.names(), std::vector<std::string>{"lied.mp3"});
    }
}

TEST(RemoveTagTrailer, LeavesFilesWithoutATrailerAndOtherFilesAlone) {
    TempDir dir;
    const Bytes userFile = PatternBytes(50);
    WriteFileBytes(dir.file("temp.tmp"), userFile);
    WriteFileBytes(dir.file("lied.mp3.tmp"), userFile);
    const Bytes contents[] = {
        {}, RawTrailer("TAG", "a", 1), Concat(PatternBytes(300), RawTrailer("TAg", "a", 1))};
    int sinkCalls = 0;
    auto sink = [&](std::int64_t, std::int64_t) { return ++sinkCalls > 0; };
    for (const Bytes& content : contents) {
        WriteFileBytes(dir.file("lied.mp3"), content);
        EXPECT_EQ(RemoveTagTrailer(dir.path(), "lied.mp3", sink).outcome, RemoveOutcome::noTrailer);
        EXPECT_EQ(ReadFileBytes(dir.file("lied.mp3")), content);
    }
    EXPECT_EQ(sinkCalls, 0);

    // Names close to those of the removal's copies, a link and a FIFO under
    // such a name, and the copy of a removal still running all stay.
    for (const char* name : {".tagwerk-abc.tmp.bak", ".tagwerk-abcdefg.tmp", ".tagwerk-abc_ef.tmp",
                             "tagwerk-abcdef.tmp"}) {
        WriteFileBytes(dir.file(name), userFile);
    }
    std::filesystem::create_symlink("temp.tmp", dir.file(".tagwerk-XXXXXX.tmp"));
    ASSERT_EQ(::mkfifo(dir.file(".tagwerk-fifo00.tmp").c_str(), 0644), 0);
    const Bytes tagged = Concat(PatternBytes(300), RawTrailer("TAG", "a", 1));
    WriteFileBytes(dir.file("lied.mp3"), tagged);
    WriteFileBytes(dir.file("zwei.mp3"), tagged);
    const std::vector<std::string> names = dir.names();
    // Another sweep and another removal while this copy is written; a
    // failure of the other removal aborts this one.
    auto removeAnotherMeanwhile = [&](std::int64_t p, std::int64_t) {
        if (p == 1)
            SweepLeftoverTemporaryFiles(dir.path());
        return p != 1 ||
               RemoveTagTrailer(dir.path(), "zwei.mp3", {}).outcome == RemoveOutcome::removed;
    };
    EXPECT_EQ(RemoveTagTrailer(dir.path(), "lied.mp3", removeAnotherMeanwhile).outcome,
              RemoveOutcome::removed);
    EXPECT_EQ(ReadFileBytes(dir.file(".tagwerk-XXXXXX.tmp")), userFile);
    EXPECT_EQ(ReadFileBytes(dir.file("lied.mp3.tmp")), userFile);
    EXPECT_EQ(dir.names(), names);
}

TEST(RemoveTagTrailer, AbortsOnlyInTheBlockPhase) {
    TempDir dir;
    const Bytes original = Concat(PatternBytes(1050), RawTrailer("TAG", "a", 1));
    struct Case {
        std::int64_t abortAt;
        RemoveOutcome outcome;
    };
    // Blocks at 1 to 901, then single bytes 1001 to 1050.
    for (Case c : {Case{1, RemoveOutcome::aborted}, Case{501, RemoveOutcome::aborted},
                   Case{901, RemoveOutcome::aborted}, Case{1001, RemoveOutcome::removed},
                   Case{1026, RemoveOutcome::removed}}) {
        SCOPED_TRACE(c.abortAt);
        WriteFileBytes(dir.file("lied.mp3"), original);
        std::int64_t last = 0;
        auto sink = [&](std::int64_t p, std::int64_t) { return (last = p) != c.abortAt; };
        EXPECT_EQ(RemoveTagTrailer(dir.path(), "lied.mp3", sink).outcome, c.outcome);
        if (c.outcome == RemoveOutcome::aborted) {
            EXPECT_EQ(last, c.abortAt);
            EXPECT_EQ(ReadFileBytes(dir.file("lied.mp3")), original);
        } else {
            EXPECT_EQ(last, 1050);
        }
        EXPECT_EQ(dir.names(), std::vector<std::string>{"lied.mp3"});
    }
}

// Whether a program waits to open the file with inode `inode` for a lease
// to be let go.
bool LeaseBreaking(ino_t inode) {
    std::ifstream locks("/proc/locks");
    const std::string file = ":" + std::to_string(inode) + " ";
    for (std::string line; std::getline(locks, line);) {
        if (line.find("BREAKING") != std::string::npos && line.find(file) != std::string::npos)
            return true;
    }
    return false;
}

// Another program changes the file while the copy is made: its change stays
// and the copy is dropped. Holding a lease, the removal makes a program that
// opens the file wait, and then leaves the file to it; without one (an
// ordinary user's removal of a file of root's) it sees the change afterwards.
TEST(RemoveTagTrailer, FileChangedMeanwhileStaysAsTheOtherProgramLeftIt) {
    namespace fs = std::filesystem;
    const Bytes original = Concat(PatternBytes(1000), RawTrailer("TAG", "a", 1));
    const Bytes other(original.size(), 'x');
    TempDir dir;
    test::GiveToChildUser(dir.path());
    const std::string path = dir.file("lied.mp3");
    struct Change {
        std::function<void()> change;
        Bytes left;
        bool opensTheFile;
    };
    const Change changes[] = {
        {[&] { std::ofstream(path, std::ios::app) << "xyz"; }, Concat(original, {'x', 'y', 'z'}),
         true},
        {[&] { fs::resize_file(path, 500); }, Bytes(original.begin(), original.begin() + 500),
         true},
        // Same file, same length: the modification time, a microsecond on, tells.
        {[&] {
             const auto modified = fs::last_write_time(path);
             WriteFileBytes(path, other);
             fs::last_write_time(path, modified + std::chrono::microseconds(1));
         },
         other, true},
        // Same length: that it is another file tells.
        {[&] {
             WriteFileBytes(path + ".neu", other);
             fs::rename(path + ".neu", path);
         },
         other, false},
    };
    for (const Change& c : changes) {
        WriteFileBytes(path, original);
        struct stat status {};
        ASSERT_EQ(::stat(path.c_str(), &status), 0);
        std::thread otherProgram;
        auto sink = [&](std::int64_t p, std::int64_t) {
            if (p == 1 && c.opensTheFile) {
                otherProgram = std::thread(c.change);
                for (int waited = 0; waited < 5000 && !LeaseBreaking(status.st_ino); ++waited)
                    ::usleep(1000);
            } else if (p == 1) {
                c.change();
            }
            return true;
        };
        RemoveResult result = RemoveTagTrailer(dir.path(), "lied.mp3", sink);
        if (otherProgram.joinable())
            otherProgram.join();
        EXPECT_EQ(result.outcome, RemoveOutcome::failed);
        EXPECT_EQ(result.error,
                  c.opensTheFile ? FileError::beingWritten : FileError::changedMeanwhile);
        EXPECT_EQ(ReadFileBytes(path), c.left);
        EXPECT_EQ(dir.names(), std::vector<std::string>{"lied.mp3"});
    }
    if (::geteuid() != 0)
        return;
    WriteFileBytes(path, original);
    ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
    const FileError unleased = test::InChild<FileError>(test::ChildUser::unprivileged, [&] {
        auto appendAtOnce = [&](std::int64_t p, std::int64_t) {
            return p != 1 || (changes[0].change(), true);
        };
        return RemoveTagTrailer(dir.path(), "lied.mp3", appendAtOnce).error;
    });
    EXPECT_EQ(unleased, FileError::changedMeanwhile);
    EXPECT_EQ(ReadFileBytes(path), changes[0].left);
}

TEST(RemoveTagTrailer, KeepsPermissionBitsAndOwner) {
    TempDir dir;
    const std::string path = dir.file("lied.mp3");
    WriteFileBytes(path, Concat(PatternBytes(400), RawTrailer("TAG", "a", 1)));
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
    }
    ASSERT_EQ(RemoveTagTrailer(dir.path(), "lied.mp3", {}).outcome, RemoveOutcome::removed);
    struct stat status {};
    ASSERT_EQ(::stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    EXPECT_EQ(status.st_size, 400);
    if (root) {
        EXPECT_EQ(status.st_uid, 65534u);
        EXPECT_EQ(status.st_gid, 65534u);
    }
}

TEST(TrailerFile, SymbolicLinkStaysALinkAndItsTargetChanges) {
    TempDir dir;
    std::filesystem::create_directory(dir.file("music"));
    const std::string target = dir.file("music/lied.mp3");
    const Bytes payload = PatternBytes(600);
    WriteFileBytes(target, payload);
    std::filesystem::create_symlink("music/lied.mp3", dir.file("link.mp3"));

    ASSERT_EQ(WriteTagTrailer(dir.file("link.mp3"), SampleRecord()).outcome, WriteOutcome::written);
    EXPECT_EQ(ReadTagTrailer(dir.file("link.mp3")).record, SampleRecord());
    ASSERT_EQ(RemoveTagTrailer(dir.path(), "link.mp3", {}).outcome, RemoveOutcome::removed);

    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.mp3")));
    EXPECT_EQ(ReadFileBytes(target), payload);
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"link.mp3", "music"}));
    EXPECT_EQ(std::filesystem::directory_iterator(dir.file("music"))->path().filename(),
              "lied.mp3");
}

// A Unix socket's name, which open() refuses outright (ENXIO).
void MakeSocket(const std::string& path) {
    sockaddr_un address{AF_UNIX, {}};
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    const int descriptor = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(::bind(descriptor, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(descriptor);
}

// A FIFO would block an ordinary open until someone writes into it.
TEST(TrailerFile, MissingFileOrNoRegularFileIsAnErrorAndNothingIsCreated) {
    TempDir dir;
    std::filesystem::create_directory(dir.file("sub.mp3"));
    ASSERT_EQ(::mkfifo(dir.file("fifo.mp3").c_str(), 0644), 0);
    MakeSocket(dir.file("socket.mp3"));
    const std::vector<std::string> names{"fifo.mp3", "socket.mp3", "sub.mp3"};
    struct Case {
        std::string name;
        FileError error;
    };
    for (const Case& c :
         {Case{"missing.mp3", FileError::notFound}, Case{"nodir/missing.mp3", FileError::notFound},
          Case{"sub.mp3", FileError::notAFile}, Case{"fifo.mp3", FileError::notAFile},
          Case{"socket.mp3", FileError::notAFile}}) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.file(c.name);
        ReadResult read = ReadTagTrailer(path);
        EXPECT_EQ(read.outcome, ReadOutcome::error);
        EXPECT_EQ(read.error, c.error);
        WriteResult written = WriteTagTrailer(path, SampleRecord());
        EXPECT_EQ(written.outcome, WriteOutcome::error);
        EXPECT_EQ(written.error, c.error);
        BlankResult blanked = BlankTagTrailer(path);
        EXPECT_EQ(blanked.outcome, BlankOutcome::error);
        EXPECT_EQ(blanked.error, c.error);
        RemoveResult removed = RemoveTagTrailer(dir.path(), c.name, {});
        EXPECT_EQ(removed.outcome, RemoveOutcome::failed);
        EXPECT_EQ(removed.error, c.error);
        EXPECT_EQ(dir.names(), names);
    }
}

// A sparse file: the trailer sits beyond the first 4 GiB.
TEST(TrailerFile, WorksBeyondFourGibibytes) {
    TempDir dir;
    const std::string path = dir.file("gross.mp3");
    const std::int64_t length = (std::int64_t{1} << 32) + 1000;
    WriteFileBytes(path, PatternBytes(100));
    std::filesystem::resize_file(path, std::uintmax_t(length));

    ASSERT_EQ(WriteTagTrailer(path, SampleRecord()).outcome, WriteOutcome::written);
    EXPECT_EQ(std::int64_t(std::filesystem::file_size(path)), length + 128);
    EXPECT_EQ(ReadTagTrailer(path).record, SampleRecord());
    ASSERT_EQ(WriteTagTrailer(path, TagRecord{"Neu", "", "", "", "", 2}).outcome,
              WriteOutcome::written);
    EXPECT_EQ(ReadTagTrailer(path).record.title, "Neu");
    EXPECT_EQ(BlankTagTrailer(path).outcome, BlankOutcome::blanked);
    EXPECT_EQ(ReadTagTrailer(path).record, TagRecord{});
    EXPECT_EQ(std::int64_t(std::filesystem::file_size(path)), length + 128);
}

} // namespace
} // namespace tagwerk
