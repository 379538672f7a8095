// The built tagwerk-cli on a folder of files: one table of command lines with
// their exit status, output, error lines and the files they change; its JSON
// against mutagen's reading of the same trailers; and its undo of an action
// of the window.
#include "core/TagTrailer.h"
#include "core/TrailerFile.h"
#include "core/UndoJournal.h"
#include "core/UndoSummary.h"
#include "support/Command.h"
#include "support/TagBytes.h"
#include "support/TempDir.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <sys/wait.h>

namespace tagwerk {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using test::Bytes;
using test::Concat;
using test::PatternBytes;
using test::Quote;
using test::TempDir;
using test::TrailerBytes;
using Names = std::vector<std::string>;

std::string Cli() {
    const char* cli = std::getenv("TAGWERK_CLI");
    return cli != nullptr ? cli : "tagwerk-cli";
}

// A minimal ID3v2.3 tag at the start: title, artist and track in ISO-8859-1.
Bytes Id3v2Start() {
    const std::string tag =
        test::Id3v2TagBytes(3, test::Id3v2Frame("TIT2", test::Latin1("Aus V2")) +
                                   test::Id3v2Frame("TPE1", test::Latin1("Zweite")) +
                                   test::Id3v2Frame("TRCK", test::Latin1("3/12")));
    return Bytes(tag.begin(), tag.end());
}

const TagRecord kTagged{"Lied", "Band", "Album", "1999", "Kommentar", 17};
const TagRecord kNumbered{"Lied", "Band", "Album", "1999", "Kommentar", 17, 5};

// Every case starts from these files, all last changed in 2001.
const std::map<std::string, Bytes>& SceneFiles() {
    static const std::map<std::string, Bytes> files{
        {"plain.mp3", PatternBytes(1000)},
        {"tagged.mp3", Concat(PatternBytes(1000), TrailerBytes(kTagged))},
        {"Band - Lied.mp3", PatternBytes(1000)},
        {"Alt - Lied.mp3", Concat(PatternBytes(1000), TrailerBytes(kTagged))},
        {"Kurz - Stück.mp3", PatternBytes(50)},
        {"v2.mp3", Concat(Id3v2Start(), PatternBytes(1000))},
        {"nummer.mp3", Concat(PatternBytes(1000), TrailerBytes(kNumbered))},
        {"nur-tag.mp3", TrailerBytes(kTagged)},
        {"ordner/b.mp3", PatternBytes(1000)},
        {"ordner/A.mp3", Concat(PatternBytes(1000), TrailerBytes(kTagged))},
    };
    return files;
}

// Each file's bytes and time of change.
using Snapshot = std::map<std::string, std::pair<Bytes, fs::file_time_type>>;

Snapshot Take(const TempDir& dir) {
    Snapshot snapshot;
    for (const auto& entry : fs::recursive_directory_iterator(dir.path()))
        if (entry.is_regular_file())
            snapshot[entry.path().string().substr(dir.path().size())] = {
                test::ReadFileBytes(entry.path()), entry.last_write_time()};
    return snapshot;
}

struct Scene {
    TempDir dir;
    TempDir scratch; // for what is not part of the scene, such as the undo journal
    Snapshot before;

    std::string stateHome() const { return scratch.file("state"); }

    Scene() {
        fs::create_directory(dir.file("ordner"));
        const auto yearAgo = fs::file_time_type::clock::now() - std::chrono::hours(24 * 365);
        for (const auto& [name, bytes] : SceneFiles()) {
            test::WriteFileBytes(dir.file(name), bytes);
            fs::last_write_time(dir.file(name), yearAgo);
        }
        before = Take(dir);
    }

    struct Result {
        int status;
        std::string out, err;
    };
    // The command line after "tagwerk-cli", as the shell reads it, in the
    // folder; further commands in it call the program as "$CLI". The journal
    // goes to the scene's own state folder, never the user's.
    Result run(const std::string& arguments) const {
        const std::string err = scratch.file("err");
        const auto result = test::RunCommand(
            "cd " + Quote(dir.path()) + " && export XDG_STATE_HOME=" + Quote(stateHome()) +
            " && CLI=" + Quote(Cli()) + " && { \"$CLI\" " + arguments + "; } 2>" + Quote(err));
        std::stringstream text;
        text << std::ifstream(err).rdbuf();
        return {WIFEXITED(result.status) ? WEXITSTATUS(result.status) : -1, result.output,
                text.str()};
    }

