// "Letzte Aktion rückgängig machen" after each action of the windows: the
// files come back byte for byte, the open file is reloaded, files changed
// since are left alone, and a journal that cannot be written is told once.
#include "ui/batch/BatchTestSupport.h"
#include "ui/batch/Form4.h"
#include "ui/batch/Form5.h"
#include "ui/batch/Form6.h"
#include "ui/batch/ProgressRecorder.h"
#include "ui/main/Form1.h"
#include "ui/support/WindowDriver.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

using namespace tagwerk;
using namespace tagwerk::test;

namespace {

// Files that every action changes: an ID3v2 tag, audio and a trailer.
const QByteArray kSong =
    Id3v2Bytes(3, {"Titel aus v2", "Band", "", "2004", "", 8}) + Payload(3000) + kTagged;

using Action = std::function<void(Form1&)>;

void EditAndSave(Form1& main) {
    main.Text1->setFocus();
    QTest::keyClick(main.Text1, Qt::Key_End);
    TypeText(main.Text1, "X");
    main.Command1->click();
}

void TagsFromNames(Form1& main) {
    main.ID3Name->trigger();
    Form4& window = Form4::instance();
    window.Text1->setText(R"(1," - ",2,".mp3")");
    window.Check7->setChecked(true);
    window.Command1->click();
}

void Id3v1FromId3v2(Form1& main) {
    main.ID3v2Name->trigger();
    Form6::instance().Check1->setChecked(true);
    Form6::instance().Command1->click();
}

Action Form5Run(bool removal) {
    return [removal](Form1& main) {
        main.ID3Entf->trigger();
        (removal ? Form5::instance().Command1 : Form5::instance().Command2)->click();
    };
}

} // namespace

class UndoTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(qputenv("XDG_STATE_HOME", state_.path().toUtf8())); }
    void init() { QDir(state_.filePath("tagwerk")).removeRecursively(); }
    void cleanup() { frmMessage::unload(); }

    void takesBackEveryAction_data() {
        QTest::addColumn<Action>("action");
        QTest::addColumn<QString>("summary");
        const QString restoredOne = " wurde rückgängig gemacht. Wiederhergestellt: 1 Datei.";
        const QString restoredAll = " wurde rückgängig gemacht. Wiederhergestellt: 3 Dateien.";
        QTest::newRow("save") << Action(EditAndSave)
                              << "Die letzte Aktion (Speichern eines ID3-Tags)" + restoredOne;
        QTest::newRow("removal") << Action([](Form1& main) { main.Command3->click(); })
                                 << "Die letzte Aktion (Entfernen eines ID3-Tags)" + restoredOne;
        QTest::newRow("removal run")
            << Form5Run(true) << "Die letzte Aktion (Entfernen aller ID3-Tags)" + restoredAll;
        QTest::newRow("blanking run")
            << Form5Run(false) << "Die letzte Aktion (Leeren aller ID3-Tags)" + restoredAll;
        QTest::newRow("tags from names")
            << Action(TagsFromNames)
            << "Die letzte Aktion (Erzeugen der ID3-Tags aus den Dateinamen)" + restoredAll;
        QTest::newRow("ID3v1 from ID3v2")
            << Action(Id3v1FromId3v2)
            << "Die letzte Aktion (Erzeugen der ID3v1-Tags aus den ID3v2-Tags)" + restoredAll;
    }

    // The open file is among the files put back, so the editor shows its tag again.
    void takesBackEveryAction() {
        QFETCH(Action, action);
        QFETCH(QString, summary);
        Form1& main = FreshMainWindow();
        const QStringList paths = listedFiles(main);
        QVERIFY(!main.Rueckgaengig->isEnabled());
        action(main);
        frmMessage::unload();
        QVERIFY(ReadBytes(paths[0]) != kSong);
        QVERIFY(main.Rueckgaengig->isEnabled());

        ProgressRecorder recorder(main);
        MessageAnswerer answerer("Nein"); // nothing to ask: no edits are thrown away
        main.Rueckgaengig->trigger();
        const QList<ProgressState> progress = recorder.stop();
        QTRY_COMPARE(answerer.texts(), QStringList(summary));
        for (const QString& path : paths)
            QCOMPARE(ReadBytes(path), kSong);
        QCOMPARE(main.Text1->text(), QString("Lied"));
        QCOMPARE(main.EditorState, Form1::kUnchanged);
        QVERIFY(!main.Rueckgaengig->isEnabled());
        QVERIFY(main.isEnabled());
        // Long lists show their progress on the logo; a single file does not.
        QCOMPARE(!progress.isEmpty() && progress.last().text == " 100%",
                 summary.endsWith("3 Dateien."));
        QVERIFY(main.Label13->isHidden());
    }

    // A file changed after the action keeps that change; the editor, which
    // still shows the saved edit, is not reloaded. A file gone since is marked
    // in the list, and the next undo, once it is back, puts it back.
    void leavesAFileChangedOrGone_data() {
        QTest::addColumn<bool>("gone");
        QTest::addColumn<QString>("summary");
        QTest::addColumn<QString>("mark");
        const QString start = "Die letzte Aktion (Speichern eines ID3-Tags) wurde ";
        QTest::newRow("changed") << false
                                 << start +
                                        "rückgängig gemacht. Wiederhergestellt: 0 Dateien. "
                                        "Seitdem geändert und deshalb nicht angetastet: 1 Datei."
                                 << "";
        QTest::newRow("gone")
            << true << start + "nicht vollständig rückgängig gemacht."
            << "Nicht mehr vorhanden; das nächste Rückgängigmachen holt sie nach.";
    }

    void leavesAFileChangedOrGone() {
        QFETCH(bool, gone);
        QFETCH(QString, summary);
        QFETCH(QString, mark);
        Form1& main = FreshMainWindow();
        const QString path = listedFiles(main)[0];
        EditAndSave(main);
        const QByteArray saved = ReadBytes(path);
        if (gone)
            QVERIFY(QFile::rename(path, path + ".weg"));
        else
            WriteBytes(path, saved + "x");
        main.Rueckgaengig->trigger();
        QVERIFY(ShownNotice().startsWith(summary));
        QCOMPARE(FailureMarks(*main.List1)[0], mark);
        QCOMPARE(main.Text1->text(), QString("LiedX"));
        if (!gone)
            return;
        frmMessage::unload();
        QVERIFY(QFile::rename(path + ".weg", path));
        main.Rueckgaengig->trigger();
        QCOMPARE(ReadBytes(path), kSong);
        QCOMPARE(FailureMarks(*main.List1)[0], QString());
    }

    // The warning follows the run's own summary, once per program run, and
    // the actions themselves are done.
    void tellsOnceThatAJournalCannotBeWritten() {
        QVERIFY(qputenv("XDG_STATE_HOME", "/dev/null/state"));
        Form1& main = FreshMainWindow();
        const QStringList paths = listedFiles(main);
        TagsFromNames(main);
        QVERIFY(ShownNotice().startsWith("Auftrag ausgeführt."));
        frmMessage::unload();
        QTRY_VERIFY(ShownNotice().startsWith("Die Aktion konnte nicht vollständig im Journal"));
        frmMessage::unload();
        EditAndSave(main);
        QCoreApplication::processEvents();
        QCOMPARE(ShownNotice(), QString());
        // The edit went into the tag the run wrote, which the editor showed.
        QCOMPARE(ReadBytes(paths[0]).right(128).left(33),
                 QByteArray("TAGLied 1X").leftJustified(33));
        QVERIFY(!main.Rueckgaengig->isEnabled());
        QVERIFY(qputenv("XDG_STATE_HOME", state_.path().toUtf8()));
    }

private:
    // Three files listed, the first one open.
    QStringList listedFiles(Form1& main) {
        QStringList paths;
        for (int i = 1; i <= 3; ++i) {
            paths << files_.filePath(QString("Lied %1 - Band.mp3").arg(i));
            WriteBytes(paths.last(), kSong);
            main.List1->AddIfAbsent(paths.last());
        }
        DoubleClickEntry(main.List1, 0);
        return paths;
    }

    QTemporaryDir state_;
    QTemporaryDir files_;
};

QTEST_MAIN(UndoTest)
#include "tst_undo.moc"
