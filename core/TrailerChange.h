#pragma once
// What a trailer operation is about to do to a file, told before it does it,
// so that the change can be recorded and later taken back.
#include "core/FileIo.h"
#include "core/TagTrailer.h"

#include <cstdint>
#include <string>

namespace tagwerk {

// As much of a file as a trailer change touches: its length and its last
// min(length, 128) bytes, which stand at the start of `tail` (zeros after).
struct FileState {
    std::int64_t length = 0;
    TagTrailer tail{};

    bool operator==(const FileState&) const = default;
};

struct FileStateResult {
    FileState state;
    FileError error = FileError::none;
};
// Reads the state of an open file of `length` bytes.
FileStateResult ReadFileState(const File& file, std::int64_t length);

// Told by the operations that change a file (WriteTagTrailer, RemoveTagTrailer,
// BlankTagTrailer, WriteTagFromName) once they have read the file and know
// exactly how they will leave it, right before they change it. The change may
// still fail afterwards, leaving the file in `before`. `nameIsLink` is false
// only where the operation found that the path's last part is no symbolic
// link.
class TrailerChangeObserver {
public:
    virtual void aboutToChange(const std::string& path, const FileState& before,
                               const FileState& after, bool nameIsLink) = 0;

protected:
    ~TrailerChangeObserver() = default;
};

} // namespace tagwerk
