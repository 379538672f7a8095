#pragma once
// Part of the file layer (core/FileIo.h): a file that grows by appending
// through a shared memory mapping. Appended bytes are in the kernel's page
// cache at once, so a program killed right after loses none of them, and no
// system call is made per piece. Disk space is reserved ahead of what is
// appended, so that writing into the mapping never meets a full disk (which
// would end the program with SIGBUS): a reservation that fails is an error of
// append() instead. Zeros follow the appended bytes until the mapping ends.
#include "core/FileIo.h"

#include <cstddef>
#include <string_view>

namespace tagwerk {

class AppendMapping {
public:
    // Takes over an empty file opened for writing.
    explicit AppendMapping(File file) : file_(std::move(file)) {}
    AppendMapping(const AppendMapping&) = delete;
    AppendMapping& operator=(const AppendMapping&) = delete;
    // Cuts the file back to the bytes appended and closes it.
    ~AppendMapping();

    FileError append(std::string_view bytes);
    // Writes the bytes appended so far to the disk.
    FileError sync();

private:
    FileError reserve(std::size_t length);

    File file_;
    unsigned char* mapping_ = nullptr;
    std::size_t capacity_ = 0;
    std::size_t length_ = 0;
    std::size_t writtenBehind_ = 0; // the disk was asked to write this much
};

} // namespace tagwerk
