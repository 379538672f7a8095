#include "ui/main/TextConversion.h"

#include "core/Cp1252.h"

#include <QFile>

namespace tagwerk {

QString FromCp1252(std::string_view bytes) {
    return QString::fromStdU16String(DecodeCp1252(bytes));
}

std::string ToCp1252(const QString& text) {
    return EncodeCp1252(text.toStdU16String());
}

std::string NativePath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

} // namespace tagwerk
