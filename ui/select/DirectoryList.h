#pragma once
// The directory list of the selection windows: the path from the drive's root
// down to the current directory, each level indented below the one before,
// then the current directory's subdirectories. A double-click (or Enter)
// opens the directory of that line.
#include <QTreeWidget>

namespace tagwerk {

class DirectoryList : public QTreeWidget {
    Q_OBJECT
public:
    explicit DirectoryList(QWidget* parent);

    QString root() const { return root_; }
    QString path() const { return path_; }
    // Shows a directory that lies below the root (or is the root), or the
    // nearest of its parents that still exists, and reports pathChanged.
    void setPath(const QString& root, const QString& path);
    // Reads the subdirectories of the current directory again.
    void refresh();

signals:
    void pathChanged();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    // Every level is always open: no branch lines or arrows, only indentation.
    void drawBranches(QPainter* painter, const QRect& rect,
                      const QModelIndex& index) const override;

private:
    void open(QTreeWidgetItem* line);
    QTreeWidgetItem* addLine(QTreeWidgetItem* parent, const QString& text, const QString& path,
                             bool opened);

    QString root_;
    QString path_;
};

} // namespace tagwerk
