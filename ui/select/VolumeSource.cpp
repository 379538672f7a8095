#include "ui/select/VolumeSource.h"

#include "core/PathText.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>
#include <algorithm>

namespace tagwerk {

namespace {

const QChar kSeparator(kPathSeparator);

QString WithSeparator(const QString& path) {
    return path.endsWith(kSeparator) ? path : path + kSeparator;
}

std::unique_ptr<VolumeSource>& InstalledSource() {
    static std::unique_ptr<VolumeSource> source;
    return source;
}

} // namespace

QString DriveText(const Volume& volume) {
    if (volume.name.isEmpty())
        return volume.rootPath;
    return volume.rootPath + " [" + volume.name + "]";
}

int VolumeIndexOf(const QList<Volume>& volumes, const QString& directory) {
    const QString inside = WithSeparator(directory);
    int best = -1;
    for (int i = 0; i < volumes.size(); ++i) {
        const QString& root = volumes[i].rootPath;
        if (inside.startsWith(root) && (best < 0 || root.size() > volumes[best].rootPath.size()))
            best = i;
    }
    return best;
}

const VolumeSource& VolumeSource::current() {
    static const SystemVolumeSource system;
    if (const auto& installed = InstalledSource())
        return *installed;
    return system;
}

void VolumeSource::install(std::unique_ptr<VolumeSource> source) {
    InstalledSource() = std::move(source);
}

QList<Volume> SystemVolumeSource::volumes() const {
    QList<Volume> volumes;
    for (const QStorageInfo& storage : QStorageInfo::mountedVolumes()) {
        // Single files mounted into place (as containers do) are no drives.
        if (!storage.isValid() || !QFileInfo(storage.rootPath()).isDir())
            continue;
        const QString root = WithSeparator(storage.rootPath());
        const bool known = std::any_of(volumes.cbegin(), volumes.cend(),
                                       [&](const Volume& v) { return v.rootPath == root; });
        if (!known)
            volumes.append({root, storage.name()});
    }
    std::sort(volumes.begin(), volumes.end(),
              [](const Volume& a, const Volume& b) { return a.rootPath < b.rootPath; });
    return volumes;
}

bool SystemVolumeSource::isReadable(const Volume& volume) const {
    // A volume that was unmounted leaves its directory to the volume below it.
    const QStorageInfo storage(volume.rootPath);
    return storage.isValid() && storage.isReady() &&
           WithSeparator(storage.rootPath()) == volume.rootPath &&
           QDir(volume.rootPath).isReadable();
}

} // namespace tagwerk
