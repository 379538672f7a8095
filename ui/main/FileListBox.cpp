#include "ui/main/FileListBox.h"

#include "ui/main/ShownPaths.h"

#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>

namespace tagwerk {

int FileListBox::Entries::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(paths.size());
}

QVariant FileListBox::Entries::data(const QModelIndex& index, int role) const {
    if (index.row() < 0 || index.row() >= paths.size())
        return {};
    const QString& path = paths[index.row()];
    switch (role) {
    case Qt::DisplayRole:
        return path;
    case Qt::DecorationRole:
        return failures.contains(path) ? QVariant(failedSign) : QVariant();
    case Qt::ToolTipRole:
        return failures.contains(path) ? QVariant(failures.value(path)) : QVariant();
    default:
        return {};
    }
}

FileListBox::FileListBox(QWidget* parent) : QListView(parent) {
    setModel(&entries_);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true);
    setItemDelegate(new ShownPathDelegate(this));
    entries_.failedSign = style()->standardIcon(QStyle::SP_MessageBoxWarning);
    // A sign no higher than the text keeps every row as high as the first.
    const int signSize = fontMetrics().height();
    setIconSize(QSize(signSize, signSize));
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &FileListBox::Click);
}

bool FileListBox::AddIfAbsent(const QString& text) {
    if (listed_.contains(text))
        return false;
    listed_.insert(text);
    const int row = count();
    entries_.beginInsertRows({}, row, row);
    entries_.paths.append(text);
    entries_.endInsertRows();
    return true;
}

int FileListBox::count() const {
    return int(entries_.paths.size());
}

QString FileListBox::entryAt(int row) const {
    return row >= 0 && row < count() ? entries_.paths[row] : QString();
}

void FileListBox::removeEntry(int row) {
    if (row < 0 || row >= count())
        return;
    entries_.beginRemoveRows({}, row, row);
    const QString removed = entries_.paths.takeAt(row);
    listed_.remove(removed);
    entries_.failures.remove(removed);
    entries_.endRemoveRows();
}

void FileListBox::clearEntries() {
    entries_.beginResetModel();
    entries_.paths.clear();
    listed_.clear();
    entries_.failures.clear();
    entries_.endResetModel();
}

QString FileListBox::selectedEntry() const {
    return entryAt(selectedRow());
}

int FileListBox::selectedRow() const {
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void FileListBox::setCurrentRow(int row) {
    const QModelIndex index = entries_.index(row);
    if (!index.isValid()) {
        selectionModel()->clear();
        return;
    }
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index);
}

int FileListBox::rowOf(const QString& text) const {
    return listed_.contains(text) ? int(entries_.paths.indexOf(text)) : -1;
}

void FileListBox::markFailures(const QHash<QString, QString>& reasons) {
    if (entries_.failures.isEmpty() && reasons.isEmpty())
        return;
    entries_.failures = reasons;
    if (count() > 0)
        emit entries_.dataChanged(entries_.index(0), entries_.index(count() - 1),
                                  {Qt::DecorationRole, Qt::ToolTipRole});
}

void FileListBox::mouseDoubleClickEvent(QMouseEvent* event) {
    QListView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        emit DblClick();
}

void FileListBox::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && selectedRow() >= 0)
        emit DblClick();
    else
        QListView::keyPressEvent(event);
}

} // namespace tagwerk
