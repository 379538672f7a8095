#include "bench/support/MountedImage.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace tagwerk::bench {

namespace {

bool Run(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

std::string Quoted(const std::string& path) {
    return "'" + path + "'";
}

std::string MakeFileSystem(const std::string& kind) {
    if (kind == "btrfs")
        return "mkfs.btrfs -q -f ";
    if (kind == "xfs")
        return "mkfs.xfs -q -f -m reflink=1 ";
    return "mkfs.ext4 -q -F ";
}

// Why no image of `kind` could be mounted at `mountPoint`, or nothing.
std::string MountImage(const std::string& kind, long mebibytes, const std::string& image,
                       const std::string& mountPoint) {
    if (::geteuid() != 0)
        return "not root";
    std::ofstream(image).close();
    std::error_code failed;
    std::filesystem::resize_file(image, std::uintmax_t(mebibytes) << 20, failed);
    std::filesystem::create_directory(mountPoint, failed);
    if (failed)
        return failed.message();
    if (!Run(MakeFileSystem(kind) + Quoted(image)))
        return "mkfs." + kind + " missing or failed";
    if (!Run("mount -o loop " + Quoted(image) + " " + Quoted(mountPoint)))
        return "no loop device or mount failed";
    return {};
}

} // namespace

MountedImage::MountedImage(const std::string& kind, long mebibytes)
    : work_(std::filesystem::temp_directory_path(), "tagwerk-image-") {
    const std::string mountPoint = work_.path() + "/mnt";
    const std::string why = MountImage(kind, mebibytes, work_.path() + "/image", mountPoint);
    mounted_ = why.empty();
    path_ = mounted_ ? mountPoint : work_.path();
    label_ = mounted_ ? kind : "tmp (no " + kind + " image: " + why + ")";
    if (!mounted_)
        std::fprintf(stderr, "No %s image (%s): measuring in %s instead.\n", kind.c_str(),
                     why.c_str(), path_.c_str());
}

// A mount still busy goes once its last user has let go of it.
MountedImage::~MountedImage() {
    if (mounted_ && !Run("umount " + Quoted(path_)))
        Run("umount -l " + Quoted(path_));
}

} // namespace tagwerk::bench
