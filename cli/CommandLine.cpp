#include "cli/CommandLine.h"

#include "cli/Text.h"
#include "core/Cp1252.h"
#include "core/GenreTable.h"

#include <CLI/CLI.hpp>
#include <algorithm>

namespace tagwerk {

namespace {

// The options as given, before they are checked.
struct Given {
    std::vector<std::string> paths;
    bool recursive = false;
    std::string filesFrom;
    bool nulSeparated = false;
    bool dryRun = false;
    bool json = false;
    bool replace = false;
    bool overwrite = false;
    bool overrideNameParts = false;
    std::array<std::string, 5> texts;
    std::string genre;
    std::string track;
    std::string pattern;
};

struct TextField {
    const char* option;
    const char* help;
    std::size_t width;
};
// In the order of FieldValues::texts; the take-over flags of FixedValues
// have the genre between year and comment.
constexpr std::array<TextField, 5> kTextFields{{
    {"--title", "Titel", kTextWidth},
    {"--artist", "Künstler", kTextWidth},
    {"--album", "Album", kTextWidth},
    {"--year", "Jahr", kYearWidth},
    {"--comment", "Kommentar", kTextWidth},
}};

void AddPaths(CLI::App& command, Given& given) {
    command.add_option("PFAD", given.paths, "Dateien; mit -r auch Ordner")->type_name("");
    command.add_flag("-r,--recursive", given.recursive,
                     "Ordner geben ihre MP3-Dateien, samt Unterordnern");
    command
        .add_option("--files-from", given.filesFrom,
                    "Weitere Pfade, je Zeile einer; - liest sie "
                    "von der Standardeingabe")
        ->type_name("DATEI");
    command.add_flag("-0,--null", given.nulSeparated,
                     "Die Pfade der Liste enden mit einem Nullbyte statt einer Zeile");
}

void AddDryRun(CLI::App& command, Given& given) {
    command.add_flag("--dry-run", given.dryRun, "Zeigt, was geschähe, und schreibt nichts");
}

void AddFields(CLI::App& command, Given& given, const char* genreForm) {
    for (std::size_t i = 0; i < kTextFields.size(); ++i)
        command.add_option(kTextFields[i].option, given.texts[i], kTextFields[i].help)
            ->type_name("TEXT");
    command.add_option("--genre", given.genre, "Musikrichtung (tagwerk-cli genres)")
        ->type_name(genreForm);
    command.add_flag("--replace", given.replace,
                     "Zeichen, die Windows-1252 nicht kennt, werden zum Grundbuchstaben oder „?“");
}

void Define(CLI::App& app, Given& given) {
    auto formatter = app.get_formatter();
    formatter->label("Usage", "Aufruf");
    formatter->label("OPTIONS", "OPTIONEN");
    formatter->label("SUBCOMMAND", "BEFEHL");
    formatter->label("Positionals", "Argumente");
    formatter->column_width(28);
    app.option_defaults()->group("Optionen")->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    app.set_help_flag("-h,--help", "Zeigt diese Hilfe");
    app.set_version_flag("-V,--version", "tagwerk-cli " TAGWERK_VERSION, "Zeigt die Version");
    app.footer("Ende mit 0, wenn alles getan ist, 1, wenn Dateien scheiterten oder es nichts "
               "rückgängig zu machen gibt, 2 bei einem fehlerhaften Aufruf.\nDie schreibenden "
               "Befehle werden vermerkt, damit undo sie rückgängig machen kann.\nMehr: man "
               "tagwerk-cli\n");

    const auto command = [&](const char* name, const char* help) {
        CLI::App* subcommand = app.add_subcommand(name, help)->group("Befehle");
        subcommand->get_help_ptr()->group("Optionen");
        return subcommand;
    };
    CLI::App* show = command("show", "Zeigt den ID3-Tag jeder Datei");
    show->add_flag("--json", given.json, "Als JSON-Feld mit einem Objekt je Datei");
    AddPaths(*show, given);

    CLI::App* set = command("set", "Schreibt die angegebenen Felder, die übrigen bleiben");
    AddFields(*set, given, "NAME|NUMMER");
    set->add_option("--track", given.track, "Titelnummer 1 bis 255 (ID3v1.1); leer: keine")
        ->type_name("NUMMER");
    AddDryRun(*set, given);
    AddPaths(*set, given);

    for (auto [name, help] : {std::pair{"remove", "Entfernt den ID3-Tag"},
                              std::pair{"blank", "Leert den ID3-Tag, wo einer ist"}}) {
        CLI::App* removal = command(name, help);
        AddDryRun(*removal, given);
        AddPaths(*removal, given);
    }

    CLI::App* fromNames = command("from-names", "Erstellt ID3-Tags anhand der Dateinamen");
    fromNames
        ->add_option("--pattern", given.pattern, "Dateinamenaufbau, z. B. 2,\" - \",1,\".mp3\"")
        ->type_name("MUSTER");
    AddFields(*fromNames, given, "NAME");
    fromNames->add_flag("--override", given.overrideNameParts,
                        "Angegebene Felder gehen auch den Teilen des Namens vor");
    fromNames->add_flag("--overwrite", given.overwrite, "Vorhandene ID3-Tags überschreiben");
    AddDryRun(*fromNames, given);
    AddPaths(*fromNames, given);

    CLI::App* fromV2 = command("from-v2", "Erstellt ID3-Tags aus dem ID3v2-Tag am Dateianfang");
    fromV2->add_flag("--overwrite", given.overwrite, "Vorhandene ID3-Tags überschreiben");
    AddDryRun(*fromV2, given);
    AddPaths(*fromV2, given);

    command("genres", "Listet alle Musikrichtungen mit ihrer Nummer");

    CLI::App* undo =
        command("undo", "Macht die letzte Aktion rückgängig, auch eine aus dem Fenster");
    AddDryRun(*undo, given);
}

// The parser's own messages are English; the common mistakes are told in
// German, each naming what was wrong.
std::string GermanParseError(const CLI::ParseError& error) {
    const std::string what = error.what();
    if (dynamic_cast<const CLI::ExtrasError*>(&error)) // "...: --a --b"
        return "Unbekannte Angabe: " + what.substr(what.find(": ") + 2);
    if (dynamic_cast<const CLI::ArgumentMismatch*>(&error)) // "--a: ..."
        return "Der Angabe " + what.substr(0, what.find(':')) + " fehlt ihr Wert.";
    return "Fehlerhafter Aufruf (" + what + ").";
}

// "--comment=" gives an empty value; the parser would take the next argument
// as the value instead, so the two are passed apart.
std::vector<std::string> ReversedArguments(int argc, char** argv) {
    std::vector<std::string> arguments;
    bool options = true;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        options = options && argument != "--";
        if (options && argument.starts_with("--") && argument.find('=') == argument.size() - 1) {
            arguments.push_back(argument.substr(0, argument.size() - 1));
            arguments.emplace_back();
        } else {
            arguments.push_back(argument);
        }
    }
    return {arguments.rbegin(), arguments.rend()};
}

// A pattern that takes no part of the name would give every file empty
// texts. One whose last field has no separator after it keeps the rule
// that such a field is never read, with a warning: "2,\"-\",1" leaves the
// title empty.
Dateinamenaufbau CheckedPattern(const std::string& text) {
    const std::u16string given = Utf16FromUtf8(text);
    Dateinamenaufbau pattern = ParseDateinamenaufbau(given);
    if (std::none_of(pattern.begin(), pattern.end(),
                     [](const PatternPair& pair) { return FieldIndex(pair.fieldToken); }))
        throw UsageError(
            "Der Dateinamenaufbau nennt kein Feld von 1 bis 6; etwa 2,\" - \",1,\".mp3\" "
            "nimmt Künstler und Titel aus dem Namen.");
    if (const auto unread = UnreadField(given))
        Warn("Dem letzten Feld (" + std::to_string(*unread + 1) +
             ") des Dateinamenaufbaus folgt kein Trenntext; es "
             "bleibt deshalb leer. Ein Trenntext wie \".mp3\" dahinter füllt es.");
    return pattern;
}

Invocation Checked(const CLI::App& command, Given& given) {
    Invocation invocation;
    invocation.command = command.get_name();
    invocation.files = {std::move(given.paths), given.recursive, std::move(given.filesFrom),
                        given.nulSeparated};
    invocation.dryRun = given.dryRun;
    invocation.json = given.json;
    invocation.overwrite = given.overwrite;
    if (invocation.command != "genres" && invocation.command != "undo" &&
        invocation.files.paths.empty() && command.count("--files-from") == 0)
        throw UsageError("Keine Datei angegeben.");
    if (given.nulSeparated && command.count("--files-from") == 0)
        throw UsageError("--null gilt für die Liste von --files-from, die fehlt.");
    if (invocation.command == "set") {
        for (std::size_t i = 0; i < kTextFields.size(); ++i)
            if (command.count(kTextFields[i].option) > 0)
                invocation.fields.texts[i] = Cp1252Value(kTextFields[i].option, given.texts[i],
                                                         kTextFields[i].width, given.replace);
        if (command.count("--genre") > 0)
            invocation.fields.genre = GenreValue(given.genre, true);
        if (command.count("--track") > 0)
            invocation.fields.track = TrackValue(given.track);
        if (std::none_of(invocation.fields.texts.begin(), invocation.fields.texts.end(),
                         [](const auto& text) { return text.has_value(); }) &&
            !invocation.fields.genre && !invocation.fields.track)
            throw UsageError("set braucht mindestens ein Feld, etwa --title.");
    }
    if (invocation.command == "from-names") {
        if (command.count("--pattern") == 0)
            throw UsageError("from-names braucht --pattern.");
        invocation.pattern = CheckedPattern(given.pattern);
        FixedValues& fixed = invocation.fixed;
        std::u16string* const texts[] = {&fixed.title, &fixed.artist, &fixed.album, &fixed.year,
                                         &fixed.comment};
        constexpr std::size_t kTakeOver[] = {0, 1, 2, 3, 5}; // genre is 4
        for (std::size_t i = 0; i < kTextFields.size(); ++i) {
            if (command.count(kTextFields[i].option) == 0)
                continue;
            *texts[i] = DecodeCp1252(Cp1252Value(kTextFields[i].option, given.texts[i],
                                                 kTextFields[i].width, given.replace));
            fixed.takeOver[kTakeOver[i]] = true;
        }
        if (command.count("--genre") > 0) {
            fixed.genreName = Utf16FromUtf8(*GenreNameFromCode(GenreValue(given.genre, false)));
            fixed.takeOver[4] = true;
        }
        fixed.overrideNameParts = given.overrideNameParts;
    }
    return invocation;
}

// `command` is empty for a mistake before or without a command.
int UsageFailure(const std::string& message, const std::string& command) {
    WriteLine(stderr, "tagwerk-cli: " + message);
    WriteLine(stderr, "Hilfe: tagwerk-cli " + (command.empty() ? "" : command + " ") + "--help");
    return kExitUsage;
}

} // namespace

