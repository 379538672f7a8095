// The single- and multi-file selection windows on a temporary tree with three
// drives: the start drive, a drive with a file in its root, and a stick that
// can be made unreadable.
#include "ui/main/Form1.h"
#include "ui/main/frmMessage.h"
#include "ui/select/Form2.h"
#include "ui/select/Form3.h"
#include "ui/support/WindowDriver.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace tagwerk;
using namespace tagwerk::test;

namespace {

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

QStringList Entries(const FileListBox& list) {
    QStringList entries;
    for (int row = 0; row < list.count(); ++row)
        entries << list.entryAt(row);
    return entries;
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

    QTemporaryDir tree_;
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
    window.Drive1->setDrive(driveText(driveA_));
    window.Drive1->setCurrentDirectory(start_);
    window.Dir1->setPath(driveA_, start_);
    window.Combo1->setCurrentIndex(0);
    window.LastDrive = driveText(driveA_);
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

void FileSelectionTest::firstShowListsMp3FilesOfTheStartDirectory() {
    // The windows were created by the test before: their load ran then.
    for (FileSelectionWindow* window : BothWindows()) {
        QCOMPARE(window->Drive1->currentText(), driveA_ + " [SYSTEM]");
        QCOMPARE(window->LastDrive, driveA_ + " [SYSTEM]");
        QCOMPARE(window->Dir1->path(), start_);
        QCOMPARE(window->File1->directory(), start_);
        QCOMPARE(window->Combo1->currentText(), QString("MP3-Dateien (*.MP3)"));
        // Sorted as a German reader expects; names equal but for case in a fixed order.
        QCOMPARE(window->File1->names(),
                 (QStringList{"Ärger im Büro.mp3", "Lied eins.mp3", "Lied zwei.MP3", "LIED.mp3",
                              "lied.mp3", "Пётр – 東京.mp3"}));
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
        QCOMPARE(form.Text1->text(), name);
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
    QCOMPARE(form.File1->names().size(), 7);
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

void FileSelectionTest::unreadableDriveReturnsToTheLastGoodOne() {
    for (FileSelectionWindow* window : BothWindows()) {
        window->Dir1->setPath(driveA_, start_ + "/Älteres Zeug");
        volumes_->unreadable.insert(stick_);
        window->Drive1->setCurrentIndex(window->Drive1->findText(driveText(stick_)));
        QCOMPARE(TakeNotice(),
                 "Auf das Laufwerk " + stick_ + " [USB] kann nicht zugegriffen werden.");
        QCOMPARE(window->Drive1->currentText(), driveText(driveA_));
        QCOMPARE(window->LastDrive, driveText(driveA_));
        QCOMPARE(window->Dir1->path(), start_ + "/Älteres Zeug");
        QCOMPARE(window->File1->names(), QStringList{"alt.mp3"});
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
    QCOMPARE(form.LastDrive, driveText(driveA_));
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
}

void FileSelectionTest::closingByTitleBarCancels() {
    Form1& main = Form1::instance();
    const QList<QAction*> items{main.oeffnen, main.Moeffnen};
    for (int i = 0; i < items.size(); ++i) {
        items[i]->trigger();
        QVERIFY(!main.isVisible());
        QWidget* window = BothWindows()[i];
        QVERIFY(window->isVisible());
        window->close();
        QVERIFY(main.isVisible());
        QVERIFY(!window->isVisible());
    }
    QVERIFY(Form2::exists());
    QVERIFY(Form3::exists());
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
    QCOMPARE(form.Label10->text(), QString("( 6 Dateien)"));
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
    DoubleClickEntry(form.List1, 1);
    QCOMPARE(form.Label7->text(), QString("wurzel.mp3"));
    QCOMPARE(form.Label9->text(), driveB_);
    QCOMPARE(Entries(*form.List1), QStringList{start_ + "/Lied eins.mp3"});
    QCOMPARE(form.Label10->text(), QString("( 1 Dateien)"));
    QVERIFY(form.List1->selectedItems().isEmpty());
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
    QVERIFY(form.List1->selectedItems().isEmpty());
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
