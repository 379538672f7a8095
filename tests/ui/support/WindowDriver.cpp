#include "ui/support/WindowDriver.h"

#include "ui/main/FileListBox.h"
#include "ui/main/Form1.h"
#include "ui/main/frmMessage.h"
#include "ui/main/frmSplash.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTemporaryDir>
#include <QTest>

namespace tagwerk::test {

namespace {

// A runtime folder of the test's own, set before its QApplication starts,
// also when the desktop has one: the single-instance tests take over the
// socket in it, which must never be that of the user's running Tagwerk.
// Removed again, with the socket, when the test program ends.
QTemporaryDir gRuntimeDirectory(QDir::tempPath() + "/tagwerk-runtime-XXXXXX");
const bool kRuntimeDirectorySet = [] {
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(gRuntimeDirectory.path()));
    return true;
}();

} // namespace

void TypeText(QWidget* widget, const QString& text) {
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

void Click(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton);
}

void Leave(QWidget& window, QAbstractButton* cancel, const QString& how) {
    if (how == "close box")
        window.close();
    else if (how == "Escape") // through the window, as a user's key
        QTest::keyClick(window.windowHandle(), Qt::Key_Escape);
    else if (cancel != nullptr)
        Click(cancel);
    else
        qFatal("no button to leave by \"%s\"", qPrintable(how));
}

void DoubleClickEntry(QAbstractItemView* list, int row) {
    const QPoint place = list->visualRect(list->model()->index(row, 0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, place);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, place);
}

QStringList Entries(const FileListBox& list) {
    QStringList entries;
    for (int row = 0; row < list.count(); ++row)
        entries << list.entryAt(row);
    return entries;
}

QStringList FailureMarks(const FileListBox& list) {
    QStringList marks;
    for (int row = 0; row < list.count(); ++row) {
        const QModelIndex entry = list.model()->index(row, 0);
        const bool sign = !entry.data(Qt::DecorationRole).isNull();
        marks << (sign ? entry.data(Qt::ToolTipRole).toString() : "");
    }
    return marks;
}

QString ShownText(const QAbstractItemView& view, const QModelIndex& index) {
    const auto* delegate = qobject_cast<const QStyledItemDelegate*>(view.itemDelegate());
    return delegate ? delegate->displayText(index.data(), QLocale()) : QString();
}

Form1& FreshMainWindow() {
    frmMessage::unload();
    frmSplash::unload();
    Form1::unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Form1& form = Form1::instance();
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        qWarning("the main window was not shown");
    return form;
}

void AddControlColumns() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QRect>("place");
    QTest::addColumn<QString>("toolTip");
}

void VerifyControl(const QWidget& window, const QStringList& disabled) {
    QFETCH(QString, name);
    QFETCH(QString, shown);
    QFETCH(QRect, place);
    QFETCH(QString, toolTip);
    const auto* control = window.findChild<QWidget*>(name);
    QVERIFY(control);
    QCOMPARE(control->geometry(), place);
    QCOMPARE(control->toolTip(), toolTip);
    QString actual;
    if (const auto* label = qobject_cast<const QLabel*>(control))
        actual = label->text();
    else if (const auto* button = qobject_cast<const QAbstractButton*>(control))
        actual = button->isChecked() ? "checked" : button->text();
    else if (const auto* field = qobject_cast<const QLineEdit*>(control))
        actual = field->text();
    else if (const auto* box = qobject_cast<const QComboBox*>(control))
        actual = box->currentText();
    QCOMPARE(actual, shown);
    QCOMPARE(control->isEnabled(), !disabled.contains(name));
}

MessageAnswerer::MessageAnswerer(QString buttonCaption) : caption_(std::move(buttonCaption)) {
    connect(&timer_, &QTimer::timeout, this, &MessageAnswerer::answerIfShown);
    timer_.start(10);
}

void MessageAnswerer::answerIfShown() {
    if (!frmMessage::exists() || !frmMessage::instance().isVisible())
        return;
    frmMessage& message = frmMessage::instance();
    texts_ << message.Label1->text();
    const bool question = message.Command2->isVisible();
    questions_ << question;
    Click(question && caption_ == message.Command2->text() ? message.Command2 : message.Command1);
}

} // namespace tagwerk::test
