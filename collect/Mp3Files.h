#pragma once
// The MP3 files that folders and command-line arguments give, in the order
// the selection windows list them. Paths are bytes as the file system spells
// them, whether or not they are valid UTF-8.
#include <string>
#include <vector>

namespace tagwerk {

// A path that could not be taken, and the errno value that says why.
struct UnreadablePath {
    std::string path;
    int error = 0;
};

struct CollectedFiles {
    std::vector<std::string> files;
    std::vector<UnreadablePath> unreadable;
};

// The "*.mp3" files (extension in any case) of `folder` and its subfolders:
// the folder's own files first, then each subfolder in turn the same way,
// both in German order without regard to case. Hidden files and folders
// (name starting with ".") are left out; a symbolic link counts as the file
// it names, but a folder it names is not walked. A folder that cannot be
// opened or read (it vanished, or lacks permission) is left out and listed
// as unreadable, `folder` itself included.
CollectedFiles Mp3FilesOf(const std::string& folder);

// The files that command-line arguments name, in their order: a file is
// taken whatever its extension, a folder gives its files as Mp3FilesOf does.
// A path that does not exist or cannot be read is listed as unreadable. A
// path that comes up twice is taken once.
CollectedFiles FilesOfArguments(const std::vector<std::string>& arguments);

} // namespace tagwerk
