#include "directory_walk.h"

namespace kadrix {

// Without QDir::System the listing leaves out pipes, sockets, devices and
// dangling links.
FolderWalk::FolderWalk(const QString& folder)
    : iterator_(folder, QDir::Files | QDir::Hidden, QDirIterator::NoIteratorFlags) {}

std::optional<DirectoryEntry> FolderWalk::next() {
    while (iterator_.hasNext()) {
        iterator_.next();
        const QFileInfo info = iterator_.fileInfo();
        // A link still passes the listing's filter when it leads to a pipe or
        // a device; only regular files, linked or not, are pictures to read.
        if (info.isFile())
            return DirectoryEntry{info.fileName(), info.size()};
    }
    return std::nullopt;
}

} // namespace kadrix
