// The batch removal window: its controls, the removal and blanking runs over
// real files with their progress, "Abbruch" in the middle of a large file,
// and failures that are counted and reported once.
#include "ui/batch/BatchTestSupport.h"
#include "ui/batch/Form5.h"
#include "ui/batch/ProgressRecorder.h"
#include "ui/main/Form1.h"
#include "ui/main/frmMessage.h"
#include "ui/support/WindowDriver.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

using namespace tagwerk;
using namespace tagwerk::test;

namespace {

enum class Run { removal, blanking };

// The main window with the given files listed and Form5 opened from its menu.
Form5& OpenForm5(const QStringList& paths) {
    Form5::unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Form1& main = FreshMainWindow();
    for (const QString& path : paths)
        main.List1->AddIfAbsent(path);
    main.ID3Entf->trigger();
    return Form5::instance();
}

void Start(Run run) {
    Form5& window = Form5::instance();
    (run == Run::removal ? window.Command1 : window.Command2)->click();
}

// After a run: the window is gone, the main window enabled and at rest.
void VerifyRunEnded() {
    Form1& main = Form1::instance();
    QVERIFY(main.isEnabled());
    QVERIFY(main.Label13->isHidden());
    QVERIFY(main.Label15->isHidden());
    QVERIFY(main.Shape2->isHidden());
    QCOMPARE(main.Image1->width(), 329);
    QVERIFY(!Form5::exists());
}

QStringList FilesIn(const QTemporaryDir& dir) {
    return FileNamesIn(dir.path());
}

} // namespace

