#pragma once
// Conversions between the windows' texts and what the core works with:
// Windows-1252 bytes for tag texts, the file system's bytes for paths.
#include <QString>
#include <string>
#include <string_view>

namespace tagwerk {

QString FromCp1252(std::string_view bytes);
// A character Windows-1252 cannot hold becomes "?".
std::string ToCp1252(const QString& text);

// Paths are UTF-8 bytes, but a name may hold any bytes, such as the Latin-1
// names of old Windows collections. Inside the program a path is a QString
// in which each byte that is no part of valid UTF-8 is kept as the lone
// surrogate U+DC80 + byte, so every name goes to the file system and back
// unchanged.
QString PathFromNative(std::string_view bytes);
// A path as the file system spells it, for the core's file operations.
std::string NativePath(const QString& path);
// A path as the user sees it: each kept byte shows as the replacement mark U+FFFD.
QString ShownPath(const QString& path);

} // namespace tagwerk
