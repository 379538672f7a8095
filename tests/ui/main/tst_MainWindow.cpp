// The main window as the user finds it after start: controls, texts,
// places, menus, keyboard order, the genre box and the text boxes' limits.
#include "ui/batch/Form4.h"
#include "ui/batch/Form5.h"
#include "ui/batch/Form6.h"
#include "ui/batch/Form7.h"
#include "ui/main/Form1.h"
#include "ui/main/ProgressDisplay.h"
#include "ui/main/WrappedToolTips.h"
#include "ui/main/frmMessage.h"
#include "ui/main/frmSplash.h"
#include "ui/select/Form2.h"
#include "ui/select/Form3.h"
#include "ui/support/WindowDriver.h"

#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>
#include <QTextDocumentFragment>
#include <QToolTip>

using namespace tagwerk;
using namespace tagwerk::test;

namespace {

QRect Twips(int left, int top, int width, int height) {
    return {left / 15, top / 15, width / 15, height / 15};
}

template <class Control = QWidget> Control* Find(const char* name) {
    auto* control = Form1::instance().findChild<Control*>(name);
    if (!control)
        qFatal("no control %s", name);
    return control;
}

// Whether a control's caption is drawn whole inside its place.
bool CaptionFits(const QWidget* control) {
    const QFontMetrics metrics = control->fontMetrics();
    if (const auto* label = qobject_cast<const QLabel*>(control)) {
        if (label->text().isEmpty() || !label->pixmap().isNull())
            return true;
        if (label->wordWrap())
            return label->heightForWidth(label->width()) <= label->height();
        return metrics.horizontalAdvance(label->text()) <= label->contentsRect().width() &&
               metrics.height() <= label->height();
    }
    if (const auto* check = qobject_cast<const QCheckBox*>(control))
        return check->sizeHint().width() <= check->width();
    if (const auto* button = qobject_cast<const QPushButton*>(control)) {
        const int margin = button->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button);
        return metrics.horizontalAdvance(QString(button->text()).remove('&')) + margin <=
                   button->width() &&
               metrics.height() <= button->height();
    }
    return true;
}

