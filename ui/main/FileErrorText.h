#pragma once
// Why a file operation failed, as a German sentence for a notice.
#include "core/FileError.h"
#include "core/TagFromNameFile.h"

#include <QString>

namespace tagwerk {

QString FileErrorText(FileError error);

// Why a file could not be given a trailer from its name or its ID3v2 tag.
QString TagFromNameFailureText(const TagFromNameResult& result);

} // namespace tagwerk
