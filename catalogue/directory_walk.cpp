#include "directory_walk.h"

namespace kadrix {

FolderWalk::FolderWalk(const QString& folder)
    : iterator_(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::NoIteratorFlags) {}

std::optional<DirectoryEntry> FolderWalk::next() {
    if (!iterator_.hasNext())
        return std::nullopt;
    iterator_.next();
    const QFileInfo info = iterator_.fileInfo();
    return DirectoryEntry{info.fileName(), info.size()};
}

} // namespace kadrix
