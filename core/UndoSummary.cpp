#include "core/UndoSummary.h"

namespace tagwerk {

namespace {

// The command-line tool's actions are named by the subcommand that ran them.
const char* ToolCommand(ActionKind kind) {
    switch (kind) {
    case ActionKind::save:
    case ActionKind::singleRemoval:
        return "tagwerk-cli set";
    case ActionKind::removalRun:
        return "tagwerk-cli remove";
    case ActionKind::blankingRun:
        return "tagwerk-cli blank";
    case ActionKind::tagsFromNamesRun:
        return "tagwerk-cli from-names";
    case ActionKind::id3v1FromId3v2Run:
        return "tagwerk-cli from-v2";
    }
    return "tagwerk-cli";
}

const char* ActionName(ActionKind kind, ActionOrigin origin) {
    if (origin == ActionOrigin::tool)
        return ToolCommand(kind);
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

// How a summary says what was done, or what would be.
struct Wording {
    const char* undone;
    const char* partly;
    const char* restored;
    const char* changedSince;
    const char* gone;
    const char* failed;
    const char* kept;
    const char* setAside[2]; // around the name it is put aside under
};

constexpr Wording kDone{
    "wurde rückgängig gemacht",
    "wurde nicht vollständig rückgängig gemacht",
    "Wiederhergestellt",
    "Seitdem geändert und deshalb nicht angetastet",
    "Nicht mehr vorhanden",
    "Fehlgeschlagen",
    " Die Aktion bleibt deshalb vermerkt: Das nächste Rückgängigmachen holt diese Dateien nach, "
    "bevor es weiter zurückgeht.",
    {"Die letzte Aktion lässt sich nicht lesen, weil ihre Journaldatei beschädigt ist, und wurde "
     "nicht rückgängig gemacht. Die Datei wurde als „",
     "“ beiseitegelegt; erst das nächste Rückgängigmachen geht eine Aktion weiter zurück."}};
constexpr Wording kWould{
    "würde rückgängig gemacht",
    "würde nicht vollständig rückgängig gemacht",
    "Wiederherzustellen",
    "Seitdem geändert und deshalb nicht anzutasten",
    "Nicht mehr vorhanden",
    "Nicht wiederherstellbar",
    " Die Aktion bliebe deshalb vermerkt.",
    {"Die letzte Aktion lässt sich nicht lesen, weil ihre Journaldatei beschädigt ist. Die Datei "
     "würde als „",
     "“ beiseitegelegt; rückgängig gemacht würde nichts."}};

void AppendCount(std::string& text, const char* label, std::size_t count) {
    text += " " + std::string(label) + ": " + Files(count) + ".";
}

std::string Summary(const UndoResult& result, const Wording& wording) {
    if (!result.setAside.empty()) {
        return std::string(wording.setAside[0]) + result.setAside + wording.setAside[1];
    }
    std::string text = "Die letzte Aktion (" + std::string(ActionName(result.kind, result.origin)) +
                       ") " + std::string(result.kept ? wording.partly : wording.undone) + ".";
    AppendCount(text, wording.restored, result.restored);
    if (result.changedSince > 0)
        AppendCount(text, wording.changedSince, result.changedSince);
    if (result.gone > 0)
        AppendCount(text, wording.gone, result.gone);
    if (result.failed > 0)
        AppendCount(text, wording.failed, result.failed);
    if (result.kept)
        text.append(wording.kept);
    return text;
}

} // namespace

std::string UndoSummary(const UndoResult& result) {
    return Summary(result, kDone);
}

std::string UndoPreviewSummary(const UndoResult& preview) {
    return Summary(preview, kWould);
}

} // namespace tagwerk
