// Saves a picture of every window under screenshots/ in the working directory (the build folder),
// for looking at.
#include "core/UndoSummary.h"
#include "ui/batch/Form4.h"
#include "ui/batch/Form5.h"
#include "ui/batch/Form6.h"
#include "ui/batch/Form7.h"
#include "ui/main/Form1.h"
#include "ui/main/ProgressDisplay.h"
#include "ui/main/frmMessage.h"
#include "ui/main/frmSplash.h"
#include "ui/select/Form2.h"
#include "ui/select/Form3.h"
#include "ui/support/TagFiles.h"
#include "ui/support/WindowDriver.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace tagwerk;
using namespace tagwerk::test;

namespace {

void Save(QWidget& window, const QString& name) {
    QDir().mkpath("screenshots");
    const QString path = QDir::current().filePath("screenshots/" + name + ".png");
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(window.grab().save(path));
    qInfo("saved %s", qPrintable(path));
}

} // namespace

class Screenshots : public QObject {
    Q_OBJECT
private slots:
    void init() { FreshMainWindow(); }

    void mainWindow() {
        Form1& form = FreshMainWindow();
        for (const char* path : {"/home/anna/Musik/Kraftwerk - Autobahn.mp3",
                                 "/home/anna/Musik/Die Ärzte - Schrei nach Liebe.mp3",
                                 "/media/anna/USB-STICK/Jazz/Miles Davis - So What.mp3"})
            form.List1->AddIfAbsent(path);
        form.Label12->setText("( 3 Dateien)");
        form.List1->setCurrentRow(0);
        form.Label10->setText("Kraftwerk - Autobahn.mp3");
        form.Label11->setText("/home/anna/Musik/");
        form.Text1->setText("Autobahn");
        form.Text2->setText("Kraftwerk");
        form.Text3->setText("Autobahn");
        form.Text4->setText("1974");
        form.Combo1->setCurrentText("Electronic");
        form.Text5->setText("Remastered");
        Save(form, "main-window");
    }

    // The open file also has an ID3v2 tag.
    void mainWindowWithId3v2Notice() {
        QTemporaryDir dir;
        const QString path = dir.filePath("Kraftwerk - Autobahn.mp3");
        WriteBytes(path, Id3v2Bytes(4, {"Autobahn", "Kraftwerk", "Autobahn", "1974", "", 52}));
        Form1& form = Form1::instance();
        form.List1->AddIfAbsent(path);
        DoubleClickEntry(form.List1, 0);
        Save(form, "main-window-id3v2");
    }

    // The widest texts: the run over the last of 100,000 files.
    void mainWindowWithProgress() {
        ProgressDisplay progress(Form1::instance());
        progress.BeginProgress(true);
        progress.ShowProgress(ProgressBar::perFile, 0.99, [] {
            return QString(" 99% der Datei  100000 von  100000 bearbeitet");
        });
        progress.ShowProgress(ProgressBar::overall, 0.99, [] { return QString(" 99% insgesamt"); });
        // Between frames the bars and texts do not repaint; drawn as a frame draws them.
        Form1& form = Form1::instance();
        for (QWidget* control :
             std::initializer_list<QWidget*>{form.Label13, form.Label15, form.Shape2})
            control->setUpdatesEnabled(true);
        Save(form, "main-window-progress");
        progress.EndProgress();
    }

    void question() {
        QTimer::singleShot(100, [] {
            Save(frmMessage::instance(), "message-question");
            Click(frmMessage::instance().Command2);
        });
        AskQuestion("Die Änderungen an der aktuellen Datei wurden noch nicht gespeichert. "
                    "Möchten Sie, dass die Änderungen gespeichert werden?");
    }

    void notice() {
        ShowNotice("Der ID3-Tag der Datei „/home/anna/Musik/Ein sehr langer Ordnername mit "
                   "Leerzeichen/Unterordner/Die Ärzte - Schrei nach Liebe.mp3“ konnte nicht "
                   "geladen werden. Der Zugriff wurde verweigert (fehlende Berechtigung).");
        Save(frmMessage::instance(), "message-notice");
    }

    // The longest summary an undo gives, and the journal's warning.
    void undoNotices() {
        UndoResult result;
        result.kind = ActionKind::id3v1FromId3v2Run;
        result.restored = result.changedSince = result.failed = 100000;
        ShowNotice(QString::fromStdString(UndoSummary(result)));
        Save(frmMessage::instance(), "message-undo");
        ShowNotice(QString::fromUtf8(kJournalBroken));
        Save(frmMessage::instance(), "message-journal-broken");
    }

    void about() {
        frmSplash::instance().show();
        Save(frmSplash::instance(), "about");
    }

    // A file of each kind, for the previews of both runs.
    void previews() {
        QTemporaryDir dir;
        const QByteArray v2 = Id3v2Bytes(3, {"Autobahn", "Kraftwerk", "Autobahn", "1974", "", 52});
        const QList<QPair<QString, QByteArray>> files{
            {"Kraftwerk - Autobahn.mp3", v2 + QByteArray(4000, 'x')},
            {"Die Ärzte - Schrei nach Liebe.mp3",
             QByteArray(4000, 'x') + "TAG" + QByteArray(125, ' ')},
            {"Miles Davis - So What.mp3", QByteArray(100, 'x')},
            {"Ohne Trennstrich.mp3", QByteArray(4000, 'x')}};
        Form1& main = Form1::instance();
        for (const auto& [name, bytes] : files) {
            WriteBytes(dir.filePath(name), bytes);
            main.List1->AddIfAbsent(dir.filePath(name));
        }
        main.List1->AddIfAbsent(dir.filePath("Verschwunden - Lied.mp3"));
        for (const auto& [window, name] :
             {QPair<QWidget*, QString>{&Form4::instance(), "preview-tags-from-names"},
              QPair<QWidget*, QString>{&Form6::instance(), "preview-tags-from-id3v2"}}) {
            window->show();
            window->findChild<QPushButton*>("Command3")->click();
            Save(Form7::instance(), name);
            Form7::instance().Command2_Click();
            window->hide();
        }
    }

    void otherWindows() {
        const QList<QPair<QWidget*, QString>> windows = {{&Form2::instance(), "single-file"},
                                                         {&Form3::instance(), "multi-file"},
                                                         {&Form4::instance(), "tags-from-names"},
                                                         {&Form5::instance(), "batch-removal"},
                                                         {&Form6::instance(), "tags-from-id3v2"}};
        for (const auto& [window, name] : windows) {
            window->show();
            Save(*window, name);
            window->hide();
        }
    }
};

QTEST_MAIN(Screenshots)
#include "tst_Screenshots.moc"
