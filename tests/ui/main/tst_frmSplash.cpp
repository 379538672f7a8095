// The about window: how it opens, what it shows and what closes it.
#include "ui/main/Form1.h"
#include "ui/main/frmSplash.h"
#include "ui/support/WindowDriver.h"

#include <QAction>
#include <QFrame>
#include <QPointer>
#include <QTest>

using namespace tagwerk;
using namespace tagwerk::test;

namespace {

frmSplash& OpenAbout() {
    Form1::instance().Ueber->trigger();
    frmSplash& about = frmSplash::instance();
    if (!QTest::qWaitForWindowExposed(&about))
        qWarning("the about window was not shown");
    return about;
}

int OpenAboutWindows() {
    int count = 0;
    for (const QWidget* window : QApplication::topLevelWidgets())
        count += window->objectName() == "frmSplash" && window->isVisible();
    return count;
}

} // namespace

class AboutWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init() { FreshMainWindow(); }

    void logoAndMenuOpenOneWindow() {
        Form1& form = Form1::instance();
        QTest::mouseClick(form.Image1, Qt::LeftButton);
        QVERIFY(frmSplash::exists());
        QTest::mouseClick(form.Image1, Qt::LeftButton);
        form.Ueber->trigger();
        QCOMPARE(OpenAboutWindows(), 1);
        QVERIFY(form.isEnabled());
    }

    void windowAsStated_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qreal>("points");
        QTest::addColumn<QRect>("place"); // in pixels, relative to Frame1
        QTest::newRow("lblProductName") << "Tagwerk" << 26.25 << QRect(264, 96, 128, 41);
        QTest::newRow("lblPlatform") << "Version 1.0 Beta" << 15.75 << QRect(293, 156, 164, 24);
        QTest::newRow("lblVersion") << "Juli 2000" << 12.0 << QRect(390, 180, 67, 19);
        QTest::newRow("lblWarning")
            << "Verbesserungsvorschläge und Hinweise auf Fehler nehme ich gerne an." << 8.25
            << QRect(10, 244, 457, 13);
    }

    void windowAsStated() {
        QFETCH(QString, text);
        QFETCH(qreal, points);
        QFETCH(QRect, place);
        frmSplash& about = OpenAbout();
        QCOMPARE(about.windowTitle(), QString());
        QCOMPARE(about.size(), QSize(492, 283));
        QVERIFY(
            !(about.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QCOMPARE(about.Frame1->geometry(), QRect(10, 4, 472, 270));
        QCOMPARE(about.Image1->pixmap().size(), QSize(154, 115));
        QCOMPARE(about.Image2->pixmap().size(), QSize(32, 32));
        const auto* label = about.Frame1->findChild<QLabel*>(QTest::currentDataTag());
        QCOMPARE(label->text(), text);
        QCOMPARE(label->font().pointSizeF(), points);
        QCOMPARE(label->font().bold(), points > 9);
        QVERIFY(
            QStringList({"Arial", "Liberation Sans"}).contains(QFontInfo(label->font()).family()));
        // A caption wider than its place may grow, never shrink or move away.
        QVERIFY(label->geometry().contains(place));
    }

    void closing_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("closes");
        for (const char* key : {"Enter", "Escape", "a", "7", "Space", "Backspace"})
            QTest::addRow("key %s", key) << key << 0 << true;
        for (const char* key : {"Left", "F1", "Shift"})
            QTest::addRow("key %s", key) << key << 0 << false;
        for (const char* place : {"background", "Frame1", "Image1"}) {
            QTest::addRow("click %s", place) << place << int(Qt::LeftButton) << true;
            QTest::addRow("right click %s", place) << place << int(Qt::RightButton) << false;
            QTest::addRow("middle click %s", place) << place << int(Qt::MiddleButton) << false;
        }
        for (const char* place : {"lblVersion", "lblProductName", "Image2"})
            QTest::addRow("click %s", place) << place << int(Qt::LeftButton) << false;
    }

    void closing() {
        QFETCH(QString, action);
        QFETCH(int, button);
        QFETCH(bool, closes);
        const QPointer<frmSplash> about = &OpenAbout();
        const QKeySequence key(action == "Shift" ? QKeySequence(Qt::Key_Shift)
                                                 : QKeySequence::fromString(action));
        const auto mouseButton = Qt::MouseButton(button);
        if (action == "background")
            QTest::mouseClick(about, mouseButton, {}, QPoint(3, 3));
        else if (QWidget* control = about->findChild<QWidget*>(action))
            QTest::mouseClick(control, mouseButton, {}, QPoint(5, 5));
        else // through the window, which routes it as a user's key
            QTest::keyClick(about->windowHandle(), key[0].key());
        QCOMPARE(frmSplash::exists(), !closes);
        QCOMPARE(!about.isNull() && about->isVisible(), !closes);
    }
};

QTEST_MAIN(AboutWindowTest)
#include "tst_frmSplash.moc"
