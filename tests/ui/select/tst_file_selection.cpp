// The single- and multi-file selection windows on a temporary tree with three
// drives: the start drive, a drive with a file in its root, and a stick that
// can be made unreadable.
#include "ui/batch/BatchTestSupport.h"
#include "ui/main/Form1.h"
#include "ui/main/TextConversion.h"
#include "ui/main/frmMessage.h"
#include "ui/select/Form2.h"
#include "ui/select/Form3.h"
#include "ui/support/TagFiles.h"
#include "ui/support/WindowDriver.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QTest>
#include <filesystem>

using namespace tagwerk;
using namespace tagwerk::test;

namespace {

// "Geschützt" in Latin-1, which nobody but root may read.
const QString kUnreadableDirectory = QString::fromUtf16(u"Gesch\xDCFCtzt");

class TestVolumes : public VolumeSource {
public:
    QList<Volume> list;
    QSet<QString> unreadable; // root paths
    QList<Volume> volumes() const override { return list; }
    bool isReadable(const Volume& volume) const override {
        return !unreadable.contains(volume.rootPath);
    }
};

void Touch(const QString& path) {
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
}

void SelectFile(FileSelectionWindow& window, const QString& name) {
    const int row = window.File1->names().indexOf(name);
    QVERIFY2(row >= 0, qPrintable(name));
    window.File1->selectRow(row);
}

// The text of the notice on show, and the message window gone again.
QString TakeNotice() {
    if (!frmMessage::exists())
        return {};
    const QString text = frmMessage::instance().Label1->text();
    frmMessage::unload();
    return text;
}

// Both windows, created (and loaded) on first use.
QList<FileSelectionWindow*> BothWindows() {
    return {&Form2::instance(), &Form3::instance()};
}

QStringList FocusOrder(QWidget* first, int count) {
    QStringList names;
    QWidget* control = first;
    while (names.size() < count) {
        if (control->focusPolicy() & Qt::TabFocus)
            names << control->objectName();
        control = control->nextInFocusChain();
        if (control == first)
            break;
    }
    return names;
}

} // namespace

class FileSelectionTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void windowsAreToolWindowsInKeyboardOrder();
    void controlsAsStated_data();
    void controlsAsStated();
    void onlyTheLeftButtonActs_data();
    void onlyTheLeftButtonActs();
    void firstShowListsMp3FilesOfTheStartDirectory();
    void openAddsTheSelectedFileOnce_data();
    void openAddsTheSelectedFileOnce();
    void openWithoutSelectionAddsNothing();
    void allFilesFilterListsEveryFile();
    void rootFileGetsOneSeparator();
    void doubleClickOnAFileOpensIt();
    void unreadableDriveReturnsToTheLastGoodOne();
    void lastGoodDriveGoneTooGivesOneNotice();
    void eachDriveKeepsItsDirectory();
    void stateIsKeptBetweenShows();
    void closingByTitleBarCancels();
    void openingADirectory_data();
    void openingADirectory();

    void addAllOfTheDirectorySkipsListedFiles();
    void addWithoutSelectionRefreshesTheCount();
    void listEntryShowsItsPartsAndDoubleClickRemovesIt();
    void removeAndClearTheList();
    void openFilesAddsOnlyNewEntriesInOrder_data();
    void openFilesAddsOnlyNewEntriesInOrder();
    void multiFileListIsKeptBetweenShows();

private:
    void resetBrowser(FileSelectionWindow& window);
    QString driveText(const QString& root) const;

    AnyNameTempDir tree_;
    TestVolumes* volumes_ = nullptr;
    QString driveA_, driveB_, stick_; // root paths
    QString start_;
};

