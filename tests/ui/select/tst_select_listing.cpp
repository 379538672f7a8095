// The platform layer of the selection windows: listing, pattern matching,
// volumes, and the drive and directory widgets on a temporary tree.
#include "ui/main/TextConversion.h"
#include "ui/select/DirectoryList.h"
#include "ui/select/DirectoryListing.h"
#include "ui/select/DriveSelector.h"
#include "ui/select/FileNameList.h"
#include "ui/select/QStringPaths.h"
#include "ui/select/VolumeSource.h"
#include "ui/support/TagFiles.h"
#include "ui/support/WindowDriver.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProxyStyle>
#include <QSignalSpy>
#include <QTest>
#include <filesystem>

using namespace tagwerk;
using namespace tagwerk::test;

namespace {

void Touch(const QString& path) {
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
}

QStringList LineTexts(const QTreeWidget& list) {
    QStringList texts;
    for (QTreeWidgetItemIterator line(const_cast<QTreeWidget*>(&list)); *line; ++line)
        texts << (*line)->text(0);
    return texts;
}

class ListedVolumes : public VolumeSource {
public:
    QList<Volume> list;
    QList<Volume> volumes() const override { return list; }
    bool isReadable(const Volume&) const override { return true; }
};

// The style of desktops where a single click activates an item of a list.
class SingleClickStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override {
        return hint == SH_ItemView_ActivateItemOnSingleClick
                   ? 1
                   : QProxyStyle::styleHint(hint, option, widget, data);
    }
};

QStringList Items(const QComboBox& box) {
    QStringList texts;
    for (int i = 0; i < box.count(); ++i)
        texts << box.itemText(i);
    return texts;
}

} // namespace

class SelectListingTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup() { VolumeSource::install(nullptr); }
    void matchingFileNames_data();
    void matchingFileNames();
    void subdirectoriesAreSortedAndVisibleOnly();
    void nearestExistingDirectory_data();
    void nearestExistingDirectory();
    void volumeIndexOf_data();
    void volumeIndexOf();
    void joinPathAtRoot();
    void pathBytes_data();
    void pathBytes();
    void systemVolumesIncludeTheRootAndAreOrdered();
    void directoryListShowsPathAndOpensOnDoubleClick();
    void fileListOpensOnlyASelectedFile();
    void driveSelectorStartsAtTheStartVolume();
    void driveSelectorOffersNewVolumesWhenOpened();

private:
    AnyNameTempDir tree_;
    QString dir_;
};

void SelectListingTest::initTestCase() {
    QVERIFY(tree_.isValid());
    dir_ = tree_.path() + "/Meine Musik";
    QVERIFY(QDir().mkpath(dir_ + "/Ordner.mp3"));
    QVERIFY(QDir().mkpath(dir_ + "/älter"));
    QVERIFY(QDir().mkpath(dir_ + "/Zeit"));
    QVERIFY(QDir().mkpath(dir_ + "/.versteckt"));
    for (const char* name : {"b Lied.mp3", "a Lied.MP3", "Ärger.Mp3", "Zebra.mp3", "Пётр 東京.mp3",
                             "notiz.txt", "ohne Punkt", ".heimlich.mp3", "lied.mp3.bak", "x.mp3x"})
        Touch(dir_ + "/" + QString::fromUtf8(name));
    WriteBytes(dir_ + "/" + kLatin1Name, {});
    QVERIFY(std::filesystem::create_directory(NativePath(dir_ + "/" + kLatin1Directory)));
}

void SelectListingTest::matchingFileNames_data() {
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QStringList>("expected");
    // Case is ignored for matching and ordering; umlauts sort beside their
    // letter; directories and hidden files are never listed.
    QTest::newRow("mp3 in any case")
        << "*.mp3" << QStringList{"a Lied.MP3", "Ärger.Mp3", "b Lied.mp3",
                                  kLatin1Name,  "Zebra.mp3", "Пётр 東京.mp3"};
    QTest::newRow("all files, with or without a dot")
        << "*.*"
        << QStringList{"a Lied.MP3", "Ärger.Mp3",  "b Lied.mp3", kLatin1Name, "lied.mp3.bak",
                       "notiz.txt",  "ohne Punkt", "x.mp3x",     "Zebra.mp3", "Пётр 東京.mp3"};
    QTest::newRow("other wildcard") << "?.mp3x" << QStringList{"x.mp3x"};
}

void SelectListingTest::matchingFileNames() {
    QFETCH(QString, pattern);
    QFETCH(QStringList, expected);
    QCOMPARE(MatchingFileNames(dir_, pattern), expected);
}

