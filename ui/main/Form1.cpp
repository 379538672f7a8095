#include "ui/main/Form1.h"

#include "core/GenreTable.h"
#include "core/PathText.h"
#include "core/TrailerFile.h"
#include "ui/batch/Form4.h"
#include "ui/batch/Form5.h"
#include "ui/batch/Form6.h"
#include "ui/desktop/FileIntake.h"
#include "ui/main/ActionRecording.h"
#include "ui/main/Cp1252Validator.h"
#include "ui/main/FileErrorText.h"
#include "ui/main/ProgressLabel.h"
#include "ui/main/TextConversion.h"
#include "ui/main/WindowGeometry.h"
#include "ui/main/WindowKeys.h"
#include "ui/main/frmMessage.h"
#include "ui/main/frmSplash.h"
#include "ui/select/Form2.h"
#include "ui/select/Form3.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>

namespace tagwerk {

namespace {

const QString kUnsavedQuestion = QStringLiteral(
    "Die Änderungen an der aktuellen Datei wurden noch nicht gespeichert. Möchten Sie, dass die "
    "Änderungen gespeichert werden?");
const QString kReloadQuestion = QStringLiteral(
    "Sollen die Änderungen an der aktuellen Datei verworfen und der ID3-Tag erneut eingeladen "
    "werden? ");
const QString kYes = QStringLiteral("1");

// Creates a control of the client area with its name and place (in twips).
template <class Control, class... Arguments>
Control* MakeControl(QWidget* client, const char* name, const QRect& place,
                     Arguments&&... arguments) {
    auto* control = new Control(std::forward<Arguments>(arguments)..., client);
    control->setObjectName(name);
    control->setGeometry(place);
    return control;
}

template <class Label = QLabel>
Label* MakeCaption(QWidget* client, const char* name, const QString& text, const QRect& place) {
    auto* label = MakeControl<Label>(client, name, place, text);
    label->setTextFormat(Qt::PlainText); // paths and file names are shown as they are
    return label;
}

QLineEdit* MakeTextBox(QWidget* client, const char* name, const QRect& place, int width,
                       const QString& toolTip) {
    auto* box = MakeControl<QLineEdit>(client, name, place);
    box->setMaxLength(width);
    box->setValidator(new Cp1252Validator(box));
    box->setToolTip(toolTip);
    return box;
}

QPushButton* MakeButton(QWidget* client, const char* name, const QString& caption,
                        const QRect& place, const QString& toolTip) {
    auto* button = MakeControl<QPushButton>(client, name, place, caption);
    button->setToolTip(toolTip);
    return button;
}

QAction* MakeMenuItem(QMenu* menu, const char* name, const QString& caption) {
    QAction* item = menu->addAction(caption);
    item->setObjectName(name);
    return item;
}

// A path with a break chance after every separator, so that a long path
// wraps in a message instead of running out of it.
QString WrappablePath(const QString& path) {
    QString text = path;
    return text.replace(QChar(kPathSeparator), QString(QChar(kPathSeparator)) + QChar(0x200B));
}

} // namespace

Form1::Form1() {
    setObjectName("Form1");
    setWindowTitle("Tagwerk");
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setWindowIcon(QIcon(":/pictures/tagwerk.png"));
    setFont(LayoutFont());

    auto* client = new QWidget(this);
    client->setObjectName("client");
    client->setFixedSize(TwipsToPixels(9375), TwipsToPixels(7500));
    setCentralWidget(client);
    createProgressDisplay(client);
    createEditorFields(client);
    createCommands(client);
    createFileList(client);
    createMenus();
    setKeyboardOrder();
    createId3v2Controls(client);
    createUndoItem();
    makeAccessible();
    createShortcuts();
    setFixedSize(client->width(), client->height() + menuBar()->sizeHint().height());
    EnterPressesFocusedButton(*this);
    AcceptDropsOnMainWindow(*this);
    CenterOnScreen(*this);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        if (!keepFocusOffListCommands(old, now))
            rememberFocus(now);
    });
    Form_Load();
}

// The focus moves while the controls go; this window is no longer there to hear of it.
Form1::~Form1() {
    disconnect(qApp, nullptr, this, nullptr);
}

