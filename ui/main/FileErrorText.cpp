#include "ui/main/FileErrorText.h"

namespace tagwerk {

QString FileErrorText(FileError error) {
    switch (error) {
    case FileError::none:
        break;
    case FileError::notFound:
        return QStringLiteral("Die Datei oder ihr Verzeichnis ist nicht vorhanden.");
    case FileError::accessDenied:
        return QStringLiteral("Der Zugriff wurde verweigert (fehlende Berechtigung).");
    case FileError::readOnlyMedium:
        return QStringLiteral("Der Datenträger ist schreibgeschützt.");
    case FileError::diskFull:
        return QStringLiteral("Auf dem Datenträger ist nicht genug Platz.");
    case FileError::notAFile:
        return QStringLiteral("Der Pfad bezeichnet keine gewöhnliche Datei.");
    case FileError::changedMeanwhile:
        return QStringLiteral("Die Datei wurde währenddessen von einem anderen Programm geändert; "
                              "sie bleibt so, wie dieses Programm sie hinterlassen hat.");
    case FileError::ioError:
        return QStringLiteral("Beim Lesen oder Schreiben ist ein Fehler aufgetreten.");
    }
    return QStringLiteral("Die Ursache ist unbekannt.");
}

} // namespace tagwerk
