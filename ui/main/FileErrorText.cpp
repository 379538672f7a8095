#include "ui/main/FileErrorText.h"

#include "core/FileErrorReason.h"

namespace tagwerk {

QString FileErrorText(FileError error) {
    return QString::fromUtf8(FileErrorReason(error));
}

} // namespace tagwerk