void Form1::createEditorFields(QWidget* client) {
    MakeCaption(client, "Label1", "Titel:", TwipsRect(120, 2400, 1215, 255));
    Text1 = MakeTextBox(client, "Text1", TwipsRect(1440, 2400, 3615, 285), kTextWidth,
                        "Geben Sie hier den Titel der MP3-Datei ein.");
    MakeCaption(client, "Label2", "Künstler:", TwipsRect(120, 2880, 1215, 255));
    Text2 = MakeTextBox(client, "Text2", TwipsRect(1440, 2880, 3615, 285), kTextWidth,
                        "Hier können Sie die Musikgruppe bzw. den Künstler/Autor der MP3-Datei "
                        "eingeben.");
    MakeCaption(client, "Label3", "Album:", TwipsRect(120, 3360, 1215, 255));
    Text3 = MakeTextBox(client, "Text3", TwipsRect(1440, 3360, 3615, 285), kTextWidth,
                        "Tragen Sie hier ggf. die Bezeichnung des Albums ein, aus dem Sie die "
                        "MP3-Datei entnommen haben.");
    MakeCaption(client, "Label4", "Jahr:", TwipsRect(120, 3840, 1215, 255));
    Text4 = MakeTextBox(client, "Text4", TwipsRect(1440, 3840, 3615, 285), kYearWidth,
                        "Schreiben Sie hier das Jahr hin, aus der der Titel stammt.");
    MakeCaption(client, "Label5", "Musikrichtung:", TwipsRect(120, 4320, 1215, 255));
    Combo1 = MakeControl<QComboBox>(client, "Combo1", TwipsRect(1440, 4320, 3615, 315));
    Combo1->setToolTip("Wählen Sie mit Hilfe dieses Kombinationsfeldes ggf. die Musikrichtung "
                       "des Titels aus.");
    for (std::string_view name : GenreNames())
        Combo1->addItem(FromCp1252(name));
    MakeCaption(client, "Label6", "Kommentar:", TwipsRect(120, 4800, 1215, 255));
    Text5 = MakeTextBox(client, "Text5", TwipsRect(1440, 4800, 3615, 285), kTextWidth,
                        "Fügen Sie einen kleinen Kommentar zu Ihrer MP3-Datei hinzu.");

    MakeCaption(client, "Label8", "Datei:", TwipsRect(120, 1560, 855, 255));
    Label10 =
        MakeCaption<PathLabel>(client, "Label10", QString(), TwipsRect(1080, 1560, 8175, 255));
    MakeCaption(client, "Label9", "Verzeichnis:", TwipsRect(120, 1920, 855, 255));
    Label11 =
        MakeCaption<PathLabel>(client, "Label11", QString(), TwipsRect(1080, 1920, 8175, 255));

    for (QLineEdit* field : {Text1, Text2, Text3, Text4, Text5})
        connect(field, &QLineEdit::textChanged, this, &Form1::Field_Change);
    connect(Combo1, &QComboBox::currentIndexChanged, this, &Form1::Field_Change);
}

void Form1::createCommands(QWidget* client) {
    Command3 = MakeButton(client, "Command3", "ID3-Tag entfernen", TwipsRect(5400, 2400, 3735, 375),
                          "Entfernt den ID3-Tag aus der oben angegebenen Datei.");
    Command2 = MakeButton(client, "Command2", "ID3-Tag laden", TwipsRect(5400, 2880, 3735, 375),
                          "Lädt den ID3-Tag der oben angegebenen Datei.");
    Command1 = MakeButton(client, "Command1", "ID3-Tag speichern", TwipsRect(5400, 3360, 3735, 375),
                          "Speichert den ID3-Tag in die oben angegebene Datei.");
    for (QPushButton* command : {Command1, Command2, Command3})
        command->setEnabled(false);
    Check1 = MakeControl<QCheckBox>(client, "Check1", TwipsRect(5520, 3840, 3615, 255),
                                    "Änderungen automatisch speichern/verwerfen");
    Check1->setToolTip("Ist dieses Feld mit einem Haken versehen, so wird der ID3-Tag jedesmal "
                       "automatisch gespeichert, wenn eine andere Datei eingeladen wird, bzw. beim "
                       "erneuten Einladen jede Änderung verworfen.");
    Label16 = MakeControl<AnswerSlot>(client, "Label16", TwipsRect(5400, 4320, 3615, 255),
                                      "Label16 (zur Variablenübergabe, unsichtbar)");
    Label16->setVisible(false);
    auto* help = MakeControl<QLabel>(
        client, "Label14", TwipsRect(5400, 4800, 3735, 495),
        "Ein in der Dateiliste stehender Eintrag wird durch Doppelklick automatisch geöffnet.");
    help->setWordWrap(true);
    help->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
}

