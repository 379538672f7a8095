#include "ui/main/FileListBox.h"

namespace tagwerk {

FileListBox::FileListBox(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
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

} // namespace tagwerk
