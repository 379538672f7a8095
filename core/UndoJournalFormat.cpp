#include "core/UndoJournalFormat.h"

#include <cstring>

namespace tagwerk {

namespace {

constexpr std::string_view kMagic = "TAGWERK-UNDO";
constexpr std::uint8_t kVersion = 1;
constexpr char kHeaderType = 1;
constexpr char kChangeType = 2;
constexpr std::size_t kSizeBytes = 4;
constexpr std::size_t kCheckBytes = 8;
constexpr std::size_t kHeaderBytes = 1 + kMagic.size() + 3;
constexpr std::size_t kStateBytes = 8 + kTrailerSize;
constexpr auto kTrailerLength = static_cast<std::int64_t>(kTrailerSize);

// FNV-1a taken eight bytes at a time (the last word filled with zeros), which
// is fast enough for every record of a long run. Each step maps the running
// value one to one, so a record with a single changed byte never passes. The
// whole words are copied at a fixed size, which the compiler makes one load:
// a copy of varying size in the loop cost twice the hashing itself.
std::uint64_t Check(std::string_view bytes) {
    constexpr std::uint64_t kPrime = 1099511628211u;
    std::uint64_t hash = 14695981039346656037u;
    std::size_t at = 0;
    for (; bytes.size() - at >= 8; at += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + at, 8);
        hash = (hash ^ word) * kPrime;
    }
    if (at < bytes.size()) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes.data() + at, bytes.size() - at);
        hash = (hash ^ word) * kPrime;
    }
    return hash;
}

void AppendNumber(std::string& out, std::uint64_t value, std::size_t bytes) {
    for (std::size_t i = 0; i < bytes; ++i) {
        out.push_back(static_cast<char>(value >> (8 * i)));
    }
}

std::uint64_t NumberAt(std::string_view bytes, std::size_t offset, std::size_t size) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < size; ++i) {
        value |= std::uint64_t{static_cast<std::uint8_t>(bytes[offset + i])} << (8 * i);
    }
    return value;
}

void AppendState(std::string& out, const FileState& state) {
    AppendNumber(out, static_cast<std::uint64_t>(state.length), 8);
    out.append(reinterpret_cast<const char*>(state.tail.data()), state.tail.size());
}

FileState StateAt(std::string_view bytes, std::size_t offset) {
    FileState state;
    state.length = static_cast<std::int64_t>(NumberAt(bytes, offset, 8));
    bytes.substr(offset + 8, kTrailerSize)
        .copy(reinterpret_cast<char*>(state.tail.data()), kTrailerSize);
    return state;
}

// Starts a record in `out`, its size to be filled in by EndRecord.
std::size_t BeginRecord(std::string& out, char type) {
    const std::size_t start = out.size();
    out.append(kSizeBytes, '\0');
    out.push_back(type);
    return start;
}

void EndRecord(std::string& out, std::size_t start) {
    const std::size_t size = out.size() - start - kSizeBytes;
    for (std::size_t i = 0; i < kSizeBytes; ++i) {
        out[start + i] = static_cast<char>(size >> (8 * i));
    }
    AppendNumber(out, Check(std::string_view(out).substr(start)), kCheckBytes);
}

// Takes the next intact record off the front of `bytes` and gives its type
// and payload; none at the end or at damage.
std::optional<std::string_view> TakeRecord(std::string_view& bytes) {
    if (bytes.size() < kSizeBytes + kCheckBytes) {
        return std::nullopt;
    }
    const std::uint64_t size = NumberAt(bytes, 0, kSizeBytes);
    if (size == 0 || size > bytes.size() - kSizeBytes - kCheckBytes) {
        return std::nullopt;
    }
    const std::string_view framed = bytes.substr(0, kSizeBytes + size);
    if (NumberAt(bytes, framed.size(), kCheckBytes) != Check(framed)) {
        return std::nullopt;
    }
    bytes.remove_prefix(framed.size() + kCheckBytes);
    return framed.substr(kSizeBytes);
}

// A trailer overwritten in place, appended or removed: the only changes the
// trailer operations make, and the only ones undo knows to take back.
bool IsTrailerChange(const FileState& before, const FileState& after) {
    if (before.length < 0 || after.length < 0) {
        return false;
    }
    return (before.length == after.length && after.length >= kTrailerLength) ||
           after.length == before.length + kTrailerLength ||
           before.length == after.length + kTrailerLength;
}

std::optional<FileChange> ChangeIn(std::string_view record) {
    if (record.size() <= 1 + 2 * kStateBytes || record[0] != kChangeType) {
        return std::nullopt;
    }
    FileChange change{std::string(record.substr(1 + 2 * kStateBytes)), StateAt(record, 1),
                      StateAt(record, 1 + kStateBytes)};
    if (!IsTrailerChange(change.before, change.after)) {
        return std::nullopt;
    }
    return change;
}

} // namespace

void AppendHeaderRecord(std::string& out, ActionKind kind, ActionOrigin origin) {
    const std::size_t start = BeginRecord(out, kHeaderType);
    out.append(kMagic);
    out.push_back(static_cast<char>(kVersion));
    out.push_back(static_cast<char>(kind));
    out.push_back(static_cast<char>(origin));
    EndRecord(out, start);
}

void AppendChangeRecord(std::string& out, const std::string& path, const FileState& before,
                        const FileState& after) {
    const std::size_t start = BeginRecord(out, kChangeType);
    AppendState(out, before);
    AppendState(out, after);
    out.append(path);
    EndRecord(out, start);
}

std::optional<JournaledAction> ParseAction(std::string_view bytes) {
    const std::optional<std::string_view> header = TakeRecord(bytes);
    if (!header || header->size() != kHeaderBytes || (*header)[0] != kHeaderType ||
        header->substr(1, kMagic.size()) != kMagic) {
        return std::nullopt;
    }
    const auto version = static_cast<std::uint8_t>((*header)[1 + kMagic.size()]);
    const auto kind = static_cast<std::uint8_t>((*header)[2 + kMagic.size()]);
    const auto origin = static_cast<std::uint8_t>((*header)[3 + kMagic.size()]);
    if (version != kVersion || kind > static_cast<std::uint8_t>(ActionKind::id3v1FromId3v2Run) ||
        origin > static_cast<std::uint8_t>(ActionOrigin::tool)) {
        return std::nullopt;
    }
    JournaledAction action{static_cast<ActionKind>(kind), static_cast<ActionOrigin>(origin), {}};
    while (const std::optional<std::string_view> record = TakeRecord(bytes)) {
        std::optional<FileChange> change = ChangeIn(*record);
        if (!change) {
            break;
        }
        action.changes.push_back(std::move(*change));
    }
    return action;
}

} // namespace tagwerk
