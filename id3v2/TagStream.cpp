#include "id3v2/TagStream.h"

#include <algorithm>

namespace tagwerk {

namespace {

// Large enough that an ordinary tag comes in one read.
constexpr std::size_t kBlockSize = 64 * 1024;

// Unsynchronisation put a 0x00 after every 0xFF; whether `byte` is one.
bool DroppedByUnsynchronisation(char byte, bool& afterFf) {
    const bool dropped = afterFf && byte == '\0';
    afterFf = byte == '\xff';
    return dropped;
}

} // namespace

TagStream::TagStream(const File& file, std::int64_t end) : file_(file), end_(end) {}

bool TagStream::load(std::int64_t offset) {
    if (offset >= end_)
        return false;
    if (offset >= blockStart_ && offset < blockStart_ + static_cast<std::int64_t>(block_.size()))
        return true;
    block_.resize(static_cast<std::size_t>(std::min<std::int64_t>(kBlockSize, end_ - offset)));
    if (file_.readAt(offset, block_.data(), block_.size()) != FileError::none) {
        block_.clear();
        end_ = offset; // what cannot be read ends the tag
        return false;
    }
    blockStart_ = offset;
    return true;
}

std::string TagStream::read(std::size_t count) {
    count = std::min(count, kBlockSize);
    if (!unsynchronised_ && load(position_)) {
        const auto offset = static_cast<std::size_t>(position_ - blockStart_);
        if (offset + count <= block_.size()) {
            position_ += static_cast<std::int64_t>(count);
            return block_.substr(offset, count);
        }
    }
    std::string bytes;
    while (bytes.size() < count && load(position_)) {
        const char byte = block_[static_cast<std::size_t>(position_ - blockStart_)];
        ++position_;
        if (!unsynchronised_ || !DroppedByUnsynchronisation(byte, afterFf_))
            bytes += byte;
    }
    return bytes;
}

bool TagStream::skip(std::uint64_t count) {
    if (!unsynchronised_) {
        if (count > static_cast<std::uint64_t>(end_ - position_))
            return false;
        position_ += static_cast<std::int64_t>(count);
        return true;
    }
    // Every byte has to be looked at, but none is kept: a block that ends
    // before the skip does is only counted, in a loop the compiler unrolls.
    while (count > 0) {
        if (!load(position_))
            return false;
        std::size_t i = static_cast<std::size_t>(position_ - blockStart_);
        const auto* bytes = reinterpret_cast<const unsigned char*>(block_.data());
        std::size_t dropped = afterFf_ && bytes[i] == 0 ? 1 : 0;
        for (std::size_t j = i + 1; j < block_.size(); ++j)
            dropped += static_cast<std::size_t>((bytes[j] == 0) & (bytes[j - 1] == 0xFF));
        if (block_.size() - i - dropped <= count) {
            count -= block_.size() - i - dropped;
            position_ = blockStart_ + static_cast<std::int64_t>(block_.size());
            afterFf_ = bytes[block_.size() - 1] == 0xFF;
            continue;
        }
        for (; i < block_.size() && count > 0; ++i) {
            if (!DroppedByUnsynchronisation(block_[i], afterFf_))
                --count;
        }
        position_ = blockStart_ + static_cast<std::int64_t>(i);
    }
    return true;
}

void TagStream::seek(std::int64_t position) {
    position_ = position;
    afterFf_ = false;
}

std::string TagStream::peek(std::int64_t offset, std::size_t count) {
    const std::int64_t saved = position_;
    const bool savedAfterFf = afterFf_;
    const bool savedUnsynchronised = unsynchronised_;
    seek(offset);
    unsynchronised_ = false;
    std::string bytes = read(count);
    position_ = saved;
    afterFf_ = savedAfterFf;
    unsynchronised_ = savedUnsynchronised;
    return bytes;
}

std::string Resynchronised(const std::string& bytes) {
    std::string result;
    result.reserve(bytes.size());
    bool afterFf = false;
    for (const char byte : bytes) {
        if (!DroppedByUnsynchronisation(byte, afterFf))
            result += byte;
    }
    return result;
}

} // namespace tagwerk
