#pragma once
// Drives the windows as a user would: typing, clicking, double-clicking
// list entries and answering the message window.
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

class QAbstractButton;
class QAbstractItemView;
class QModelIndex;
class QWidget;

namespace tagwerk {

class FileListBox;
class Form1;

namespace test {

// Types the text one character at a time (QTest::keyClicks aborts on some
// non-ASCII characters in Qt 6.4).
void TypeText(QWidget* widget, const QString& text);

void Click(QAbstractButton* button);

// The user leaves the window by "close box", by "Escape" or by any other
// `how` clicking `cancel`, its "Abbruch".
void Leave(QWidget& window, QAbstractButton* cancel, const QString& how);

// Selects the entry with a click, then double-clicks it.
void DoubleClickEntry(QAbstractItemView* list, int row);

// The entries of a file list, from the top.
QStringList Entries(const FileListBox& list);

// The reason each entry of a file list is marked with as failed (shown
// with a sign), from the top; empty for the entries not marked.
QStringList FailureMarks(const FileListBox& list);

// The text a list or tree draws for an item.
QString ShownText(const QAbstractItemView& view, const QModelIndex& index);

// Destroys the main, message and about windows and shows a new main window,
// so that every test starts from the state right after start.
Form1& FreshMainWindow();

// The columns of a table of controls: name, what it shows (a caption, a
// field's text, a box's entry, "checked"), place in pixels and tooltip.
void AddControlColumns();

// Checks the control of the current row of such a table, and that it is
// enabled unless its name is among `disabled`.
void VerifyControl(const QWidget& window, const QStringList& disabled = {});

// Answers every message window that shows (also from inside the wait of a
// question) by clicking the button with the given caption ("OK" or "Nein"),
// and records what it was asked.
class MessageAnswerer : public QObject {
public:
    explicit MessageAnswerer(QString buttonCaption);
    const QStringList& texts() const { return texts_; }
    // Whether each message offered "Nein", i.e. was a question.
    const QList<bool>& questions() const { return questions_; }

private:
    void answerIfShown();
    QString caption_;
    QTimer timer_;
    QStringList texts_;
    QList<bool> questions_;
};

} // namespace test
} // namespace tagwerk
