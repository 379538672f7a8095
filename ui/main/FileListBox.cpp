#include "ui/main/FileListBox.h"

#include "ui/main/ShownPaths.h"

#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>

namespace tagwerk {

int FileListBox::Entries::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(paths.size());
}

QVariant FileListBox::Entries::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || index.row() < 0 || index.row() >= paths.size())
        return {};
    return paths[index.row()];
}

FileListBox::FileListBox(QWidget* parent) : QListView(parent) {
    setModel(&entries_);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true);
    setItemDelegate(new ShownPathDelegate(this));
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &FileListBox::selectionChanged);
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
    listed_.remove(entries_.paths.takeAt(row));
    entries_.endRemoveRows();
}

void FileListBox::clearEntries() {
    entries_.beginResetModel();
    entries_.paths.clear();
    listed_.clear();
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
