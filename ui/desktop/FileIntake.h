#pragma once
// Files that come from outside the program's own windows: from the command
// line, from a second start, or dropped from a file manager.
#include <QByteArrayList>
#include <QStringList>
#include <functional>

class QDropEvent;
class QMimeData;
class QWidget;

namespace tagwerk {

class FileListBox;

// Paths typed relative to the current folder, made absolute and plain
// ("a/./b" is "a/b", "a/link/../b" the b beside where the link leads), so
// that the list holds full paths.
QByteArrayList AbsolutePaths(const QByteArrayList& paths);

// The files the paths give, as the program spells paths: a file as it is,
// whatever its name; a folder its MP3 files and those of its subfolders.
// Paths that are not there or cannot be read go to `unreadable`.
QStringList FilesOf(const QByteArrayList& paths, QStringList* unreadable);

// Adds the files to the main window's list as soon as the main window is
// shown and free (no question waiting, no run going), brings the window to
// the front (restored if minimised), selects the first file, listed before
// or not, and opens it as a double-click would, and names in one notice
// what could not be read.
void TakeInFiles(const QByteArrayList& paths);

// The local files and folders a drag carries, as the file system spells
// them; empty when it carries none (web links, text).
QByteArrayList DroppedPaths(const QMimeData& data);

// Lets files and folders be dropped on the main window, anywhere on it.
void AcceptDropsOnMainWindow(QWidget& window);
// Lets files and folders be dropped on a list of files to open, which adds
// them as its own add command does; `countChanged` then shows its count.
void AcceptDropsOnList(FileListBox& list, const std::function<void()>& countChanged);

} // namespace tagwerk
