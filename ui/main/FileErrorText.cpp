#include "ui/main/FileErrorText.h"

#include "core/FileErrorReason.h"

namespace tagwerk {

QString FileErrorText(FileError error) {
    return QString::fromUtf8(FileErrorReason(error));
}

QString TagFromNameFailureText(const TagFromNameResult& result) {
    if (result.outcome == TagFromNameOutcome::tooShort)
        return QString::fromUtf8(kTooShortReason);
    return FileErrorText(result.error);
}

} // namespace tagwerk
