#pragma once
// A walk over the frames of the ID3v2 tag at the start of a file, ID3v2.2,
// 2.3 or 2.4. A damaged frame is stepped over by its declared size where
// that stays inside the tag; else the walk ends there. Only the frames asked
// for are read, and of each only its first bytes: whatever sizes a tag
// declares, the walk holds a few blocks of 64 KiB at most. It ends after
// 100,000 frames.
#include "id3v2/TagStream.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tagwerk {

// Of a frame's body no more than this is read, after unsynchronisation is
// undone and what is compressed inflated: texts longer than that are far
// longer than any field of a trailer.
inline constexpr std::size_t kFrameBodyLimit = 1024;

struct Id3v2Frame {
    std::string id;   // an ID3v2.2 id as that of 2.3 ("TT2" is "TIT2")
    std::string body; // its first bytes, up to kFrameBodyLimit
};

class FrameWalk {
public:
    // Nothing when the file does not start with a tag of these versions, or
    // with one whose whole content is compressed (ID3v2.2).
    static std::optional<FrameWalk> Start(const File& file, std::int64_t length);

    int majorVersion() const { return version_; }

    // The next intact frame whose id `wanted` accepts, or nothing at the end.
    // Encrypted frames, and frames that do not inflate, count as damaged.
    std::optional<Id3v2Frame> next(const std::function<bool(std::string_view id)>& wanted);

private:
    FrameWalk(const File& file, std::int64_t tagEnd, std::int64_t length, int version);

    bool skipExtendedHeader();
    std::uint64_t frameSize(std::string_view sizeBytes);
    bool framesOn(std::int64_t offset);
    std::optional<std::string> body(const std::string& raw, unsigned char flags) const;

    TagStream stream_;
    std::int64_t tagEnd_;
    int version_;
    bool framesUnsynchronised_ = false; // ID3v2.4: each frame by itself
    int frames_ = 0;
};

} // namespace tagwerk
