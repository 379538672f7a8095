#include "ui/select/DirectoryList.h"

#include "ui/main/ShownPaths.h"
#include "ui/select/DirectoryListing.h"
#include "ui/select/QStringPaths.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>

namespace tagwerk {

namespace {

constexpr int kPathRole = Qt::UserRole;

} // namespace

DirectoryList::DirectoryList(QWidget* parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setExpandsOnDoubleClick(false);
    setUniformRowHeights(true);
    setIndentation(10);
    setItemDelegate(new ShownPathDelegate(this));
}

// A double-click of the left button, not the platform's "activation", which
// may be a single click.
void DirectoryList::mouseDoubleClickEvent(QMouseEvent* event) {
    QTreeWidget::mouseDoubleClickEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    if (QTreeWidgetItem* line = itemAt(event->position().toPoint()))
        open(line);
}

void DirectoryList::setPath(const QString& root, const QString& path) {
    root_ = root;
    path_ = NearestExistingDirectory(path, root);
    refresh();
    emit pathChanged();
}

void DirectoryList::refresh() {
    clear();
    QTreeWidgetItem* line = addLine(nullptr, root_, root_, true);
    QString reached = root_;
    for (const QString& name :
         path_.mid(root_.size()).split(QChar(kPathSeparator), Qt::SkipEmptyParts)) {
        reached = JoinPath(reached, name);
        line = addLine(line, name, reached, true);
    }
    for (const QString& name : SubdirectoryNames(path_))
        addLine(line, name, JoinPath(path_, name), false);
    expandAll();
    setCurrentItem(line);
}

void DirectoryList::open(QTreeWidgetItem* line) {
    const QString target = line->data(0, kPathRole).toString();
    if (target != path_)
        setPath(root_, target);
}

void DirectoryList::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && currentItem())
        open(currentItem());
    else
        QTreeWidget::keyPressEvent(event);
}

void DirectoryList::drawBranches(QPainter*, const QRect&, const QModelIndex&) const {}

QTreeWidgetItem* DirectoryList::addLine(QTreeWidgetItem* parent, const QString& text,
                                        const QString& path, bool opened) {
    auto* line = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
    line->setText(0, text);
    line->setData(0, kPathRole, path);
    line->setIcon(
        0, style()->standardIcon(opened ? QStyle::SP_DirOpenIcon : QStyle::SP_DirClosedIcon));
    return line;
}

} // namespace tagwerk
