#include "core/UndoSummary.h"

namespace tagwerk {

namespace {

const char* ActionName(ActionKind kind) {
    switch (kind) {
    case ActionKind::save:
        return "Speichern eines ID3-Tags";
    case ActionKind::singleRemoval:
        return "Entfernen eines ID3-Tags";
    case ActionKind::removalRun:
        return "Entfernen aller ID3-Tags";
    case ActionKind::blankingRun:
        return "Leeren aller ID3-Tags";
    case ActionKind::tagsFromNamesRun:
        return "Erzeugen der ID3-Tags aus den Dateinamen";
    case ActionKind::id3v1FromId3v2Run:
        return "Erzeugen der ID3v1-Tags aus den ID3v2-Tags";
    }
    return "unbekannte Aktion";
}

std::string Files(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " Datei" : " Dateien");
}

} // namespace

std::string UndoSummary(const UndoResult& result) {
    std::string text = "Die letzte Aktion (" + std::string(ActionName(result.kind));
    if (result.origin == ActionOrigin::tool)
        text += " mit tagwerk-cli";
    text += ") wurde rückgängig gemacht. Wiederhergestellt: " + Files(result.restored) + ".";
    if (result.changedSince > 0)
        text +=
            " Seitdem geändert und deshalb nicht angetastet: " + Files(result.changedSince) + ".";
    if (result.failed > 0)
        text += " Fehlgeschlagen: " + Files(result.failed) + ".";
    return text;
}

} // namespace tagwerk
