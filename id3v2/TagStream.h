#pragma once
// The bytes of an ID3v2 tag, read from the file in blocks: however large a
// tag or a frame says it is, no more than one block is held, and what is
// stepped over is not read (unless unsynchronisation must be undone on the
// way).
#include "core/FileIo.h"

#include <cstdint>
#include <string>

namespace tagwerk {

class TagStream {
public:
    // The file's bytes up to `end` (at most its length), from its start.
    TagStream(const File& file, std::int64_t end);

    // From here on, a 0x00 after 0xFF is dropped, as the unsynchronisation
    // of a whole ID3v2.2 or 2.3 tag asks; sizes count what is left.
    void undoUnsynchronisation() { unsynchronised_ = true; }

    // The next `count` bytes (at most a block), fewer where the stream ends.
    std::string read(std::size_t count);
    // Steps over `count` bytes; false when the stream ends before.
    bool skip(std::uint64_t count);

    // The position in the file, and a way back to one read before (where
    // no 0xFF came just before it).
    std::int64_t position() const { return position_; }
    void seek(std::int64_t position);

    // Up to `count` bytes at `offset` of the file, without moving.
    std::string peek(std::int64_t offset, std::size_t count);

private:
    // The byte at the position, loading its block; false at the end.
    bool load(std::int64_t offset);

    const File& file_;
    std::int64_t end_;
    std::int64_t position_ = 0;
    bool unsynchronised_ = false;
    bool afterFf_ = false;
    std::string block_;
    std::int64_t blockStart_ = 0;
};

// A frame body unsynchronised by itself (ID3v2.4), with 0x00 after 0xFF dropped.
std::string Resynchronised(const std::string& bytes);

} // namespace tagwerk
