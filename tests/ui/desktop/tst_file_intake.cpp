// Files from outside the program's windows: the command line of a second
// start handed over through the local socket, drops on the main window and
// on the multi-file window's list, and what the main window makes of them.
#include "ui/desktop/FileIntake.h"
#include "ui/desktop/SingleInstance.h"
#include "ui/main/Form1.h"
#include "ui/main/TextConversion.h"
#include "ui/main/frmMessage.h"
#include "ui/select/Form3.h"
#include "ui/support/TagFiles.h"
#include "ui/support/WindowDriver.h"

#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace tagwerk;
using namespace tagwerk::test;

namespace {

void Touch(const QByteArray& path) {
    WriteBytes(PathFromNative(path.toStdString()), {});
}

// Sends the drag and, if it was accepted, the drop of `data` to `target`.
bool Drop(QWidget* target, const QMimeData& data) {
    const QPoint at(5, 5);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

QMimeData* LocalFiles(const QByteArrayList& paths) {
    auto* data = new QMimeData;
    QList<QUrl> urls;
    for (const QByteArray& path : paths)
        urls << QUrl("file://" + QString::fromLatin1(path.toPercentEncoding("/")));
    data->setUrls(urls);
    return data;
}

} // namespace

class FileIntakeTest : public QObject {
    Q_OBJECT
    AnyNameTempDir tree_;
    QByteArray root_;

private slots:
    void initTestCase() {
        root_ = QFile::encodeName(tree_.path());
        for (const char* folder : {"/Alben/B", "/Alben/a", "/Alben/.versteckt"})
            QVERIFY(QDir().mkpath(QFile::decodeName(root_ + folder)));
        QVERIFY(
            QFile::link(QFile::decodeName(root_ + "/Alben/a"), QFile::decodeName(root_ + "/Link")));
        for (const char* file :
             {"/Alben/zwei.MP3", "/Alben/Äpfel.mp3", "/Alben/notiz.txt", "/Alben/B/b.mp3",
              "/Alben/a/a.mp3", "/Alben/.versteckt/x.mp3", "/Caf\xe9.mp3", "/liste.txt"})
            Touch(root_ + file);
    }

    void init() {
        FreshMainWindow();
        frmMessage::unload();
    }

    // What the paths give: files of any name as named, folders their MP3
    // files in the windows' order, own files before subfolders; names that
    // are no UTF-8 carried unchanged; missing paths named once.
    void pathsGiveFiles_data() {
        QTest::addColumn<QByteArrayList>("paths");
        QTest::addColumn<QByteArrayList>("files");
        QTest::addColumn<int>("unreadable");
        QTest::newRow("folder") << QByteArrayList{root_ + "/Alben"}
                                << QByteArrayList{root_ + "/Alben/Äpfel.mp3",
                                                  root_ + "/Alben/zwei.MP3",
                                                  root_ + "/Alben/a/a.mp3",
                                                  root_ + "/Alben/B/b.mp3"}
                                << 0;
        QTest::newRow("files of any name")
            << QByteArrayList{root_ + "/liste.txt", root_ + "/Caf\xe9.mp3"}
            << QByteArrayList{root_ + "/liste.txt", root_ + "/Caf\xe9.mp3"} << 0;
        QTest::newRow("missing among others")
            << QByteArrayList{root_ + "/fehlt.mp3", root_ + "/liste.txt", root_ + "/weg"}
            << QByteArrayList{root_ + "/liste.txt"} << 2;
    }

    void pathsGiveFiles() {
        QFETCH(QByteArrayList, paths);
        QFETCH(QByteArrayList, files);
        QFETCH(int, unreadable);
        QStringList expected;
        for (const QByteArray& file : files)
            expected << PathFromNative(file.toStdString());
        QStringList missing;
        QCOMPARE(FilesOf(paths, &missing), expected);
        QCOMPARE(missing.size(), unreadable);
    }

    // ".." after a link goes up from where the link leads, as the file system takes it.
    void pathsAreResolved() {
        QCOMPARE(AbsolutePaths({root_ + "/Link/../zwei.MP3", root_ + "/Alben/./a//../zwei.MP3",
                                root_ + "/weg/../liste.txt"}),
                 (QByteArrayList{root_ + "/Alben/zwei.MP3", root_ + "/Alben/zwei.MP3",
                                 root_ + "/liste.txt"}));
    }

    // The first file handed over is selected and opened, also one listed
    // before; a minimised window comes back; a notice names what was
    // missing; what comes while a question waits is added once it is answered.
    void filesComeIntoTheMainWindow() {
        Form1& form = Form1::instance();
        const QString listed = PathFromNative(root_.toStdString() + "/Alben/zwei.MP3");
        form.List1->AddIfAbsent(listed);
        form.showMinimized();
        form.setEnabled(false); // as while a question waits
        TakeInFiles({root_ + "/Alben", root_ + "/fehlt.mp3"});
        QCOMPARE(form.List1->count(), 1);
        form.setEnabled(true);
        QTRY_COMPARE(form.List1->count(), 4);
        QCOMPARE(form.Label12->text(), QString("( 4 Dateien)"));
        QCOMPARE(form.openFilePath(), PathFromNative(root_.toStdString() + "/Alben/Äpfel.mp3"));
        QVERIFY(frmMessage::exists());
        const QString notice = frmMessage::instance().Label1->text();
        QVERIFY2(notice.contains("fehlt.mp3") && notice.contains("(1)"), qPrintable(notice));
        QVERIFY(!form.isMinimized());
        TakeInFiles({root_ + "/Alben/zwei.MP3"});
        QTRY_COMPARE(form.openFilePath(), listed);
        QCOMPARE(form.List1->selectedRow(), 0);
    }

