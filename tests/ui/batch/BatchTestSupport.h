#pragma once
// For the window tests of the long operations: MP3 payloads of any length
// made from a lame stream, a way to let the program meet permission bits
// although the tests run as root, the notice a run ended with, and a table
// of a window's controls.
#include "ui/main/frmMessage.h"
#include "ui/support/TagFiles.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>
#include <QTest>
#include <unistd.h>

namespace tagwerk::test {

// `size` bytes: the lame stream, with every byte value appended, repeated
// and cut.
inline QByteArray Payload(int size) {
    QByteArray bytes = LameMp3();
    for (int i = 0; i < 256; ++i)
        bytes += char(i);
    while (bytes.size() < size)
        bytes += bytes;
    return bytes.left(size);
}

inline const QByteArray kTagged = Id3v1Trailer({"Lied", "Band", "Album", "1999", "Gut", 17});
inline const QByteArray kBlank = Id3v1Trailer({});

// While it lives, the process acts as an ordinary user (when it runs as
// root, who ignores permission bits); the files it is given become that
// user's, so only their permission bits stand in the way.
class OrdinaryUser {
public:
    static constexpr uid_t kUid = 65534;

    explicit OrdinaryUser(const QStringList& paths) : root_(::geteuid() == 0) {
        if (!root_)
            return;
        for (const QString& path : paths)
            if (::chown(QFile::encodeName(path), kUid, kUid) != 0)
                qFatal("cannot give %s to the ordinary user", qPrintable(path));
        if (::setegid(kUid) != 0 || ::seteuid(kUid) != 0)
            qFatal("cannot act as the ordinary user");
    }
    ~OrdinaryUser() {
        if (root_ && (::seteuid(0) != 0 || ::setegid(0) != 0))
            qFatal("cannot act as root again");
    }
    OrdinaryUser(const OrdinaryUser&) = delete;
    OrdinaryUser& operator=(const OrdinaryUser&) = delete;

private:
    bool root_;
};

// The text of the message window when it is shown, else empty.
inline QString ShownNotice() {
    return frmMessage::exists() && frmMessage::instance().isVisible()
               ? frmMessage::instance().Label1->text()
               : QString();
}

// The columns of a table of controls: name, what it shows (a caption, a
// field's text, a box's entry, "checked"), place in pixels and tooltip.
inline void AddControlColumns() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QRect>("place");
    QTest::addColumn<QString>("toolTip");
}

// Checks the control of the current row of such a table.
inline void VerifyControl(const QWidget& window) {
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
    QVERIFY(control->isEnabled());
}

} // namespace tagwerk::test
