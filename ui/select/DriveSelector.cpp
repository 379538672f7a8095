#include "ui/select/DriveSelector.h"

#include "ui/select/DirectoryListing.h"

#include <QSignalBlocker>
#include <algorithm>

namespace tagwerk {

DriveSelector::DriveSelector(const QString& startDirectory, QWidget* parent) : QComboBox(parent) {
    const QList<Volume> volumes = VolumeSource::current().volumes();
    const int start = VolumeIndexOf(volumes, startDirectory);
    listVolumes(volumes, start < 0 ? QString() : volumes[start].rootPath);
    if (start >= 0)
        setCurrentDirectory(startDirectory);
    connect(this, &QComboBox::currentIndexChanged, this, &DriveSelector::driveChanged);
}

Volume DriveSelector::volume() const {
    const int index = currentIndex();
    return index < 0 ? Volume{} : volumes_[index];
}

bool DriveSelector::isReadable() const {
    return currentIndex() >= 0 && VolumeSource::current().isReadable(volume());
}

void DriveSelector::setDrive(const QString& rootPath) {
    const QSignalBlocker quiet(this);
    const auto found = std::find_if(volumes_.cbegin(), volumes_.cend(),
                                    [&](const Volume& v) { return v.rootPath == rootPath; });
    setCurrentIndex(found == volumes_.cend() ? -1 : int(found - volumes_.cbegin()));
}

QString DriveSelector::currentDirectory() const {
    const QString root = volume().rootPath;
    return NearestExistingDirectory(directories_.value(root, root), root);
}

void DriveSelector::setCurrentDirectory(const QString& directory) {
    directories_.insert(volume().rootPath, directory);
}

void DriveSelector::showPopup() {
    QList<Volume> volumes = VolumeSource::current().volumes();
    const Volume chosen = volume();
    // The chosen drive stays on offer even when it is gone, until another is chosen.
    const bool offered = std::any_of(volumes.cbegin(), volumes.cend(), [&](const Volume& v) {
        return v.rootPath == chosen.rootPath;
    });
    if (currentIndex() >= 0 && !offered)
        volumes.append(chosen);
    listVolumes(volumes, chosen.rootPath);
    QComboBox::showPopup();
}

void DriveSelector::listVolumes(const QList<Volume>& volumes, const QString& selectedRoot) {
    const QSignalBlocker quiet(this);
    volumes_ = volumes;
    clear();
    int selected = -1;
    for (int i = 0; i < volumes_.size(); ++i) {
        addItem(DriveText(volumes_[i]));
        if (volumes_[i].rootPath == selectedRoot)
            selected = i;
    }
    setCurrentIndex(selected);
}

} // namespace tagwerk
