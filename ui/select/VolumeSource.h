#pragma once
// The drives the selection windows offer: the mounted volumes of the system,
// or whatever a test puts in their place.
#include <QList>
#include <QString>
#include <memory>

namespace tagwerk {

struct Volume {
    QString rootPath; // ends in the separator, like every root directory
    QString name;     // the volume's label, empty where it has none
};

// The text a drive selector shows for a volume: its root, and its label in
// brackets where it has one ("/media/stick/ [URLAUB]").
QString DriveText(const Volume& volume);

// The volume that holds a directory: the one with the longest root that the
// directory lies in; -1 if none does.
int VolumeIndexOf(const QList<Volume>& volumes, const QString& directory);

class VolumeSource {
public:
    virtual ~VolumeSource() = default;
    // The volumes in a stable order.
    virtual QList<Volume> volumes() const = 0;
    // Whether the volume can be listed right now (still mounted, ready, readable).
    virtual bool isReadable(const Volume& volume) const = 0;

    // The source the drive selectors use: the system's unless one was installed.
    static const VolumeSource& current();
    static void install(std::unique_ptr<VolumeSource> source);
};

// The mounted volumes as the system reports them, ordered by root path.
class SystemVolumeSource : public VolumeSource {
public:
    QList<Volume> volumes() const override;
    bool isReadable(const Volume& volume) const override;
};

} // namespace tagwerk
