// A file system of a given kind to measure on: an image file made and
// loop-mounted by the benchmark (which needs root, a free loop device and the
// file system's mkfs). Where one of them is missing it says so and lends a
// folder of the system's temporary folder instead, so that the benchmark
// still measures.
#pragma once

#include "bench/support/Measure.h"

#include <string>

namespace tagwerk::bench {

class MountedImage {
public:
    // `kind` is "ext4", "btrfs" or "xfs" (with shared extents); the image is
    // sparse and holds at most `mebibytes`.
    MountedImage(const std::string& kind, long mebibytes);
    ~MountedImage();
    MountedImage(const MountedImage&) = delete;
    MountedImage& operator=(const MountedImage&) = delete;

    // Where to work, without a slash at the end.
    const std::string& path() const { return path_; }
    // The kind, or what stands in for it: "ext4", or "tmp (no xfs image)".
    const std::string& label() const { return label_; }

private:
    WorkDirectory work_;
    std::string path_;
    std::string label_;
    bool mounted_ = false;
};

} // namespace tagwerk::bench