void SelectListingTest::subdirectoriesAreSortedAndVisibleOnly() {
    QCOMPARE(SubdirectoryNames(dir_),
             (QStringList{"älter", kLatin1Directory, "Ordner.mp3", "Zeit"}));
    QCOMPARE(SubdirectoryNames(dir_ + "/gibt es nicht"), QStringList());
}

void SelectListingTest::nearestExistingDirectory_data() {
    QTest::addColumn<QString>("directory");
    QTest::addColumn<QString>("expected");
    const QString root = tree_.path() + "/";
    QTest::newRow("existing") << dir_ + "/Zeit" << dir_ + "/Zeit";
    QTest::newRow("vanished") << dir_ + "/weg/tiefer" << dir_;
    QTest::newRow("root itself") << root << root;
    QTest::newRow("nothing left but the root") << root + "weg" << root;
}

void SelectListingTest::nearestExistingDirectory() {
    QFETCH(QString, directory);
    QFETCH(QString, expected);
    QCOMPARE(NearestExistingDirectory(directory, tree_.path() + "/"), expected);
}

void SelectListingTest::volumeIndexOf_data() {
    QTest::addColumn<QString>("directory");
    QTest::addColumn<int>("expected");
    QTest::newRow("deepest volume wins") << "/media/stick/Musik" << 1;
    QTest::newRow("volume root without separator") << "/media/stick" << 1;
    QTest::newRow("name that only starts alike") << "/media/stick2/Musik" << 0;
    QTest::newRow("volume root") << "/media/" << 0;
    QTest::newRow("on no volume") << "/home" << -1;
}

void SelectListingTest::volumeIndexOf() {
    QFETCH(QString, directory);
    QFETCH(int, expected);
    const QList<Volume> volumes{{"/media/", ""}, {"/media/stick/", "URLAUB"}};
    QCOMPARE(VolumeIndexOf(volumes, directory), expected);
}

void SelectListingTest::joinPathAtRoot() {
    // The texts survive the trip through core's paths; a root gets no doubled separator.
    QCOMPARE(JoinPath(QString("/media/stick/"), QString("ä b.mp3")),
             QString("/media/stick/ä b.mp3"));
    const PathParts parts = SplitPath(QString("/media/stick/ä b.mp3"));
    QCOMPARE(parts.name, QString("ä b.mp3"));
    QCOMPARE(parts.directory, QString("/media/stick/"));
}

// Each byte that is no part of valid UTF-8 is held as U+DC00 + byte and shown
// as U+FFFD; every name goes back to the same bytes.
void SelectListingTest::pathBytes_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("held");
    QTest::addColumn<QString>("shown");
    const auto row = [](const char* name, const QByteArray& bytes, const char16_t* held,
                        const char16_t* shown) {
        QTest::newRow(name) << bytes << QStringView(held).toString()
                            << QStringView(shown).toString();
    };
    row("UTF-8", "Caf\xc3\xa9 \xf0\x9f\x8e\xb5", u"Café 🎵", u"Café 🎵");
    row("Latin-1", "Caf\xe9", u"Caf\xDCE9", u"Caf\xFFFD");
    row("cut sequence", "\xe6\x9dx", u"\xDCE6\xDC9Dx", u"\xFFFD\xFFFDx");
    row("encoded surrogate", "\xed\xb3\xa9", u"\xDCED\xDCB3\xDCA9", u"\xFFFD\xFFFD\xFFFD");
    row("pair ending like a kept byte", "\xf0\x90\x82\x80", u"\xD800\xDC80", u"\xD800\xDC80");
    row("byte order mark", "\xef\xbb\xbfx", u"\xFEFFx", u"\xFEFFx");
}

void SelectListingTest::pathBytes() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, held);
    QFETCH(QString, shown);
    QCOMPARE(PathFromNative(bytes.toStdString()), held);
    QCOMPARE(QByteArray::fromStdString(NativePath(held)), bytes);
    QCOMPARE(ShownPath(held), shown);
}

void SelectListingTest::systemVolumesIncludeTheRootAndAreOrdered() {
    const SystemVolumeSource system;
    const QList<Volume> volumes = system.volumes();
    QVERIFY(!volumes.isEmpty());
    QCOMPARE(volumes.first().rootPath, QString("/"));
    QVERIFY(system.isReadable(volumes.first()));
    for (int i = 1; i < volumes.size(); ++i) {
        QVERIFY(volumes[i - 1].rootPath < volumes[i].rootPath);
        QVERIFY(volumes[i].rootPath.endsWith('/'));
        QVERIFY(QFileInfo(volumes[i].rootPath).isDir());
    }
    // A directory that is no mount point is no drive, however it is named.
    QVERIFY(!system.isReadable({dir_ + "/", ""}));
}