void FileSelectionTest::initTestCase() {
    QVERIFY(tree_.isValid());
    driveA_ = tree_.path() + "/Laufwerk A/";
    driveB_ = tree_.path() + "/Wurzel B/";
    stick_ = tree_.path() + "/Stick/";
    start_ = driveA_ + "Meine Musik";
    QVERIFY(QDir().mkpath(start_ + "/Älteres Zeug"));
    QVERIFY(QDir().mkpath(driveB_ + "Tief"));
    QVERIFY(QDir().mkpath(stick_));
    for (const char* name : {"Lied eins.mp3", "Lied zwei.MP3", "Ärger im Büro.mp3",
                             "Пётр – 東京.mp3", "LIED.mp3", "lied.mp3", "notiz.txt"})
        Touch(start_ + "/" + QString::fromUtf8(name));
    Touch(start_ + "/Älteres Zeug/alt.mp3");
    WriteBytes(start_ + "/" + kLatin1Name, {});
    QVERIFY(std::filesystem::create_directory(NativePath(start_ + "/" + kLatin1Directory)));
    WriteBytes(start_ + "/" + kLatin1Directory + "/drin.mp3", {});
    const std::string unreadable = NativePath(start_ + "/" + kUnreadableDirectory);
    QVERIFY(std::filesystem::create_directory(unreadable));
    std::filesystem::permissions(unreadable, std::filesystem::perms::none);
    Touch(driveB_ + "wurzel.mp3");

    auto volumes = std::make_unique<TestVolumes>();
    volumes->list = {{driveA_, "SYSTEM"}, {stick_, "USB"}, {driveB_, ""}};
    volumes_ = volumes.get();
    VolumeSource::install(std::move(volumes));
    QVERIFY(QDir::setCurrent(start_));
}

void FileSelectionTest::init() {
    FreshMainWindow();
    volumes_->unreadable.clear();
    if (Form2::exists())
        resetBrowser(Form2::instance());
    if (Form3::exists()) {
        resetBrowser(Form3::instance());
        Form3::instance().List1->clearEntries();
    }
}

void FileSelectionTest::resetBrowser(FileSelectionWindow& window) {
    window.hide();
    window.Drive1->setDrive(driveA_);
    window.Drive1->setCurrentDirectory(start_);
    window.Dir1->setPath(driveA_, start_);
    window.Combo1->setCurrentIndex(0);
    window.LastDrive = driveA_;
}

QString FileSelectionTest::driveText(const QString& root) const {
    for (const Volume& volume : volumes_->list)
        if (volume.rootPath == root)
            return DriveText(volume);
    return {};
}

