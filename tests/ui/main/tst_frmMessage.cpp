// The message window: the answer protocol of questions and notices.
#include "ui/main/Form1.h"
#include "ui/main/frmMessage.h"
#include "ui/support/WindowDriver.h"

#include <QAbstractEventDispatcher>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QWindow>

using namespace tagwerk;
using namespace tagwerk::test;

namespace {

// How the user ends a question.
enum class Reply { ok, no, closeBox, escape, enter };

void Give(Reply reply) {
    frmMessage& message = frmMessage::instance();
    switch (reply) {
    case Reply::ok:
        Click(message.Command1);
        break;
    case Reply::no:
        Click(message.Command2);
        break;
    case Reply::closeBox:
        message.close();
        break;
    case Reply::escape:
        QTest::keyClick(message.windowHandle(), Qt::Key_Escape);
        break;
    case Reply::enter: // "OK" has the focus
        QTest::keyClick(message.focusWidget(), Qt::Key_Return);
        break;
    }
}

// What was true while the question waited.
struct DuringQuestion {
    bool owned = false; // transient for the main window and modal to it
    bool mainEnabled = true;
    bool noVisible = false;
    bool okHasFocus = false;
    QString text;
    QString slot;
};

} // namespace

class MessageWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init() { FreshMainWindow(); }

    void questionAnswers_data() {
        QTest::addColumn<Reply>("reply");
        QTest::addColumn<QString>("answer");
        QTest::newRow("OK") << Reply::ok << "1";
        QTest::newRow("Nein") << Reply::no << "2";
        QTest::newRow("title bar close, then Nein") << Reply::closeBox << "2";
        QTest::newRow("Escape, then OK") << Reply::escape << "1";
        QTest::newRow("Enter on OK") << Reply::enter << "1";
    }

    void questionAnswers() {
        QFETCH(Reply, reply);
        QFETCH(QString, answer);
        Form1& form = Form1::instance();
        DuringQuestion seen;
        QTimer::singleShot(20, [&] {
            frmMessage& message = frmMessage::instance();
            seen = {message.windowHandle()->transientParent() == form.windowHandle() &&
                        message.windowModality() == Qt::WindowModal,
                    form.isEnabled(),
                    message.Command2->isVisible(),
                    message.focusWidget() == message.Command1,
                    message.Label1->text(),
                    form.Label16->text()};
            Give(reply);
            // Closing it otherwise leaves the question waiting for "OK" or "Nein".
            if (reply == Reply::closeBox || reply == Reply::escape) {
                seen.slot += message.isVisible() ? form.Label16->text() : "closed";
                Give(reply == Reply::closeBox ? Reply::no : Reply::ok);
            }
        });
        QCOMPARE(AskQuestion("Frage?"), answer);
        QVERIFY(seen.owned);
        QVERIFY(!seen.mainEnabled);
        QVERIFY(seen.noVisible);
        QVERIFY(seen.okHasFocus);
        QCOMPARE(seen.text, QString("Frage?"));
        const bool closable = reply == Reply::closeBox || reply == Reply::escape;
        QCOMPARE(seen.slot, QString(closable ? "00" : "0"));
        QCOMPARE(form.Label16->text(), answer);
        QVERIFY(!frmMessage::exists());
        QVERIFY(!form.isEnabled()); // the caller enables it
    }

    // The wait sleeps until an event comes instead of polling.
    void questionWaitsIdle() {
        QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
        int blocked = 0;
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, [&] { ++blocked; });
        QTimer::singleShot(200, [&] { Click(frmMessage::instance().Command1); });
        QCOMPARE(AskQuestion("Warten?"), QString("1"));
        dispatcher->disconnect(this);
        QVERIFY(blocked > 0);
    }

    // A notice does not wait and reuses an open window; closing it answers
    // nothing, its "OK" writes "1" that no one reads.
    void noticesReturnAtOnce() {
        Form1& form = Form1::instance();
        const QString before = form.Label16->text();
        ShowNotice("Erste Meldung");
        frmMessage* first = &frmMessage::instance();
        form.activateWindow(); // the user clicks the main window meanwhile
        QVERIFY(QTest::qWaitForWindowActive(&form));
        ShowNotice("Zweite Meldung");
        QCOMPARE(&frmMessage::instance(), first);
        QVERIFY(QTest::qWaitForWindowActive(first)); // in front again
        QCOMPARE(first->windowHandle()->transientParent(), form.windowHandle());
        QCOMPARE(first->Label1->text(), QString("Zweite Meldung"));
        QVERIFY(first->isVisible());
        QVERIFY(!first->Command2->isVisible());
        QVERIFY(form.isEnabled());
        first->close();
        QCOMPARE(form.Label16->text(), before);
        QVERIFY(!frmMessage::exists());

        ShowNotice("Dritte Meldung");
        Click(frmMessage::instance().Command1);
        QCOMPARE(form.Label16->text(), QString("1"));
        QVERIFY(!frmMessage::exists());
    }

    // Every use after a click starts from a new window, with "Nein" hidden.
    void noticeAfterQuestionShowsOnlyOk() {
        QTimer::singleShot(20, [] { Click(frmMessage::instance().Command2); });
        QCOMPARE(AskQuestion("Frage?"), QString("2"));
        ShowNotice("Hinweis");
        QVERIFY(frmMessage::instance().isVisible());
        QVERIFY(!frmMessage::instance().Command2->isVisible());
    }

    void windowAsStated() {
        ShowNotice("x");
        frmMessage& message = frmMessage::instance();
        QCOMPARE(message.objectName(), QString("frmMessage"));
        QCOMPARE(message.windowTitle(), QString("Tagwerk: Meldung..."));
        QCOMPARE(message.windowType(), Qt::Dialog); // never minimised on its own
        QCOMPARE(message.size(), QSize(312, 179));
        QCOMPARE(message.minimumSize(), message.maximumSize());
        QVERIFY(!(message.windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(message.windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(message.Label1->geometry(), QRect(8, 8, 289, 113));
        QCOMPARE(message.Command1->text(), QString("OK"));
        QCOMPARE(message.Command1->geometry(), QRect(120, 136, 161, 33));
        QCOMPARE(message.Command2->text(), QString("Nein"));
        QCOMPARE(message.Command2->geometry(), QRect(40, 136, 73, 33));
        QCOMPARE(message.Command1->nextInFocusChain(), message.Command2);
        // File names are shown as they are, never as markup.
        QCOMPARE(message.Label1->textFormat(), Qt::PlainText);
    }
};

QTEST_MAIN(MessageWindowTest)
#include "tst_frmMessage.moc"
