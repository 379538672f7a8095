#include "ui/batch/Form4.h"

#include "core/GenreTable.h"
#include "core/TagFromNameFile.h"
#include "ui/batch/BatchControls.h"
#include "ui/batch/FileDecision.h"
#include "ui/batch/Form7.h"
#include "ui/main/Accessibility.h"
#include "ui/main/ActionRecording.h"
#include "ui/main/Cp1252Validator.h"
#include "ui/main/FileErrorText.h"
#include "ui/main/Form1.h"
#include "ui/main/ProgressDisplay.h"
#include "ui/main/TextConversion.h"
#include "ui/main/WindowGeometry.h"
#include "ui/main/WindowKeys.h"
#include "ui/main/frmMessage.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <new>

namespace tagwerk {

namespace {

const QString kDefaultPattern = QStringLiteral(R"(2," - ",1,".mp3")");

// Splitting the pattern fails only when memory runs out.
const QString kPatternFault =
    "Der Text im Fenster Dateinamenaufbau ist fehlerhaft. Bitte korrigieren Sie ihn.";

const QString kHelp = QStringLiteral(
    "Um den ID3-Tag Ihrem Dateinamenaufbau anpassen zu können, werden weitere Informationen "
    "benötigt. Ein Beispiel: Die Datei heißt \"Nena - 99 Luftballons.mp3\". Der Dateiname "
    "beginnt also mit dem Namen des Künstlers, gefolgt von Leerzeichen, Bindestrich und "
    "Leerzeichen, dann folgt der Titel und schließlich die Endung .mp3. Als Dateinamenaufbau "
    "geben Sie hierfür 2,\" - \",1,\".mp3\" ein. Die Zahlen 1 bis 6 stehen für 'Titel' bis "
    "'Kommentar'. Diese Zahlen und die Teile, die im Dateinamen als Trennzeichen stehen oder "
    "entfernt werden müssen (hier Leerzeichen, Bindestrich, Leerzeichen), werden durch Kommas "
    "voneinander getrennt. Die 'Übernehmen'-Felder dienen dazu, z.B. ein und denselben "
    "Kommentar (etwa einen Aufnahmevermerk) in alle ID3-Tags einzutragen. Diese Aktion wird mit "
    "allen Dateien in der Dateiliste des Hauptfensters durchgeführt.");

// Top of field row 1 to 6, in twips.
constexpr int RowTop(int row) {
    return 720 + 360 * (row - 1);
}

QLineEdit* MakeValueField(QWidget* window, const char* name, int row, int width,
                          const QString& toolTip) {
    auto* field =
        MakeControl<QLineEdit>(window, name, TwipsRect(2760, RowTop(row), 3615, 285), toolTip);
    field->setMaxLength(width);
    field->setValidator(new Cp1252Validator(field));
    return field;
}

QCheckBox* MakeTakeOverBox(QWidget* window, const char* name, int row, const QString& caption,
                           const QString& toolTip) {
    return MakeControl<QCheckBox>(window, name, TwipsRect(240, RowTop(row), 2415, 255), toolTip,
                                  caption);
}

std::u16string Utf16(const QLineEdit* field) {
    return field->text().toStdU16String();
}

// What a run does with one entry of the file list; its preview asks the same
// with a file work that only reads.
FileDecision DecideEntry(const Dateinamenaufbau& pattern, const FixedValues& fixed,
                         const QString& entry, const FileWork& work) {
    FileDecision decision;
    // The pattern is matched against the name the user sees.
    decision.record = RecordFromFileName(pattern, ShownPath(entry).toStdU16String(), fixed);
    if (decision.record)
        decision.result = work(NativePath(entry), *decision.record);
    return decision;
}

} // namespace

Form4::Form4() {
    setObjectName("Form4");
    setWindowTitle("Tagwerk: ID3-Tag anhand Dateinamen erstellen");
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowIcon(QIcon(":/pictures/tagwerk.png"));
    setFont(LayoutFont());
    setFixedSize(TwipsToPixels(6615), TwipsToPixels(6960));

    auto* patternLabel = MakeControl<QLabel>(this, "Label1", TwipsRect(120, 120, 1455, 255),
                                             QString(), "Dateinamenaufbau:");
    Text1 = MakeControl<QLineEdit>(this, "Text1", TwipsRect(1680, 120, 4695, 285),
                                   "Hier geben Sie Ihren Dateinamenaufbau ein. Lesen Sie dazu "
                                   "bitte den unten stehenden Hilfstext.",
                                   kDefaultPattern);
    NameByLabel(*patternLabel, *Text1);
    createFieldRows();
    Check8 = MakeControl<QCheckBox>(this, "Check8", TwipsRect(240, 2880, 5895, 255),
                                    "Bestimmt, ob die oben abgehakten Felder auch beim Vorkommen "
                                    "des jeweiligen Feldes im Dateinamenaufbau übernommen werden "
                                    "soll.",
                                    "Übernahme auch bei Vorhandensein eines Feldes");
    Check7 =
        MakeControl<QCheckBox>(this, "Check7", TwipsRect(240, 3480, 3255, 255),
                               "Bestimmt, ob bereits vorhandene ID3-Tags ersetzt werden sollen.",
                               "Vorhandene ID3-Tags überschreiben");
    Label2 =
        MakeControl<QLabel>(this, "Label2", TwipsRect(240, 3960, 6015, 2295), QString(), kHelp);
    Label2->setWordWrap(true);
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Command1 = MakeControl<QPushButton>(
        this, "Command1", TwipsRect(240, 6360, 2895, 495),
        "Untersucht alle Dateien der Dateiliste im Hauptfenster auf den oben eingegebenen "
        "Dateinamenaufbau und erstellt zu jeder Datei einen passenden ID3-Tag.",
        "Starten");
    Command2 = MakeControl<QPushButton>(this, "Command2", TwipsRect(3240, 6360, 2895, 495),
                                        "Bricht die Aktion ab.", "Abbruch");
    Command3 = MakeControl<QPushButton>(
        this, "Command3", TwipsRect(3720, 3360, 2655, 495),
        "Zeigt für jede Datei der Dateiliste, welchen ID3-Tag \"Starten\" schreiben würde oder "
        "warum nicht, ohne etwas zu schreiben.",
        "&Vorschau...");

    QWidget* const order[] = {Text1,  Check1, Check2, Check3,   Check4,   Check5,
                              Check6, Check8, Text2,  Text3,    Text4,    Text5,
                              Combo1, Text6,  Check7, Command3, Command1, Command2};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(Command1, &QPushButton::clicked, this, &Form4::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form4::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form4::Command3_Click);
    EnterPressesFocusedButton(*this);
    EscapeClosesWindow(*this);
    CenterOnScreen(*this);
    Form_Load();
}

// Row n holds the number label "(n)", the take-over box and the value of
// field n, so the user can read off the numbers of the Dateinamenaufbau.
void Form4::createFieldRows() {
    const char* const numberNames[] = {"Label3", "Label4", "Label5", "Label6", "Label7", "Label8"};
    QLabel* numberLabels[6];
    for (int row = 1; row <= 6; ++row)
        numberLabels[row - 1] =
            MakeControl<QLabel>(this, numberNames[row - 1], TwipsRect(0, RowTop(row), 255, 255),
                                QString(), QString("(%1)").arg(row));

    Check1 = MakeTakeOverBox(this, "Check1", 1, "'Titel' übernehmen",
                             "Bestimmt, ob das Titelfeld in den ID3-Tag übernommen wird.");
    Check2 = MakeTakeOverBox(this, "Check2", 2, "'Künstler' übernehmen",
                             "Bestimmt, ob das Künstlerfeld in den ID3-Tag übernommen wird.");
    Check3 = MakeTakeOverBox(this, "Check3", 3, "'Album' übernehmen",
                             "Bestimmt, ob das Albumfeld in den ID3-Tag übernommen wird.");
    Check4 = MakeTakeOverBox(this, "Check4", 4, "'Jahr' übernehmen",
                             "Bestimmt, ob das Jahresfeld in den ID3-Tag übernommen wird.");
    Check5 = MakeTakeOverBox(this, "Check5", 5, "'Musikrichtung' übernehmen",
                             "Bestimmt, ob das Musikrichtungsfeld in den ID3-Tag übernommen wird.");
    Check6 = MakeTakeOverBox(this, "Check6", 6, "'Kommentar' übernehmen",
                             "Bestimmt, ob das Kommentarfeld in den ID3-Tag übernommen wird.");

    Text2 =
        MakeValueField(this, "Text2", 1, kTextWidth, "Geben Sie hier den Titel der MP3-Datei ein.");
    Text3 = MakeValueField(this, "Text3", 2, kTextWidth,
                           "Hier können Sie die Musikgruppe bzw. den Künstler/Autor der MP3-Datei "
                           "eingeben.");
    Text4 = MakeValueField(this, "Text4", 3, kTextWidth,
                           "Tragen Sie hier ggf. die Bezeichnung des Albums ein, aus dem Sie die "
                           "MP3-Datei entnommen haben.");
    Text5 = MakeValueField(this, "Text5", 4, kYearWidth,
                           "Schreiben Sie hier das Jahr hin, aus der der Titel stammt.");
    Combo1 = MakeControl<QComboBox>(this, "Combo1", TwipsRect(2760, RowTop(5), 3615, 315),
                                    "Wählen Sie mit Hilfe dieses Kombinationsfeldes ggf. die "
                                    "Musikrichtung des Titels aus.");
    Text6 = MakeValueField(this, "Text6", 6, kTextWidth,
                           "Fügen Sie einen kleinen Kommentar zu Ihrer MP3-Datei hinzu.");

    // A value is linked to its row's number label, which alone says little:
    // its name is the field of its take-over box, with the row's number.
    QWidget* const values[] = {Text2, Text3, Text4, Text5, Combo1, Text6};
    for (int row = 1; row <= 6; ++row) {
        QWidget& value = *values[row - 1];
        NameByLabel(*numberLabels[row - 1], value);
        NameWithoutLabel(value, QString("%1 (%2)").arg(kFieldCaptions[row - 1]).arg(row));
    }
}

void Form4::Form_Load() {
    for (QLineEdit* field : {Text2, Text3, Text4, Text5, Text6})
        field->clear();
    for (std::string_view name : GenreNames())
        Combo1->addItem(FromCp1252(name));
    Combo1->setCurrentIndex(Combo1->count() - 1);
}

FixedValues Form4::fixedValues() const {
    FixedValues fixed;
    fixed.title = Utf16(Text2);
    fixed.artist = Utf16(Text3);
    fixed.album = Utf16(Text4);
    fixed.year = Utf16(Text5);
    fixed.genreName = Combo1->currentText().toStdU16String();
    fixed.comment = Utf16(Text6);
    const QCheckBox* const takeOver[] = {Check1, Check2, Check3, Check4, Check5, Check6};
    for (std::size_t i = 0; i < fixed.takeOver.size(); ++i)
        fixed.takeOver[i] = takeOver[i]->isChecked();
    fixed.overrideNameParts = Check8->isChecked();
    return fixed;
}

void Form4::Command1_Click() {
    hide();
    Form1& main = Form1::instance();
    main.show();
    main.setEnabled(false);
    ProgressDisplay progress(main);
    progress.BeginProgress();

    Dateinamenaufbau pattern;
    try {
        pattern = ParseDateinamenaufbau(Utf16(Text1));
    } catch (const std::bad_alloc&) {
        main.setEnabled(true);
        progress.EndProgress();
        main.hide();
        show();
        ShowNotice(kPatternFault);
        return;
    }
    // The window is hidden for the whole run, so its values cannot change.
    const FixedValues fixed = fixedValues();
    const bool overwrite = Check7->isChecked();

    UndoJournalWriter journal(ActionKind::tagsFromNamesRun);
    const FileWork write = WriteWork(overwrite, journal);
    QHash<QString, QString> failures; // why, by entry
    int leftAlone = 0;
    const int n = main.List1->count();
    for (int i = 1; i <= n; ++i) {
        const QString entry = main.List1->entryAt(i - 1);
        const FileDecision decision = DecideEntry(pattern, fixed, entry, write);
        const FileOutcome outcome = OutcomeOf(decision);
        if (outcome == FileOutcome::noValues) { // counted with the failures
            failures.insert(entry, "Der Dateiname passt nicht zum Dateinamenaufbau.");
            continue;
        }
        if (outcome == FileOutcome::failed) {
            failures.insert(entry, TagFromNameFailureText(decision.result));
            continue;
        }
        if (outcome == FileOutcome::leftAlone)
            ++leftAlone;
        progress.ShowProgress(ProgressBar::overall, static_cast<double>(i) / n,
                              [&] { return PercentText(std::int64_t{100} * i / n); });
    }

    main.setEnabled(true);
    progress.EndProgress();
    main.List1->markFailures(failures);
    FinishAction(journal, QString::fromStdString(TagFromNameSummary(failures.size(), leftAlone)));
}

void Form4::Command2_Click() {
    hide();
    Form1::instance().show();
}

// The preview decides each file as a run would with the values shown now;
// they stay so while it is open, and its "Starten" is this window's.
void Form4::Command3_Click() {
    Dateinamenaufbau pattern;
    try {
        pattern = ParseDateinamenaufbau(Utf16(Text1));
    } catch (const std::bad_alloc&) {
        ShowNotice(kPatternFault);
        return;
    }
    const FixedValues fixed = fixedValues();
    const FileWork look = PreviewWork(Check7->isChecked());
    Form7::Open(
        *this,
        {"Tagwerk: Vorschau – ID3-Tag anhand Dateinamen erstellen",
         "Dateiname passt nicht zum Dateinamenaufbau",
         "bleibt unverändert (hat bereits einen ID3-Tag)"},
        [=](const QString& entry) { return DecideEntry(pattern, fixed, entry, look); },
        [this] { Command1_Click(); });
}

void Form4::closeEvent(QCloseEvent* event) {
    Command2_Click();
    event->accept();
}

} // namespace tagwerk
