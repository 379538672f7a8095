#pragma once
// The bytes of tags for test files: ID3v1 trailers and ID3v2 tags made by
// hand. Inline, since only the programs that link the core use them.
#include "core/TagTrailer.h"
#include "support/TempDir.h"

#include <algorithm>
#include <string>

namespace tagwerk::test {

// The trailer the program writes for the record.
inline Bytes TrailerBytes(const TagRecord& record) {
    const TagTrailer trailer = EncodeTagTrailer(record);
    return Bytes(trailer.begin(), trailer.end());
}

// `payload` pattern bytes and a trailer of pattern bytes behind "TAG".
inline Bytes WithTrailer(std::size_t payload) {
    Bytes trailer = PatternBytes(kTrailerSize);
    std::copy_n("TAG", 3, trailer.begin());
    return Concat(PatternBytes(payload), trailer);
}

// A text frame's body in ISO-8859-1: the encoding byte 0, then the text.
inline std::string Latin1(const std::string& text) {
    return '\0' + text;
}

// A frame of ID3v2.3 or 2.4 (four-letter id, two flag bytes) or of 2.2
// (three letters, no flags). Its size is plain; for a body of 128 bytes or
// more, ID3v2.4 wants a syncsafe one, which some writers did not give.
inline std::string Id3v2Frame(const std::string& id, const std::string& body,
                              const std::string& flags = std::string(2, '\0')) {
    std::string frame = id;
    for (int shift = id.size() == 3 ? 16 : 24; shift >= 0; shift -= 8)
        frame += static_cast<char>(body.size() >> shift & 0xFF);
    return frame + (id.size() == 3 ? "" : flags) + body;
}

// The tag's header and its frames; `size` stands in the header instead of
// the frames' length when given.
inline std::string Id3v2TagBytes(int version, const std::string& frames, char flags = 0,
                                 std::size_t size = std::string::npos) {
    size = size == std::string::npos ? frames.size() : size;
    std::string tag = std::string("ID3") + static_cast<char>(version) + '\0' + flags;
    for (int shift = 21; shift >= 0; shift -= 7)
        tag += static_cast<char>(size >> shift & 0x7F);
    return tag + frames;
}

} // namespace tagwerk::test
