#pragma once
// A list box of file paths without exact duplicates. The paths live in one
// plain list model, and a set of them beside it answers "is it there?" in
// constant time, so 100,000 entries add fast and cost little more than
// their text. All changes go through these members.
#include <QAbstractListModel>
#include <QHash>
#include <QIcon>
#include <QListView>
#include <QSet>
#include <QString>
#include <QStringList>

namespace tagwerk {

class FileListBox : public QListView {
    Q_OBJECT
public:
    explicit FileListBox(QWidget* parent = nullptr);

    // Appends the text unless an entry equal to it (exactly, case-sensitive)
    // is there; returns whether it was appended.
    bool AddIfAbsent(const QString& text);
    int count() const;
    QString entryAt(int row) const;
    void removeEntry(int row);
    // Removes every entry.
    void clearEntries();
    // The text and row of the selected entry; empty and -1 when none is selected.
    QString selectedEntry() const;
    int selectedRow() const;
    // Selects the entry of the row and makes it current; -1 selects none.
    void setCurrentRow(int row);
    // The row of the entry equal to the text; -1 when there is none.
    int rowOf(const QString& text) const;
    // Marks the entries that failed in the last run with a warning sign and
    // their reason as tooltip, by path; the marks of the run before go.
    // Removing an entry or emptying the list takes its marks along.
    void markFailures(const QHash<QString, QString>& reasons);

signals:
    // A double-click of the left button anywhere in the box, on an entry or
    // beside the entries, or Enter pressed while an entry is selected.
    void DblClick();
    // Another entry was selected, or none is any more (by mouse, keyboard or
    // program, as a list box's Click).
    void Click();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    class Entries : public QAbstractListModel {
    public:
        using QAbstractListModel::QAbstractListModel;
        int rowCount(const QModelIndex& parent = {}) const override;
        QVariant data(const QModelIndex& index, int role) const override;
        QStringList paths;
        QHash<QString, QString> failures; // reason by path
        QIcon failedSign;
        using QAbstractListModel::beginInsertRows, QAbstractListModel::endInsertRows,
            QAbstractListModel::beginRemoveRows, QAbstractListModel::endRemoveRows,
            QAbstractListModel::beginResetModel, QAbstractListModel::endResetModel;
    };

    Entries entries_;
    QSet<QString> listed_;
};

} // namespace tagwerk
