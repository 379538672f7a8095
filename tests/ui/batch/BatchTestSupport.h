#pragma once
// For the window tests of the long operations: MP3 payloads of any length
// made from a lame stream, a way to let the program meet permission bits
// although the tests run as root, the notice a run ended with, and what the
// preview of a run shows.
#include "ui/batch/Form7.h"
#include "ui/main/Form1.h"
#include "ui/main/TextConversion.h"
#include "ui/main/frmMessage.h"
#include "ui/support/TagFiles.h"

#include <QDateTime>
#include <QFileInfo>
#include <QLabel>
#include <QStringList>
#include <QTableView>
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
            if (::chown(NativePath(path).c_str(), kUid, kUid) != 0)
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

// The window leaves the main window's logo and progress texts in sight.
inline void VerifyClearOfProgress(const QWidget& window) {
    const Form1& main = Form1::instance();
    const QWidget* const progressParts[] = {main.Image2, main.Label13, main.Label15};
    for (const QWidget* progress : progressParts) {
        const QRect shown(progress->mapToGlobal(QPoint()), progress->size());
        QVERIFY2(!window.frameGeometry().intersects(shown), qPrintable(progress->objectName()));
    }
}

// The text of the message window when it is shown, else empty.
inline QString ShownNotice() {
    return frmMessage::exists() && frmMessage::instance().isVisible()
               ? frmMessage::instance().Label1->text()
               : QString();
}

// The rows of the open preview, each its seven cells joined by "|"; a
// message stands in the first of the six value cells.
inline QStringList PreviewRows() {
    const QAbstractItemModel& model = *Form7::instance().List1->model();
    QStringList rows;
    for (int row = 0; row < model.rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < model.columnCount(); ++column)
            cells << model.index(row, column).data().toString();
        rows << cells.join('|');
    }
    return rows;
}

// The bytes and the time of last change of each file that is there.
inline QStringList FileStates(const QStringList& paths) {
    QStringList states;
    for (const QString& path : paths)
        if (QFileInfo info(path); info.exists())
            states << QString::fromLatin1(ReadBytes(path).toHex()) +
                          info.lastModified().toString(Qt::ISODateWithMs);
    return states;
}

} // namespace tagwerk::test
