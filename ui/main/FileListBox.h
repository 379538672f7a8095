#pragma once
// A list box of file paths without exact duplicates. A set of its texts
// beside the list answers "is it there?" in constant time, so adding
// 100,000 entries stays fast. All changes go through these members.
#include <QListWidget>
#include <QSet>
#include <QString>

namespace tagwerk {

class FileListBox : public QListWidget {
    Q_OBJECT
public:
    explicit FileListBox(QWidget* parent = nullptr);

    // Appends the text unless an entry equal to it (exactly, case-sensitive)
    // is there; returns whether it was appended.
    bool AddIfAbsent(const QString& text);
    QString entryAt(int row) const;
    void removeEntry(int row);
    // Removes every entry, from the last to the first.
    void clearEntries();
    // The text of the selected entry; empty when none is selected.
    QString selectedEntry() const;

signals:
    // A double-click of the left button anywhere in the box, on an entry or
    // beside the entries, or Enter pressed while an entry is selected.
    void DblClick();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QSet<QString> entries_;
};

} // namespace tagwerk
