#include "ui/select/FileNameList.h"

#include "ui/select/DirectoryListing.h"

namespace tagwerk {

FileNameList::FileNameList(QWidget* parent) : QListView(parent) {
    setModel(&names_);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    emit fileClicked();
            });
    connect(this, &QListView::activated, this, &FileNameList::fileDoubleClicked);
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