QWidget& WindowNamed(const QString& name) {
    const QHash<QString, QWidget*> windows = {
        {"Form1", &Form1::instance()},        {"Form2", &Form2::instance()},
        {"Form3", &Form3::instance()},        {"Form4", &Form4::instance()},
        {"Form5", &Form5::instance()},        {"Form6", &Form6::instance()},
        {"Form7", &Form7::instance()},        {"frmMessage", &frmMessage::instance()},
        {"frmSplash", &frmSplash::instance()}};
    return *windows.value(name);
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init() { FreshMainWindow(); }

    void windowAsStated() {
        Form1& form = Form1::instance();
        QCOMPARE(form.windowTitle(), QString("Tagwerk"));
        QCOMPARE(form.centralWidget()->size(), QSize(625, 500));
        QCOMPARE(form.minimumSize(), form.maximumSize());
        QVERIFY(form.windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(!form.windowIcon().isNull());
        QCOMPARE(form.Image1->pixmap().size(), QSize(330, 89));
        QCOMPARE(form.Image2->pixmap().size(), QSize(330, 89));
    }

    void controlsAsStated_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QRect>("place");
        QTest::addColumn<QString>("toolTip");
        const auto row = [](const char* name, const char* text, QRect place,
                            const char* toolTip = "") {
            QTest::newRow(name) << QString(text) << place << QString(toolTip);
        };
        row("Label1", "Titel:", Twips(120, 2400, 1215, 255));
        row("Text1", "", Twips(1440, 2400, 3615, 285),
            "Geben Sie hier den Titel der MP3-Datei ein.");
        row("Label2", "Künstler:", Twips(120, 2880, 1215, 255));
        row("Text2", "", Twips(1440, 2880, 3615, 285),
            "Hier können Sie die Musikgruppe bzw. den Künstler/Autor der MP3-Datei eingeben.");
        row("Label3", "Album:", Twips(120, 3360, 1215, 255));
        row("Text3", "", Twips(1440, 3360, 3615, 285),
            "Tragen Sie hier ggf. die Bezeichnung des Albums ein, aus dem Sie die MP3-Datei "
            "entnommen haben.");
        row("Label4", "Jahr:", Twips(120, 3840, 1215, 255));
        row("Text4", "", Twips(1440, 3840, 3615, 285),
            "Schreiben Sie hier das Jahr hin, aus der der Titel stammt.");
        row("Label5", "Musikrichtung:", Twips(120, 4320, 1215, 255));
        row("Combo1", "(keine Zuordnung)", Twips(1440, 4320, 3615, 315),
            "Wählen Sie mit Hilfe dieses Kombinationsfeldes ggf. die Musikrichtung des Titels "
            "aus.");
        row("Label6", "Kommentar:", Twips(120, 4800, 1215, 255));
        row("Text5", "", Twips(1440, 4800, 3615, 285),
            "Fügen Sie einen kleinen Kommentar zu Ihrer MP3-Datei hinzu.");
        row("Label8", "Datei:", Twips(120, 1560, 855, 255));
        row("Label10", "", Twips(1080, 1560, 8175, 255));
        row("Label9", "Verzeichnis:", Twips(120, 1920, 855, 255));
        row("Label11", "", Twips(1080, 1920, 8175, 255));
        row("Command3", "ID3-Tag entfernen", Twips(5400, 2400, 3735, 375),
            "Entfernt den ID3-Tag aus der oben angegebenen Datei.");
        row("Command2", "ID3-Tag laden", Twips(5400, 2880, 3735, 375),
            "Lädt den ID3-Tag der oben angegebenen Datei.");
        row("Command1", "ID3-Tag speichern", Twips(5400, 3360, 3735, 375),
            "Speichert den ID3-Tag in die oben angegebene Datei.");
        row("Check1", "Änderungen automatisch speichern/verwerfen", Twips(5520, 3840, 3615, 255),
            "Ist dieses Feld mit einem Haken versehen, so wird der ID3-Tag jedesmal automatisch "
            "gespeichert, wenn eine andere Datei eingeladen wird, bzw. beim erneuten Einladen "
            "jede Änderung verworfen.");
        row("Label16", "Label16 (zur Variablenübergabe, unsichtbar)", Twips(5400, 4320, 3615, 255));
        row("Label14",
            "Ein in der Dateiliste stehender Eintrag wird durch Doppelklick automatisch geöffnet.",
            Twips(5400, 4800, 3735, 495));
        row("Label7", "Dateiliste:", Twips(120, 5520, 735, 255));
        row("Label12", "", Twips(1080, 5520, 2535, 255));
        row("Command5", "Eintrag entfernen", Twips(6240, 5520, 1455, 255),
            "Löscht den ausgewählten Eintrag aus der Dateiliste.");
        row("Command4", "Liste leeren", Twips(7800, 5520, 1455, 255),
            "Löscht alle Einträge aus der Dateiliste.");
        row("List1", "", Twips(120, 5880, 9135, 1425),
            "Eine Liste von ausgewählten Dateien. Weitere Dateien fügen Sie im Menü Datei hinzu.");
        row("Image1", "", Twips(120, 120, 4950, 1335),
            "Dies ist sowohl das Logo von Tagwerk als auch die Fortschrittsanzeige bei länger "
            "andauernden Handlungen wie z.B. dem Entfernen von ID3-Tags.");
        row("Image2", "", Twips(120, 120, 4950, 1335));
        row("Shape1", "", Twips(120, 120, 4935, 1335));
        row("Shape2", "", Twips(120, 1320, 4935, 135));
        row("Label13", "100% insgesamt", Twips(5400, 360, 3735, 615));
        row("Label15", "99 % der aktuellen Datei", Twips(5400, 1200, 2775, 255));
        row("Label17", "", Twips(5400, 120, 3735, 855));
        row("Command6", "Aus ID3v2-Tag &übernehmen", Twips(5400, 1080, 3735, 375),
            "Übernimmt Titel, Künstler, Album, Jahr, Kommentar und Musikrichtung aus dem "
            "ID3v2-Tag der geöffneten Datei in die Felder. Gespeichert wird wie gewohnt mit "
            "„ID3-Tag speichern“.");
    }

    void controlsAsStated() {
        QFETCH(QString, text);
        QFETCH(QRect, place);
        QFETCH(QString, toolTip);
        const QWidget* control = Find(QTest::currentDataTag());
        QCOMPARE(control->geometry(), place);
        QCOMPARE(control->toolTip(), toolTip);
        const QVariant shown =
            qobject_cast<const QComboBox*>(control)
                ? QVariant(qobject_cast<const QComboBox*>(control)->currentText())
                : control->property("text");
        if (shown.isValid())
            QCOMPARE(shown.toString(), text);
        QVERIFY2(CaptionFits(control), "the caption is cut off");
    }

    void stateAfterStart_data() {
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("visible");
        for (const char* name : {"Command1", "Command2", "Command3"})
            QTest::newRow(name) << false << true;
        for (const char* name : {"Command4", "Command5", "Text1", "Combo1", "List1", "Check1"})
            QTest::newRow(name) << true << true;
        for (const char* name : {"Label16", "Shape2", "Label13", "Label15", "Label17", "Command6"})
            QTest::newRow(name) << true << false;
    }

    void stateAfterStart() {
        QFETCH(bool, enabled);
        QFETCH(bool, visible);
        const QWidget* control = Find(QTest::currentDataTag());
        QCOMPARE(control->isEnabled(), enabled);
        QCOMPARE(control->isVisible(), visible);
    }

    void valuesAfterStart() {
        Form1& form = Form1::instance();
        QCOMPARE(form.EditorState, 0);
        QVERIFY(!form.Check1->isChecked());
        QCOMPARE(form.List1->count(), 0);
        QCOMPARE(form.Label13->font().pointSize(), 24);
    }

    void menus_data() {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("itemCaption");
        const auto row = [](const char* menu, const char* caption, const char* item,
                            const char* itemCaption) {
            QTest::newRow(item) << QString(menu) << QString(caption) << QString(item)
                                << QString(itemCaption);
        };
        row("Datei", "&Datei", "oeffnen", "Eine MP3-Datei ö&ffnen...");
        row("Datei", "&Datei", "Moeffnen", "Mehrere MP3-Dateien öffnen...");
        row("Datei", "&Datei", "Ende", "&Beenden");
        row("Extras", "&Extras", "ID3Name", "ID3-Tags ahnand des Dateinamens erstellen...");
        row("Extras", "&Extras", "ID3Entf", "ID3-Tags entfernen...");
        row("Extras", "&Extras", "ID3v2Name", "ID3v1-Tags aus &ID3v2-Tags erzeugen...");
        row("Extras", "&Extras", "Rueckgaengig", "&Letzte Aktion rückgängig machen");
        row("Über", "&?", "Ueber", "Ü&ber Tagwerk...");
    }

    void menus() {
        QFETCH(QString, menu);
        QFETCH(QString, caption);
        QFETCH(QString, item);
        QFETCH(QString, itemCaption);
        const auto* found = Form1::instance().menuBar()->findChild<QMenu*>(menu);
        QVERIFY(found);
        QCOMPARE(found->title(), caption);
        const auto* action = found->findChild<QAction*>(item);
        QVERIFY(action);
        QCOMPARE(action->text(), itemCaption);
        QVERIFY(found->actions().contains(const_cast<QAction*>(action)));
    }

    void menuOrder() {
        QStringList bar;
        for (const QAction* action : Form1::instance().menuBar()->actions())
            bar << action->text();
        QCOMPARE(bar, QStringList({"&Datei", "&Extras", "&?"}));
        QStringList file;
        for (const QAction* action : Form1::instance().findChild<QMenu*>("Datei")->actions())
            file << (action->isSeparator() ? "-" : action->objectName());
        QCOMPARE(file, QStringList({"oeffnen", "Moeffnen", "-", "Ende"}));
        QStringList extras;
        for (const QAction* action : Form1::instance().findChild<QMenu*>("Extras")->actions())
            extras << (action->isSeparator() ? "-" : action->objectName());
        QCOMPARE(extras, QStringList({"ID3Name", "ID3Entf", "ID3v2Name", "-", "Rueckgaengig"}));
    }

    void keyboardOrder() {
        Form1& form = Form1::instance();
        for (QPushButton* command : {form.Command1, form.Command2, form.Command3})
            command->setEnabled(true); // disabled buttons take no focus
        form.Command6->show();
        form.activateWindow();
        form.Text1->setFocus();
        QStringList order{QApplication::focusWidget()->objectName()};
        for (int i = 0; i < 13; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            order << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(order, QStringList({"Text1", "Text2", "Text3", "Text4", "Combo1", "Text5", "List1",
                                     "Check1", "Command1", "Command2", "Command3", "Command4",
                                     "Command5", "Command6"}));
    }

    // 148 names sorted without regard to case and hyphens, then "(keine Zuordnung)".
    void genreList() {
        const QComboBox* genres = Form1::instance().Combo1;
        QCOMPARE(genres->count(), 149);
        QVERIFY(!genres->isEditable());
        QCOMPARE(genres->itemText(148), QString("(keine Zuordnung)"));
        QStringList names;
        for (int i = 0; i < 148; ++i)
            names << genres->itemText(i);
        const auto key = [](QString name) { return name.remove('-').toLower(); };
        for (int i = 1; i < 148; ++i)
            QVERIFY2(key(names[i - 1]) < key(names[i]), qPrintable(names[i]));
        for (const char* name : {"Blues", "Rock", "Pop/Funk", "Euro-House", "Eurodance"})
            QVERIFY2(names.contains(name), name);
        QCOMPARE(names.indexOf("Pop/Funk") + 1, names.indexOf("Pop-Folk"));
        QCOMPARE(names.indexOf("Eurodance") + 1, names.indexOf("Euro-House"));
    }

    void typingLimits_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        const auto row = [](const char* tag, const char* field, QString typed, QString kept) {
            QTest::newRow(tag) << QString(field) << typed << kept;
        };
        const QString thirty = "abcdefghijklmnopqrstuvwxyz1234";
        row("title 31st refused", "Text1", thirty + "5", thirty);
        row("artist 31st refused", "Text2", thirty + "5", thirty);
        row("album 31st refused", "Text3", thirty + "5", thirty);
        row("comment 31st refused", "Text5", thirty + "5", thirty);
        row("year 5th refused", "Text4", "19999", "1999");
        row("year free text", "Text4", "ca. ", "ca. ");
        row("Windows-1252 letters", "Text1", "Ärger € – „Zoë“ ß", "Ärger € – „Zoë“ ß");
        row("others refused", "Text1", "a→bł日c", "abc");
    }

    void typingLimits() {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        auto* box = Find<QLineEdit>(qPrintable(field));
        TypeText(box, typed);
        QCOMPARE(box->text(), kept);
    }

    void programTextIsCut() {
        Form1& form = Form1::instance();
        form.Text1->setText(QString(40, 'x'));
        form.Text4->setText("123456");
        QCOMPARE(form.Text1->text(), QString(30, 'x'));
        QCOMPARE(form.Text4->text(), QString("1234"));
    }

    // Names, file names and paths are shown as they are, never as markup.
    void openFileShownAsPlainText() {
        for (const char* name : {"Label10", "Label11", "Label12"})
            QCOMPARE(Find<QLabel>(name)->textFormat(), Qt::PlainText);
    }

    // Enter and the keypad's Enter press the focused button in every window.
    void enterPressesTheFocusedButton_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("key");
        const QList<QPair<const char*, const char*>> buttons = {
            {"Form1", "Command4"},     {"Form2", "Command2"}, {"Form3", "Command4"},
            {"Form4", "Command2"},     {"Form5", "Command3"}, {"Form6", "Command2"},
            {"frmMessage", "Command1"}};
        for (const auto& [window, button] : buttons) {
            QTest::addRow("%s Return", window) << window << button << int(Qt::Key_Return);
            QTest::addRow("%s keypad Enter", window) << window << button << int(Qt::Key_Enter);
        }
    }

    void enterPressesTheFocusedButton() {
        QFETCH(QString, window);
        QFETCH(QString, button);
        QFETCH(int, key);
        auto* pressed = WindowNamed(window).findChild<QPushButton*>(button);
        QSignalSpy clicked(pressed, &QPushButton::clicked);
        pressed->window()->show();
        pressed->setFocus();
        QTest::keyClick(pressed, Qt::Key(key),
                        key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        QCOMPARE(clicked.count(), 1);
    }

    // What a screen reader hears of each window and control: a control's
    // name comes from its label, its description is its tooltip.
    void accessible_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("control"); // empty: the window itself
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("value");
        const auto row = [](const char* window, const char* control, const char* name,
                            QAccessible::Role role, const char* value = "") {
            QTest::addRow("%s %s", window, control)
                << window << control << name << int(role) << QString(value);
        };
        row("Form1", "Text1", "Titel:", QAccessible::EditableText);
        row("Form1", "Combo1", "Musikrichtung:", QAccessible::ComboBox, "(keine Zuordnung)");
        row("Form1", "List1", "Dateiliste:", QAccessible::List, nullptr);
        row("Form1", "Image1", "Fortschritt insgesamt", QAccessible::ProgressBar);
        row("Form1", "Shape2", "Fortschritt der aktuellen Datei", QAccessible::ProgressBar);
        row("Form2", "Dir1", "Verzeichnisse", QAccessible::Tree, nullptr);
        row("Form2", "File1", "Dateien", QAccessible::List, nullptr);
        row("Form2", "Combo1", "Dateityp:", QAccessible::ComboBox, "MP3-Dateien (*.MP3)");
        row("Form3", "List1", "Zu öffnende Dateien:", QAccessible::List, nullptr);
        row("Form4", "Text2", "Titel (1)", QAccessible::EditableText);
        row("Form4", "Combo1", "Musikrichtung (5)", QAccessible::ComboBox, "(keine Zuordnung)");
        row("Form5", "", "Tagwerk: Entfernen von ID3-Tags", QAccessible::Window);
        row("Form7", "List1",
            "Was der Auftrag mit jeder Datei der Dateiliste tun würde (geschrieben wird erst mit "
            "„Starten“):",
            QAccessible::Table, nullptr);
        row("frmSplash", "", "Über Tagwerk", QAccessible::Dialog);
    }

    void accessible() {
        QFETCH(QString, window);
        QFETCH(QString, control);
        QFETCH(QString, name);
        QFETCH(int, role);
        QFETCH(QString, value);
        QWidget& shown = WindowNamed(window);
        QWidget* widget = control.isEmpty() ? &shown : shown.findChild<QWidget*>(control);
        QVERIFY(widget);
        const QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(widget);
        QCOMPARE(spoken->text(QAccessible::Name), name);
        QCOMPARE(spoken->role(), QAccessible::Role(role));
        if (!value.isNull())
            QCOMPARE(spoken->text(QAccessible::Value), value);
        if (!control.isEmpty())
            QCOMPARE(spoken->text(QAccessible::Description), widget->toolTip());
    }

    // The progress texts of 100,000 files grow their labels away from the
    // aligned edge, inside the window, and the labels return to their places.
    void progressTextsFit_data() {
        QTest::addColumn<bool>("perFile");
        QTest::addColumn<QString>("text");
        QTest::newRow("overall") << false << " 100% insgesamt";
        QTest::newRow("per file") << true << " 99% der Datei  100000 von  100000 bearbeitet";
    }

    void progressTextsFit() {
        QFETCH(bool, perFile);
        QFETCH(QString, text);
        Form1& form = Form1::instance();
        QLabel* label = perFile ? form.Label15 : form.Label13;
        const QRect place = label->geometry();
        ProgressDisplay progress(form);
        progress.BeginProgress(true);
        progress.ShowProgress(perFile ? ProgressBar::perFile : ProgressBar::overall, 0.99,
                              [&] { return text; });
        QCOMPARE(label->text(), text);
        QVERIFY(CaptionFits(label));
        QCOMPARE(label->geometry().topLeft(), place.topLeft());
        QVERIFY(label->geometry().right() < form.centralWidget()->width());
        progress.EndProgress();
        QCOMPARE(label->geometry(), place);
    }

    void summariesOf100000FilesFit_data() {
        QTest::addColumn<QString>("summary");
        QTest::newRow("tags from names")
            << "Auftrag ausgeführt. Es traten bei  100000 Dateien Fehler auf. Außerdem enthielten  "
               "100000 Dateien bereits einen ID3-Tag (wurde nicht geändert).";
        QTest::newRow("tags from ID3v2 tags")
            << "Auftrag abgebrochen. Es wurden  100000 ID3v1-Tags geschrieben. Es traten bei  "
               "100000 Dateien Fehler auf. Außerdem enthielten  100000 Dateien bereits einen "
               "ID3v1-Tag (wurde nicht geändert) und  100000 Dateien keinen lesbaren ID3v2-Tag.";
    }

    void summariesOf100000FilesFit() {
        QFETCH(QString, summary);
        ShowNotice(summary);
        QVERIFY(CaptionFits(frmMessage::instance().Label1));
    }

    // A long tooltip shows in lines of a readable width, whatever the
    // screen, a short one as one line; every word stays, in its order.
    void toolTipsWrap() {
        WrapToolTips(*qApp);
        const QFontMetrics metrics(QToolTip::font());
        for (const auto& [name, wrapped] : {std::pair{"Check1", true}, {"Command1", false}}) {
            QWidget* control = Find(name);
            QHelpEvent help(QEvent::ToolTip, {}, control->mapToGlobal(QPoint()));
            QApplication::sendEvent(control, &help);
            const QString shown = QTextDocumentFragment::fromHtml(QToolTip::text()).toPlainText();
            const QStringList lines = QString(shown).replace(QChar::Nbsp, ' ').split('\n');
            QCOMPARE(lines.size() > 1, wrapped);
            QCOMPARE(lines.join(' '), control->toolTip());
            for (const QString& line : lines)
                QVERIFY(metrics.horizontalAdvance(line) <= 60 * metrics.averageCharWidth());
        }
        QToolTip::hideText();
    }

    void otherWindowsCaptionsFit() {
        QTimer::singleShot(20, [] {
            for (const QWidget* control : frmMessage::instance().findChildren<QWidget*>())
                QVERIFY2(CaptionFits(control), qPrintable(control->objectName()));
            Click(frmMessage::instance().Command1);
        });
        AskQuestion("Frage?");
        for (const QWidget* control : frmSplash::instance().findChildren<QWidget*>())
            QVERIFY2(CaptionFits(control), qPrintable(control->objectName()));
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_MainWindow.moc"
