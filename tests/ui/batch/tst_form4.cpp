// The window that builds tags from file names: its controls, runs over real
// files with their progress and summary, the take-over and overwrite boxes,
// failures, and its values kept from one opening to the next.
#include "ui/batch/BatchTestSupport.h"
#include "ui/batch/Form4.h"
#include "ui/batch/ProgressRecorder.h"
#include "ui/main/Form1.h"
#include "ui/support/WindowDriver.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace tagwerk;
using namespace tagwerk::test;

namespace {

// The trailer as an independent builder makes it.
QByteArray Trailer(const QByteArray& title, const QByteArray& artist,
                   const QByteArray& comment = {}, int genre = 255) {
    return Id3v1Trailer({title, artist, {}, {}, comment, quint8(genre)});
}

const QString kNoFailures = "Auftrag ausgeführt. Es traten bei  0 Dateien Fehler auf.";

// The main window with the files listed, and Form4 opened from its menu;
// Form4 is new unless `keepWindow`.
Form4& OpenForm4(const QStringList& paths, bool keepWindow = false) {
    if (!keepWindow)
        Form4::unload();
    Form1& main = FreshMainWindow();
    for (const QString& path : paths)
        main.List1->AddIfAbsent(path);
    main.ID3Name->trigger();
    return Form4::instance();
}

struct RunResult {
    QList<int> widths;
    QStringList texts;
    QString summary;
};

// "Starten" of the window, or the given one (the preview's).
RunResult Start(Form4& window, QPushButton* starten = nullptr) {
    ProgressRecorder recorder(Form1::instance());
    (starten ? starten : window.Command1)->click();
    RunResult result;
    for (const ProgressState& state : recorder.stop())
        result.widths << state.width, result.texts << state.text;
    result.summary = ShownNotice();
    frmMessage::unload();
    return result;
}

// After a run the logo is 329 pixels wide; it starts out at 330.
void VerifyBackInMainWindow(int logoWidth = 329) {
    Form1& main = Form1::instance();
    QVERIFY(main.isVisible());
    QVERIFY(main.isEnabled());
    QVERIFY(main.Label13->isHidden());
    QCOMPARE(main.Image1->width(), logoWidth);
    QVERIFY(Form4::instance().isHidden());
}

QStringList TabOrder(QWidget* first) {
    QStringList names;
    QWidget* widget = first;
    do {
        if (widget->focusPolicy() & Qt::TabFocus)
            names << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget != first);
    return names;
}

} // namespace

