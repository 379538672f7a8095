#include "core/UndoJournalFormat.h"

#include "core/TrailerFileWrite.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace tagwerk {

namespace {

constexpr std::string_view kMagic = "TAGWERK-UNDO";
constexpr std::uint8_t kVersion = 3;
// Journals of version 2, written before the target was recorded, are read as
// well: their records have no target size.
constexpr std::uint8_t kVersionWithoutTarget = 2;
constexpr char kHeaderType = 1;
constexpr char kChangeType = 2;
constexpr std::size_t kSizeBytes = 4;
constexpr std::size_t kCheckBytes = 8;
constexpr std::size_t kHeaderBytes = 1 + kMagic.size() + 3;
constexpr std::size_t kStateBytes = 8 + kTrailerSize;
constexpr std::size_t kDigestBytes = 8 + 8;
constexpr std::size_t kSharedBytes = 2;
constexpr std::size_t kTargetSizeBytes = 2;
constexpr std::size_t kMostShared = 0xFFFF;
// Type, the two states, the length of the shared start of the path and the
// size of the target.
constexpr std::size_t kChangeFixedBytes =
    1 + kStateBytes + kDigestBytes + kSharedBytes + kTargetSizeBytes;
constexpr std::size_t kChangeFixedBytesWithoutTarget = kChangeFixedBytes - kTargetSizeBytes;

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

// A state after is only compared, so a hash of its tail stands for it. Unlike
// Check, each step mixes the bits of a word into all of the running value:
// with Check, flipping the top bit of two words cancels out, and a file whose
// tail changed so since the action would be taken for unchanged. Each step
// still maps the running value one to one.
std::uint64_t TailHash(const TagTrailer& tail) {
    constexpr std::uint64_t kPrime1 = 0x9E3779B185EBCA87u;
    constexpr std::uint64_t kPrime2 = 0xC2B2AE3D27D4EB4Fu;
    std::uint64_t hash = kPrime1;
    for (std::size_t at = 0; at < tail.size(); at += 8) {
        std::uint64_t word;
        std::memcpy(&word, tail.data() + at, 8);
        hash = std::rotl(hash ^ (word * kPrime2), 31) * kPrime1;
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
bool IsTrailerChange(std::int64_t before, std::int64_t after) {
    if (before < 0 || after < 0) {
        return false;
    }
    return (before == after && after >= kTrailerLength) || after == before + kTrailerLength ||
           before == after + kTrailerLength;
}

std::optional<FileChange> ChangeIn(std::string_view record, std::string_view previousPath,
                                   bool withTarget) {
    const std::size_t fixed = withTarget ? kChangeFixedBytes : kChangeFixedBytesWithoutTarget;
    if (record.size() < fixed || record[0] != kChangeType) {
        return std::nullopt;
    }
    const std::size_t digestAt = 1 + kStateBytes;
    const std::size_t sharedAt = digestAt + kDigestBytes;
    const std::uint64_t shared = NumberAt(record, sharedAt, kSharedBytes);
    const std::uint64_t targetSize =
        withTarget ? NumberAt(record, sharedAt + kSharedBytes, kTargetSizeBytes) : 0;
    std::string_view rest = record.substr(fixed);
    if (targetSize > rest.size()) {
        return std::nullopt;
    }
    const std::string_view target = rest.substr(rest.size() - targetSize);
    rest.remove_suffix(targetSize);
    if (shared > previousPath.size() || shared + rest.size() == 0) {
        return std::nullopt;
    }
    FileChange change{std::string(previousPath.substr(0, shared)),
                      std::string(target),
                      StateAt(record, 1),
                      {static_cast<std::int64_t>(NumberAt(record, digestAt, 8)),
                       NumberAt(record, digestAt + 8, 8)}};
    change.path.append(rest);
    if (!IsTrailerChange(change.before.length, change.after.length)) {
        return std::nullopt;
    }
    return change;
}

} // namespace

StateDigest DigestOf(const FileState& state) {
    return {state.length, TailHash(state.tail)};
}

void AppendHeaderRecord(std::string& out, ActionKind kind, ActionOrigin origin) {
    const std::size_t start = BeginRecord(out, kHeaderType);
    out.append(kMagic);
    out.push_back(static_cast<char>(kVersion));
    out.push_back(static_cast<char>(kind));
    out.push_back(static_cast<char>(origin));
    EndRecord(out, start);
}

void AppendChangeRecord(std::string& out, const FileChange& change,
                        const std::string& previousPath) {
    const std::string& path = change.path;
    const std::size_t most = std::min({path.size(), previousPath.size(), kMostShared});
    std::size_t shared = 0;
    while (shared < most && path[shared] == previousPath[shared]) {
        ++shared;
    }
    const std::size_t start = BeginRecord(out, kChangeType);
    AppendState(out, change.before);
    AppendNumber(out, static_cast<std::uint64_t>(change.after.length), 8);
    AppendNumber(out, change.after.tailHash, 8);
    AppendNumber(out, shared, kSharedBytes);
    AppendNumber(out, change.target.size(), kTargetSizeBytes);
    out.append(path, shared);
    out.append(change.target);
    EndRecord(out, start);
}

std::string ActionBytes(const JournaledAction& action) {
    std::string bytes;
    AppendHeaderRecord(bytes, action.kind, action.origin);
    const std::string none;
    for (std::size_t i = 0; i < action.changes.size(); ++i) {
        AppendChangeRecord(bytes, action.changes[i], i == 0 ? none : action.changes[i - 1].path);
    }
    return bytes;
}

bool IsJournalStart(std::string_view bytes) {
    return bytes.size() > kSizeBytes + 1 + kMagic.size() &&
           bytes.substr(kSizeBytes + 1, kMagic.size()) == kMagic;
}

std::optional<JournaledAction> ParseAction(std::string_view bytes) {
    if (!IsJournalStart(bytes)) {
        return std::nullopt;
    }
    const std::optional<std::string_view> header = TakeRecord(bytes);
    if (!header || header->size() != kHeaderBytes || (*header)[0] != kHeaderType) {
        return std::nullopt;
    }
    const auto version = static_cast<std::uint8_t>((*header)[1 + kMagic.size()]);
    const auto kind = static_cast<std::uint8_t>((*header)[2 + kMagic.size()]);
    const auto origin = static_cast<std::uint8_t>((*header)[3 + kMagic.size()]);
    if ((version != kVersion && version != kVersionWithoutTarget) ||
        kind > static_cast<std::uint8_t>(ActionKind::id3v1FromId3v2Run) ||
        origin > static_cast<std::uint8_t>(ActionOrigin::tool)) {
        return std::nullopt;
    }
    JournaledAction action{static_cast<ActionKind>(kind), static_cast<ActionOrigin>(origin), {}};
    while (const std::optional<std::string_view> record = TakeRecord(bytes)) {
        std::optional<FileChange> change = ChangeIn(
            *record, action.changes.empty() ? "" : action.changes.back().path, version == kVersion);
        if (!change) {
            break;
        }
        action.changes.push_back(std::move(*change));
    }
    return action;
}

} // namespace tagwerk
