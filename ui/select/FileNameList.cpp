#include "ui/select/FileNameList.h"

#include "ui/main/ShownPaths.h"
#include "ui/select/DirectoryListing.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>

namespace tagwerk {

FileNameList::FileNameList(QWidget* parent) : QListView(parent) {
    setModel(&names_);
    setItemDelegate(new ShownPathDelegate(this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    // Only a selected file counts: taking the focus makes the first file
    // current without selecting it. And a double-click, never the platform's
    // "activation", opens a file, which some desktops grant a single click.
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!selectedName().isEmpty())
            emit fileClicked();
    });
}

void FileNameList::mouseDoubleClickEvent(QMouseEvent* event) {
    QListView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).isValid())
        emit fileDoubleClicked();
}

void FileNameList::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && !selectedName().isEmpty())
        emit fileDoubleClicked();
    else
        QListView::keyPressEvent(event);
}

void FileNameList::setDirectory(const QString& directory) {
    directory_ = directory;
    list();
}

void FileNameList::setPattern(const QString& pattern) {
    pattern_ = pattern;
    list();
}

void FileNameList::refresh() {
    const QString selected = selectedName();
    const int selectedRow = currentIndex().row();
    list();
    if (selected.isEmpty())
        return;
    QStringList names = names_.stringList();
    int row = names.indexOf(selected);
    if (row < 0) {
        // A selected file that vanished meanwhile stays listed where it was:
        // it is still added, and the later load says what became of it.
        row = std::clamp(selectedRow, 0, int(names.size()));
        names.insert(row, selected);
        names_.setStringList(names);
    }
    selectRow(row);
}

void FileNameList::list() {
    names_.setStringList(directory_.isEmpty() || pattern_.isEmpty()
                             ? QStringList()
                             : MatchingFileNames(directory_, pattern_));
}

QString FileNameList::selectedName() const {
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? QString() : selected.first().data().toString();
}

void FileNameList::selectRow(int row) {
    const QModelIndex index = names_.index(row);
    if (!index.isValid())
        return;
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index);
}

} // namespace tagwerk
