#include "ui/select/FileNameList.h"

#include "ui/select/DirectoryListing.h"

#include <QKeyEvent>

namespace tagwerk {

FileNameList::FileNameList(QWidget* parent) : QListView(parent) {
    setModel(&names_);
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
    connect(this, &QListView::doubleClicked, this, &FileNameList::fileDoubleClicked);
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
    list();
    if (!selected.isEmpty())
        selectRow(names_.stringList().indexOf(selected));
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