    // Local files and folders dropped anywhere on the main window, and on the
    // multi-file window's list; text and web links are refused.
    void drops() {
        Form1& form = Form1::instance();
        std::unique_ptr<QMimeData> text(new QMimeData);
        text->setText("Titel");
        std::unique_ptr<QMimeData> web(new QMimeData);
        web->setUrls({QUrl("https://example.org/lied.mp3")});
        QVERIFY(!Drop(&form, *text));
        QVERIFY(!Drop(&form, *web));
        std::unique_ptr<QMimeData> files(LocalFiles({root_ + "/Caf\xe9.mp3", root_ + "/Alben/a"}));
        QVERIFY(Drop(form.Text1, *files)); // on a text field, as anywhere
        QCOMPARE(Entries(*form.List1),
                 (QStringList{PathFromNative(root_.toStdString() + "/Caf\xe9.mp3"),
                              PathFromNative(root_.toStdString() + "/Alben/a/a.mp3")}));
        QCOMPARE(form.Text1->text(), QString());

        Form3& multi = Form3::instance();
        QVERIFY(Drop(multi.List1->viewport(), *files));
        QCOMPARE(Entries(*multi.List1), Entries(*form.List1));
        QCOMPARE(multi.Label10->text(), QString("( 2 Dateien)"));
        QVERIFY(!Drop(multi.List1->viewport(), *web));
    }

    // A second start hands its arguments, made absolute where they were
    // typed, to the running program and ends with 0; a socket left by a
    // crash does not stop the next start.
    void secondStartHandsOver_data() {
        QTest::addColumn<bool>("staleSocket");
        QTest::newRow("running program") << false;
        QTest::newRow("after a crash") << true;
    }

    void secondStartHandsOver() {
        QFETCH(bool, staleSocket);
        if (staleSocket) {
            const QByteArray path = QFile::encodeName(SingleInstance::socketPath());
            ::unlink(path.constData());
            const int dead = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            std::memcpy(address.sun_path, path.constData(), std::size_t(path.size()));
            QCOMPARE(::bind(dead, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
            ::close(dead); // the file stays, nobody listens
        }
        SingleInstance running;
        QVERIFY(running.listen());
        QSignalSpy received(&running, &SingleInstance::argumentsReceived);
        QProcess second;
        second.setWorkingDirectory(tree_.path());
        // Through the shell, which passes a name's bytes that are no UTF-8 as they are.
        second.start("sh", {"-c", R"sh(exec "$0" Alben/a.mp3 "$(printf '%s/Caf\351.mp3' "$1")")sh",
                            qEnvironmentVariable("TAGWERK_PROGRAM"), tree_.path()});
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitCode(), 0);
        QTRY_COMPARE(received.count(), 1);
        QCOMPARE(received[0][0].value<QByteArrayList>(),
                 (QByteArrayList{root_ + "/Alben/a.mp3", root_ + "/Caf\xe9.mp3"}));
    }

    // A program busy with a long list keeps its socket: a later start finds
    // it taken and, when the list it hands over is not read in time, says so;
    // the list cut short is then dropped.
    void busyProgramKeepsItsSocket() {
        SingleInstance running;
        QVERIFY(running.listen());
        QSignalSpy received(&running, &SingleInstance::argumentsReceived);
        SingleInstance second;
        QVERIFY(!second.listen());
        // This thread waits, so the running program reads nothing meanwhile.
        QCOMPARE(SingleInstance::handOver({QByteArray(4 << 20, 'x')}, 300),
                 SingleInstance::HandOver::noAnswer);
        QCOMPARE(SingleInstance::handOver({"/x.mp3"}), SingleInstance::HandOver::delivered);
        QTRY_COMPARE(received.count(), 1);
        QCOMPARE(received[0][0].value<QByteArrayList>(), QByteArrayList{"/x.mp3"});
    }

    // Without a runtime folder of the user's own (the fallback is another
    // user's) the socket goes to a folder only the user can enter.
    void privateFolderWithoutRuntimeFolder() {
        if (::geteuid() != 0)
            QSKIP("Only root can hand the fallback folder to another user.");
        QTemporaryDir temp;
        QVERIFY(QDir(temp.path()).mkdir("runtime-root"));
        QCOMPARE(::chown(QFile::encodeName(temp.filePath("runtime-root")), 65534, 65534), 0);
        const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
        qunsetenv("XDG_RUNTIME_DIR");
        qputenv("TMPDIR", temp.path().toUtf8());
        qputenv("XDG_CACHE_HOME", temp.filePath("cache").toUtf8());
        const QFileInfo socket(SingleInstance::socketPath());
        qputenv("XDG_RUNTIME_DIR", runtime);
        qunsetenv("TMPDIR");
        qunsetenv("XDG_CACHE_HOME");
        QCOMPARE(socket.path(), temp.filePath("cache/tagwerk"));
        QCOMPARE(QFileInfo(socket.path()).permissions().toInt() & 0x77, 0); // group, others
    }
};

QTEST_MAIN(FileIntakeTest)
#include "tst_file_intake.moc"