    // The files written since the scene was laid out.
    Names changed() const {
        Names names;
        for (const auto& [name, state] : Take(dir))
            if (!before.contains(name) || before.at(name) != state)
                names.push_back(name);
        return names;
    }
};

// The lines `show` prints for a file; fields in the order of the trailer.
std::string Shown(const std::string& path, const std::array<const char*, 6>& fields) {
    const char* const labels[] = {"Titel:        ", "Künstler:     ", "Album:        ",
                                  "Jahr:         ", "Kommentar:    ", "Musikrichtung:"};
    std::string text = path.empty() ? "" : path + "\n";
    for (std::size_t i = 0; i < fields.size(); ++i)
        text += "  "s + labels[i] + " " + fields[i] + "\n";
    return text;
}
const std::array<const char*, 6> kTaggedShown{"Lied", "Band",      "Album",
                                              "1999", "Kommentar", "Rock (17)"};
std::string TrackShown(int track) {
    return "  Titelnummer:   " + std::to_string(track) + "\n";
}

struct CommandCase {
    const char* name;
    std::string arguments;
    int status;
    std::string out;
    std::string err = "";
    Names changed = {};
    std::string shownAfter = ""; // `show` of the changed files afterwards
    bool bytesBack = false;      // instead: the changed files are back to their bytes
};

CommandCase Usage(const char* name, const std::string& arguments, const std::string& message,
                  const std::string& command) {
    return {name, arguments, 2, "",
            "tagwerk-cli: " + message + "\nHilfe: tagwerk-cli " + command + "--help\n"};
}

const std::string kPattern = R"(--pattern='2," - ",1,".mp3"')";
const std::string kNotFound = ": Die Datei oder ihr Verzeichnis ist nicht vorhanden.\n";
const std::string kNoTrailer = "\n  Kein ID3-Tag\n";
const char* const kNoGenreShown = "(keine Zuordnung)";
const std::string kNothingToUndoLine = "tagwerk-cli: "s + kNothingToUndo + "\n";
const Names kUndone = {"tagged.mp3"};

// What undo prints for an action of tagwerk-cli.
std::string Undone(const std::string& action, const std::string& counts) {
    return "Die letzte Aktion (tagwerk-cli " + action + ") wurde rückgängig gemacht. " + counts +
           "\n";
}

// clang-format off
const CommandCase kCommandCases[] = {
    {"ShowTellsEachFileItsTagOrNone", "show tagged.mp3 plain.mp3", 0,
     Shown("tagged.mp3", kTaggedShown) + "plain.mp3" + kNoTrailer},
    {"ShowNamesEachPathItCannotRead", "show fehlt.mp3 ordner plain.mp3", 1, "plain.mp3" + kNoTrailer,
     "tagwerk-cli: fehlt.mp3" + kNotFound +
     "tagwerk-cli: ordner: Der Pfad ist ein Ordner; mit -r werden seine MP3-Dateien bearbeitet.\n"},
    {"ShowEscapesControlCharactersAndJsonKeepsTheExactTextAndBytes",
     R"x(set --genre=255 --title="$(printf 'A\033[31m')" plain.mp3 && )x"
     R"x(mv plain.mp3 "$(printf 'n\377\n.mp3')" && "$CLI" show --json n[!u]*)x", 0,
     "[\n{\"path\":\"n\xEF\xBF\xBD\\n.mp3\",\"path_bytes\":[110,255,10,46,109,112,51],\"tag\":"
     "{\"title\":\"A\\u001b[31m\",\"artist\":\"\",\"album\":\"\",\"year\":\"\",\"comment\":\"\","
     "\"genre\":{\"code\":255,\"name\":null},\"track\":null}}\n]\n", "", {"n\xff\n.mp3"},
     Shown("n\\xff\\x0a.mp3", {"A\\x1b[31m", "", "", "", "", kNoGenreShown})},
    {"OutputThatCannotBeWrittenFails", "show tagged.mp3 >/dev/full", 1, "",
     "tagwerk-cli: Die Ausgabe ließ sich nicht vollständig schreiben: Auf dem Datenträger ist nicht "
     "genug Platz.\n"},
    {"AClosedPipeEndsQuietlyEvenWithTheSignalIgnored", "--version >/dev/null && trap '' PIPE && "
     "(seq 5000 | sed s/.*/tagged.mp3/) 2>/dev/null | \"$CLI\" show --files-from=- | head -n 1", 0,
     "tagged.mp3\n"},
    {"FilesFromTakesLinesAfterTheArguments", "--version && printf 'ordner\\n\\ntagged.mp3\\n' | "
     "\"$CLI\" show -r --files-from=- plain.mp3", 0, "tagwerk-cli 1.0.0\nplain.mp3" + kNoTrailer +
     Shown("ordner/A.mp3", kTaggedShown) + "ordner/b.mp3" + kNoTrailer + Shown("tagged.mp3", kTaggedShown)},
    {"AListThatCannotBeOpenedStopsBeforeTheFirstFile", "set --title=x --files-from=fehlt plain.mp3",
     1, "", "tagwerk-cli: --files-from fehlt" + kNotFound},
    {"RecursiveGivesTheFolderFilesInOrder", "show -r ordner fehlt", 1,
     Shown("ordner/A.mp3", kTaggedShown) + "ordner/b.mp3" + kNoTrailer, "tagwerk-cli: fehlt" + kNotFound},
    {"SetWritesTheGivenFieldsAndKeepsTheOthers", "set --title=Neu --genre=jazz tagged.mp3 plain.mp3",
     0, "", "", {"plain.mp3", "tagged.mp3"},
     Shown("plain.mp3", {"Neu", "", "", "", "", "Jazz (8)"}) +
     Shown("tagged.mp3", {"Neu", "Band", "Album", "1999", "Kommentar", "Jazz (8)"})},
    {"AnEmptyValueEmptiesAFieldAndAGenreMayBeACode", "set --comment= --genre=200 tagged.mp3", 0,
     "", "", {"tagged.mp3"},
     Shown("tagged.mp3", {"Lied", "Band", "Album", "1999", "", "ohne Namen (200)"})},
    {"TextBecomesWindows1252AndLongValuesAreCutWithAWarning",
     "set --title=Äöü€ --artist='U\xcc\x88" "ber' --year=19999 plain.mp3", 0, "",
     "tagwerk-cli: Warnung: --year hat mehr als 4 Zeichen und wird gekürzt auf „1999“.\n",
     {"plain.mp3"}, Shown("plain.mp3", {"Äöü€", "Über", "", "1999", "", kNoGenreShown})},
    Usage("ACharacterTheCodePageLacksIsAUsageError", "set --title=Łódź tagged.mp3 plain.mp3",
          "Das Zeichen „Ł“ (U+0141) in --title gibt es in Windows-1252 nicht; mit --replace "
          "wird es zu seinem Grundbuchstaben oder zu „?“.", "set "),
    {"ReplaceMakesALackingLetterItsBaseLetterAndAnythingElseOneQuestionMark",
     "set --replace --title=Łódź😀 plain.mp3", 0, "", "", {"plain.mp3"},
     Shown("plain.mp3", {"Lódz?", "", "", "", "", kNoGenreShown})},
    {"MissingFileIsNamedAndNotCreated", "set --title=x fehlt.mp3 plain.mp3", 1, "",
     "tagwerk-cli: fehlt.mp3" + kNotFound, {"plain.mp3"},
     Shown("plain.mp3", {"x", "", "", "", "", kNoGenreShown})},
    Usage("ValueThatIsNotUtf8", "set --title=\"$(printf 'A\\377')\" plain.mp3",
          "Der Wert von --title ist kein gültiges UTF-8.", "set "),
    Usage("UnknownGenre", "set --genre=Polka2 plain.mp3",
          "Die Musikrichtung „Polka2“ gibt es nicht; tagwerk-cli genres zeigt alle.", "set "),
    Usage("SetWithoutField", "set plain.mp3", "set braucht mindestens ein Feld, etwa --title.", "set "),
    Usage("NoPath", "show", "Keine Datei angegeben.", "show "),
    Usage("NoCommand", "", "Kein Befehl angegeben.", ""),
    Usage("AMistakeBeforeTheCommandIsOneOfTheProgram", "-r show ordner", "Unbekannte Angabe: -r", ""),
    Usage("TwoCommands", "remove tagged.mp3 blank 'Alt - Lied.mp3'",
          "Mehr als ein Befehl angegeben: remove, blank.", ""),
    Usage("UnknownOption", "show --jsn plain.mp3", "Unbekannte Angabe: --jsn", "show "),
    Usage("OptionWithoutValue", "set plain.mp3 --title", "Der Angabe --title fehlt ihr Wert.", "set "),
    Usage("FromNamesWithoutPattern", "from-names plain.mp3", "from-names braucht --pattern.",
          "from-names "),
    Usage("PatternNamingNoField", "from-names --pattern=foo,x plain.mp3", "Der Dateinamenaufbau "
          "nennt kein Feld von 1 bis 6; etwa 2,\" - \",1,\".mp3\" nimmt Künstler und Titel aus dem "
          "Namen.", "from-names "),
    {"DryRunTellsWhatSetWouldWrite", "set --dry-run --title=Neu tagged.mp3", 0,
     "tagged.mp3: würde diesen ID3-Tag schreiben:\n" +
     Shown("", {"Neu", "Band", "Album", "1999", "Kommentar", "Rock (17)"})},
    {"ShowTellsTheTrack", "show nummer.mp3", 0, Shown("nummer.mp3", kTaggedShown) + TrackShown(5)},
    {"SetTrackWritesAndAnEmptyOneClears",
     "set --track=12 plain.mp3 && \"$CLI\" set --track= --title=Neu nummer.mp3", 0, "", "",
     {"nummer.mp3", "plain.mp3"},
     Shown("nummer.mp3", {"Neu", "Band", "Album", "1999", "Kommentar", "Rock (17)"}) +
     Shown("plain.mp3", {"", "", "", "", "", kNoGenreShown}) + TrackShown(12)},
    {"SetKeepsTheTrackUnlessTheCommentNeedsItsPlace", "set --title=Neu nummer.mp3 && \"$CLI\" set "
     "--comment=Neunundzwanzig_Zeichen_lang_! 'Alt - Lied.mp3' --track=9", 0, "",
     "tagwerk-cli: Warnung: Alt - Lied.mp3: Der Kommentar ist länger als 28 Zeichen; die "
     "Titelnummer 9 entfällt.\n", {"Alt - Lied.mp3", "nummer.mp3"},
     Shown("Alt - Lied.mp3", {"Lied", "Band", "Album", "1999", "Neunundzwanzig_Zeichen_lang_!",
                              "Rock (17)"}) +
     Shown("nummer.mp3", {"Neu", "Band", "Album", "1999", "Kommentar", "Rock (17)"}) + TrackShown(5)},
    Usage("TrackOutOfRange", "set --track=256 plain.mp3",
          "Die Titelnummer „256“ ist keine Zahl von 1 bis 255; --track= löscht sie.", "set "),
    // Every command sees the trailer of a file that is nothing else.
    {"AFileThatIsOnlyATrailerHasOne", "show nur-tag.mp3 && \"$CLI\" set --title=Neu nur-tag.mp3 "
     "&& wc -c <nur-tag.mp3", 0, Shown("nur-tag.mp3", kTaggedShown) + "128\n", "", {"nur-tag.mp3"},
     Shown("nur-tag.mp3", {"Neu", "Band", "Album", "1999", "Kommentar", "Rock (17)"})},
    {"RemoveCutsTheTrailerOff", "remove tagged.mp3 plain.mp3", 0, "", "", {"tagged.mp3"},
     "tagged.mp3" + kNoTrailer},
    {"DryRunTellsWhatRemoveAndBlankWouldDo",
     "remove --dry-run tagged.mp3 plain.mp3 && \"$CLI\" blank --dry-run tagged.mp3", 0,
     "tagged.mp3: würde den ID3-Tag entfernen\nplain.mp3: hat keinen ID3-Tag, bleibt unverändert\n"
     "tagged.mp3: würde den ID3-Tag leeren\n"},
    {"BlankEmptiesAnExistingTrailerOnly", "blank tagged.mp3 plain.mp3", 0, "", "", {"tagged.mp3"},
     Shown("tagged.mp3", {"", "", "", "", "", kNoGenreShown})},
    {"FromNamesCountsAsTheWindow", "from-names " + kPattern + " --year=2001 'Band - Lied.mp3' "
     "'Alt - Lied.mp3' 'Kurz - Stück.mp3' plain.mp3", 1,
     "Auftrag ausgeführt. Es traten bei  2 Dateien Fehler auf. Außerdem enthielten  1 Dateien "
     "bereits einen ID3-Tag (wurde nicht geändert). Geschrieben wurden  1 Dateien.\n",
     "tagwerk-cli: Kurz - Stück.mp3: Die Datei ist kürzer als ein ID3-Tag (128 Bytes).\n"
     "tagwerk-cli: plain.mp3: Der Dateiname passt nicht zum Dateinamenaufbau.\n",
     {"Band - Lied.mp3"}, Shown("Band - Lied.mp3", {"Lied", "Band", "", "2001", "", kNoGenreShown})},
    {"FromNamesOverrideAndOverwrite", "from-names " + kPattern +
     " --artist=Fest --genre=rock --override --overwrite 'Alt - Lied.mp3'", 0,
     "Auftrag ausgeführt. Es traten bei  0 Dateien Fehler auf. Geschrieben wurden  1 Dateien.\n", "",
     {"Alt - Lied.mp3"}, Shown("Alt - Lied.mp3", {"Lied", "Fest", "", "", "", "Rock (17)"})},
    {"APatternEndingInAFieldWarnsThatTheFieldStaysEmpty",
     R"(from-names --pattern='2," - ",1' 'Band - Lied.mp3')", 0,
     "Auftrag ausgeführt. Es traten bei  0 Dateien Fehler auf. Geschrieben wurden  1 Dateien.\n",
     "tagwerk-cli: Warnung: Dem letzten Feld (1) des Dateinamenaufbaus folgt kein Trenntext; es "
     "bleibt deshalb leer. Ein Trenntext wie \".mp3\" dahinter füllt es.\n", {"Band - Lied.mp3"},
     Shown("Band - Lied.mp3", {"", "Band", "", "", "", kNoGenreShown})},
    {"DryRunTellsWhatFromNamesWouldDo",
     "from-names --dry-run " + kPattern + " 'Band - Lied.mp3' 'Alt - Lied.mp3'", 0,
     "Band - Lied.mp3: würde diesen ID3-Tag schreiben:\n" +
     Shown("", {"Lied", "Band", "", "", "", kNoGenreShown}) +
     "Alt - Lied.mp3: hat bereits einen ID3-Tag, bleibt unverändert\n"},
    {"FromV2TakesTheTagAtTheStartAndLeavesFilesWithoutOne", "from-v2 v2.mp3 plain.mp3", 0,
     "Auftrag ausgeführt. Es traten bei  0 Dateien Fehler auf. Ohne ID3v2-Tag blieben  1 Dateien "
     "unverändert. Geschrieben wurden  1 Dateien.\n", "", {"v2.mp3"},
     Shown("v2.mp3", {"Aus V2", "Zweite", "", "", "", kNoGenreShown}) + TrackShown(3)},
    {"GenresListTheTableInItsOrder", "genres | sed -n '1,2p;149,150p'", 0,
     "123\tA Capella\n34\tAcid\n255\t(keine Zuordnung)\n"},
    {"UndoTakesBackEachWritingCommandNewestFirstUntilNothingIsLeft",
     "set --title=Neu tagged.mp3 plain.mp3 && \"$CLI\" remove 'Alt - Lied.mp3' && \"$CLI\" blank "
     "ordner/A.mp3 && \"$CLI\" from-names " + kPattern + " 'Band - Lied.mp3' >/dev/null && \"$CLI\" "
     "from-v2 v2.mp3 >/dev/null && while \"$CLI\" undo; do :; done", 0,
     Undone("from-v2", "Wiederhergestellt: 1 Datei.") +
     Undone("from-names", "Wiederhergestellt: 1 Datei.") +
     Undone("blank", "Wiederhergestellt: 1 Datei.") +
     Undone("remove", "Wiederhergestellt: 1 Datei.") +
     Undone("set", "Wiederhergestellt: 2 Dateien."), kNothingToUndoLine,
     {"Alt - Lied.mp3", "Band - Lied.mp3", "ordner/A.mp3", "plain.mp3", "tagged.mp3", "v2.mp3"},
     "", true},
    {"AListOfAnyLengthIsOneAction", "--version >/dev/null && printf 'tagged.mp3\\0\\0ordner/b.mp3\\0' "
     "| \"$CLI\" set --title=Neu -0 --files-from=- plain.mp3 && \"$CLI\" undo", 0,
     Undone("set", "Wiederhergestellt: 3 Dateien."), "", {"ordner/b.mp3", "plain.mp3", "tagged.mp3"},
     "", true},
    {"UndoFailsWithNothingToUndoAsATrialRunRecordsNothing",
     "set --dry-run --title=Neu tagged.mp3 >/dev/null && \"$CLI\" undo", 1, "", kNothingToUndoLine},
    Usage("UndoTakesNoPath", "undo tagged.mp3", "Unbekannte Angabe: tagged.mp3", "undo "),
    {"UndoLeavesAFileChangedSinceAndSucceeds",
     "set --title=Neu tagged.mp3 plain.mp3 && printf x >>plain.mp3 && \"$CLI\" undo", 0,
     Undone("set", "Wiederhergestellt: 1 Datei. Seitdem geändert und deshalb "
            "nicht angetastet: 1 Datei."), "", {"plain.mp3", "tagged.mp3"},
     "plain.mp3" + kNoTrailer + Shown("tagged.mp3", kTaggedShown)},
    // A file gone (a drive not mounted) fails the undo and keeps the action,
    // which the next undo finishes once the file is back.
    {"UndoKeepsAnActionWhileAFileIsGoneAndFinishesItLater",
     "set --title=Neu tagged.mp3 plain.mp3 && mv plain.mp3 weg && \"$CLI\" undo; echo $? && "
     "mv weg plain.mp3 && \"$CLI\" undo", 0,
     "Die letzte Aktion (tagwerk-cli set) wurde nicht vollständig rückgängig gemacht. "
     "Wiederhergestellt: 1 Datei. Nicht mehr vorhanden: 1 Datei. Die Aktion bleibt deshalb "
     "vermerkt: Das nächste Rückgängigmachen holt diese Dateien nach, bevor es weiter "
     "zurückgeht.\n1\n" + Undone("set", "Wiederhergestellt: 1 Datei."), "",
     {"plain.mp3", "tagged.mp3"}, "", true},
    {"DryRunTellsWhatUndoWouldDoAndKeepsTheAction", "set --title=Neu tagged.mp3 && touch -d "
     "@1000000000 tagged.mp3 && \"$CLI\" undo --dry-run && stat -c %Y tagged.mp3 && \"$CLI\" undo",
     0, "Die letzte Aktion (tagwerk-cli set) würde rückgängig gemacht. "
     "Wiederherzustellen: 1 Datei.\n1000000000\n" +
     Undone("set", "Wiederhergestellt: 1 Datei."), "", kUndone, "", true},
    // The state folder is a file, so that not even root can write the journal.
    {"AJournalThatCannotBeWrittenIsToldOnceAndStopsNothing", "genres >\"$XDG_STATE_HOME\" && "
     "\"$CLI\" set --title=Neu tagged.mp3 plain.mp3", 0, "",
     "tagwerk-cli: Warnung: "s + kJournalBroken + "\n", {"plain.mp3", "tagged.mp3"},
     Shown("plain.mp3", {"Neu", "", "", "", "", kNoGenreShown}) +
     Shown("tagged.mp3", {"Neu", "Band", "Album", "1999", "Kommentar", "Rock (17)"})},
};
// clang-format on

void PrintTo(const CommandCase& c, std::ostream* out) {
    *out << c.name;
}

class CommandLines : public testing::TestWithParam<CommandCase> {};

TEST_P(CommandLines, DoWhatTheySay) {
    const CommandCase& c = GetParam();
    const Scene scene;
    const Scene::Result result = scene.run(c.arguments);
    EXPECT_EQ(result.status, c.status);
    EXPECT_EQ(result.out, c.out);
    EXPECT_EQ(result.err, c.err);
    EXPECT_EQ(scene.changed(), c.changed);
    if (c.bytesBack) {
        for (const std::string& name : c.changed)
            EXPECT_EQ(test::ReadFileBytes(scene.dir.file(name)), scene.before.at(name).first)
                << name;
    } else if (!c.changed.empty()) {
        std::string files;
        for (const std::string& name : c.changed)
            files += " " + Quote(name);
        EXPECT_EQ(scene.run("show" + files).out, c.shownAfter);
    }
}

INSTANTIATE_TEST_SUITE_P(Cli, CommandLines, testing::ValuesIn(kCommandCases),
                         [](const auto& test) { return std::string(test.param.name); });

std::string Utf8FromLatin1Hex(const std::string& hex) {
    std::string utf8;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int c = std::stoi(hex.substr(i, 2), nullptr, 16);
        utf8 += c < 0x80 ? std::string(1, char(c))
                         : std::string{char(0xC0 | c >> 6), char(0x80 | (c & 0x3F))};
    }
    return utf8;
}

