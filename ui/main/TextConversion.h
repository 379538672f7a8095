#pragma once
// Conversions between the windows' texts and what the core works with:
// Windows-1252 bytes for tag texts, the file system's encoding for paths.
#include <QString>
#include <string>
#include <string_view>

namespace tagwerk {

QString FromCp1252(std::string_view bytes);
// A character Windows-1252 cannot hold becomes "?".
std::string ToCp1252(const QString& text);

// A path as the file system spells it, for the core's file operations.
std::string NativePath(const QString& path);

} // namespace tagwerk