void Form1::createFileList(QWidget* client) {
    MakeCaption(client, "Label7", "Dateiliste:", TwipsRect(120, 5520, 735, 255));
    Label12 = MakeCaption(client, "Label12", QString(), TwipsRect(1080, 5520, 2535, 255));
    Command5 = MakeButton(client, "Command5", "Eintrag entfernen", TwipsRect(6240, 5520, 1455, 255),
                          "Löscht den ausgewählten Eintrag aus der Dateiliste.");
    Command4 = MakeButton(client, "Command4", "Liste leeren", TwipsRect(7800, 5520, 1455, 255),
                          "Löscht alle Einträge aus der Dateiliste.");
    List1 = MakeControl<FileListBox>(client, "List1", TwipsRect(120, 5880, 9135, 1425));
    List1->setToolTip("Eine Liste von ausgewählten Dateien. Weitere Dateien fügen Sie im Menü "
                      "Datei hinzu.");

    connect(Command4, &QPushButton::clicked, this, &Form1::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &Form1::Command5_Click);
    connect(List1, &FileListBox::DblClick, this, &Form1::List1_DblClick);
}

// The logo doubles as the overall progress bar: Image1 is narrowed over its
// dimmed copy Image2. Shape2 and the two labels appear only during a long
// operation.
void Form1::createProgressDisplay(QWidget* client) {
    Image2 = MakeControl<PictureBox>(client, "Image2", TwipsRect(120, 120, 4950, 1335),
                                     ":/pictures/logo-dimmed.png");
    Image1 = MakeControl<PictureBox>(client, "Image1", TwipsRect(120, 120, 4950, 1335),
                                     ":/pictures/logo.png");
    Image1->setToolTip("Dies ist sowohl das Logo von Tagwerk als auch die Fortschrittsanzeige bei "
                       "länger andauernden Handlungen wie z.B. dem Entfernen von ID3-Tags.");
    // Drawn from the left: a move repaints only the strip gained or lost.
    Image1->setAttribute(Qt::WA_StaticContents);
    auto* frame = MakeControl<QFrame>(client, "Shape1", TwipsRect(120, 120, 4935, 1335));
    frame->setFrameShape(QFrame::Box);
    frame->setAttribute(Qt::WA_TransparentForMouseEvents); // clicks reach the logo
    // Unlike the logo, this thin bar moves hundreds of times a file: repainting
    // it whole once a frame costs less than tracking the strip of every move.
    Shape2 = MakeControl<QFrame>(client, "Shape2", TwipsRect(120, 1320, 4935, 135));
    Shape2->setAutoFillBackground(true);
    Shape2->setBackgroundRole(QPalette::Highlight);
    Shape2->setVisible(false);

    Label13 = MakeControl<ProgressLabel>(client, "Label13", TwipsRect(5400, 360, 3735, 615),
                                         "100% insgesamt");
    QFont large = Label13->font();
    large.setPointSize(24);
    Label13->setFont(large);
    Label13->setVisible(false);
    Label15 = MakeControl<ProgressLabel>(client, "Label15", TwipsRect(5400, 1200, 2775, 255),
                                         "99 % der aktuellen Datei");
    Label15->setVisible(false);

    connect(Image1, &PictureBox::clicked, this, &Form1::Ueber_Click);
}

void Form1::createMenus() {
    QMenu* file = menuBar()->addMenu("&Datei");
    file->setObjectName("Datei");
    oeffnen = MakeMenuItem(file, "oeffnen", "Eine MP3-Datei ö&ffnen...");
    Moeffnen = MakeMenuItem(file, "Moeffnen", "Mehrere MP3-Dateien öffnen...");
    file->addSeparator()->setObjectName("none");
    Ende = MakeMenuItem(file, "Ende", "&Beenden");

    QMenu* extras = menuBar()->addMenu("&Extras");
    extras->setObjectName("Extras");
    ID3Name = MakeMenuItem(extras, "ID3Name", "ID3-Tags ahnand des Dateinamens erstellen...");
    ID3Entf = MakeMenuItem(extras, "ID3Entf", "ID3-Tags entfernen...");

    QMenu* about = menuBar()->addMenu("&?");
    about->setObjectName("Über");
    Ueber = MakeMenuItem(about, "Ueber", "Ü&ber Tagwerk...");

    // Ends at once: no unload handler, no question about unsaved edits.
    // (QCoreApplication::quit would first close every window.)
    connect(Ende, &QAction::triggered, this, [] { QCoreApplication::exit(0); });
    connect(Ueber, &QAction::triggered, this, &Form1::Ueber_Click);
    connect(oeffnen, &QAction::triggered, this, [this] {
        hide();
        Form2::instance().show();
    });
    connect(Moeffnen, &QAction::triggered, this, [this] {
        hide();
        Form3::instance().show();
    });
    connect(ID3Name, &QAction::triggered, this, [this] {
        Form4::instance().show();
        hide();
    });
    connect(ID3Entf, &QAction::triggered, this, [this] {
        setEnabled(false);
        Form5::instance().show();
    });
}