void SelectListingTest::directoryListShowsPathAndOpensOnDoubleClick() {
    DirectoryList list(nullptr);
    SingleClickStyle style;
    list.setStyle(&style);
    const QString root = tree_.path() + "/";
    list.setPath(root, dir_ + "/weg/tiefer"); // removed meanwhile: the nearest parent
    QCOMPARE(list.path(), dir_);
    QCOMPARE(LineTexts(list),
             (QStringList{root, "Meine Musik", "älter", kLatin1Directory, "Ordner.mp3", "Zeit"}));
    QCOMPARE(list.currentItem()->text(0), QString("Meine Musik"));
    const QTreeWidgetItem* latin1 =
        list.findItems(kLatin1Directory, Qt::MatchExactly | Qt::MatchRecursive)[0];
    QCOMPARE(ShownText(list, list.indexFromItem(latin1)), QString("M\uFFFDll"));

    QSignalSpy changed(&list, &DirectoryList::pathChanged);
    list.resize(300, 300);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    QTreeWidgetItem* subdirectory =
        list.findItems("älter", Qt::MatchExactly | Qt::MatchRecursive)[0];
    const QPoint at = list.visualItemRect(subdirectory).center();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(list.path(), dir_); // a click only selects
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(list.path(), dir_ + "/älter");
    QCOMPARE(LineTexts(list), (QStringList{root, "Meine Musik", "älter"}));

    // Back up to the root by Enter on the first line; the root keeps its one separator.
    list.setCurrentItem(list.topLevelItem(0));
    QTest::keyClick(&list, Qt::Key_Return);
    QCOMPARE(list.path(), root);
    QVERIFY(LineTexts(list).contains("Meine Musik"));
}

void SelectListingTest::fileListOpensOnlyASelectedFile() {
    FileNameList list(nullptr);
    SingleClickStyle style;
    list.setStyle(&style);
    list.setDirectory(dir_);
    list.setPattern("*.mp3");
    list.resize(300, 300);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    QSignalSpy clicked(&list, &FileNameList::fileClicked);
    QSignalSpy opened(&list, &FileNameList::fileDoubleClicked);
    // Taking the focus makes the first file current without selecting it.
    QFocusEvent focus(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(&list, &focus);
    QTest::keyClick(&list, Qt::Key_Return);
    QCOMPARE(clicked.count(), 0);
    QCOMPARE(opened.count(), 0);

    const QPoint at = list.visualRect(list.model()->index(1, 0)).center();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(list.selectedName(), QString("Ärger.Mp3"));
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(opened.count(), 0); // a click only selects
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
    QTest::keyClick(&list, Qt::Key_Return);
    QCOMPARE(opened.count(), 2);
}

void SelectListingTest::driveSelectorStartsAtTheStartVolume() {
    const QString stick = tree_.path() + "/";
    auto source = std::make_unique<ListedVolumes>();
    source->list = {{"/", ""}, {stick, "STICK"}, {"/zzz/", ""}};
    VolumeSource::install(std::move(source));
    DriveSelector drives(dir_ + "/Zeit", nullptr);
    QCOMPARE(drives.count(), 3);
    QCOMPARE(drives.currentText(), DriveText({stick, "STICK"}));
    QCOMPARE(drives.currentDirectory(), dir_ + "/Zeit");

    // Every other drive starts at its root; each keeps its own directory.
    QSignalSpy changed(&drives, &DriveSelector::driveChanged);
    drives.setCurrentIndex(0);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(drives.currentDirectory(), QString("/"));
    drives.setCurrentDirectory("/usr");
    drives.setDrive(stick);
    QCOMPARE(changed.count(), 1); // setDrive reports no change
    QCOMPARE(drives.currentDirectory(), dir_ + "/Zeit");
    drives.setCurrentIndex(0);
    QCOMPARE(drives.currentDirectory(), QString("/usr"));
}

void SelectListingTest::driveSelectorOffersNewVolumesWhenOpened() {
    auto source = std::make_unique<ListedVolumes>();
    ListedVolumes& volumes = *source;
    volumes.list = {{"/", ""}, {"/media/alt/", ""}};
    VolumeSource::install(std::move(source));
    DriveSelector drives("/media/alt/Musik", nullptr);
    QSignalSpy changed(&drives, &DriveSelector::driveChanged);

    volumes.list = {{"/", ""}, {"/media/neu/", "NEU"}};
    drives.showPopup();
    drives.hidePopup();
    // The chosen drive, gone meanwhile, stays on offer until another is chosen.
    QCOMPARE(Items(drives), (QStringList{"/", "/media/neu/ [NEU]", "/media/alt/"}));
    QCOMPARE(drives.currentText(), QString("/media/alt/"));
    QCOMPARE(changed.count(), 0);
}

QTEST_MAIN(SelectListingTest)
#include "tst_select_listing.moc"