std::variant<Invocation, int> ReadCommandLine(int argc, char** argv) {
    CLI::App app("tagwerk-cli bearbeitet den ID3v1-Tag am Ende von MP3-Dateien.", "tagwerk-cli");
    Given given;
    Define(app, given);
    std::vector<std::string> arguments = ReversedArguments(argc, argv);
    try {
        app.parse(arguments);
    } catch (const CLI::Success& success) {
        return app.exit(success); // the help, on standard output
    } catch (const CLI::ParseError& error) {
        // What the program itself did not take, such as -r before the
        // command, is a mistake of the whole line.
        const std::vector<CLI::App*> parsed = app.get_subcommands();
        const bool topLevel = parsed.empty() || app.remaining_size() > 0;
        return UsageFailure(GermanParseError(error), topLevel ? "" : parsed.front()->get_name());
    }
    const std::vector<CLI::App*> parsed = app.get_subcommands();
    if (parsed.empty())
        return UsageFailure("Kein Befehl angegeben.", "");
    // The parser takes a second command name as a second command, and all of
    // them fill the one set of options: the last would act on every path.
    if (parsed.size() > 1) {
        std::string names;
        for (const CLI::App* command : parsed)
            names += (names.empty() ? "" : ", ") + command->get_name();
        return UsageFailure("Mehr als ein Befehl angegeben: " + names + ".", "");
    }
    try {
        return Checked(*parsed.front(), given);
    } catch (const UsageError& error) {
        return UsageFailure(error.what(), parsed.front()->get_name());
    }
}

} // namespace tagwerk
