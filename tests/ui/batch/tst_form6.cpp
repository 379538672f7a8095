// The window that gives every listed file an ID3v1 tag from its ID3v2 tag:
// its controls, runs over real files with their progress and summary, files
// left alone or failing, "Abbruch" in the middle of a run, and its value kept
// from one opening to the next. Every file keeps its ID3v2 tag and audio.
#include "ui/batch/BatchTestSupport.h"
#include "ui/batch/Form6.h"
#include "ui/batch/ProgressRecorder.h"
#include "ui/main/Form1.h"
#include "ui/support/WindowDriver.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace tagwerk;
using namespace tagwerk::test;

namespace {

const QByteArray kStart = Id3v2Bytes(3, kId3v2Song, 3000) + Payload(2000); // tag and audio

// The main window with the files listed and the first one open, and Form6
// opened from its menu.
Form6& OpenForm6(const QStringList& paths) {
    Form1& main = FreshMainWindow();
    for (const QString& path : paths)
        main.List1->AddIfAbsent(path);
    if (!paths.isEmpty())
        DoubleClickEntry(main.List1, 0);
    main.ID3v2Name->trigger();
    return Form6::instance();
}

} // namespace

class Form6Test : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { frmMessage::unload(); }

    void controlsAsStated_data() {
        AddControlColumns();
        QTest::newRow("Label1")
            << "Label1"
            << "Hiermit erhalten alle Dateien der Dateiliste im Hauptfenster einen ID3v1-Tag mit "
               "Titel, Künstler, Album, Jahr, Kommentar und Musikrichtung aus ihrem ID3v2-Tag, den "
               "die meisten Player anzeigen. Dateien ohne lesbaren ID3v2-Tag bleiben unverändert, "
               "der ID3v2-Tag selbst wird nie geändert. Wird während der Bearbeitung auf Abbruch "
               "geklickt, so stoppt das Programm nach der aktuellen Datei."
            << QRect(8, 8, 345, 89) << "";
        QTest::newRow("Check1") << "Check1"
                                << "Vorhandene ID3v1-Tags &überschreiben" << QRect(16, 104, 337, 17)
                                << "Bestimmt, ob bereits vorhandene ID3v1-Tags ersetzt werden "
                                   "sollen.";
        QTest::newRow("Command1") << "Command1"
                                  << "&Starten" << QRect(16, 136, 161, 33)
                                  << "Erstellt zu jeder Datei der Dateiliste im Hauptfenster einen "
                                     "ID3v1-Tag aus ihrem ID3v2-Tag.";
        QTest::newRow("Command2")
            << "Command2"
            << "&Abbruch" << QRect(184, 136, 161, 33)
            << "Bricht die Aktion ab bzw. stoppt die Verarbeitung der Dateiliste.";
        QTest::newRow("Command3") << "Command3"
                                  << "&Vorschau..." << QRect(16, 176, 161, 33)
                                  << "Zeigt für jede Datei der Dateiliste, welchen ID3v1-Tag "
                                     "\"Starten\" schreiben würde oder warum nicht, ohne etwas "
                                     "zu schreiben.";
    }

    void controlsAsStated() { VerifyControl(OpenForm6({})); }

    // Centred over the disabled main window, clear of its logo and progress texts.
    void window() {
        Form6& window = OpenForm6({});
        const Form1& main = Form1::instance();
        QCOMPARE(window.windowTitle(), QString("Tagwerk: ID3v1-Tags aus ID3v2-Tags erzeugen"));
        QCOMPARE(window.size(), QSize(361, 217));
        QCOMPARE(window.minimumSize(), window.maximumSize());
        QVERIFY(!main.isEnabled() && main.isVisible());
        QCOMPARE(window.frameGeometry().center(), main.frameGeometry().center());
        VerifyClearOfProgress(window);
        QCOMPARE(window.Check1->nextInFocusChain(), window.Command1);
        QCOMPARE(window.Command1->nextInFocusChain(), window.Command2);
        QCOMPARE(window.Command2->nextInFocusChain(), window.Command3);
    }

    // Written (appended, or over a trailer with Check1), left alone (a
    // trailer without Check1), no usable ID3v2 tag (only a picture, over a
    // trailer it must not blank), failed (read-only, vanished): each file
    // moves the bar, the summary counts them. The preview tells each file's
    // fate before, touching none: the run then started from it, or from the
    // window after the preview was closed, does just that.
    void runOverTheList_data() {
        QTest::addColumn<bool>("overwrite");
        QTest::addColumn<QString>("summary");
        QTest::addColumn<QString>("withTag");
        QTest::newRow("Check1 off, started from the preview")
            << false
            << "Auftrag ausgeführt. Es wurden  1 ID3v1-Tags geschrieben. Es traten bei  2 Dateien "
               "Fehler auf. Außerdem enthielten  1 Dateien bereits einen ID3v1-Tag (wurde nicht "
               "geändert) und  1 Dateien keinen lesbaren ID3v2-Tag."
            << "bleibt unverändert (hat bereits einen ID3v1-Tag)|||||";
        QTest::newRow("Check1 on, preview closed")
            << true
            << "Auftrag ausgeführt. Es wurden  2 ID3v1-Tags geschrieben. Es traten bei  2 Dateien "
               "Fehler auf. Außerdem enthielten  0 Dateien bereits einen ID3v1-Tag (wurde nicht "
               "geändert) und  1 Dateien keinen lesbaren ID3v2-Tag."
            << "Titel aus v2|Künstler|Album 2|2004|Jazz|Neu";
    }

    void runOverTheList() {
        QFETCH(bool, overwrite);
        QFETCH(QString, summary);
        QFETCH(QString, withTag);
        QTemporaryDir dir;
        const QStringList paths{dir.filePath("neu.mp3"), dir.filePath("mit-tag.mp3"),
                                dir.filePath("ohne-v2.mp3"), dir.filePath("geschuetzt.mp3"),
                                dir.filePath("fehlt.mp3")};
        const QByteArray v24 = Id3v2Bytes(4, kId3v2Song) + Payload(500);
        const QList<QByteArray> before{kStart, v24 + kTagged,
                                       Id3v2Bytes(3, {}, 100) + Payload(900) + kTagged, kStart};
        for (int i = 0; i < before.size(); ++i)
            WriteBytes(paths[i], before[i]);
        QVERIFY(QFile::setPermissions(paths[3], QFile::ReadOwner));
        Form6& window = OpenForm6(paths);
        window.Check1->setChecked(overwrite);
        const QStringList untouched = FileStates(paths);
        std::optional<ProgressRecorder> recorder;
        {
            OrdinaryUser user({dir.path(), paths[0], paths[1], paths[2], paths[3]});
            window.Command3->click();
            QCOMPARE(PreviewRows(),
                     (QStringList{"neu.mp3|Titel aus v2|Künstler|Album 2|2004|Jazz|Neu",
                                  "mit-tag.mp3|" + withTag,
                                  "ohne-v2.mp3|bleibt unverändert (hat keinen lesbaren "
                                  "ID3v2-Tag)|||||",
                                  "geschuetzt.mp3|Fehler: Der Zugriff wurde verweigert (fehlende "
                                  "Berechtigung).|||||",
                                  "fehlt.mp3|Fehler: Die Datei oder ihr Verzeichnis ist nicht "
                                  "vorhanden.|||||"}));
            QCOMPARE(FileStates(paths), untouched);
            if (overwrite)
                Click(Form7::instance().Command2);
            recorder.emplace(Form1::instance());
            (overwrite ? window.Command1 : Form7::instance().Command1)->click();
        }
        QList<int> widths;
        for (const ProgressState& state : recorder->stop())
            widths << state.width;
        // Started from the preview, the first pass of events also takes the
        // preview's closing, which may be recorded as a pass of its own.
        if (overwrite)
            QCOMPARE(widths, (QList<int>{65, 131, 197, 263, 329}));
        QCOMPARE(ShownNotice(), summary);
        const QByteArray trailer = Id3v1Trailer(kId3v2Song);
        const QList<QByteArray> after{kStart + trailer, overwrite ? v24 + trailer : before[1],
                                      before[2], before[3]};
        for (int i = 0; i < after.size(); ++i)
            QCOMPARE(ReadBytes(paths[i]), after[i]);
        QVERIFY(!QFile::exists(paths[4]));
        const Form1& main = Form1::instance();
        QVERIFY(main.isEnabled() && main.Label13->isHidden() && Form6::instance().isHidden());
        QCOMPARE(main.Image1->width(), 329);
        QVERIFY(main.Label17->isVisible());                    // the open file's notice is back
        QCOMPARE(main.Text1->text(), QString("Titel aus v2")); // the open file, loaded again
        QCOMPARE(FailureMarks(*main.List1),
                 (QStringList{"", "", "", "Der Zugriff wurde verweigert (fehlende Berechtigung).",
                              "Die Datei oder ihr Verzeichnis ist nicht vorhanden."}));
    }

    // Leaving the window stops a run after the file at hand, keeping the
    // main window disabled and its notice hidden until then, and without a
    // run just enables the main window; the next opening finds the same
    // window with Check1 as it was.
    void leaving_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("duringRun");
        for (const char* how : {"Abbruch", "close box", "Escape"}) {
            QTest::addRow("%s during a run", how) << how << true;
            QTest::addRow("%s without a run", how) << how << false;
        }
    }

    void leaving() {
        QFETCH(QString, how);
        QFETCH(bool, duringRun);
        QTemporaryDir dir;
        const QStringList paths{dir.filePath("1.mp3"), dir.filePath("2.mp3")};
        for (const QString& path : paths)
            WriteBytes(path, kStart);
        Form6& window = OpenForm6(paths);
        window.Check1->setChecked(duringRun);
        const Form1& main = Form1::instance();
        bool mainUsableDuringRun = true;
        const auto leave = [&] {
            Leave(window, window.Command2, how);
            mainUsableDuringRun = main.isEnabled() || main.Label17->isVisible();
        };
        if (duringRun) {
            QTimer::singleShot(0, &window, leave);
            window.Command1->click();
            QVERIFY(!mainUsableDuringRun);
            QCOMPARE(ShownNotice(),
                     "Auftrag abgebrochen. Es wurden  1 ID3v1-Tags geschrieben. Es traten bei  0 "
                     "Dateien Fehler auf. Außerdem enthielten  0 Dateien bereits einen ID3v1-Tag "
                     "(wurde nicht geändert) und  0 Dateien keinen lesbaren ID3v2-Tag.");
        } else {
            leave();
        }
        QCOMPARE(ReadBytes(paths[0]), kStart + (duringRun ? Id3v1Trailer(kId3v2Song) : ""));
        QCOMPARE(ReadBytes(paths[1]), kStart);
        QVERIFY(main.isEnabled() && main.Label13->isHidden() && window.isHidden());
        Form1::instance().ID3v2Name->trigger();
        QCOMPARE(&Form6::instance(), &window);
        QCOMPARE(window.Check1->isChecked(), duringRun);
    }
};

QTEST_MAIN(Form6Test)
#include "tst_form6.moc"
