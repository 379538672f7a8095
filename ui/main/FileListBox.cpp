#include "ui/main/FileListBox.h"

#include "ui/main/ShownPaths.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace tagwerk {

FileListBox::FileListBox(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setItemDelegate(new ShownPathDelegate(this));
}

bool FileListBox::AddIfAbsent(const QString& text) {
    if (entries_.contains(text))
        return false;
    entries_.insert(text);
    addItem(text);
    return true;
}

QString FileListBox::entryAt(int row) const {
    const QListWidgetItem* entry = item(row);
    return entry ? entry->text() : QString();
}

void FileListBox::removeEntry(int row) {
    if (row < 0 || row >= count())
        return;
    entries_.remove(item(row)->text());
    delete takeItem(row);
}

void FileListBox::clearEntries() {
    entries_.clear();
    clear();
}

QString FileListBox::selectedEntry() const {
    const QList<QListWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}

void FileListBox::mouseDoubleClickEvent(QMouseEvent* event) {
    QListWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        emit DblClick();
}

void FileListBox::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && !selectedItems().isEmpty())
        emit DblClick();
    else
        QListWidget::keyPressEvent(event);
}

} // namespace tagwerk
