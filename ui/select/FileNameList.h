#pragma once
// The file list of the selection windows: the names of the files of one
// directory that match a wildcard pattern, sorted by name. The names live in
// a plain string model, so a folder of 100,000 files lists without a pause.
#include <QListView>
#include <QStringListModel>

namespace tagwerk {

class FileNameList : public QListView {
    Q_OBJECT
public:
    explicit FileNameList(QWidget* parent);

    QString directory() const { return directory_; }
    QString pattern() const { return pattern_; }
    void setDirectory(const QString& directory);
    void setPattern(const QString& pattern);
    // Lists the directory again; the selected file stays selected if it is still there.
    void refresh();

    QStringList names() const { return names_.stringList(); }
    // The selected file's name; empty with no file selected.
    QString selectedName() const;
    void selectRow(int row);

signals:
    // Another file was selected, by mouse or keyboard.
    void fileClicked();
    // A file was double-clicked with the left button, or Enter pressed on the selected one.
    void fileDoubleClicked();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void list();

    QStringListModel names_;
    QString directory_;
    QString pattern_;
};

} // namespace tagwerk
