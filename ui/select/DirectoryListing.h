#pragma once
// Reading the entries of one directory for the directory and file lists.
// Names come as the program holds paths (see PathFromNative), so that names
// that are no valid UTF-8 are listed too.
#include <QString>
#include <QStringList>

namespace tagwerk {

// The visible subdirectories of a directory, sorted by name.
QStringList SubdirectoryNames(const QString& directory);

// The visible files of a directory whose names match a wildcard pattern
// without regard to case, sorted by name. "*.*" matches every file, with or
// without a dot in its name. The pattern sees the names as they are shown.
QStringList MatchingFileNames(const QString& directory, const QString& pattern);

bool IsDirectory(const QString& path);
// Whether the entries of the directory can be read (an unreadable one lists as empty).
bool IsListable(const QString& directory);

// A directory that exists: the directory itself, or the nearest of its
// parents down to the root that still does.
QString NearestExistingDirectory(const QString& directory, const QString& root);

} // namespace tagwerk
