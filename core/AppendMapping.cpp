#include "core/AppendMapping.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace tagwerk {

namespace {

// Small, so that a short action reserves little; doubled as the file grows.
constexpr std::size_t kFirstReservation = std::size_t{16} << 10;
// Whenever this much more was appended, the disk is asked to start writing
// it, so that sync() has little left to wait for.
constexpr std::size_t kWriteBehind = std::size_t{1} << 20;

} // namespace

AppendMapping::~AppendMapping() {
    if (mapping_ != nullptr) {
        ::munmap(mapping_, capacity_);
        (void)file_.truncate(static_cast<std::int64_t>(length_));
    }
}

FileError AppendMapping::append(std::string_view bytes) {
    if (length_ + bytes.size() > capacity_) {
        if (FileError error = reserve(length_ + bytes.size()); error != FileError::none) {
            return error;
        }
    }
    std::memcpy(mapping_ + length_, bytes.data(), bytes.size());
    length_ += bytes.size();
    if (length_ - writtenBehind_ >= kWriteBehind) {
        (void)::sync_file_range(file_.descriptor_, static_cast<off_t>(writtenBehind_),
                                static_cast<off_t>(length_ - writtenBehind_),
                                SYNC_FILE_RANGE_WRITE);
        writtenBehind_ = length_;
        // The whole pages behind stay in the page cache, bound for the disk;
        // taken out of the mapping they no longer count as this program's
        // memory, which so stays flat however long the action runs.
        const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
        (void)::madvise(mapping_, length_ / page * page, MADV_DONTNEED);
    }
    return FileError::none;
}

FileError AppendMapping::sync() {
    return ::msync(mapping_, length_, MS_SYNC) == 0 ? FileError::none : FileErrorFromErrno(errno);
}

FileError AppendMapping::reserve(std::size_t length) {
    const std::size_t capacity = std::max({length, 2 * capacity_, kFirstReservation});
    if (int error = ::posix_fallocate(file_.descriptor_, 0, static_cast<off_t>(capacity));
        error != 0) {
        return FileErrorFromErrno(error);
    }
    void* mapping =
        ::mmap(nullptr, capacity, PROT_READ | PROT_WRITE, MAP_SHARED, file_.descriptor_, 0);
    if (mapping == MAP_FAILED) {
        return FileErrorFromErrno(errno);
    }
    if (mapping_ != nullptr) {
        ::munmap(mapping_, capacity_);
    }
    mapping_ = static_cast<unsigned char*>(mapping);
    capacity_ = capacity;
    return FileError::none;
}

} // namespace tagwerk
