#pragma once
// Readable names of the file operations' outcomes in test failure messages.
#include "core/TrailerFile.h"

#include <ostream>

namespace tagwerk {

std::ostream& operator<<(std::ostream& out, FileError error);
std::ostream& operator<<(std::ostream& out, ReadOutcome outcome);
std::ostream& operator<<(std::ostream& out, WriteOutcome outcome);
std::ostream& operator<<(std::ostream& out, BlankOutcome outcome);
std::ostream& operator<<(std::ostream& out, RemoveOutcome outcome);

} // namespace tagwerk
