#pragma once
// Why a file operation failed, as a German sentence (UTF-8) for a notice or
// an error line. Free of any toolkit, so every program of Tagwerk says it
// the same way.
#include "core/FileError.h"

namespace tagwerk {

constexpr const char* FileErrorReason(FileError error) {
    switch (error) {
    case FileError::none:
        break;
    case FileError::notFound:
        return "Die Datei oder ihr Verzeichnis ist nicht vorhanden.";
    case FileError::accessDenied:
        return "Der Zugriff wurde verweigert (fehlende Berechtigung).";
    case FileError::readOnlyMedium:
        return "Der Datenträger ist schreibgeschützt.";
    case FileError::diskFull:
        return "Auf dem Datenträger ist nicht genug Platz.";
    case FileError::notAFile:
        return "Der Pfad bezeichnet keine gewöhnliche Datei.";
    case FileError::changedMeanwhile:
        return "Die Datei wurde währenddessen von einem anderen Programm geändert; sie bleibt so, "
               "wie dieses Programm sie hinterlassen hat.";
    case FileError::beingWritten:
        return "Die Datei wird gerade von einem anderen Programm geschrieben; sie bleibt "
               "unverändert.";
    case FileError::ioError:
        return "Beim Lesen oder Schreiben ist ein Fehler aufgetreten.";
    }
    return "Die Ursache ist unbekannt.";
}

} // namespace tagwerk
