#pragma once
// What a batch run does with one listed file. One piece of code works it
// out for the run, whose file work writes, and for the preview, whose file
// work only reads, so the preview tells exactly what the run will do.
#include "core/TagFromNameFile.h"
#include "core/TagTrailer.h"

#include <functional>
#include <optional>
#include <string>

namespace tagwerk {

// Gives the file at `path` (as the file system spells it) a trailer with the
// record, or tells what doing so would do.
using FileWork = std::function<TagFromNameResult(const std::string& path, const TagRecord& record)>;

struct FileDecision {
    // The values for the file's trailer; none when its name or ID3v2 tag gives none.
    std::optional<TagRecord> record;
    // The file work with the record; without a record, why the file could not
    // even be read (FileError::none: it could).
    TagFromNameResult result;
};

// What a decision comes to, for a run's counts and marks and a preview's rows;
// noValues: the name or ID3v2 tag gives none, though the file could be read.
enum class FileOutcome { written, leftAlone, noValues, failed };

inline FileOutcome OutcomeOf(const FileDecision& decision) {
    if (!decision.record)
        return decision.result.error == FileError::none ? FileOutcome::noValues
                                                        : FileOutcome::failed;
    switch (decision.result.outcome) {
    case TagFromNameOutcome::written:
        return FileOutcome::written;
    case TagFromNameOutcome::leftAlone:
        return FileOutcome::leftAlone;
    case TagFromNameOutcome::tooShort:
    case TagFromNameOutcome::failed:
        break;
    }
    return FileOutcome::failed;
}

// The file work of a run, which tells `observer` (its journal) of each change.
inline FileWork WriteWork(bool overwrite, TrailerChangeObserver& observer) {
    return [overwrite, &observer](const std::string& path, const TagRecord& record) {
        return WriteTagFromName(path, record, overwrite, &observer);
    };
}

// The file work of a preview: nothing is opened for writing.
inline FileWork PreviewWork(bool overwrite) {
    return [overwrite](const std::string& path, const TagRecord&) {
        return PreviewTagFromName(path, overwrite);
    };
}

} // namespace tagwerk
