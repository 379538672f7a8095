#pragma once
// The file-level trailer operations. Each opens the file, does its work and
// closes it again; none throws, and each says how it ended and why it failed.
// Paths are in the file system's own encoding (UTF-8 here). Offsets are
// 64-bit, so files over 4 GiB work. A missing file is an error and is never
// created. Those that change a file tell an optional observer, right before
// they change it, how they will leave it.
#include "core/FileError.h"
#include "core/FileIo.h"
#include "core/TagTrailer.h"
#include "core/TrailerChange.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace tagwerk {

// Which files can end in a trailer: those longer than 128 bytes, as in the
// editor, or also a file of exactly 128 bytes that is nothing but a trailer,
// as every other reader of trailers has it.
enum class TrailerRule { longerFile, trailerOnlyToo };

// Whether an open file of the given length ends in a trailer: the rule lets
// its length count and its last 128 bytes begin with "TAG". They are read in
// one go, so that whoever goes on to decode or replace them has them at hand.
struct FindResult {
    bool found = false;
    TagTrailer trailer{}; // the file's last 128 bytes, whenever the rule lets its length count
    FileError error = FileError::none;
};
FindResult FindTagTrailer(const File& file, std::int64_t length,
                          TrailerRule rule = TrailerRule::longerFile);

enum class ReadOutcome { noTrailer, trailerFound, error };
struct ReadResult {
    ReadOutcome outcome = ReadOutcome::error;
    TagRecord record; // only with trailerFound
    FileError error = FileError::none;
};
ReadResult ReadTagTrailer(const std::string& path, TrailerRule rule = TrailerRule::longerFile);

// Writes the encoded record over the trailer the file ends in, or appends it
// (also to files of 128 bytes or less). An append that fails part-way is cut
// back to the old length. A file another program has open for writing is not
// written (beingWritten), and what another program appended is never written
// over (changedMeanwhile). A record without a track number keeps that of the
// trailer it replaces.
enum class WriteOutcome { written, error };
struct WriteResult {
    WriteOutcome outcome = WriteOutcome::error;
    FileError error = FileError::none;
};
WriteResult WriteTagTrailer(const std::string& path, const TagRecord& record,
                            TrailerChangeObserver* observer = nullptr);

// Writes what `change` makes of the record of the trailer the file ends in
// (none when it has no trailer), as WriteTagTrailer does. Reading and writing
// go through one open file, so that the change rests on the trailer it
// replaces.
using TrailerChange = std::function<TagRecord(const std::optional<TagRecord>& old)>;
WriteResult UpdateTagTrailer(const std::string& path, const TrailerChange& change,
                             TrailerChangeObserver* observer = nullptr,
                             TrailerRule rule = TrailerRule::longerFile);

// Progress of a removal: called with the 1-based position p of the first byte
// of each 100-byte block copied (p = 1, 101, 201, ...), then of each single
// byte of the remainder, and the payload length n (file length - 128).
// Returning false asks to abort; it is honoured only in the block phase.
using RemoveProgressSink = std::function<bool(std::int64_t p, std::int64_t n)>;

// Removes the trailer: the payload is copied into an exclusively created
// temporary file in the same directory, synced, and renamed over the file in
// one atomic step. After a failure or an abort the file is byte for byte as
// before and no temporary file is left; a file that another program changed
// while it was copied stays as that program left it (changedMeanwhile), and
// one that another program has open for writing, or asks to open while it is
// copied, stays for that program to write (beingWritten), as does one that
// another removal is copying. A file that cannot be written fails as a save
// would, though it is only asked whether it could be: it is replaced, never
// written. The new file keeps the permission bits (and, where the system
// allows it, owner and group, or at least the group); a symbolic link stays a
// link and its target is shortened.
// Copies left in the target's directory by removals that were killed go
// first. The sink is called once the bytes it reports are written.
// `directory` ends in the separator; the path is directory + fileName.
enum class RemoveOutcome { noTrailer, removed, failed, aborted };
struct RemoveResult {
    RemoveOutcome outcome = RemoveOutcome::failed;
    FileError error = FileError::none;
};
RemoveResult RemoveTagTrailer(const std::string& directory, const std::string& fileName,
                              const RemoveProgressSink& sink,
                              TrailerChangeObserver* observer = nullptr,
                              TrailerRule rule = TrailerRule::longerFile);

// Overwrites an existing trailer in place with the blank one; a file without
// a trailer is not written.
enum class BlankOutcome { noTrailer, blanked, error };
struct BlankResult {
    BlankOutcome outcome = BlankOutcome::error;
    FileError error = FileError::none;
};
BlankResult BlankTagTrailer(const std::string& path, TrailerChangeObserver* observer = nullptr,
                            TrailerRule rule = TrailerRule::longerFile);

} // namespace tagwerk
