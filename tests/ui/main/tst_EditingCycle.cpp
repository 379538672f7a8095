// The editing cycle of the main window, driven as a user would: opening list
// entries, editing, loading and saving, the questions about unsaved edits,
// the list commands, closing the window, failures of the file access, and
// the notice of an ID3v2 tag whose values can be taken over.
#include "ui/batch/Form4.h"
#include "ui/main/Form1.h"
#include "ui/main/TextConversion.h"
#include "ui/main/frmMessage.h"
#include "ui/main/frmSplash.h"
#include "ui/select/Form2.h"
#include "ui/select/Form3.h"
#include "ui/support/TagFiles.h"
#include "ui/support/WindowDriver.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>
#include <csignal>
#include <memory>
#include <sys/resource.h>

using namespace tagwerk;
using namespace tagwerk::test;

namespace {

const QString kUnsavedQuestion =
    "Die Änderungen an der aktuellen Datei wurden noch nicht gespeichert. Möchten Sie, dass die "
    "Änderungen gespeichert werden?";
const QString kReloadQuestion = "Sollen die Änderungen an der aktuellen Datei verworfen und der "
                                "ID3-Tag erneut eingeladen werden? ";
const QByteArray kAudio(1000, 'a');
const Id3v1Fields kSong{"Lied", "Band", "Album", "1999", "Gut", 17};
const QStringList kSongFields{"Lied", "Band", "Album", "1999", "Gut", "Rock"};
const QStringList kBlankFields{"", "", "", "", "", "(keine Zuordnung)"};
const QByteArray kTheirs = Id3v1Trailer({"Anders", "Sie", "", "2020", "", 8}); // another program's

QStringList Editor(const Form1& form) {
    return {form.Text1->text(), form.Text2->text(), form.Text3->text(),
            form.Text4->text(), form.Text5->text(), form.Combo1->currentText()};
}

// Enabled states of "speichern", "laden" and "entfernen".
QList<bool> Buttons(const Form1& form) {
    return {form.Command1->isEnabled(), form.Command2->isEnabled(), form.Command3->isEnabled()};
}

// Lists the file (if it is not yet listed) and double-clicks its entry.
void Open(Form1& form, const QString& path) {
    form.List1->AddIfAbsent(path);
    int row = 0;
    while (form.List1->entryAt(row) != path)
        ++row;
    DoubleClickEntry(form.List1, row);
}

// The user's edit: the title gets one more letter.
void EditTitle(Form1& form) {
    form.Text1->setFocus();
    QTest::keyClick(form.Text1, Qt::Key_End);
    TypeText(form.Text1, "X");
}

// Closes the main window from the program's event loop, as its close box
// does, and returns when the program ends.
void CloseInEventLoop(Form1& form) {
    QTimer::singleShot(0, &form, &QWidget::close);
    QCOMPARE(QCoreApplication::exec(), 0);
}

} // namespace

class EditingCycleTest : public QObject {
    Q_OBJECT
    std::unique_ptr<AnyNameTempDir> directory_;
    QString inDirectory(const QString& name) const { return directory_->filePath(name); }
    QString file(const QString& name, const QByteArray& bytes) {
        const QString path = directory_->filePath(name);
        WriteBytes(path, bytes);
        return path;
    }

private slots:
    void init() {
        FreshMainWindow();
        directory_ = std::make_unique<AnyNameTempDir>();
        QVERIFY(directory_->isValid());
    }

