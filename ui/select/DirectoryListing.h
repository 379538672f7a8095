#pragma once
// Reading the entries of one directory for the directory and file lists.
#include <QString>
#include <QStringList>

namespace tagwerk {

// The visible subdirectories of a directory, sorted by name.
QStringList SubdirectoryNames(const QString& directory);

// The visible files of a directory whose names match a wildcard pattern
// without regard to case, sorted by name. "*.*" matches every file, with or
// without a dot in its name.
QStringList MatchingFileNames(const QString& directory, const QString& pattern);

// A directory that exists: the directory itself, or the nearest of its
// parents down to the root that still does.
QString NearestExistingDirectory(const QString& directory, const QString& root);

} // namespace tagwerk
