#include "directory_walk.h"

#include <algorithm>

namespace kadrix {

namespace {

// Names in order regardless of letter case; names equal but for it keep a
// fixed order, by their exact characters.
bool nameBefore(const DirectoryEntry& a, const DirectoryEntry& b) {
    const int folded = a.name.compare(b.name, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : a.name < b.name;
}

} // namespace

// Without QDir::System the listing leaves out pipes, sockets, devices and
// dangling links.
FolderWalk::FolderWalk(const QString& folder) {
    QDirIterator iterator(folder, QDir::Files | QDir::Hidden, QDirIterator::NoIteratorFlags);
    while (iterator.hasNext()) {
        iterator.next();
        const QFileInfo info = iterator.fileInfo();
        // A link still passes the listing's filter when it leads to a pipe or
        // a device; only regular files, linked or not, are pictures to read.
        if (info.isFile())
            entries_.push_back(DirectoryEntry{info.fileName(), info.size()});
    }
    std::sort(entries_.begin(), entries_.end(), nameBefore);
}

std::optional<DirectoryEntry> FolderWalk::next() {
    if (next_ >= entries_.size())
        return std::nullopt;
    return entries_[next_++];
}

} // namespace kadrix
