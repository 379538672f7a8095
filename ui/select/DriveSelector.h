#pragma once
// The drive selector of the selection windows: a drop-down of the mounted
// volumes. Each drive keeps its own current directory, the one the directory
// list last showed on it, so returning to a drive returns to that directory.
#include "ui/select/VolumeSource.h"

#include <QComboBox>
#include <QHash>

namespace tagwerk {

class DriveSelector : public QComboBox {
    Q_OBJECT
public:
    // Lists the volumes and selects the one that holds the start directory,
    // which becomes that drive's current directory.
    DriveSelector(const QString& startDirectory, QWidget* parent);

    Volume volume() const;
    bool isReadable() const;
    // Selects the drive with this root path without reporting a change,
    // whatever its volume name has become meanwhile.
    void setDrive(const QString& rootPath);

    // The chosen drive's current directory, or the nearest existing parent.
    QString currentDirectory() const;
    void setCurrentDirectory(const QString& directory);

    // Reads the volumes afresh so that a drive mounted meanwhile is offered.
    void showPopup() override;

signals:
    // The user chose another drive.
    void driveChanged();

private:
    void listVolumes(const QList<Volume>& volumes, const QString& selectedRoot);

    QList<Volume> volumes_;
    QHash<QString, QString> directories_; // root path -> current directory
};

} // namespace tagwerk