// mutagen decodes the texts as Latin-1, so the values keep to it.
TEST(CliJson, ReadsBackAsMutagenReadsTheTrailers) {
    if (test::RunCommand(test::Python() + " -c 'import mutagen'").status != 0)
        GTEST_SKIP() << "mutagen is not installed";
    const Scene scene;
    ASSERT_EQ(scene
                  .run("set --title='Grüße' --artist='Ça' --comment='Mit ß' --genre=0 --track=7 "
                       "plain.mp3 "
                       "&& \"$CLI\" set --genre=200 'Alt - Lied.mp3'")
                  .status,
              0);
    const auto json = nlohmann::json::parse(
        scene.run("show --json plain.mp3 tagged.mp3 'Band - Lied.mp3' 'Alt - Lied.mp3'").out);
    ASSERT_EQ(json.size(), 4u);
    EXPECT_EQ(json[0]["tag"]["genre"]["name"], "Blues");
    EXPECT_EQ(json[1]["tag"]["genre"]["name"], "Rock");
    EXPECT_EQ(json[2], nlohmann::json::parse(R"({"path": "Band - Lied.mp3", "tag": null})"));
    EXPECT_EQ(json[3]["tag"]["genre"], nlohmann::json::parse(R"({"code": 200, "name": null})"));
    for (const auto& file : {json[0], json[1]}) {
        SCOPED_TRACE(file.dump());
        const auto read = test::RunCommand(test::SupportScript("id3v1_oracle.py") +
                                           " read mutagen " + Quote(scene.dir.file(file["path"])));
        std::istringstream lines(read.output);
        const auto& tag = file["tag"];
        for (const char* field : {"title", "artist", "album", "year", "comment"}) {
            std::string hex;
            std::getline(lines, hex);
            EXPECT_EQ(tag[field], Utf8FromLatin1Hex(hex)) << field;
        }
        std::string genre, track;
        std::getline(lines, genre);
        std::getline(lines, track);
        EXPECT_EQ(tag["genre"]["code"], std::stoi(genre));
        EXPECT_EQ(tag["track"], track == "0" ? nlohmann::json() : nlohmann::json(std::stoi(track)));
    }
}

// The window records its actions in the same journal, without naming the tool.
TEST(CliUndo, TakesBackAnActionOfTheWindow) {
    const Scene scene;
    ::setenv("XDG_STATE_HOME", scene.stateHome().c_str(), 1);
    {
        UndoJournalWriter journal(ActionKind::singleRemoval);
        EXPECT_EQ(RemoveTagTrailer(scene.dir.path(), "tagged.mp3", {}, &journal).outcome,
                  RemoveOutcome::removed);
    }
    ::unsetenv("XDG_STATE_HOME");
    const Scene::Result result = scene.run("undo");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "Die letzte Aktion (Entfernen eines ID3-Tags) wurde rückgängig gemacht. "
                          "Wiederhergestellt: 1 Datei.\n");
    EXPECT_EQ(test::ReadFileBytes(scene.dir.file("tagged.mp3")),
              scene.before.at("tagged.mp3").first);
}

} // namespace
} // namespace tagwerk
