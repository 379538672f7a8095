// "ID3-Tag entfernen" on the open file: the progress on the logo, the state
// of the main window afterwards, and failures that leave file and fields as
// they were.
#include "ui/batch/BatchTestSupport.h"
#include "ui/batch/ProgressRecorder.h"
#include "ui/main/Form1.h"
#include "ui/main/ProgressDisplay.h"
#include "ui/main/RepaintThrottle.h"
#include "ui/main/TextConversion.h"
#include "ui/main/frmMessage.h"
#include "ui/support/TagFiles.h"
#include "ui/support/WindowDriver.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace tagwerk;
using namespace tagwerk::test;

namespace {

const QString kFailureNotice =
    "Fehler beim Entfernen des ID3-Tags. Mögliche Ursachen: zuwenig Speicherplatz auf dem "
    "Datenträger, schreibgeschützter Datenträger oder Fehler beim Lesen der MP3-Datei.";

// Lists the file in the main window and opens it, as a double-click does.
Form1& OpenInMainWindow(const QString& path) {
    Form1& form = FreshMainWindow();
    form.List1->AddIfAbsent(path);
    DoubleClickEntry(form.List1, 0);
    return form;
}

void VerifyAtRest(const Form1& form) {
    QVERIFY(form.isEnabled());
    QVERIFY(form.Label13->isHidden());
    QCOMPARE(form.Image1->width(), 329);
}

QStringList Editor(const Form1& form) {
    return {form.Text1->text(), form.Text2->text(), form.Text3->text(),
            form.Text4->text(), form.Text5->text(), form.Combo1->currentText()};
}

} // namespace

class RemoveTagTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { frmMessage::unload(); }

    void removalShowsWholePixelSteps_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("payload");
        QTest::addColumn<QList<int>>("widths");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("N = 1000: blocks only")
            << "lied.mp3" << 1000 << QList<int>{33, 66, 99, 131, 164, 197, 230, 263, 296}
            << QStringList{" 10%", " 20%", " 30%", " 40%", " 50%", " 60%", " 70%", " 80%", " 90%"};
        QTest::newRow("N = 1: one single byte, a name that is no UTF-8")
            << kLatin1Name << 1 << QList<int>{329} << QStringList{" 100%"};
        // Blocks at 1 and 101, then bytes 201 to 250: every call moves the bar.
        QList<int> widths{1, 132};
        QStringList texts{" 0%", " 40%"};
        for (int p = 201; p <= 250; ++p) {
            widths << p * 329 / 250;
            texts << QString(" %1%").arg(p * 100 / 250);
        }
        QTest::newRow("N = 250: blocks and bytes") << "lied.mp3" << 250 << widths << texts;
    }

    void removalShowsWholePixelSteps() {
        QFETCH(QString, name);
        QFETCH(int, payload);
        QFETCH(QList<int>, widths);
        QFETCH(QStringList, texts);
        AnyNameTempDir dir;
        const QString path = dir.filePath(name);
        WriteBytes(path, Payload(payload) + kTagged);
        Form1& form = OpenInMainWindow(path);
        QVERIFY(form.Command3->isEnabled());

        ProgressRecorder recorder(form);
        form.Command3->click();
        QList<int> seenWidths;
        QStringList seenTexts;
        for (const ProgressState& state : recorder.stop()) {
            seenWidths << state.width;
            seenTexts << state.text;
        }
        QCOMPARE(seenWidths, widths);
        QCOMPARE(seenTexts, texts);

        QCOMPARE(ReadBytes(path), Payload(payload));
        VerifyAtRest(form);
        QCOMPARE(Editor(form), (QStringList{"", "", "", "", "", "(keine Zuordnung)"}));
        QVERIFY(!form.Command2->isEnabled());
        QVERIFY(form.Command3->isEnabled());
        QCOMPARE(form.Label10->text(), ShownPath(name));
        QCOMPARE(form.List1->count(), 1);
        QVERIFY(!frmMessage::exists() || frmMessage::instance().isHidden());
        QCOMPARE(FileNamesIn(dir.path()), QStringList{name});

        // Pressed again, it finds no trailer and changes nothing but the display.
        ProgressRecorder again(form);
        form.Command3->click();
        QVERIFY(again.stop().isEmpty());
        QCOMPARE(ReadBytes(path), Payload(payload));
        VerifyAtRest(form);
    }

    // A large file moves the bar in whole pixels only: at most 329 updates.
    // The logo repaints at most once a frame (16 ms), each time only the
    // strip it gained since, and once more at full width after the removal.
    void largeFileUpdatesOncePerPixel() {
        QTemporaryDir dir;
        const QString path = dir.filePath("gross.mp3");
        WriteBytes(path, Payload(10'000'000) + kTagged);
        Form1& form = OpenInMainWindow(path);
        ProgressRecorder recorder(form);
        PaintRecorder logo(*form.Image1);
        QElapsedTimer clock;
        clock.start();
        form.Command3->click();
        const qint64 elapsed = clock.elapsed();
        const QList<ProgressState> states = recorder.stop();
        QCOMPARE(states.size(), 328);
        for (int i = 0; i < states.size(); ++i)
            QCOMPARE(states[i].width, i + 1);
        QCOMPARE(states.last().text, QString(" 99%"));
        QCOMPARE(QFileInfo(path).size(), 10'000'000);

        const QList<QRect> strips = logo.painted;
        QVERIFY2(strips.size() <= 2 + elapsed / 16, qPrintable(QString::number(strips.size())));
        for (int i = 1; i < strips.size(); ++i)
            QCOMPARE(strips[i].left(), strips[i - 1].right() + 1);
        QCoreApplication::processEvents();
        QCOMPARE(logo.painted.last().right(), 328);
    }

    // A repaint held back between frames is made up when the throttle ends,
    // also when nothing else asks for one afterwards.
    void heldRepaintIsMadeUp() {
        QWidget window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        PaintRecorder paints(window);
        {
            RepaintThrottle throttle(window);
            throttle.paintFrame();
            window.update();
            QCoreApplication::processEvents();
            QVERIFY(paints.painted.isEmpty());
        }
        QCoreApplication::processEvents();
        QCOMPARE(paints.painted.size(), 1);
    }

    // The main window is disabled during the removal, but the logo keeps its
    // colours: the bright part is the bar, the dimmed copy the rest.
    void logoStaysBrightWhileDisabled() {
        QTemporaryDir dir;
        const QString path = dir.filePath("lied.mp3");
        WriteBytes(path, Payload(100'000) + kTagged);
        Form1& form = OpenInMainWindow(path);
        QImage during; // at the 50th step, with the bar 50 pixels wide
        int steps = 0;
        QTimer timer;
        connect(&timer, &QTimer::timeout, [&] {
            if (++steps == 50)
                during = form.grab().toImage();
        });
        timer.start(0);
        form.Command3->click();
        timer.stop();
        QVERIFY(!during.isNull());
        for (const auto& [x, picture] : {std::pair{20, "logo"}, std::pair{200, "logo-dimmed"}}) {
            const QPoint place = form.Image1->mapTo(&form, QPoint(x, 10));
            QCOMPARE(QColor(during.pixel(place)),
                     QImage(QString(":/pictures/%1.png").arg(picture)).pixelColor(x, 10));
        }
    }

    // The progress texts keep the colour of enabled text too: their pixel
    // nearest to it in grey is nearer to it than to disabled text.
    void textsStayReadableWhileDisabled_data() {
        QTest::addColumn<ProgressBar>("bar");
        QTest::newRow("Label13") << ProgressBar::overall;
        QTest::newRow("Label15") << ProgressBar::perFile;
    }

    void textsStayReadableWhileDisabled() {
        QFETCH(ProgressBar, bar);
        Form1& form = FreshMainWindow();
        QLabel* label = bar == ProgressBar::overall ? form.Label13 : form.Label15;
        form.setEnabled(false);
        ProgressDisplay progress(form);
        progress.BeginProgress(true);
        progress.ShowProgress(bar, 0.5, [] { return QString(" 50% der Datei  1 von  2"); });
        const QImage shown = label->grab().toImage();
        progress.EndProgress();
        form.setEnabled(true);
        const QPalette palette = label->palette();
        const int enabled = qGray(palette.color(QPalette::Active, QPalette::WindowText).rgb());
        const int disabled = qGray(palette.color(QPalette::Disabled, QPalette::WindowText).rgb());
        int nearest = 256; // the grey of the pixel nearest to enabled text
        for (int y = 0; y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x) {
                const int level = qGray(shown.pixel(x, y));
                if (std::abs(level - enabled) < std::abs(nearest - enabled))
                    nearest = level;
            }
        }
        QVERIFY(std::abs(nearest - enabled) < std::abs(nearest - disabled));
    }

    // A file of 128 bytes that is a trailer counts as having none.
    void trailerOnlyFileIsLeftAlone() {
        QTemporaryDir dir;
        const QString path = dir.filePath("nur.mp3");
        WriteBytes(path, kTagged);
        Form1& form = OpenInMainWindow(path);
        TypeText(form.Text1, "x");
        form.Command3->setEnabled(true); // as after a tag was loaded
        ProgressRecorder recorder(form);
        form.Command3->click();
        QVERIFY(recorder.stop().isEmpty());
        QCOMPARE(ReadBytes(path), kTagged);
        QCOMPARE(form.Text1->text(), QString("x"));
        QVERIFY(!form.Command2->isEnabled());
        VerifyAtRest(form);
    }

    // After a failure the file keeps its tag and the fields keep showing it
    // (with the user's edits); "ID3-Tag laden" keeps its state.
    void failureKeepsFileAndFields_data() {
        QTest::addColumn<bool>("vanished");
        QTest::newRow("file vanished after opening") << true;
        QTest::newRow("read-only directory") << false;
    }

    void failureKeepsFileAndFields() {
        QFETCH(bool, vanished);
        QTemporaryDir dir;
        const QString path = dir.filePath("lied.mp3");
        const QByteArray content = Payload(5000) + kTagged;
        WriteBytes(path, content);
        Form1& form = OpenInMainWindow(path);
        TypeText(form.Text1, "!");
        QVERIFY(form.Command2->isEnabled());

        if (vanished) {
            QVERIFY(QFile::remove(path));
            form.Command3->click();
        } else {
            QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
            OrdinaryUser user({dir.path(), path});
            form.Command3->click();
        }

        QVERIFY(frmMessage::exists() && frmMessage::instance().isVisible());
        QCOMPARE(frmMessage::instance().Label1->text(), kFailureNotice);
        QCOMPARE(Editor(form), (QStringList{"Lied!", "Band", "Album", "1999", "Gut", "Rock"}));
        QVERIFY(form.Command2->isEnabled());
        VerifyAtRest(form);
        if (!vanished)
            QCOMPARE(ReadBytes(path), content);
        const QStringList left = vanished ? QStringList{} : QStringList{"lied.mp3"};
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), left);
    }
};

QTEST_MAIN(RemoveTagTest)
#include "tst_remove_tag.moc"
