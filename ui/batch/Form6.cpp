#include "ui/batch/Form6.h"

#include "core/TagFromNameFile.h"
#include "id3v2/Id3v2Reading.h"
#include "ui/batch/BatchControls.h"
#include "ui/batch/FileDecision.h"
#include "ui/batch/Form7.h"
#include "ui/main/ActionRecording.h"
#include "ui/main/FileErrorText.h"
#include "ui/main/Form1.h"
#include "ui/main/ProgressDisplay.h"
#include "ui/main/TextConversion.h"
#include "ui/main/WindowGeometry.h"
#include "ui/main/WindowKeys.h"
#include "ui/main/frmMessage.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <array>

namespace tagwerk {

namespace {

using Counts = std::array<int, 4>; // by FileOutcome

// Only the last 128 bytes are ever written: the ID3v2 tag and the audio
// stay as they are. An existing trailer is kept or replaced by the rules of
// the tags from file names. The preview asks the same with a file work that
// only reads.
FileDecision TakeOverId3v2(const std::string& path, const FileWork& work) {
    const std::optional<Id3v2Tag> tag = ReadId3v2Tag(path);
    if (!tag) // either the file has none, or it cannot be read at all
        return {std::nullopt, {TagFromNameOutcome::failed, OpenForReading(path).error}};
    return {tag->record, work(path, tag->record)};
}

QString Summary(const Counts& counts, bool stopped) {
    const auto count = [&](FileOutcome outcome) {
        return SignPlaceText(counts[static_cast<std::size_t>(outcome)]);
    };
    return QString(stopped ? "Auftrag abgebrochen." : "Auftrag ausgeführt.") + " Es wurden " +
           count(FileOutcome::written) + " ID3v1-Tags geschrieben. Es traten bei " +
           count(FileOutcome::failed) + " Dateien Fehler auf. Außerdem enthielten " +
           count(FileOutcome::leftAlone) +
           " Dateien bereits einen ID3v1-Tag (wurde nicht geändert) und " +
           count(FileOutcome::noValues) + " Dateien keinen lesbaren ID3v2-Tag.";
}

} // namespace

Form6::Form6() {
    setObjectName("Form6");
    setWindowTitle("Tagwerk: ID3v1-Tags aus ID3v2-Tags erzeugen");
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowIcon(QIcon(":/pictures/tagwerk.png"));
    setFont(LayoutFont());
    setFixedSize(TwipsToPixels(5415), TwipsToPixels(3255));

    Label1 = MakeControl<QLabel>(
        this, "Label1", TwipsRect(120, 120, 5175, 1335), QString(),
        "Hiermit erhalten alle Dateien der Dateiliste im Hauptfenster einen ID3v1-Tag mit Titel, "
        "Künstler, Album, Jahr, Kommentar und Musikrichtung aus ihrem ID3v2-Tag, den die meisten "
        "Player anzeigen. Dateien ohne lesbaren ID3v2-Tag bleiben unverändert, der ID3v2-Tag "
        "selbst wird nie geändert. Wird während der Bearbeitung auf Abbruch geklickt, so stoppt "
        "das Programm nach der aktuellen Datei.");
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Check1 =
        MakeControl<QCheckBox>(this, "Check1", TwipsRect(240, 1560, 5055, 255),
                               "Bestimmt, ob bereits vorhandene ID3v1-Tags ersetzt werden sollen.",
                               "Vorhandene ID3v1-Tags &überschreiben");
    Command1 = MakeControl<QPushButton>(this, "Command1", TwipsRect(240, 2040, 2415, 495),
                                        "Erstellt zu jeder Datei der Dateiliste im Hauptfenster "
                                        "einen ID3v1-Tag aus ihrem ID3v2-Tag.",
                                        "&Starten");
    Command2 = MakeControl<QPushButton>(
        this, "Command2", TwipsRect(2760, 2040, 2415, 495),
        "Bricht die Aktion ab bzw. stoppt die Verarbeitung der Dateiliste.", "&Abbruch");
    Command3 = MakeControl<QPushButton>(
        this, "Command3", TwipsRect(240, 2640, 2415, 495),
        "Zeigt für jede Datei der Dateiliste, welchen ID3v1-Tag \"Starten\" schreiben würde "
        "oder warum nicht, ohne etwas zu schreiben.",
        "&Vorschau...");
    setTabOrder(Check1, Command1);
    setTabOrder(Command1, Command2);
    setTabOrder(Command2, Command3);

    connect(Command1, &QPushButton::clicked, this, &Form6::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form6::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form6::Command3_Click);
    EnterPressesFocusedButton(*this);
    EscapeClosesWindow(*this);
}

// The main window is disabled from the opening of this window; a run lets
// events through whenever the bar moves, so "Abbruch" can hide the window,
// which stops the run after the file at hand.
void Form6::Command1_Click() {
    Form1& main = Form1::instance();
    main.setEnabled(false);
    running_ = true;
    Command1->setEnabled(false);
    Check1->setEnabled(false);
    Command3->setEnabled(false);
    ProgressDisplay progress(main);
    progress.BeginProgress();

    const bool overwrite = Check1->isChecked();
    UndoJournalWriter journal(ActionKind::id3v1FromId3v2Run);
    const FileWork write = WriteWork(overwrite, journal);
    Counts counts{};
    QHash<QString, QString> failures; // why, by entry
    bool openFileWritten = false;
    const QString openFile = main.openFilePath();
    const int n = main.List1->count();
    int i = 1;
    for (; i <= n && !isHidden(); ++i) {
        const QString entry = main.List1->entryAt(i - 1);
        const FileDecision decision = TakeOverId3v2(NativePath(entry), write);
        const FileOutcome outcome = OutcomeOf(decision);
        ++counts[static_cast<std::size_t>(outcome)];
        if (outcome == FileOutcome::failed)
            failures.insert(entry, TagFromNameFailureText(decision.result));
        openFileWritten = openFileWritten || (outcome == FileOutcome::written && entry == openFile);
        progress.ShowProgress(ProgressBar::overall, static_cast<double>(i) / n,
                              [&] { return PercentText(std::int64_t{100} * i / n); });
    }

    progress.EndProgress();
    running_ = false;
    Command1->setEnabled(true);
    Check1->setEnabled(true);
    Command3->setEnabled(true);
    hide();
    main.setEnabled(true);
    main.List1->markFailures(failures);
    // Before the summary, which the load's question would replace.
    if (openFileWritten)
        main.reloadOpenFile();
    FinishAction(journal, Summary(counts, i <= n));
}

// A run stops at its next check and only then enables the main window:
// until then nothing there can start or close while the run holds the list.
void Form6::Command2_Click() {
    if (!running_)
        Form1::instance().setEnabled(true);
    hide();
}

void Form6::Command3_Click() {
    const FileWork look = PreviewWork(Check1->isChecked());
    Form7::Open(
        *this,
        {"Tagwerk: Vorschau – ID3v1-Tags aus ID3v2-Tags erzeugen",
         "bleibt unverändert (hat keinen lesbaren ID3v2-Tag)",
         "bleibt unverändert (hat bereits einen ID3v1-Tag)"},
        [=](const QString& entry) { return TakeOverId3v2(NativePath(entry), look); },
        [this] { Command1_Click(); });
}

void Form6::closeEvent(QCloseEvent* event) {
    Command2_Click();
    event->accept();
}

void Form6::showEvent(QShowEvent* event) {
    QRect place(QPoint(), frameGeometry().size());
    place.moveCenter(Form1::instance().frameGeometry().center());
    move(place.topLeft());
    QWidget::showEvent(event);
}

} // namespace tagwerk