void Form1::setKeyboardOrder() {
    QWidget* const order[] = {Text1,  Text2,    Text3,    Text4,    Combo1,   Text5,   List1,
                              Check1, Command1, Command2, Command3, Command4, Command5};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void Form1::Form_Load() {
    emptyEditor();
    Label10->setPath({});
    Label11->setPath({});
    Label12->clear();
    Command1->setEnabled(false);
}

void Form1::closeEvent(QCloseEvent* event) {
    // The unload may wait for an answer, so it runs once this close request is
    // done: a second request meanwhile then meets the disabled window and is
    // refused, instead of finding Qt's close half done and taking the window away.
    event->ignore();
    if (isEnabled())
        QMetaObject::invokeMethod(this, &Form1::Form_Unload, Qt::QueuedConnection);
}

// Only the user's own moves count: while the window is disabled or hidden,
// Qt moves the focus on by itself.
void Form1::rememberFocus(QWidget* now) {
    if (now && now->window() == this && isVisible() && isEnabled() && isActiveWindow())
        lastFocus_ = now;
}

// A control that went meanwhile (a tag button disabled by the work just
// done) leaves the focus to the title field.
void Form1::restoreFocus() {
    if (!lastFocus_ || !isEnabled() || !isActiveWindow())
        return;
    if (lastFocus_->isEnabled() && lastFocus_->isVisible())
        lastFocus_->setFocus();
    else
        Text1->setFocus();
}

void Form1::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::ActivationChange) {
        restoreFocus();
        QMetaObject::invokeMethod(this, &Form1::noticeOutsideChange, Qt::QueuedConnection);
    }
}

void Form1::Form_Unload() {
    // While a question waits or a long operation runs, the window stays.
    if (!isEnabled())
        return;
    // A save that failed keeps the window, so the edits are not lost.
    if (!openSelectedEntry())
        return;
    // This window goes last (it is deleted once its close is done), so no
    // other window meets it half gone.
    Form2::unload();
    Form3::unload();
    Form4::unload();
    Form5::unload();
    Form6::unload();
    frmMessage::unload();
    frmSplash::unload();
    unloadLater();
    QCoreApplication::exit(0);
}

void Form1::Field_Change() {
    EditorState = kModified;
    Command1->setEnabled(true);
    // Tells apart "Command3 is enabled" from "the window is disabled for a while".
    if (Command3->isEnabledTo(this))
        Command2->setEnabled(true);
}

QString Form1::openFilePath() const {
    if (Label11->path().isEmpty() || Label10->path().isEmpty())
        return {};
    return Label11->path() + Label10->path();
}

void Form1::Command1_Click() {
    saveTag();
}

bool Form1::saveTag() {
    EditorState = kUnchanged;
    const QString path = openFilePath();
    if (path.isEmpty())
        return true;
    TagRecord record;
    record.title = ToCp1252(Text1->text());
    record.artist = ToCp1252(Text2->text());
    record.album = ToCp1252(Text3->text());
    record.year = ToCp1252(Text4->text());
    record.comment = ToCp1252(Text5->text());
    record.genre = GenreCodeFromName(ToCp1252(Combo1->currentText()));
    if (!mayOverwrite(path)) {
        EditorState = kModified;
        return false;
    }
    UndoJournalWriter journal(ActionKind::save);
    const WriteResult result = WriteTagTrailer(NativePath(path), record, &journal);
    if (result.outcome != WriteOutcome::written) {
        // The edits are still unsaved; the user can retry.
        EditorState = kModified;
        Command1->setEnabled(true);
        FinishAction(
            journal,
            QStringLiteral("Der ID3-Tag konnte nicht in der Datei „%1“ gespeichert werden. "
                           "%2 Ihre Änderungen bleiben erhalten.")
                .arg(WrappablePath(ShownPath(path)), FileErrorText(result.error)));
        return false;
    }
    rememberOpenFileStamp(path);
    Command1->setEnabled(false);
    Command2->setEnabled(false);
    FinishAction(journal);
    return true;
}

