#include "id3v2/FrameWalk.h"

#include <algorithm>
#include <array>
#include <zlib.h>

namespace tagwerk {

namespace {

constexpr std::size_t kHeaderSize = 10;
// Of a compressed frame no more than this is read: far more than what
// inflates to kFrameBodyLimit, unless the frame is made to waste it.
constexpr std::size_t kPackedLimit = 64 * 1024;
// Far more frames than any tagger writes; a tag made of millions of empty
// frames ends there, so that walking it takes no time worth noticing.
constexpr int kMostFrames = 100'000;

// Header flags.
constexpr unsigned char kUnsynchronised = 0x80;
constexpr unsigned char kExtendedHeader = 0x40; // compression in ID3v2.2

// Frame flags (the second byte): ID3v2.3, then ID3v2.4.
constexpr unsigned char kCompressed3 = 0x80, kEncrypted3 = 0x40, kGrouped3 = 0x20;
constexpr unsigned char kGrouped4 = 0x40, kCompressed4 = 0x08, kEncrypted4 = 0x04,
                        kUnsynchronised4 = 0x02, kDataLength4 = 0x01;

// The ids of ID3v2.2 whose frames are ever wanted, as those of 2.3.
constexpr std::array<std::pair<std::string_view, std::string_view>, 7> kIds22{{
    {"TT2", "TIT2"},
    {"TP1", "TPE1"},
    {"TAL", "TALB"},
    {"TYE", "TYER"},
    {"COM", "COMM"},
    {"TCO", "TCON"},
    {"TRK", "TRCK"},
}};

std::uint64_t BigEndian(std::string_view bytes) {
    std::uint64_t value = 0;
    for (const char byte : bytes)
        value = value << 8 | static_cast<unsigned char>(byte);
    return value;
}

std::uint64_t Syncsafe(std::string_view bytes) {
    std::uint64_t value = 0;
    for (const char byte : bytes)
        value = value << 7 | (static_cast<unsigned char>(byte) & 0x7F);
    return value;
}

bool IsSyncsafe(std::string_view bytes) {
    return std::none_of(bytes.begin(), bytes.end(), [](char byte) { return byte & 0x80; });
}

bool IsFrameId(std::string_view id) {
    return std::all_of(id.begin(), id.end(),
                       [](char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); });
}

// At most kFrameBodyLimit bytes of what the zlib data inflate to, as far as
// they are intact; nothing when they are no zlib data.
std::optional<std::string> Inflated(std::string_view packed) {
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        return std::nullopt;
    std::string text(kFrameBodyLimit, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
    stream.avail_in = static_cast<uInt>(packed.size());
    stream.next_out = reinterpret_cast<Bytef*>(text.data());
    stream.avail_out = static_cast<uInt>(text.size());
    const int result = inflate(&stream, Z_NO_FLUSH);
    text.resize(text.size() - stream.avail_out);
    inflateEnd(&stream);
    if (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR)
        return std::nullopt;
    return text;
}

} // namespace

FrameWalk::FrameWalk(const File& file, std::int64_t tagEnd, std::int64_t length, int version)
    : stream_(file, std::min(tagEnd, length)), tagEnd_(tagEnd), version_(version) {
    stream_.seek(kHeaderSize);
}

std::optional<FrameWalk> FrameWalk::Start(const File& file, std::int64_t length) {
    std::string header(kHeaderSize, '\0');
    if (length < static_cast<std::int64_t>(kHeaderSize) ||
        file.readAt(0, header.data(), header.size()) != FileError::none ||
        !header.starts_with("ID3"))
        return std::nullopt;
    const int version = header[3];
    const auto flags = static_cast<unsigned char>(header[5]);
    if (version < 2 || version > 4 || (version == 2 && (flags & kExtendedHeader)))
        return std::nullopt;
    const std::string_view size = std::string_view(header).substr(6);
    const std::int64_t tagEnd =
        kHeaderSize +
        static_cast<std::int64_t>(IsSyncsafe(size) ? Syncsafe(size) : BigEndian(size));
    FrameWalk walk(file, tagEnd, length, version);
    if (flags & kUnsynchronised) {
        if (version == 4)
            walk.framesUnsynchronised_ = true;
        else
            walk.stream_.undoUnsynchronisation();
    }
    if (version >= 3 && (flags & kExtendedHeader) && !walk.skipExtendedHeader())
        return std::nullopt;
    return walk;
}

// The size of an ID3v2.3 extended header leaves out its own four bytes, that
// of 2.4 counts them. Some taggers set the flag but write no such header.
bool FrameWalk::skipExtendedHeader() {
    const std::int64_t start = stream_.position();
    const std::string size = stream_.read(4);
    if (size.size() == 4 && IsFrameId(size)) {
        stream_.seek(start);
        return true;
    }
    if (version_ == 3)
        return stream_.skip(BigEndian(size));
    return stream_.skip(std::max<std::uint64_t>(Syncsafe(size), 4) - 4);
}

// Sizes of ID3v2.4 frames are syncsafe, but some writers put plain ones:
// where the two differ, the one after which the next frame (or the end of
// the tag, or its padding) follows wins.
std::uint64_t FrameWalk::frameSize(std::string_view sizeBytes) {
    if (version_ < 4)
        return BigEndian(sizeBytes);
    const std::uint64_t plain = BigEndian(sizeBytes);
    if (!IsSyncsafe(sizeBytes))
        return plain;
    const std::uint64_t syncsafe = Syncsafe(sizeBytes);
    const std::int64_t body = stream_.position();
    const auto framesAfter = [&](std::uint64_t size) {
        return size <= static_cast<std::uint64_t>(tagEnd_ - body) &&
               framesOn(body + static_cast<std::int64_t>(size));
    };
    return syncsafe == plain || framesAfter(syncsafe) || !framesAfter(plain) ? syncsafe : plain;
}

bool FrameWalk::framesOn(std::int64_t offset) {
    if (offset >= tagEnd_)
        return offset == tagEnd_;
    const std::string next = stream_.peek(offset, 4);
    return !next.empty() && (next[0] == '\0' || (next.size() == 4 && IsFrameId(next)));
}

std::optional<Id3v2Frame> FrameWalk::next(const std::function<bool(std::string_view)>& wanted) {
    const std::size_t idSize = version_ == 2 ? 3 : 4;
    const std::size_t headerSize = version_ == 2 ? 6 : kHeaderSize;
    for (;;) {
        if (++frames_ > kMostFrames)
            return std::nullopt;
        const std::string header = stream_.read(headerSize);
        // A NUL where an id would begin is padding: no frame follows.
        if (header.size() < headerSize || header[0] == '\0')
            return std::nullopt;
        std::string id = header.substr(0, idSize);
        const std::uint64_t size = frameSize(std::string_view(header).substr(idSize, idSize));
        if (size > static_cast<std::uint64_t>(tagEnd_ - stream_.position()))
            return std::nullopt;
        if (version_ == 2) {
            const auto known = std::find_if(kIds22.begin(), kIds22.end(),
                                            [&](const auto& ids) { return ids.first == id; });
            if (known != kIds22.end())
                id = known->second;
        }
        const auto flags = static_cast<unsigned char>(version_ == 2 ? 0 : header[9]);
        if (size == 0 || !IsFrameId(id) || !wanted(id)) {
            if (!stream_.skip(size))
                return std::nullopt;
            continue;
        }
        const bool compressed = flags & (version_ == 3 ? kCompressed3 : kCompressed4);
        const std::string raw = stream_.read(static_cast<std::size_t>(
            std::min<std::uint64_t>(size, compressed ? kPackedLimit : 2 * kFrameBodyLimit + 16)));
        // A frame the end of the file cuts gives what there is of it.
        (void)stream_.skip(size - raw.size());
        if (std::optional<std::string> bytes = body(raw, flags))
            return Id3v2Frame{std::move(id), std::move(*bytes)};
    }
}

// The frame's data behind the bytes its flags add to the header.
std::optional<std::string> FrameWalk::body(const std::string& raw, unsigned char flags) const {
    std::size_t added = 0;
    bool compressed = false;
    bool unsynchronised = false;
    if (version_ == 3) {
        if (flags & kEncrypted3)
            return std::nullopt;
        compressed = flags & kCompressed3;
        added = (compressed ? 4 : 0) + ((flags & kGrouped3) ? 1 : 0);
    } else if (version_ == 4) {
        if (flags & kEncrypted4)
            return std::nullopt;
        compressed = flags & kCompressed4;
        unsynchronised = framesUnsynchronised_ || (flags & kUnsynchronised4);
        added = ((flags & kGrouped4) ? 1 : 0) + ((flags & kDataLength4) ? 4 : 0);
    }
    if (raw.size() < added)
        return std::nullopt;
    std::string bytes = raw.substr(added);
    if (unsynchronised)
        bytes = Resynchronised(bytes);
    if (compressed)
        return Inflated(bytes);
    bytes.resize(std::min(bytes.size(), kFrameBodyLimit));
    return bytes;
}

} // namespace tagwerk