    void openingLoadsTheTag_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<bool>("removable");
        QTest::newRow("no trailer") << kAudio << kBlankFields << false;
        QTest::newRow("empty file") << QByteArray() << kBlankFields << false;
        QTest::newRow("only a trailer, 128 bytes") << Id3v1Trailer(kSong) << kBlankFields << false;
        QTest::newRow("lower-case marker")
            << kAudio + Id3v1Trailer(kSong).replace(0, 3, "tag") << kBlankFields << false;
        QTest::newRow("trailer") << kAudio + Id3v1Trailer(kSong) << kSongFields << true;
        QTest::newRow("blanks and NUL cut")
            << kAudio + Id3v1Trailer({"Abc", QByteArray("Ab\0cd", 5), "", "99", "", 255})
            << QStringList{"Abc", "Ab", "", "99", "", "(keine Zuordnung)"} << true;
        QTest::newRow("Windows-1252")
            << kAudio + Id3v1Trailer({"Caf\xe9 \x80 \x96", "", "", "", "", 0})
            << QStringList{"Café € –", "", "", "", "", "Blues"} << true;
        QTest::newRow("genre without name")
            << kAudio + Id3v1Trailer({"T", "", "", "", "", 200})
            << QStringList{"T", "", "", "", "", "(keine Zuordnung)"} << true;
    }

    void openingLoadsTheTag() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, fields);
        QFETCH(bool, removable);
        Form1& form = Form1::instance();
        const QString path = file("Lied.mp3", bytes);
        MessageAnswerer answerer("OK");
        QSignalSpy opened(form.List1, &FileListBox::DblClick);
        Open(form, path);
        QCOMPARE(opened.size(), 1);
        QCOMPARE(answerer.texts(), QStringList()); // nothing to settle right after start
        QCOMPARE(form.Label10->text(), QString("Lied.mp3"));
        QCOMPARE(form.Label11->text(), directory_->path() + "/");
        QCOMPARE(Editor(form), fields);
        QCOMPARE(Buttons(form), QList<bool>({false, false, removable}));
        QCOMPARE(form.EditorState, 1);
        QVERIFY(form.isEnabled());
        QCOMPARE(ReadBytes(path), bytes);
    }

    // Every field's edit marks the editor modified; "laden" only when the file has a tag.
    void editEnablesButtons_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<bool>("tagged");
        for (const char* field : {"Text1", "Text2", "Text3", "Text4", "Text5", "Combo1"}) {
            QTest::addRow("%s, file with tag", field) << field << true;
            QTest::addRow("%s, file without tag", field) << field << false;
        }
    }

    void editEnablesButtons() {
        QFETCH(QString, field);
        QFETCH(bool, tagged);
        Form1& form = Form1::instance();
        Open(form, file("a.mp3", tagged ? kAudio + Id3v1Trailer(kSong) : kAudio));
        QWidget* control = form.findChild<QWidget*>(field);
        if (auto* genres = qobject_cast<QComboBox*>(control)) {
            genres->setFocus();
            QTest::keyClick(genres, Qt::Key_Up);
        } else {
            QTest::keyClick(control, Qt::Key_A, Qt::ControlModifier);
            TypeText(control, "1");
        }
        QCOMPARE(form.EditorState, 0);
        QCOMPARE(Buttons(form), QList<bool>({true, tagged, tagged}));
    }

    void reloadAfterEdits_data() {
        QTest::addColumn<bool>("automatic");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("reloaded");
        QTest::newRow("asked, OK") << false << "OK" << true;
        QTest::newRow("asked, Nein") << false << "Nein" << false;
        QTest::newRow("Check1 ticked") << true << "" << true;
    }

    void reloadAfterEdits() {
        QFETCH(bool, automatic);
        QFETCH(QString, answer);
        QFETCH(bool, reloaded);
        Form1& form = Form1::instance();
        const QString path = file("a.mp3", kAudio + Id3v1Trailer(kSong));
        Open(form, path);
        EditTitle(form);
        form.Check1->setChecked(automatic);
        MessageAnswerer answerer(answer);
        Click(form.Command2);
        QCOMPARE(answerer.texts(), automatic ? QStringList() : QStringList{kReloadQuestion});
        QCOMPARE(form.Text1->text(), QString(reloaded ? "Lied" : "LiedX"));
        QCOMPARE(form.EditorState, reloaded ? 1 : 0);
        QCOMPARE(form.Command1->isEnabled(), !reloaded);
        QVERIFY(form.isEnabled());
        QCOMPARE(ReadBytes(path), kAudio + Id3v1Trailer(kSong));
    }

    // A reload keeps the genre box when the new tag has no named genre or no
    // tag at all; code 255 is the named "(keine Zuordnung)".
    void reloadSetsGenre_data() {
        QTest::addColumn<QByteArray>("changed");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QList<bool>>("buttons");
        QTest::newRow("tag removed meanwhile")
            << kAudio << QStringList{"", "", "", "", "", "Rock"} << QList<bool>{false, true, false};
        QTest::newRow("genre code 200")
            << kAudio + Id3v1Trailer({"Neu", "", "", "", "", 200})
            << QStringList{"Neu", "", "", "", "", "Rock"} << QList<bool>{false, true, true};
        QTest::newRow("genre code 255") << kAudio + Id3v1Trailer({"Neu", "", "", "", "", 255})
                                        << QStringList{"Neu", "", "", "", "", "(keine Zuordnung)"}
                                        << QList<bool>{false, true, true};
    }

    void reloadSetsGenre() {
        QFETCH(QByteArray, changed);
        QFETCH(QStringList, fields);
        QFETCH(QList<bool>, buttons);
        Form1& form = Form1::instance();
        const QString path = file("a.mp3", kAudio + Id3v1Trailer(kSong));
        Open(form, path);
        EditTitle(form);
        WriteBytes(path, changed);
        form.Check1->setChecked(true);
        Click(form.Command2);
        QCOMPARE(Editor(form), fields);
        QCOMPARE(Buttons(form), buttons);
    }

    void saveWritesTheTrailer_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("kept"); // the bytes before the new trailer
        QTest::addColumn<QString>("year");
        QTest::addColumn<QString>("genre");
        QTest::addColumn<QByteArray>("trailer");
        QTest::newRow("appended") << "a.mp3" << kAudio << kAudio << "99"
                                  << "Blues" << Id3v1Trailer({"X", "", "", "99", "", 0});
        QTest::newRow("overwritten")
            << "a.mp3" << kAudio + Id3v1Trailer(kSong) << kAudio << "2001"
            << "(keine Zuordnung)" << Id3v1Trailer({"LiedX", "Band", "Album", "2001", "Gut", 255});
        QTest::newRow("name that is no UTF-8")
            << kLatin1Name << kAudio + Id3v1Trailer(kSong) << kAudio << "1999"
            << "Rock" << Id3v1Trailer({"LiedX", "Band", "Album", "1999", "Gut", 17});
        QTest::newRow("128 bytes get a second trailer")
            << "a.mp3" << Id3v1Trailer(kSong) << Id3v1Trailer(kSong) << ""
            << "Rock" << Id3v1Trailer({"X", "", "", "", "", 17});
        QTest::newRow("empty file") << "a.mp3" << QByteArray() << QByteArray() << ""
                                    << "Rock" << Id3v1Trailer({"X", "", "", "", "", 17});
    }

    void saveWritesTheTrailer() {
        QFETCH(QString, name);
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, kept);
        QFETCH(QString, year);
        QFETCH(QString, genre);
        QFETCH(QByteArray, trailer);
        Form1& form = Form1::instance();
        const QString path = file(name, before);
        Open(form, path);
        QCOMPARE(form.Label10->text(), ShownPath(name));
        const bool removable = form.Command3->isEnabled();
        EditTitle(form);
        form.Text4->setText(year);
        form.Combo1->setCurrentText(genre);
        Click(form.Command1);
        QCOMPARE(ReadBytes(path), kept + trailer);
        QCOMPARE(form.EditorState, 1);
        QCOMPARE(Buttons(form), QList<bool>({false, false, removable}));
    }

    // Typed blanks and Windows-1252 letters are written as they stand; an
    // independent reader sees them in a real MP3 stream, and a reload strips
    // the trailing blanks.
    void savedTagAsOthersReadIt() {
        const QByteArray mp3 = LameMp3();
        if (mp3.isEmpty())
            QSKIP("lame is not installed");
        Form1& form = Form1::instance();
        const QString path = file("echt.mp3", mp3);
        Open(form, path);
        TypeText(form.Text1, "Grüße  ");
        TypeText(form.Text2, "Künstler");
        TypeText(form.Text4, "2001");
        TypeText(form.Text5, "€ – „x“");
        form.Combo1->setCurrentText("Rock");
        Click(form.Command1);
        const QByteArray bytes = ReadBytes(path);
        QCOMPARE(bytes.left(mp3.size()), mp3);
        QCOMPARE(bytes.mid(mp3.size() + 97, 8), QByteArray("\x80 \x96 \x84x\x93 "));
        const QMap<QString, QString> tag = MutagenId3v1(path);
        QCOMPARE(tag.value("TIT2"), QString("Grüße"));
        QCOMPARE(tag.value("TPE1"), QString("Künstler"));
        QCOMPARE(tag.value("TDRC"), QString("2001"));
        QCOMPARE(tag.value("TCON"), QString("Rock"));
        Open(form, path);
        QCOMPARE(Editor(form), QStringList({"Grüße", "Künstler", "", "2001", "€ – „x“", "Rock"}));
    }

    void saveWithoutOpenFileOnlyMarksUnchanged() {
        Form1& form = Form1::instance();
        TypeText(form.Text1, "x");
        Click(form.Command1);
        QCOMPARE(form.EditorState, 1);
        QCOMPARE(Buttons(form), QList<bool>({true, false, false}));
        QCOMPARE(QDir(directory_->path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    }

    void openAnotherEntrySettlesEdits_data() {
        QTest::addColumn<bool>("automatic");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("saved");
        QTest::newRow("asked, OK saves") << false << "OK" << true;
        QTest::newRow("asked, Nein discards") << false << "Nein" << false;
        QTest::newRow("Check1 saves without asking") << true << "" << true;
    }

    void openAnotherEntrySettlesEdits() {
        QFETCH(bool, automatic);
        QFETCH(QString, answer);
        QFETCH(bool, saved);
        Form1& form = Form1::instance();
        const QString first = file("a.mp3", kAudio + Id3v1Trailer(kSong));
        const QString second = file("b.mp3", kAudio);
        Open(form, first);
        EditTitle(form);
        form.Check1->setChecked(automatic);
        MessageAnswerer answerer(answer);
        Open(form, second);
        QCOMPARE(answerer.texts(), automatic ? QStringList() : QStringList{kUnsavedQuestion});
        QCOMPARE(ReadBytes(first).mid(1003, 5), QByteArray(saved ? "LiedX" : "Lied "));
        QCOMPARE(form.Label10->text(), QString("b.mp3"));
        QCOMPARE(Editor(form), kBlankFields);
        QCOMPARE(Buttons(form), QList<bool>({false, false, false}));
        QCOMPARE(form.EditorState, 1);
        QVERIFY(form.isEnabled());
    }

    // Label17 and Command6 tell of the open file's ID3v2 tag, and only while it has one.
    void id3v2NoticeFollowsTheOpenFile_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("version"); // empty: nothing shown
        QTest::newRow("ID3v2.3") << "open" << Id3v2Bytes(3, kId3v2Song) + kAudio << "2.3";
        QTest::newRow("ID3v2.4 and a trailer")
            << "open" << Id3v2Bytes(4, kId3v2Song) + kAudio + Id3v1Trailer(kSong) << "2.4";
        QTest::newRow("only a trailer") << "open" << kAudio + Id3v1Trailer(kSong) << "";
        QTest::newRow("reloaded after the tag went") << "reload" << kAudio << "";
        QTest::newRow("no file open") << "close" << QByteArray() << "";
        QTest::newRow("after a removal") << "remove" << QByteArray() << "2.3";
    }

    void id3v2NoticeFollowsTheOpenFile() {
        QFETCH(QString, how);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, version);
        Form1& form = Form1::instance();
        const QString first =
            file("a.mp3", Id3v2Bytes(3, kId3v2Song) + kAudio + Id3v1Trailer(kSong));
        Open(form, first);
        QVERIFY(form.Label17->isVisible() && form.Command6->isVisible());
        if (how == "open") {
            Open(form, file("b.mp3", bytes));
        } else if (how == "reload") {
            EditTitle(form); // "laden" needs an edit
            form.Check1->setChecked(true);
            WriteBytes(first, bytes);
            Click(form.Command2);
        } else if (how == "remove") {
            bool shownDuringRemoval = true; // where the progress texts stand
            QTimer::singleShot(0, &form, [&] {
                shownDuringRemoval = form.Label17->isVisible() || form.Command6->isVisible();
            });
            form.Command3->click();
            QVERIFY(!shownDuringRemoval);
        } else {
            form.List1->clearSelection();
            QTest::mouseDClick(form.List1->viewport(), Qt::LeftButton, {},
                               QPoint(10, form.List1->viewport()->height() - 5));
        }
        QCOMPARE(form.Label17->isVisible(), !version.isEmpty());
        QCOMPARE(form.Command6->isVisible(), !version.isEmpty());
        if (!version.isEmpty())
            QCOMPARE(form.Label17->text(), "Diese Datei hat auch einen ID3v" + version +
                                               "-Tag. Viele Player zeigen ihn statt des "
                                               "ID3v1-Tags.");
    }

    // "Aus ID3v2-Tag übernehmen", clicked or by its access key, fills the
    // fields as typing would, also with the values they held; the save writes them.
    void takingOverTheId3v2Tag_data() {
        QTest::addColumn<QByteArray>("start"); // the ID3v2 tag and the audio
        QTest::addColumn<QByteArray>("trailer");
        QTest::addColumn<bool>("byKey");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QByteArray>("saved");
        const QByteArray start = Id3v2Bytes(3, kId3v2Song) + kAudio;
        const QStringList fields{"Titel aus v2", "Künstler", "Album 2", "2004", "Neu", "Jazz"};
        QTest::newRow("over a trailer")
            << start << Id3v1Trailer(kSong) << false << fields << Id3v1Trailer(kId3v2Song);
        QTest::newRow("appended, by key")
            << start << QByteArray() << true << fields << Id3v1Trailer(kId3v2Song);
        QTest::newRow("values already there")
            << start << Id3v1Trailer(kId3v2Song) << false << fields << Id3v1Trailer(kId3v2Song);
        QTest::newRow("no genre") << Id3v2Bytes(4, {"Nur", "", "", "", "", 255}) + kAudio
                                  << Id3v1Trailer(kSong) << false
                                  << QStringList{"Nur", "", "", "", "", "(keine Zuordnung)"}
                                  << Id3v1Trailer({"Nur", "", "", "", "", 255});
    }

    void takingOverTheId3v2Tag() {
        QFETCH(QByteArray, start);
        QFETCH(QByteArray, trailer);
        QFETCH(bool, byKey);
        QFETCH(QStringList, fields);
        QFETCH(QByteArray, saved);
        Form1& form = Form1::instance();
        const QString path = file("a.mp3", start + trailer);
        Open(form, path);
        if (byKey)
            QTest::keyClick(form.windowHandle(), Qt::Key_Udiaeresis, Qt::AltModifier);
        else
            Click(form.Command6);
        QTRY_COMPARE(Editor(form), fields); // a key's click comes a moment later
        QCOMPARE(form.EditorState, 0);
        const bool tagged = !trailer.isEmpty();
        QCOMPARE(Buttons(form), QList<bool>({true, tagged, tagged}));
        Click(form.Command1);
        QCOMPARE(ReadBytes(path), start + saved);
    }

    // Emptied fields count as nothing to save, also when they held a tag before.
    void blankEditorIsNeverAsked() {
        Form1& form = Form1::instance();
        const QString first = file("a.mp3", kAudio + Id3v1Trailer(kSong));
        Open(form, first);
        for (QLineEdit* field : {form.Text1, form.Text2, form.Text3, form.Text4, form.Text5})
            field->clear();
        form.Combo1->setCurrentIndex(148);
        QCOMPARE(form.EditorState, 0);
        MessageAnswerer answerer("OK");
        Open(form, file("b.mp3", kAudio));
        QCOMPARE(answerer.texts(), QStringList());
        QCOMPARE(ReadBytes(first), kAudio + Id3v1Trailer(kSong));
    }

    // The re-read shows: the trailing blanks typed are saved, and read back without them.
    void reopeningTheOpenEntrySavesAndRereads() {
        Form1& form = Form1::instance();
        const QString path = file("a.mp3", kAudio + Id3v1Trailer(kSong));
        Open(form, path);
        EditTitle(form);
        TypeText(form.Text1, "  ");
        MessageAnswerer answerer("OK");
        Open(form, path);
        QCOMPARE(answerer.texts().size(), 1);
        QCOMPARE(form.Text1->text(), QString("LiedX"));
        QCOMPARE(form.EditorState, 1);
    }

    // Enter without a selection keeps the open file; a double-click closes
    // it, and with no file open no tag button is left enabled.
    void doubleClickWithoutSelectionClearsTheEditor() {
        Form1& form = Form1::instance();
        Open(form, file("a.mp3", kAudio + Id3v1Trailer(kSong)));
        form.List1->clearSelection();
        QTest::keyClick(form.List1, Qt::Key_Return);
        QCOMPARE(form.Label10->text(), QString("a.mp3"));
        QCOMPARE(Editor(form), kSongFields);
        const QPoint below(10, form.List1->viewport()->height() - 5);
        QTest::mouseDClick(form.List1->viewport(), Qt::LeftButton, {}, below);
        QCOMPARE(form.Label10->text(), QString());
        QCOMPARE(form.Label11->text(), QString());
        QCOMPARE(Editor(form), kBlankFields);
        QCOMPARE(Buttons(form), (QList<bool>{false, false, false}));
    }

    // The focus comes back where the user left it: after opening an entry,
    // and after the selection and tags-from-names windows were closed; a
    // button that disables itself leaves it on the title field, so that a
    // second Enter cannot go on to empty the list.
    void focusComesBack() {
        Form1& form = Form1::instance();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        form.List1->setFocus();
        Open(form, file("a.mp3", kAudio + Id3v1Trailer(kSong)));
        QCOMPARE(QApplication::focusWidget(), form.List1);
        const QList<QPair<QAction*, QWidget*>> windows{{form.oeffnen, &Form2::instance()},
                                                       {form.Moeffnen, &Form3::instance()},
                                                       {form.ID3Name, &Form4::instance()}};
        for (const auto& [item, window] : windows) {
            form.Text1->setFocus();
            item->trigger();
            QVERIFY(QTest::qWaitForWindowActive(window));
            window->close();
            QVERIFY(QTest::qWaitForWindowActive(&form));
            QCOMPARE(QApplication::focusWidget(), form.Text1);
        }
        EditTitle(form);
        form.Command1->setFocus();
        QTest::keyClick(form.Command1, Qt::Key_Return); // the save disables its button
        QCOMPARE(QApplication::focusWidget(), form.Text1);
    }

    // Another program changes the open file: without edits the editor shows
    // its tag once the window is used again; edits are written over it only
    // when the user says so.
    void changedByAnotherProgram_data() {
        QTest::addColumn<QString>("answer"); // none without edits
        QTest::addColumn<QByteArray>("trailer");
        QTest::newRow("no edits: loaded again") << "" << kTheirs;
        QTest::newRow("edits, Nein keeps them") << "Nein" << kTheirs;
        QTest::newRow("edits, OK writes them")
            << "OK" << Id3v1Trailer({"LiedX", "Band", "Album", "1999", "Gut", 17});
    }

    void changedByAnotherProgram() {
        QFETCH(QString, answer);
        QFETCH(QByteArray, trailer);
        Form1& form = Form1::instance();
        const QString path = file("a.mp3", kAudio + Id3v1Trailer(kSong));
        Open(form, path);
        if (!answer.isEmpty())
            EditTitle(form);
        WriteBytes(path, kAudio + "!" + kTheirs);
        form.Ueber->trigger(); // the user looks elsewhere and comes back
        frmSplash::unload();
        form.activateWindow();
        QTRY_COMPARE(form.Text1->text(), QString(answer.isEmpty() ? "Anders" : "LiedX"));
        MessageAnswerer answerer(answer);
        Click(form.Command1);
        QCOMPARE(answerer.questions(), QList<bool>(answer.isEmpty() ? 0 : 1, true));
        QCOMPARE(ReadBytes(path), kAudio + "!" + trailer);
        QCOMPARE(form.EditorState, answer == "Nein" ? 0 : 1);
    }

    void listCommands() {
        Form1& form = Form1::instance();
        Click(form.Command4); // empty list: the count label stays as it was
        QCOMPARE(form.Label12->text(), QString());
        const QString open = file("a.mp3", kAudio + Id3v1Trailer(kSong));
        Open(form, open);
        form.List1->AddIfAbsent(inDirectory("b.mp3"));
        form.List1->AddIfAbsent(inDirectory("c.mp3"));
        form.List1->clearSelection();
        Click(form.Command5); // nothing selected: nothing removed
        QCOMPARE(form.List1->count(), 3);
        QCOMPARE(form.Label12->text(), QString());

        form.List1->setCurrentRow(0); // the open file's entry
        Click(form.Command5);
        QCOMPARE(form.List1->entryAt(0), inDirectory("b.mp3"));
        QCOMPARE(form.List1->selectedRow(), -1);
        QCOMPARE(form.Label12->text(), QString("( 2 Dateien)"));
        QCOMPARE(form.Label10->text(), QString("a.mp3")); // the file stays open
        QCOMPARE(Editor(form), kSongFields);

        Click(form.Command4);
        QCOMPARE(form.List1->count(), 0);
        QCOMPARE(form.Label12->text(), QString("( 0 Dateien)"));
        QVERIFY(form.List1->AddIfAbsent(inDirectory("b.mp3"))); // no ghost entries
        QCOMPARE(form.Label10->text(), QString("a.mp3"));
        QCOMPARE(form.EditorState, 1);
    }

    // A file that cannot be read: a notice naming it; nothing created, nothing
    // left of the file opened before, the editor usable.
    void loadFailureIsReported_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << "fehlt.mp3"
                                 << "nicht vorhanden";
        QTest::newRow("a directory") << "ordner.mp3"
                                     << "keine gewöhnliche Datei";
    }

    void loadFailureIsReported() {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        QDir(directory_->path()).mkdir("ordner.mp3");
        Form1& form = Form1::instance();
        Open(form, file("a.mp3", kAudio + Id3v1Trailer(kSong)));
        const QString path = inDirectory(name);
        MessageAnswerer answerer("OK");
        Open(form, path);
        QTRY_COMPARE(answerer.texts().size(), 1);
        const QString notice = QString(answerer.texts()[0]).remove(QChar(0x200B));
        QVERIFY2(notice.contains(path) && notice.contains(reason), qPrintable(notice));
        QCOMPARE(answerer.questions(), QList<bool>{false});
        QCOMPARE(Editor(form), kBlankFields);
        QCOMPARE(Buttons(form), QList<bool>({false, false, false}));
        QCOMPARE(form.EditorState, 1);
        QVERIFY(form.isEnabled());
        QCOMPARE(QFileInfo(path).isFile(), false);
    }

    // A failed save keeps the edits, stays modified and can be retried; the
    // next entry is not opened over it.
    void saveFailureKeepsTheEdits_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("save button") << "save";
        QTest::newRow("automatic save on opening another") << "automatic";
        QTest::newRow("confirmed save on opening another") << "OK";
        QTest::newRow("closing the window") << "close";
    }

    void saveFailureKeepsTheEdits() {
        QFETCH(QString, how);
        Form1& form = Form1::instance();
        const QString path = file("a.mp3", kAudio + Id3v1Trailer(kSong));
        Open(form, path);
        EditTitle(form);
        QFile::remove(path);
        form.Check1->setChecked(how == "automatic");
        MessageAnswerer answerer("OK");
        if (how == "save")
            Click(form.Command1);
        else if (how == "close")
            QVERIFY(!form.close());
        else
            Open(form, file("b.mp3", kAudio));
        QTRY_COMPARE(answerer.texts().size(), how == "OK" || how == "close" ? 2 : 1);
        const QString notice = QString(answerer.texts().last()).remove(QChar(0x200B));
        QVERIFY2(notice.contains(path) && notice.contains("nicht vorhanden"), qPrintable(notice));
        QCOMPARE(form.Label10->text(), QString("a.mp3"));
        QCOMPARE(form.Text1->text(), QString("LiedX"));
        QCOMPARE(form.EditorState, 0);
        QVERIFY(form.Command1->isEnabled());
        QVERIFY(form.isEnabled());
        QVERIFY(!QFile::exists(path));

        WriteBytes(path, kAudio); // back again: the retry succeeds
        Click(form.Command1);
        QCOMPARE(ReadBytes(path),
                 kAudio + Id3v1Trailer({"LiedX", "Band", "Album", "1999", "Gut", 17}));
        QCOMPARE(form.EditorState, 1);
    }

    // The close box pressed again while the closing question waits: the main
    // window stays, and after a failed save it still holds the edits.
    void secondCloseWhileAskingKeepsTheWindow() {
        Form1& form = Form1::instance();
        const QString path = file("a.mp3", kAudio + Id3v1Trailer(kSong));
        Open(form, path);
        EditTitle(form);
        QFile::remove(path);
        const auto pressCloseBox = [&form] {
            QCloseEvent request;
            QCoreApplication::sendEvent(form.windowHandle(), &request);
        };
        QTimer::singleShot(0, &form, pressCloseBox); // fires while the question waits
        MessageAnswerer answerer("OK");
        pressCloseBox();
        QTRY_COMPARE(answerer.texts().size(), 2);
        QCOMPARE(answerer.texts()[0], kUnsavedQuestion);
        QVERIFY(form.isVisible());
        QVERIFY(form.windowHandle() && form.windowHandle()->isVisible());
        QVERIFY(form.isEnabled());
        QCOMPARE(form.Text1->text(), QString("LiedX"));
    }

    // A full disk: the append fails and the file keeps its length. Nor can
    // the save be recorded for undo, which is told after the failure.
    void saveOnFullDisk() {
        Form1& form = Form1::instance();
        const QString path = file("a.mp3", kAudio);
        Open(form, path);
        EditTitle(form);
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        const auto previous = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old;
        limit.rlim_cur = kAudio.size() + 10;
        setrlimit(RLIMIT_FSIZE, &limit);
        MessageAnswerer answerer("OK");
        Click(form.Command1);
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, previous);
        QTRY_COMPARE(answerer.texts().size(), 2);
        QVERIFY2(answerer.texts()[0].contains("nicht genug Platz"),
                 qPrintable(answerer.texts()[0]));
        QVERIFY(answerer.texts()[1].contains("Journal"));
        QCOMPARE(ReadBytes(path), kAudio);
        QCOMPARE(form.EditorState, 0);
    }

    // Closing settles the edits first; every other window goes with the main window.
    void closingSettlesEditsFirst_data() {
        QTest::addColumn<bool>("edited");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("saved");
        QTest::newRow("right after start, nothing asked") << false << "OK" << false;
        QTest::newRow("OK") << true << "OK" << true;
        QTest::newRow("Nein") << true << "Nein" << false;
    }

    void closingSettlesEditsFirst() {
        QFETCH(bool, edited);
        QFETCH(QString, answer);
        QFETCH(bool, saved);
        Form1& form = Form1::instance();
        const QString path = file("a.mp3", kAudio);
        if (edited) {
            Open(form, path);
            EditTitle(form);
            form.List1->clearSelection();
        }
        form.Ueber->trigger();
        MessageAnswerer answerer(answer);
        CloseInEventLoop(form);
        QCOMPARE(answerer.texts(), edited ? QStringList{kUnsavedQuestion} : QStringList());
        QCOMPARE(ReadBytes(path).size(), kAudio.size() + (saved ? 128 : 0));
        QVERIFY(!Form1::exists());
        QVERIFY(!frmSplash::exists());
    }

    // "Beenden" ends the program at once: no question, nothing saved.
    void quitEndsAtOnce() {
        Form1& form = Form1::instance();
        const QString path = file("a.mp3", kAudio);
        Open(form, path);
        EditTitle(form);
        QTimer::singleShot(0, form.Ende, &QAction::trigger);
        QCOMPARE(QCoreApplication::exec(), 0);
        QVERIFY(!frmMessage::exists());
        QVERIFY(Form1::exists());
        QCOMPARE(ReadBytes(path), kAudio);
    }
};

QTEST_MAIN(EditingCycleTest)
#include "tst_EditingCycle.moc"
