#pragma once
// The file work of giving one listed file a trailer built from its name.
// It differs from the editor's save in three points: a file of exactly 128
// bytes that begins with "TAG" counts as having a trailer, a file shorter
// than 128 bytes fails, and the file must open for writing even when it is
// then left alone.
#include "core/FileError.h"
#include "core/TagTrailer.h"
#include "core/TrailerChange.h"

#include <cstdint>
#include <string>

namespace tagwerk {

enum class TagFromNameOutcome {
    written,   // the trailer was appended or replaced the old one
    leftAlone, // the file has a trailer and overwriting was not asked for
    tooShort,  // the file is shorter than a trailer
    failed,    // the file could not be opened, read or written
};

// Why a file shorter than a trailer fails (UTF-8).
inline constexpr const char* kTooShortReason = "Die Datei ist kürzer als ein ID3-Tag (128 Bytes).";

struct TagFromNameResult {
    TagFromNameOutcome outcome = TagFromNameOutcome::failed;
    FileError error = FileError::none;
};

// Writes the record over the file's trailer (only with `overwrite`), where
// a record without a track number keeps that of the trailer, or appends it. A failed write leaves
// no partial trailer behind. The observer, if any, hears of the change before it is made.
TagFromNameResult WriteTagFromName(const std::string& path, const TagRecord& record, bool overwrite,
                                   TrailerChangeObserver* observer = nullptr);

// What WriteTagFromName would do, found out without opening the file for
// writing: `written` means it would write. A file that could not be opened
// for writing fails here too; a write that would fail later (a full disk)
// fails only there.
TagFromNameResult PreviewTagFromName(const std::string& path, bool overwrite);

// The summary of a run over many files (UTF-8): how many failed, and how many
// were left alone because they had a trailer, each count with a blank in
// front; the second sentence only when some were left alone.
std::string TagFromNameSummary(std::int64_t failed, std::int64_t leftAlone);

} // namespace tagwerk