class Form4Test : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { frmMessage::unload(); }

    void controlsAsStated_data() {
        AddControlColumns();
        QTest::newRow("Label1") << "Label1"
                                << "Dateinamenaufbau:" << QRect(8, 8, 97, 17) << "";
        QTest::newRow("Text1") << "Text1"
                               << R"(2," - ",1,".mp3")" << QRect(112, 8, 313, 19)
                               << "Hier geben Sie Ihren Dateinamenaufbau ein. Lesen Sie dazu "
                                  "bitte den unten stehenden Hilfstext.";
        const char* const fields[] = {"Titel", "Künstler",      "Album",
                                      "Jahr",  "Musikrichtung", "Kommentar"};
        const char* const toolTipFields[] = {"Titelfeld",  "Künstlerfeld",       "Albumfeld",
                                             "Jahresfeld", "Musikrichtungsfeld", "Kommentarfeld"};
        for (int row = 0; row < 6; ++row) {
            const int top = 48 + 24 * row;
            const QString label = QString("Label%1").arg(row + 3);
            QTest::newRow(qPrintable(label))
                << label << QString("(%1)").arg(row + 1) << QRect(0, top, 17, 17) << "";
            const QString check = QString("Check%1").arg(row + 1);
            QTest::newRow(qPrintable(check))
                << check << QString("'%1' übernehmen").arg(fields[row]) << QRect(16, top, 161, 17)
                << QString("Bestimmt, ob das %1 in den ID3-Tag übernommen wird.")
                       .arg(toolTipFields[row]);
        }
        const char* const values[] = {"Text2", "Text3", "Text4", "Text5", "Combo1", "Text6"};
        const char* const valueTips[] = {
            "Geben Sie hier den Titel der MP3-Datei ein.",
            "Hier können Sie die Musikgruppe bzw. den Künstler/Autor der MP3-Datei eingeben.",
            "Tragen Sie hier ggf. die Bezeichnung des Albums ein, aus dem Sie die MP3-Datei "
            "entnommen haben.",
            "Schreiben Sie hier das Jahr hin, aus der der Titel stammt.",
            "Wählen Sie mit Hilfe dieses Kombinationsfeldes ggf. die Musikrichtung des Titels "
            "aus.",
            "Fügen Sie einen kleinen Kommentar zu Ihrer MP3-Datei hinzu."};
        for (int row = 0; row < 6; ++row)
            QTest::newRow(values[row])
                << values[row] << (row == 4 ? "(keine Zuordnung)" : "")
                << QRect(184, 48 + 24 * row, 241, row == 4 ? 21 : 19) << valueTips[row];
        QTest::newRow("Check8") << "Check8"
                                << "Übernahme auch bei Vorhandensein eines Feldes"
                                << QRect(16, 192, 393, 17)
                                << "Bestimmt, ob die oben abgehakten Felder auch beim Vorkommen "
                                   "des jeweiligen Feldes im Dateinamenaufbau übernommen werden "
                                   "soll.";
        QTest::newRow("Check7") << "Check7"
                                << "Vorhandene ID3-Tags überschreiben" << QRect(16, 232, 217, 17)
                                << "Bestimmt, ob bereits vorhandene ID3-Tags ersetzt werden "
                                   "sollen.";
        QTest::newRow("Command1")
            << "Command1"
            << "Starten" << QRect(16, 424, 193, 33)
            << "Untersucht alle Dateien der Dateiliste im Hauptfenster auf den oben eingegebenen "
               "Dateinamenaufbau und erstellt zu jeder Datei einen passenden ID3-Tag.";
        QTest::newRow("Command2") << "Command2"
                                  << "Abbruch" << QRect(216, 424, 193, 33)
                                  << "Bricht die Aktion ab.";
        QTest::newRow("Command3") << "Command3"
                                  << "&Vorschau..." << QRect(248, 224, 177, 33)
                                  << "Zeigt für jede Datei der Dateiliste, welchen ID3-Tag "
                                     "\"Starten\" schreiben würde oder warum nicht, ohne etwas "
                                     "zu schreiben.";
    }

    void controlsAsStated() { VerifyControl(OpenForm4({})); }

    void windowOrderLimitsAndHelp() {
        Form4& window = OpenForm4({});
        QCOMPARE(window.windowTitle(), QString("Tagwerk: ID3-Tag anhand Dateinamen erstellen"));
        QCOMPARE(window.size(), QSize(441, 464));
        QVERIFY(window.isVisible());
        QVERIFY(Form1::instance().isHidden());
        QCOMPARE(TabOrder(window.Text1),
                 (QStringList{"Text1", "Check1", "Check2", "Check3", "Check4", "Check5", "Check6",
                              "Check8", "Text2", "Text3", "Text4", "Text5", "Combo1", "Text6",
                              "Check7", "Command3", "Command1", "Command2"}));
        QCOMPARE(window.Combo1->count(), 149);
        QCOMPARE(window.Combo1->currentIndex(), 148);
        QCOMPARE(window.Combo1->itemText(0), Form1::instance().Combo1->itemText(0));
        for (QLineEdit* field : {window.Text2, window.Text3, window.Text4, window.Text6}) {
            TypeText(field, QString(31, u'ä'));
            QCOMPARE(field->text(), QString(30, u'ä'));
        }
        TypeText(window.Text5, "19999");
        QCOMPARE(window.Text5->text(), QString("1999"));
        TypeText(window.Text1, QString(300, u'x'));
        QCOMPARE(window.Text1->text().size(), 16 + 300);
        const QString help = window.Label2->text();
        QVERIFY(help.startsWith("Um den ID3-Tag Ihrem Dateinamenaufbau anpassen zu können, werden "
                                "weitere Informationen benötigt."));
        QVERIFY(help.contains(R"(2," - ",1,".mp3")"));
        QVERIFY(help.contains("Die Zahlen 1 bis 6 stehen für 'Titel' bis 'Kommentar'."));
        QVERIFY(help.endsWith("Diese Aktion wird mit allen Dateien in der Dateiliste des "
                              "Hauptfensters durchgeführt."));
    }

    // Three matching files without a tag get one each; run again they are
    // left alone, or with "überschreiben" they get the new tag in place.
    void threeFiles() {
        QTemporaryDir dir;
        QStringList paths;
        QList<QByteArray> payloads;
        for (int i = 1; i <= 3; ++i) {
            paths << dir.filePath(QString("Band - Lied %1.mp3").arg(i));
            payloads << Payload(2000 + i);
            WriteBytes(paths.last(), payloads.last());
        }
        Form4& window = OpenForm4(paths);
        RunResult run = Start(window);
        QCOMPARE(run.widths, (QList<int>{109, 219, 329}));
        QCOMPARE(run.texts, (QStringList{" 33%", " 66%", " 100%"}));
        QCOMPARE(run.summary, kNoFailures);
        VerifyBackInMainWindow();
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(ReadBytes(paths[i]),
                     payloads[i] + Trailer(QString("Lied %1").arg(i + 1).toLatin1(), "Band"));
        }
        const QMap<QString, QString> oracle = MutagenId3v1(paths[0]);
        QCOMPARE(oracle.value("TIT2"), QString("Lied 1"));
        QCOMPARE(oracle.value("TPE1"), QString("Band"));

        Form1::instance().ID3Name->trigger();
        window.Text3->setText("Andere");
        window.Check2->setChecked(true);
        window.Check8->setChecked(true);
        run = Start(window);
        QCOMPARE(run.summary, "Auftrag ausgeführt. Es traten bei  0 Dateien Fehler auf. Außerdem "
                              "enthielten  3 Dateien bereits einen ID3-Tag (wurde nicht "
                              "geändert).");
        QCOMPARE(run.widths, (QList<int>{109, 219, 329}));
        QCOMPARE(ReadBytes(paths[0]), payloads[0] + Trailer("Lied 1", "Band"));

        Form1::instance().ID3Name->trigger();
        window.Check7->setChecked(true);
        run = Start(window);
        QCOMPARE(run.summary, kNoFailures);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(ReadBytes(paths[i]),
                     payloads[i] + Trailer(QString("Lied %1").arg(i + 1).toLatin1(), "Andere"));
        }
    }

    // A name that is no UTF-8: the pattern sees its byte as the replacement
    // mark, which the tag holds as "?", and the file is found by its bytes.
    void nameThatIsNoUtf8() {
        AnyNameTempDir dir;
        const QString path = dir.filePath(QString::fromUtf16(u"Caf\xDCE9 - Lied.mp3"));
        WriteBytes(path, Payload(900));
        QCOMPARE(Start(OpenForm4({path})).summary, kNoFailures);
        QCOMPARE(ReadBytes(path), Payload(900) + Trailer("Lied", "Caf?"));
    }

    // Every failing file is counted (too short, no match, vanished,
    // write-protected even where it would be left alone) and left as it was;
    // only the others move the bar. The preview tells each file's fate
    // before, touching none: the run then started from it, or from the
    // window after the preview was closed by Escape, does just that.
    void failuresAreCounted_data() {
        QTest::addColumn<bool>("overwrite");
        QTest::addColumn<QString>("summary");
        QTest::addColumn<QString>("nurtag");
        QTest::newRow("left alone, started from the preview")
            << false
            << "Auftrag ausgeführt. Es traten bei  4 Dateien Fehler auf. Außerdem enthielten  1 "
               "Dateien bereits einen ID3-Tag (wurde nicht geändert)."
            << "bleibt unverändert (hat bereits einen ID3-Tag)|||||";
        QTest::newRow("overwritten, preview closed")
            << true << "Auftrag ausgeführt. Es traten bei  4 Dateien Fehler auf."
            << "nurtag|A|||(keine Zuordnung)|";
    }

    void failuresAreCounted() {
        QFETCH(bool, overwrite);
        QFETCH(QString, summary);
        QFETCH(QString, nurtag);
        QTemporaryDir dir;
        const QStringList paths{dir.filePath("A - kurz.mp3"),       dir.filePath("A - nurtag.mp3"),
                                dir.filePath("passt nicht.mp3"),    dir.filePath("A - fehlt.mp3"),
                                dir.filePath("A - geschuetzt.mp3"), dir.filePath("A - gut.mp3")};
        QList<QByteArray> contents{Payload(100),           kTagged,     Payload(900) + kTagged, {},
                                   Payload(900) + kTagged, Payload(900)};
        for (int i = 0; i < paths.size(); ++i)
            if (i != 3)
                WriteBytes(paths[i], contents[i]);
        QVERIFY(QFile::setPermissions(paths[4], QFile::ReadOwner));
        Form4& window = OpenForm4(paths);
        window.Check7->setChecked(overwrite);
        const QStringList before = FileStates(paths);
        RunResult run;
        {
            OrdinaryUser user({dir.path(), paths[0], paths[1], paths[2], paths[4], paths[5]});
            window.Command3->click();
            QCOMPARE(
                PreviewRows(),
                (QStringList{
                    "A - kurz.mp3|Fehler: Die Datei ist kürzer als ein ID3-Tag (128 Bytes).|||||",
                    "A - nurtag.mp3|" + nurtag,
                    "passt nicht.mp3|Dateiname passt nicht zum Dateinamenaufbau|||||",
                    "A - fehlt.mp3|Fehler: Die Datei oder ihr Verzeichnis ist nicht "
                    "vorhanden.|||||",
                    "A - geschuetzt.mp3|Fehler: Der Zugriff wurde verweigert (fehlende "
                    "Berechtigung).|||||",
                    "A - gut.mp3|gut|A|||(keine Zuordnung)|"}));
            QCOMPARE(FileStates(paths), before);
            QCOMPARE(TabOrder(Form7::instance().List1),
                     (QStringList{"List1", "Command1", "Command2"}));
            if (overwrite) {
                Leave(Form7::instance(), nullptr, "Escape");
                QVERIFY(!Form7::exists() && window.isVisible() && window.Check7->isChecked());
                run = Start(window);
            } else {
                run = Start(window, Form7::instance().Command1);
            }
        }
        QCOMPARE(run.summary, summary);
        // Started from the preview, the first pass of events also takes the
        // preview's closing, which may be recorded as a pass of its own.
        if (overwrite)
            QCOMPARE(run.widths, (QList<int>{109, 329}));
        if (overwrite)
            contents[1] = Trailer("nurtag", "A"); // the whole file is the new trailer
        contents[5] += Trailer("gut", "A");
        for (int i = 0; i < paths.size(); ++i)
            if (i != 3)
                QCOMPARE(ReadBytes(paths[i]), contents[i]);
        QVERIFY(!QFile::exists(paths[3]));
        VerifyBackInMainWindow();
        QCOMPARE(FailureMarks(*Form1::instance().List1),
                 (QStringList{"Die Datei ist kürzer als ein ID3-Tag (128 Bytes).", "",
                              "Der Dateiname passt nicht zum Dateinamenaufbau.",
                              "Die Datei oder ihr Verzeichnis ist nicht vorhanden.",
                              "Der Zugriff wurde verweigert (fehlende Berechtigung).", ""}));
    }

    // Every take-over box with its value, "Jazz" (8) as genre and "Demo" as
    // title: with Check8 they win over the parts of the name, without it the
    // name decides ("Rock" is 17, a part that is no genre name 255). Album and
    // year, which the pattern does not name, come from their boxes either way.
    void takeOverAndOverride_data() {
        QTest::addColumn<bool>("override");
        QTest::addColumn<QList<QByteArray>>("titles");
        QTest::addColumn<QList<int>>("genres");
        QTest::newRow("Check8 set")
            << true << QList<QByteArray>{"Demo", "Demo"} << QList<int>{8, 8};
        QTest::newRow("Check8 cleared")
            << false << QList<QByteArray>{"Lied", "Song"} << QList<int>{17, 255};
    }

    void takeOverAndOverride() {
        QFETCH(bool, override);
        QFETCH(QList<QByteArray>, titles);
        QFETCH(QList<int>, genres);
        QTemporaryDir dir;
        const QStringList paths{dir.filePath("Band - Lied - Rock.mp3"),
                                dir.filePath("Band - Song - rock.mp3")};
        for (const QString& path : paths)
            WriteBytes(path, Payload(500));
        Form4& window = OpenForm4(paths);
        window.Text1->setText(R"(2," - ",1," - ",5,".mp3")");
        const QList<QPair<QCheckBox*, QLineEdit*>> fixed{{window.Check1, window.Text2},
                                                         {window.Check3, window.Text4},
                                                         {window.Check4, window.Text5},
                                                         {window.Check6, window.Text6}};
        const QStringList values{"Demo", "Live", "2001", "Mitschnitt"};
        for (int i = 0; i < fixed.size(); ++i) {
            fixed[i].first->setChecked(true);
            fixed[i].second->setText(values[i]);
        }
        window.Check5->setChecked(true);
        window.Combo1->setCurrentText("Jazz");
        window.Check8->setChecked(override);
        QCOMPARE(Start(window).summary, kNoFailures);
        for (int i = 0; i < 2; ++i) {
            QCOMPARE(ReadBytes(paths[i]),
                     Payload(500) + Id3v1Trailer({titles[i], "Band", "Live", "2001", "Mitschnitt",
                                                  quint8(genres[i])}));
        }
    }

    // With 1000 files the bar moves at most 329 times; the first three files
    // leave it at 0 pixels and "0%".
    void thousandFiles() {
        QTemporaryDir dir;
        QStringList paths;
        for (int i = 0; i < 1000; ++i) {
            paths << dir.filePath(QString("Band - Lied %1.mp3").arg(i));
            WriteBytes(paths.last(), Payload(200));
        }
        Form4& window = OpenForm4(paths);
        const RunResult run = Start(window);
        QCOMPARE(run.widths.size(), 329);
        QCOMPARE(run.widths.first(), 1);
        QCOMPARE(run.texts.first(), QString(" 0%")); // file 4 of 1000
        QCOMPARE(run.widths.last(), 329);
        QCOMPARE(run.texts.last(), QString(" 100%"));
        QCOMPARE(run.summary, kNoFailures);
        QCOMPARE(QFileInfo(paths.last()).size(), 200 + 128);
    }

    void emptyListGivesTheShortSummary() {
        Form4& window = OpenForm4({});
        const RunResult run = Start(window);
        QVERIFY(run.widths.isEmpty());
        QCOMPARE(run.summary, kNoFailures);
        VerifyBackInMainWindow();
    }

    // "Abbruch", the close box, Escape and a run all keep the window's values for
    // the next opening; closing never ends the program.
    void valuesKeptBetweenOpenings_data() {
        QTest::addColumn<QString>("how");
        for (const char* how : {"Abbruch", "close box", "run", "Escape"})
            QTest::newRow(how) << how;
    }

    void valuesKeptBetweenOpenings() {
        QFETCH(QString, how);
        Form4& window = OpenForm4({});
        QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);
        window.Text1->clear();
        TypeText(window.Text1, R"(1,"–",2,".mp3")");
        TypeText(window.Text3, "Die Ärzte");
        TypeText(window.Text6, "Größe €");
        window.Combo1->setCurrentText("Rock");
        for (QCheckBox* box : {window.Check2, window.Check6, window.Check7, window.Check8})
            box->setChecked(true);
        if (how == "run")
            Start(window);
        else
            Leave(window, window.Command2, how);
        VerifyBackInMainWindow(how == "run" ? 329 : 330);
        QCOMPARE(lastClosed.count(), 0);

        Form4& again = OpenForm4({}, true);
        QCOMPARE(&again, &window);
        QCOMPARE(again.Text1->text(), QString(R"(1,"–",2,".mp3")"));
        QCOMPARE(again.Text3->text(), QString("Die Ärzte"));
        QCOMPARE(again.Text6->text(), QString("Größe €"));
        QCOMPARE(again.Combo1->currentText(), QString("Rock"));
        QVERIFY(again.Check2->isChecked() && again.Check6->isChecked());
        QVERIFY(again.Check7->isChecked() && again.Check8->isChecked());
        QVERIFY(!again.Check1->isChecked());
    }
};

QTEST_MAIN(Form4Test)
#include "tst_form4.moc"
