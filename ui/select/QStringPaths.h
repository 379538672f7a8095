#pragma once
// The path helpers of core for the QStrings the windows hold.
#include "core/PathText.h"

#include <QString>

namespace tagwerk {

inline QString JoinPath(const QString& directory, const QString& name) {
    return QString::fromStdU16String(JoinPath(directory.toStdU16String(), name.toStdU16String()));
}

struct PathParts {
    QString name;
    QString directory; // with its closing separator
};

inline PathParts SplitPath(const QString& path) {
    const SplitPathResult parts = SplitPath(path.toStdU16String());
    return {QString::fromStdU16String(parts.name), QString::fromStdU16String(parts.directory)};
}

} // namespace tagwerk
