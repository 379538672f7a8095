#pragma once
// Why a file operation failed, as a German sentence for a notice.
#include "core/FileError.h"

#include <QString>

namespace tagwerk {

QString FileErrorText(FileError error);

} // namespace tagwerk
