#pragma once

#include <QString>

namespace kadrix {

// Paths handled by their own bytes (see native_name.h): Qt's QDir and
// QFileInfo decode a folder's name to U+FFFD where it is not UTF-8, and then
// reach another folder, or none.

// The working directory, every byte of its name kept ("" when it is gone).
QString currentFolder();
// `path` made absolute against currentFolder() and cleaned ("." and ".."
// taken away by their text, as QDir::cleanPath does).
QString absolutePath(const QString& path);
// Creates the folder and whichever of its parents are missing; true when it
// is a folder (or a link to one) at the end, else false with errno saying why.
bool makeFolders(const QString& folder);

// What stands at a path, the last part looked at without following a link
// except to tell what the link leads to.
enum class PathKind {
    None,   // nothing, not even a link
    File,   // a regular file, or a link to one or to nothing
    Folder, // a folder, or a link to one
    Stream, // a character device, a FIFO or a socket, or a link to one
    Other,  // a block device or another kind
};
PathKind pathKind(const QString& path);

} // namespace kadrix