class Form5Test : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { frmMessage::unload(); }

    void controlsAsStated_data() {
        AddControlColumns();
        QTest::newRow("Label1")
            << "Label1"
            << "Hiermit können Sie die ID3-Tags von allen in der Dateiliste enthaltenen Dateien "
               "entfernen. Das Entfernen von ID3-Tags ist mit Tagwerk momentan noch relativ "
               "langwierig. Daher lässt sich als Alternative der ID3-Tag auch nur leeren, anstatt "
               "ihn zu entfernen. Achtung: Einmal entfernte oder geleerte ID3-Tags können nicht "
               "auf Knopfdruck wieder hergestellt werden - sie sind dann unwiederbringlich "
               "gelöscht. Wird während dem Entfernungsvorgang auf Abbruch geklickt, so stoppt das "
               "Programm die Bearbeitung."
            << QRect(8, 8, 297, 121) << "";
        QTest::newRow("Command1")
            << "Command1"
            << "Entferne alle ID3-Tags" << QRect(8, 136, 297, 25)
            << "Entfernt von allen Dateien der Dateiauswahlliste (soweit vorhanden) den ID3-Tag, "
               "also die letzten 128 Bytes.";
        QTest::newRow("Command2")
            << "Command2"
            << "Leere alle ID3-Tags (soweit vorhanden)" << QRect(8, 168, 297, 25)
            << "Alternative zur obigen Schaltfläche (wegen höherer Geschwindigkeit). Die ID3-Tags "
               "werden (soweit vorhanden) nicht entfernt, sondern mit Leerzeichen gefüllt.";
        QTest::newRow("Command3")
            << "Command3"
            << "Abbruch" << QRect(8, 200, 297, 73)
            << "Bricht die Aktion ab bzw. stoppt die Verarbeitung der Dateiliste.";
    }

    void controlsAsStated() { VerifyControl(OpenForm5({})); }

    void window() {
        Form5& window = OpenForm5({});
        QCOMPARE(window.windowTitle(), QString("Tagwerk: Entfernen von ID3-Tags"));
        QCOMPARE(window.size(), QSize(312, 280));
        QVERIFY(window.windowFlags().testFlag(Qt::Tool));
        QCOMPARE(window.Command1->nextInFocusChain(), window.Command2);
        QCOMPARE(window.Command2->nextInFocusChain(), window.Command3);
        const Form1& main = Form1::instance();
        QVERIFY(!main.isEnabled());
        QVERIFY(main.isVisible());
        QVERIFY(QTest::qWaitForWindowActive(&window)); // the keys reach it at once
        QCOMPARE(QApplication::focusWidget(), window.Command1);
        // On screen, leaving the logo and the progress texts in sight, also
        // when they stand in the middle of the screen.
        Form1& moved = Form1::instance();
        const QRect area = window.screen()->availableGeometry();
        moved.move(moved.pos() + area.center() -
                   moved.Label15->mapToGlobal(moved.Label15->rect().center()));
        window.hide();
        window.show();
        QVERIFY(area.contains(window.frameGeometry()));
        VerifyClearOfProgress(window);
    }

    // Without a run, "Abbruch", the close box and Escape hide the window and keep it.
    void closingWithoutRun_data() {
        QTest::addColumn<QString>("how");
        for (const char* how : {"Abbruch", "close box", "Escape"})
            QTest::newRow(how) << how;
    }

    void closingWithoutRun() {
        QFETCH(QString, how);
        Form5& window = OpenForm5({});
        Leave(window, window.Command3, how);
        QVERIFY(window.isHidden());
        QVERIFY(Form1::instance().isEnabled());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(Form5::exists());
        Form1::instance().ID3Entf->trigger();
        QCOMPARE(&Form5::instance(), &window);
        QVERIFY(window.isVisible());
        QVERIFY(!Form1::instance().isEnabled());
    }

    void emptyListEndsAtOnce_data() {
        QTest::addColumn<Run>("run");
        QTest::newRow("removal") << Run::removal;
        QTest::newRow("blanking") << Run::blanking;
    }

    void emptyListEndsAtOnce() {
        QFETCH(Run, run);
        OpenForm5({});
        Start(run);
        VerifyRunEnded();
        QCOMPARE(ShownNotice(), QString());
    }

    // Three large files, only the second with a trailer: the overall bar
    // stays at 1 pixel during the first, jumps to 109 with the second's first
    // step, grows to at most 219 and stays there. Each of its moves shows
    // with the per-file bar as it stands at that block.
    void removalOfThreeFiles() {
        QTemporaryDir dir;
        const QStringList paths{dir.filePath("a.mp3"), dir.filePath("b.mp3"),
                                dir.filePath("c.mp3")};
        const QByteArray payload = Payload(300'000);
        WriteBytes(paths[0], payload);
        WriteBytes(paths[1], payload + kTagged);
        WriteBytes(paths[2], payload);
        OpenForm5(paths);
        Form1& main = Form1::instance();
        main.Text1->setText("alt");
        ProgressRecorder recorder(main);
        Start(Run::removal);
        const QList<ProgressState> states = recorder.stop();

        QVERIFY(!states.isEmpty());
        QCOMPARE(states.first().width, 109);
        QCOMPARE(states.first().fileText, QString("0%")); // under one pixel yet
        for (const ProgressState& state : states.mid(1)) {
            QVERIFY(state.width >= 109 && state.width <= 219);
            QVERIFY(state.fileText.endsWith("% der Datei  2 von  3 bearbeitet"));
        }
        for (int p = 1, shown = 109; p < payload.size(); p += 100) {
            const double fraction = static_cast<double>(p) / payload.size();
            const int width = static_cast<int>((fraction + 1) / 3 * 329);
            if (width == shown)
                continue;
            shown = width;
            const int fileWidth = static_cast<int>(fraction * 329);
            QVERIFY2(std::any_of(states.begin(), states.end(),
                                 [&](const ProgressState& state) {
                                     return state.width == width && state.fileWidth == fileWidth;
                                 }),
                     qPrintable(QString("%1 px at block %2").arg(width).arg(p)));
        }
        for (const QString& path : paths)
            QCOMPARE(ReadBytes(path), payload);
        QCOMPARE(main.Label10->text(), QString("c.mp3"));
        QCOMPARE(main.Label11->text(), dir.path() + "/");
        QCOMPARE(main.Text1->text(), QString());
        QCOMPARE(main.Combo1->currentText(), QString("(keine Zuordnung)"));
        QCOMPARE(main.List1->count(), 3);
        VerifyRunEnded();
        QCOMPARE(FilesIn(dir), (QStringList{"a.mp3", "b.mp3", "c.mp3"}));
    }

    // File 3 of 10 is halfway: " 50% der Datei  3 von  10 bearbeitet" with
    // the per-file bar at 164 pixels, " 25% insgesamt" at 82. The per-file bar
    // keeps its width from file 3 (296) to file 4, whose first block sets it
    // back to 0 and " 0%" (seen with the overall bar's move of that block).
    void removalTexts() {
        QTemporaryDir dir;
        QStringList paths;
        for (int i = 1; i <= 10; ++i) {
            paths << dir.filePath(QString("%1.mp3").arg(i));
            WriteBytes(paths.last(), Payload(1000) + (i == 3 || i == 4 ? kTagged : QByteArray()));
        }
        OpenForm5(paths);
        ProgressRecorder recorder(Form1::instance());
        Start(Run::removal);
        const QList<ProgressState> states = recorder.stop();
        const auto seen = [&](const ProgressState& expected) {
            return std::any_of(states.begin(), states.end(), [&](const ProgressState& state) {
                return state.width == expected.width && state.text == expected.text &&
                       state.fileWidth == expected.fileWidth && state.fileText == expected.fileText;
            });
        };
        QVERIFY(seen({82, " 25% insgesamt", 164, " 50% der Datei  3 von  10 bearbeitet"}));
        QVERIFY(seen({95, " 29% insgesamt", 296, " 90% der Datei  3 von  10 bearbeitet"}));
        QVERIFY(seen({98, " 30% insgesamt", 0, " 0% der Datei  4 von  10 bearbeitet"}));
        QCOMPARE(ReadBytes(paths[2]), Payload(1000));
        QCOMPARE(ReadBytes(paths[3]), Payload(1000));
        VerifyRunEnded();
    }

    // Blanking keeps the length and turns the last 128 bytes into "TAG", 124
    // blanks and 0xFF; files without a trailer (a file of 128 bytes counts as
    // one) get nothing. Only blanked files move the bar.
    void blanking() {
        QTemporaryDir dir;
        QStringList paths;
        QList<QByteArray> contents;
        for (int i = 1; i <= 10; ++i) {
            paths << dir.filePath(QString("%1.mp3").arg(i));
            contents << (i <= 8 ? Payload(700 * i) + kTagged : i == 9 ? Payload(5000) : kTagged);
            WriteBytes(paths.last(), contents.last());
        }
        OpenForm5(paths);
        ProgressRecorder recorder(Form1::instance());
        Start(Run::blanking);
        QList<int> widths;
        QStringList texts;
        for (const ProgressState& state : recorder.stop())
            widths << state.width, texts << state.text;
        QCOMPARE(widths, (QList<int>{32, 65, 98, 131, 164, 197, 230, 263}));
        QCOMPARE(texts[2], QString(" 30% insgesamt"));
        QCOMPARE(texts.last(), QString(" 80% insgesamt"));
        for (int i = 0; i < 8; ++i)
            QCOMPARE(ReadBytes(paths[i]), Payload(700 * (i + 1)) + kBlank);
        QCOMPARE(ReadBytes(paths[8]), contents[8]);
        QCOMPARE(ReadBytes(paths[9]), contents[9]);
        QCOMPARE(Form1::instance().Label10->text(), QString("10.mp3"));
        VerifyRunEnded();
        QCOMPARE(ShownNotice(), QString());
    }

    // "Abbruch" (or the close box) at the first visible step: the large file
    // keeps its trailer, no copy is left, the next file is not touched; the
    // main window is enabled once the run has stopped.
    void abortInTheMiddle_data() {
        QTest::addColumn<Run>("run");
        QTest::addColumn<QString>("how");
        QTest::newRow("removal, Abbruch") << Run::removal << "Abbruch";
        QTest::newRow("removal, close box") << Run::removal << "close box";
        QTest::newRow("removal, Escape") << Run::removal << "Escape";
        QTest::newRow("blanking, Abbruch") << Run::blanking << "Abbruch";
    }

    void abortInTheMiddle() {
        QFETCH(Run, run);
        QFETCH(QString, how);
        QTemporaryDir dir;
        const QStringList paths{dir.filePath("gross.mp3"), dir.filePath("klein.mp3")};
        const QByteArray large = Payload(20'000'000) + kTagged;
        const QByteArray small = Payload(3000) + kTagged;
        WriteBytes(paths[0], large);
        WriteBytes(paths[1], small);
        Form5& window = OpenForm5(paths);
        bool enabledBeforeRunStopped = true;
        QTimer::singleShot(0, &window, [&] {
            Leave(window, window.Command3, how);
            enabledBeforeRunStopped = Form1::instance().isEnabled();
        });
        Start(run);
        QVERIFY(!enabledBeforeRunStopped);
        if (run == Run::removal)
            QCOMPARE(ReadBytes(paths[0]), large);
        else
            QCOMPARE(ReadBytes(paths[0]), Payload(20'000'000) + kBlank);
        QCOMPARE(ReadBytes(paths[1]), small);
        QCOMPARE(FilesIn(dir), (QStringList{"gross.mp3", "klein.mp3"}));
        QCOMPARE(Form1::instance().Label10->text(), QString("gross.mp3"));
        VerifyRunEnded();
    }

    // Files that fail are counted and reported once at the end; the run goes
    // on to the last file, whose failure ends it normally.
    void failuresAreCounted_data() {
        QTest::addColumn<Run>("run");
        QTest::addColumn<QString>("done");
        QTest::newRow("removal") << Run::removal << "entfernt";
        QTest::newRow("blanking") << Run::blanking << "geleert";
    }

    void failuresAreCounted() {
        QFETCH(Run, run);
        QFETCH(QString, done);
        AnyNameTempDir dir;
        const QString readOnly = dir.filePath("schreibgeschuetzt.mp3");
        const QString good = dir.filePath(kLatin1Name);
        const QString missing = dir.filePath("fehlt.mp3");
        const QString directory = dir.filePath("ordner.mp3");
        const QByteArray content = Payload(4000) + kTagged;
        WriteBytes(readOnly, content);
        WriteBytes(good, content);
        QVERIFY(QDir(dir.path()).mkdir("ordner.mp3"));
        QVERIFY(QFile::setPermissions(readOnly, QFile::ReadOwner));
        OpenForm5({readOnly, missing, good, directory});
        {
            OrdinaryUser user({dir.path(), readOnly, good});
            Start(run);
        }
        QCOMPARE(ReadBytes(readOnly), content);
        QCOMPARE(ReadBytes(good), run == Run::removal ? Payload(4000) : Payload(4000) + kBlank);
        QCOMPARE(Form1::instance().Label10->text(), QString("ordner.mp3"));
        QCOMPARE(FilesIn(dir), (QStringList{kLatin1Name, "schreibgeschuetzt.mp3"}));
        VerifyRunEnded();
        QCOMPARE(ShownNotice(), "Bei  3 Dateien konnte der ID3-Tag nicht " + done +
                                    " werden. Mögliche Ursachen: Die Datei ist nicht mehr "
                                    "vorhanden oder schreibgeschützt, der Datenträger ist voll "
                                    "oder schreibgeschützt.");
        QCOMPARE(FailureMarks(*Form1::instance().List1),
                 (QStringList{"Der Zugriff wurde verweigert (fehlende Berechtigung).",
                              "Die Datei oder ihr Verzeichnis ist nicht vorhanden.", "",
                              "Der Pfad bezeichnet keine gewöhnliche Datei."}));
    }
};

QTEST_MAIN(Form5Test)
#include "tst_form5.moc"