void FileSelectionTest::windowsAreToolWindowsInKeyboardOrder() {
    Form2& single = Form2::instance();
    QCOMPARE(single.windowTitle(), QString("Tagwerk: Datei auswählen..."));
    QCOMPARE(single.size(), QSize(418, 343));
    QCOMPARE(FocusOrder(single.Drive1, 7),
             (QStringList{"Drive1", "File1", "Dir1", "Command1", "Command2", "Text1", "Combo1"}));
    Form3& multi = Form3::instance();
    QCOMPARE(multi.windowTitle(), QString("Tagwerk: Dateien auswählen..."));
    QCOMPARE(multi.size(), QSize(625, 500));
    QCOMPARE(FocusOrder(multi.Drive1, 12),
             (QStringList{"Drive1", "Dir1", "File1", "Combo1", "Command1", "Command3", "Command7",
                          "List1", "Command5", "Command4", "Command6", "Command2"}));
    for (QWidget* window : BothWindows()) {
        QCOMPARE(window->windowType(), Qt::Tool);
        QVERIFY(!(window->windowFlags() &
                  (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    }
    QVERIFY(!multi.Command7->isEnabled());
}

void FileSelectionTest::controlsAsStated_data() {
    QTest::addColumn<QString>("window");
    AddControlColumns();
    const auto row = [](const char* window, const char* name, const QString& shown, QRect twips,
                        const char* toolTip = "") {
        const QRect place(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15);
        QTest::addRow("%s %s", window, name) << window << name << shown << place << toolTip;
    };
    const char* const typeTip = "Wählen Sie hier den Typ der anzuzeigenden Dateien aus. Bitte "
                                "belassen Sie den Wert zweifelsfalls auf *.MP3. Es können zwar "
                                "auch andere Dateien geöffnet werden, das führt aber zu "
                                "Beschädigungen.";
    row("Form2", "Label4", "Laufwerk:", {120, 120, 855, 255});
    row("Form2", "Dir1", "", {120, 480, 2415, 3015},
        "Wählen Sie hier das Unterverzeichnis aus, in der sich die zu öffnende Datei befindet.");
    row("Form2", "File1", "", {2640, 480, 3495, 3015}, "Hier wählen Sie eine Datei aus.");
    row("Form2", "Label2", "Datei:", {120, 3600, 1455, 255});
    row("Form2", "Text1", "", {1680, 3600, 4455, 285});
    row("Form2", "Label3", "Dateityp:", {120, 3960, 1455, 255});
    row("Form2", "Combo1", "MP3-Dateien (*.MP3)", {1680, 3960, 4455, 315}, typeTip);
    row("Form2", "Command1", "Datei öffnen", {1080, 4440, 2295, 495},
        "Fügt die ausgewählte Datei zur Dateiliste im Hauptfenster hinzu.");
    row("Form2", "Command2", "Abbrechen", {3720, 4440, 2295, 495}, "Bricht die Handlung ab.");
    row("Form3", "Label4", "Laufwerk:", {0, 0, 855, 255});
    row("Form3", "Dir1", "", {0, 360, 3375, 1890},
        "Hier kann das aktuelle Verzeichnis gewählt werden.");
    row("Form3", "File1", "", {3480, 360, 5895, 1845},
        "Liste der Dateien des aktuellen Dateityps im aktuellen Verzeichnis. Ein Doppelklick auf "
        "eine Datei fügt diese der Liste hinzu.");
    row("Form3", "Label2", "Datei:", {120, 2400, 735, 255});
    row("Form3", "Label5", "", {960, 2400, 4455, 255});
    row("Form3", "Label3", "Dateityp:", {0, 2760, 855, 255});
    row("Form3", "Combo1", "MP3-Dateien (*.MP3)", {960, 2760, 4455, 315}, typeTip);
    row("Form3", "Command1", "Datei zu Liste hinzufügen", {5640, 2280, 3615, 375},
        "Fügt die ausgewählte Datei zur Liste hinzu.");
    row("Form3", "Command3", "Alle Dateien im aktuellen Verzeichnis hinzufügen",
        {5640, 2760, 3615, 375}, "Fügt alle Dateien vom ausgewählten Dateityp der Liste hinzu.");
    row("Form3", "Command7", "Alle Dateien zuzüglich Unterverzeichnisse", {5640, 3240, 3615, 375},
        "Durchsucht diesen Ordner und alle seine Unterverzeichnisse nach Dateien vom "
        "ausgewählten Dateityp und fügt diese der Liste hinzu.");
    row("Form3", "Label1", "Zu öffnende Dateien:", {120, 3600, 1575, 255});
    row("Form3", "Label10", "", {1800, 3600, 5175, 255});
    row("Form3", "List1", "", {120, 3960, 9135, 1815},
        "Diese Dateien werden beim Klick auf OK geöffnet. Beim Doppelklick auf eine Datei wird "
        "diese aus der Liste entfernt.");
    row("Form3", "Label6", "Datei:", {600, 5880, 495, 255});
    row("Form3", "Label7", "", {1200, 5880, 8175, 255});
    row("Form3", "Label8", "Verzeichnis:", {120, 6240, 975, 255});
    row("Form3", "Label9", "", {1200, 6240, 8175, 255});
    row("Form3", "Command5", "Ausgewählten Listeneintrag entfernen", {120, 6600, 3615, 375},
        "Entfernt den ausgewählten Eintrag aus der Liste der geöffneten Dateien.");
    row("Form3", "Command4", "Alle Listeneinträge löschen", {120, 7080, 3615, 375},
        "Entfernt alle Einträge in der Liste der zu öffnenden Dateien.");
    row("Form3", "Command6", "Dateien öffnen", {3840, 6600, 2655, 855},
        "Öffnet die Dateien in der Dateiliste.");
    row("Form3", "Command2", "A&bbrechen", {6600, 6600, 2655, 855},
        "Bricht das Öffnen von Dateien ab.");
}

void FileSelectionTest::controlsAsStated() {
    QFETCH(QString, window);
    Form2::unload();
    Form3::unload();
    VerifyControl(window == "Form2" ? static_cast<QWidget&>(Form2::instance()) : Form3::instance(),
                  {"Command7"});
}

// Double-clicks of the right or middle button open, add and remove nothing.
void FileSelectionTest::onlyTheLeftButtonActs_data() {
    QTest::addColumn<int>("button");
    QTest::newRow("left") << int(Qt::LeftButton);
    QTest::newRow("right") << int(Qt::RightButton);
    QTest::newRow("middle") << int(Qt::MiddleButton);
}

void FileSelectionTest::onlyTheLeftButtonActs() {
    QFETCH(int, button);
    const bool acts = button == Qt::LeftButton;
    const auto doubleClick = [button](QAbstractItemView* view, const QModelIndex& index) {
        QTest::mouseDClick(view->viewport(), Qt::MouseButton(button), {},
                           view->visualRect(index).center());
    };
    Form1& main = Form1::instance();
    Form2& single = Form2::instance();
    main.oeffnen->trigger();
    QVERIFY(QTest::qWaitForWindowExposed(&single));
    doubleClick(single.File1, single.File1->model()->index(0, 0));
    QCOMPARE(main.List1->count(), acts ? 1 : 0);
    QCOMPARE(single.isVisible(), !acts);
    single.Command2->click();

    Form3& multi = Form3::instance();
    main.Moeffnen->trigger();
    QVERIFY(QTest::qWaitForWindowExposed(&multi));
    doubleClick(multi.File1, multi.File1->model()->index(0, 0));
    QCOMPARE(multi.List1->count(), acts ? 1 : 0);
    multi.List1->AddIfAbsent("/a/eins.mp3");
    const int listed = multi.List1->count();
    doubleClick(multi.List1, multi.List1->model()->index(0, 0));
    QCOMPARE(multi.List1->count(), listed - (acts ? 1 : 0));
    const QTreeWidgetItem* older =
        multi.Dir1->findItems("Älteres Zeug", Qt::MatchExactly | Qt::MatchRecursive).value(0);
    QVERIFY(older);
    doubleClick(multi.Dir1, multi.Dir1->indexFromItem(older));
    QCOMPARE(multi.Dir1->path(), acts ? start_ + "/Älteres Zeug" : start_);
}

void FileSelectionTest::firstShowListsMp3FilesOfTheStartDirectory() {
    Form2::unload();
    Form3::unload();
    for (FileSelectionWindow* window : BothWindows()) { // created anew: their load runs
        QCOMPARE(window->Drive1->currentText(), driveA_ + " [SYSTEM]");
        QCOMPARE(window->LastDrive, driveA_);
        QCOMPARE(window->Dir1->path(), start_);
        QCOMPARE(window->File1->directory(), start_);
        QCOMPARE(window->Combo1->currentText(), QString("MP3-Dateien (*.MP3)"));
        // Sorted as a German reader expects; names equal but for case in a fixed order.
        QCOMPARE(window->File1->names(),
                 (QStringList{"Ärger im Büro.mp3", kLatin1Name, "Lied eins.mp3", "Lied zwei.MP3",
                              "LIED.mp3", "lied.mp3", "Пётр – 東京.mp3"}));
        QCOMPARE(ShownText(*window->File1, window->File1->model()->index(1, 0)), kLatin1Shown);
    }
}

void FileSelectionTest::openAddsTheSelectedFileOnce_data() {
    // The files opened one after the other, and the main list afterwards:
    // duplicates are exact and case-sensitive.
    QTest::addColumn<QStringList>("opened");
    QTest::addColumn<QStringList>("listed");
    QTest::newRow("blanks") << QStringList{"Lied eins.mp3", "Lied eins.mp3"}
                            << QStringList{"Lied eins.mp3"};
    QTest::newRow("umlauts") << QStringList{"Ärger im Büro.mp3", "Ärger im Büro.mp3"}
                             << QStringList{"Ärger im Büro.mp3"};
    QTest::newRow("beyond Windows-1252")
        << QStringList{"Пётр – 東京.mp3", "Пётр – 東京.mp3"} << QStringList{"Пётр – 東京.mp3"};
    QTest::newRow("other case") << QStringList{"lied.mp3", "LIED.mp3", "lied.mp3"}
                                << QStringList{"lied.mp3", "LIED.mp3"};
    QTest::newRow("no UTF-8") << QStringList{kLatin1Name, kLatin1Name} << QStringList{kLatin1Name};
}

void FileSelectionTest::openAddsTheSelectedFileOnce() {
    QFETCH(QStringList, opened);
    QFETCH(QStringList, listed);
    Form1& main = Form1::instance();
    Form2& form = Form2::instance();
    for (const QString& name : opened) {
        main.oeffnen->trigger();
        QVERIFY(form.isVisible());
        QVERIFY(!main.isVisible());
        SelectFile(form, name);
        QCOMPARE(form.Text1->text(), ShownPath(name));
        Click(form.Command1);
        QVERIFY(!form.isVisible());
        QVERIFY(main.isVisible());
    }
    for (QString& name : listed)
        name.prepend(start_ + "/");
    QCOMPARE(Entries(*main.List1), listed);
    QCOMPARE(main.Label12->text(), QString("( %1 Dateien)").arg(listed.size()));
}

void FileSelectionTest::openWithoutSelectionAddsNothing() {
    Form1& main = Form1::instance();
    Form2& form = Form2::instance();
    main.oeffnen->trigger();
    Click(form.Command1);
    QVERIFY(main.isVisible());
    QVERIFY(!form.isVisible());
    QCOMPARE(main.List1->count(), 0);
    QCOMPARE(main.Label12->text(), QString());
}

void FileSelectionTest::allFilesFilterListsEveryFile() {
    Form2& form = Form2::instance();
    form.Combo1->setCurrentIndex(1);
    QCOMPARE(form.File1->names().size(), 8);
    SelectFile(form, "notiz.txt");
    Click(form.Command1);
    QCOMPARE(Entries(*Form1::instance().List1), QStringList{start_ + "/notiz.txt"});
    form.Combo1->setCurrentIndex(0);
    QVERIFY(!form.File1->names().contains("notiz.txt"));
}

void FileSelectionTest::rootFileGetsOneSeparator() {
    Form2& form = Form2::instance();
    form.Drive1->setCurrentIndex(form.Drive1->findText(driveText(driveB_)));
    QCOMPARE(form.Dir1->path(), driveB_);
    QCOMPARE(form.File1->names(), QStringList{"wurzel.mp3"});
    SelectFile(form, "wurzel.mp3");
    Click(form.Command1);
    QCOMPARE(Entries(*Form1::instance().List1), QStringList{driveB_ + "wurzel.mp3"});
}

void FileSelectionTest::doubleClickOnAFileOpensIt() {
    Form1& main = Form1::instance();
    Form2& form = Form2::instance();
    main.oeffnen->trigger();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QModelIndex entry =
        form.File1->model()->index(form.File1->names().indexOf("Lied zwei.MP3"), 0);
    const QPoint place = form.File1->visualRect(entry).center();
    QTest::mouseClick(form.File1->viewport(), Qt::LeftButton, {}, place);
    QTest::mouseDClick(form.File1->viewport(), Qt::LeftButton, {}, place);
    QCOMPARE(form.Text1->text(), QString("Lied zwei.MP3"));
    QVERIFY(!form.isVisible());
    QCOMPARE(Entries(*main.List1), QStringList{start_ + "/Lied zwei.MP3"});
}

// The last good drive is found by its root, also when its volume name
// changed and the drives were read afresh as the drop-down opened.
void FileSelectionTest::unreadableDriveReturnsToTheLastGoodOne() {
    for (FileSelectionWindow* window : BothWindows()) {
        window->Dir1->setPath(driveA_, start_ + "/Älteres Zeug");
        volumes_->unreadable.insert(stick_);
        volumes_->list[0].name = "NEU";
        window->Drive1->showPopup();
        window->Drive1->hidePopup();
        window->Drive1->setCurrentIndex(window->Drive1->findText(driveText(stick_)));
        QCOMPARE(TakeNotice(),
                 "Auf das Laufwerk " + stick_ + " [USB] kann nicht zugegriffen werden.");
        QCOMPARE(window->Drive1->currentText(), driveA_ + " [NEU]");
        QCOMPARE(window->LastDrive, driveA_);
        QCOMPARE(window->Dir1->path(), start_ + "/Älteres Zeug");
        QCOMPARE(window->File1->names(), QStringList{"alt.mp3"});
        volumes_->list[0].name = "SYSTEM";
        window->Drive1->showPopup(); // the old name again for the tests that follow
        window->Drive1->hidePopup();
    }
}

void FileSelectionTest::lastGoodDriveGoneTooGivesOneNotice() {
    Form2& form = Form2::instance();
    form.Drive1->setCurrentIndex(form.Drive1->findText(driveText(driveB_)));
    form.Dir1->setPath(driveB_, driveB_ + "Tief");
    volumes_->unreadable = {stick_, driveB_};
    form.Drive1->setCurrentIndex(form.Drive1->findText(driveText(stick_)));
    // A second notice would have replaced the text with the other drive's.
    QCOMPARE(TakeNotice(), "Auf das Laufwerk " + stick_ + " [USB] kann nicht zugegriffen werden.");
    QCOMPARE(form.Drive1->currentText(), driveText(driveB_));
    QCOMPARE(form.Dir1->path(), driveB_ + "Tief");

    // The drive comes back: choosing it works again.
    volumes_->unreadable.clear();
    form.Drive1->setCurrentIndex(form.Drive1->findText(driveText(driveA_)));
    QCOMPARE(TakeNotice(), QString());
    QCOMPARE(form.LastDrive, driveA_);
}

void FileSelectionTest::eachDriveKeepsItsDirectory() {
    Form3& form = Form3::instance();
    form.Dir1->setPath(driveA_, start_ + "/Älteres Zeug");
    form.Drive1->setCurrentIndex(form.Drive1->findText(driveText(driveB_)));
    QCOMPARE(form.Dir1->path(), driveB_);
    form.Drive1->setCurrentIndex(form.Drive1->findText(driveText(driveA_)));
    QCOMPARE(form.Dir1->path(), start_ + "/Älteres Zeug");
    QCOMPARE(form.File1->directory(), start_ + "/Älteres Zeug");
}

void FileSelectionTest::stateIsKeptBetweenShows() {
    Form1& main = Form1::instance();
    Form2& form = Form2::instance();
    main.oeffnen->trigger();
    form.Dir1->setPath(driveA_, start_ + "/Älteres Zeug");
    form.Combo1->setCurrentIndex(1);
    SelectFile(form, "alt.mp3");
    Click(form.Command2);
    QVERIFY(main.isVisible());
    QCOMPARE(main.List1->count(), 0);
    Touch(start_ + "/Älteres Zeug/neu.txt"); // a file that came meanwhile shows up

    main.oeffnen->trigger();
    QCOMPARE(form.Drive1->currentText(), driveText(driveA_));
    QCOMPARE(form.Dir1->path(), start_ + "/Älteres Zeug");
    QCOMPARE(form.Combo1->currentIndex(), 1);
    QCOMPARE(form.File1->names(), (QStringList{"alt.mp3", "neu.txt"}));
    QCOMPARE(form.File1->selectedName(), QString("alt.mp3"));
    QCOMPARE(form.Text1->text(), QString("alt.mp3"));
    QVERIFY(QFile::remove(start_ + "/Älteres Zeug/neu.txt"));

    // A directory removed while the window was hidden gives way to its parent.
    QVERIFY(QDir().mkdir(start_ + "/Älteres Zeug/leer"));
    form.Dir1->setPath(driveA_, start_ + "/Älteres Zeug/leer");
    Click(form.Command2);
    QVERIFY(QDir().rmdir(start_ + "/Älteres Zeug/leer"));
    main.oeffnen->trigger();
    QCOMPARE(form.Dir1->path(), start_ + "/Älteres Zeug");
    QCOMPARE(form.File1->names(), QStringList{"alt.mp3"});

    // A selected file deleted while the window was hidden stays selected and is added.
    SelectFile(form, "alt.mp3");
    Click(form.Command2);
    QVERIFY(QFile::remove(start_ + "/Älteres Zeug/alt.mp3"));
    main.oeffnen->trigger();
    QCOMPARE(form.File1->selectedName(), QString("alt.mp3"));
    Click(form.Command1);
    Touch(start_ + "/Älteres Zeug/alt.mp3");
    QCOMPARE(Entries(*main.List1), QStringList{start_ + "/Älteres Zeug/alt.mp3"});
}

void FileSelectionTest::closingByTitleBarCancels() {
    Form1& main = Form1::instance();
    const QList<QAction*> items{main.oeffnen, main.Moeffnen};
    for (int i = 0; i < 2 * items.size(); ++i) {
        items[i % 2]->trigger();
        QVERIFY(!main.isVisible());
        QWidget* window = BothWindows()[i % 2];
        QVERIFY(window->isVisible());
        Leave(*window, nullptr, i < 2 ? "close box" : "Escape");
        QVERIFY(main.isVisible());
        QVERIFY(!window->isVisible());
    }
    QVERIFY(Form2::exists());
    QVERIFY(Form3::exists());
}

// An opened directory lists its files, or says once why it cannot.
void FileSelectionTest::openingADirectory_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("notice");
    QTest::newRow("no UTF-8") << kLatin1Directory << QStringList{"drin.mp3"} << "";
    QTest::newRow("unreadable") << kUnreadableDirectory << QStringList{}
                                << "Auf das Verzeichnis " + start_ +
                                       "/Gesch\uFFFDtzt kann nicht zugegriffen werden.";
}

void FileSelectionTest::openingADirectory() {
    QFETCH(QString, name);
    QFETCH(QStringList, files);
    QFETCH(QString, notice);
    OrdinaryUser user({tree_.path()});
    for (FileSelectionWindow* window : BothWindows()) {
        window->Dir1->setPath(driveA_, start_ + "/" + name);
        QCOMPARE(window->Dir1->path(), start_ + "/" + name);
        QCOMPARE(window->File1->names(), files);
        QCOMPARE(TakeNotice(), notice);
        window->Combo1->setCurrentIndex(1);
        QCOMPARE(TakeNotice(), QString());
    }
}

void FileSelectionTest::addAllOfTheDirectorySkipsListedFiles() {
    Form3& form = Form3::instance();
    SelectFile(form, "Lied eins.mp3");
    QCOMPARE(form.Label5->text(), QString("Lied eins.mp3"));
    Click(form.Command1);
    QCOMPARE(form.Label10->text(), QString("( 1 Dateien)"));
    Click(form.Command3);
    QStringList expected{start_ + "/Lied eins.mp3"};
    for (const QString& name : form.File1->names())
        if (name != "Lied eins.mp3")
            expected << start_ + "/" + name;
    QCOMPARE(Entries(*form.List1), expected);
    QCOMPARE(form.Label10->text(), QString("( 7 Dateien)"));
}

void FileSelectionTest::addWithoutSelectionRefreshesTheCount() {
    Form3& form = Form3::instance();
    QCOMPARE(form.File1->selectedName(), QString());
    form.Label10->setText("alt");
    Click(form.Command1);
    QCOMPARE(form.List1->count(), 0);
    QCOMPARE(form.Label10->text(), QString("( 0 Dateien)"));
}

void FileSelectionTest::listEntryShowsItsPartsAndDoubleClickRemovesIt() {
    Form3& form = Form3::instance();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.List1->AddIfAbsent(start_ + "/Lied eins.mp3");
    form.List1->AddIfAbsent(driveB_ + "wurzel.mp3");
    const QString latin1 = start_ + "/" + kLatin1Directory + "/" + kLatin1Name;
    form.List1->AddIfAbsent(latin1);
    DoubleClickEntry(form.List1, 1);
    QCOMPARE(form.Label7->text(), QString("wurzel.mp3"));
    QCOMPARE(form.Label9->text(), driveB_);
    QCOMPARE(Entries(*form.List1), (QStringList{start_ + "/Lied eins.mp3", latin1}));
    QCOMPARE(form.Label10->text(), QString("( 2 Dateien)"));
    QCOMPARE(form.List1->selectedRow(), -1);
    form.List1->setCurrentRow(1);
    QCOMPARE(ShownText(*form.List1, form.List1->currentIndex()), ShownPath(latin1));
    QCOMPARE(form.Label7->text(), kLatin1Shown);
    QCOMPARE(form.Label9->text(), start_ + "/M\uFFFDll/");
}

void FileSelectionTest::removeAndClearTheList() {
    Form3& form = Form3::instance();
    form.Label10->setText("bleibt");
    Click(form.Command4); // an empty list: the count stays as it was
    QCOMPARE(form.Label10->text(), QString("bleibt"));
    form.List1->AddIfAbsent("/a/eins.mp3");
    form.List1->AddIfAbsent("/a/zwei.mp3");
    Click(form.Command5); // nothing selected
    QCOMPARE(form.List1->count(), 2);
    QCOMPARE(form.Label10->text(), QString("bleibt"));
    form.List1->setCurrentRow(0);
    QCOMPARE(form.Label7->text(), QString("eins.mp3"));
    Click(form.Command5);
    QCOMPARE(Entries(*form.List1), QStringList{"/a/zwei.mp3"});
    QCOMPARE(form.Label10->text(), QString("( 1 Dateien)"));
    QCOMPARE(form.Label7->text(), QString("eins.mp3"));
    QCOMPARE(form.List1->selectedRow(), -1);
    Click(form.Command4);
    QCOMPARE(form.List1->count(), 0);
    QCOMPARE(form.Label10->text(), QString("( 0 Dateien)"));
    form.List1->AddIfAbsent("/a/zwei.mp3"); // the removed entries may come again
    QCOMPARE(form.List1->count(), 1);
}

void FileSelectionTest::openFilesAddsOnlyNewEntriesInOrder_data() {
    QTest::addColumn<QStringList>("before"); // the main window's list
    QTest::addColumn<QStringList>("toOpen"); // this window's list
    QTest::addColumn<QStringList>("after");
    QTest::newRow("some listed already")
        << QStringList{"/b/zwei.mp3"}
        << QStringList{"/c/drei.mp3", "/b/zwei.mp3", "/a/eins.mp3", "/B/zwei.mp3"}
        << QStringList{"/b/zwei.mp3", "/c/drei.mp3", "/a/eins.mp3", "/B/zwei.mp3"};
    QTest::newRow("nothing to open")
        << QStringList{"/a/eins.mp3"} << QStringList{} << QStringList{"/a/eins.mp3"};
}

void FileSelectionTest::openFilesAddsOnlyNewEntriesInOrder() {
    QFETCH(QStringList, before);
    QFETCH(QStringList, toOpen);
    QFETCH(QStringList, after);
    Form1& main = Form1::instance();
    Form3& form = Form3::instance();
    for (const QString& path : before)
        main.List1->AddIfAbsent(path);
    main.Moeffnen->trigger();
    for (const QString& path : toOpen)
        form.List1->AddIfAbsent(path);
    Click(form.Command6);
    QVERIFY(main.isVisible());
    QVERIFY(!form.isVisible());
    QCOMPARE(Entries(*main.List1), after);
    QCOMPARE(main.Label12->text(), QString("( %1 Dateien)").arg(after.size()));
    QCOMPARE(Entries(*form.List1), toOpen); // the window's list stays as it was
}

void FileSelectionTest::multiFileListIsKeptBetweenShows() {
    Form1& main = Form1::instance();
    Form3& form = Form3::instance();
    main.Moeffnen->trigger();
    form.Dir1->setPath(driveA_, start_ + "/Älteres Zeug");
    Click(form.Command3);
    Click(form.Command2);
    QVERIFY(main.isVisible());
    QCOMPARE(main.List1->count(), 0);
    main.Moeffnen->trigger();
    QCOMPARE(Entries(*form.List1), QStringList{start_ + "/Älteres Zeug/alt.mp3"});
    QCOMPARE(form.Label10->text(), QString("( 1 Dateien)"));
    QCOMPARE(form.Dir1->path(), start_ + "/Älteres Zeug");
    Click(form.Command6);
    Click(main.Command4);
    main.Moeffnen->trigger();
    Click(form.Command6); // a second hand-over offers the same entries again
    QCOMPARE(Entries(*main.List1), QStringList{start_ + "/Älteres Zeug/alt.mp3"});
}

QTEST_MAIN(FileSelectionTest)
#include "tst_file_selection.moc"