void Form1::Command2_Click() {
    setEnabled(false);
    if (EditorState == kModified) {
        if (Check1->isChecked() || AskQuestion(kReloadQuestion) == kYes) {
            EditorState = kUnchanged;
            Command1->setEnabled(false);
        }
    }
    if (EditorState == kModified) {
        setEnabled(true);
        return;
    }
    if (const QString path = openFilePath(); !path.isEmpty())
        loadTag(path);
    else
        Command3->setEnabled(false); // with no file open there is nothing to remove
    refreshId3v2Notice();
    EditorState = kUnchanged;
    Command1->setEnabled(false);
    setEnabled(true);
}

void Form1::loadTag(const QString& path) {
    // Taken first: a change while the tag is read then shows later.
    rememberOpenFileStamp(path);
    const ReadResult result = ReadTagTrailer(NativePath(path));
    switch (result.outcome) {
    case ReadOutcome::noTrailer:
        Command3->setEnabled(false);
        clearTextFields();
        break;
    case ReadOutcome::trailerFound: {
        // Enabled before the fields change, so that their edit handler
        // enables "ID3-Tag laden".
        Command3->setEnabled(true);
        const TagRecord& record = result.record;
        Text1->setText(FromCp1252(record.title));
        Text2->setText(FromCp1252(record.artist));
        Text3->setText(FromCp1252(record.album));
        Text4->setText(FromCp1252(record.year));
        Text5->setText(FromCp1252(record.comment));
        // Codes without a name leave the genre box as it is.
        if (const auto name = GenreNameFromCode(record.genre))
            Combo1->setCurrentIndex(
                Combo1->findText(FromCp1252(*name), Qt::MatchExactly | Qt::MatchCaseSensitive));
        break;
    }
    case ReadOutcome::error:
        // Whether the file has a tag is unknown, so there is nothing to remove.
        Command3->setEnabled(false);
        ShowNotice(QStringLiteral("Der ID3-Tag der Datei „%1“ konnte nicht geladen werden. %2")
                       .arg(WrappablePath(ShownPath(path)), FileErrorText(result.error)));
        break;
    }
}

void Form1::List1_DblClick() {
    openSelectedEntry();
}

// An editor that holds nothing is never treated as modified.
void Form1::applyBlankEditorRule() {
    const bool blank = Combo1->currentText() == FromCp1252(kNoGenreName) &&
                       Text1->text().isEmpty() && Text2->text().isEmpty() &&
                       Text3->text().isEmpty() && Text4->text().isEmpty() &&
                       Text5->text().isEmpty();
    if (blank) {
        EditorState = kUnchanged;
        Command1->setEnabled(false);
    }
}

bool Form1::openSelectedEntry() {
    applyBlankEditorRule();
    if (EditorState == kModified) {
        const bool save = Check1->isChecked() || AskQuestion(kUnsavedQuestion) == kYes;
        if (save && !saveTag()) {
            // The failed file stays open with the edits; the new entry is not opened.
            setEnabled(true);
            return false;
        }
        EditorState = kUnchanged;
        Command1->setEnabled(false);
        Command2->setEnabled(false);
        setEnabled(true);
    }

    showAsOpenFile(List1->selectedEntry());
    emptyEditor();
    EditorState = kUnchanged;
    Command2_Click();
    EditorState = kUnchanged;
    Command1->setEnabled(false);
    Command2->setEnabled(false);
    return true;
}

void Form1::showAsOpenFile(const QString& path) {
    openFileStamp_.reset(); // the editor no longer shows what the file held
    const SplitPathResult parts = SplitPath(path.toStdU16String());
    Label10->setPath(QString::fromStdU16String(parts.name));
    Label11->setPath(QString::fromStdU16String(parts.directory));
}

void Form1::emptyEditor() {
    Combo1->setCurrentIndex(Combo1->count() - 1);
    clearTextFields();
}

void Form1::clearTextFields() {
    for (QLineEdit* field : {Text1, Text2, Text3, Text4, Text5})
        field->setText(QString());
}

void Form1::refreshCount() {
    Label12->setText(QString::fromStdString(FileCountCaption(List1->count())));
}

void Form1::Command4_Click() {
    if (List1->count() == 0)
        return;
    List1->clearEntries();
    refreshCount();
}

void Form1::Command5_Click() {
    const int row = List1->selectedRow();
    if (row < 0)
        return;
    List1->removeEntry(row);
    List1->clearSelection();
    refreshCount();
}

void Form1::Ueber_Click() {
    // A second request brings the open window forward.
    frmSplash& about = frmSplash::instance();
    if (about.isVisible())
        about.raise();
    else
        about.show();
    about.activateWindow();
}

} // namespace tagwerk
