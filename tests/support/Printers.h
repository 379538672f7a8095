#pragma once
// Readable outcomes and records in test failure messages.
#include "core/TrailerFile.h"
#include "core/UndoJournal.h"

#include <ostream>

namespace tagwerk {

std::ostream& operator<<(std::ostream& out, FileError error);
std::ostream& operator<<(std::ostream& out, ReadOutcome outcome);
std::ostream& operator<<(std::ostream& out, WriteOutcome outcome);
std::ostream& operator<<(std::ostream& out, BlankOutcome outcome);
std::ostream& operator<<(std::ostream& out, RemoveOutcome outcome);

// The texts with their bytes escaped, and the genre code.
void PrintTo(const TagRecord& record, std::ostream* out);

// The kind, origin and counts, and the paths put back.
void PrintTo(const UndoResult& result, std::ostream* out);

} // namespace tagwerk
