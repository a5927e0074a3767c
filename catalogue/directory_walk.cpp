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

FolderWalk::FolderWalk(const QString& folder) {
    NativeFolder listing(folder);
    while (std::optional<NativeEntry> entry = listing.next()) {
        // A link leading to a pipe or a device is no picture to read either.
        if (entry->regular)
            entries_.push_back(DirectoryEntry{entry->name, entry->size});
    }
    std::sort(entries_.begin(), entries_.end(), nameBefore);
}

std::optional<DirectoryEntry> FolderWalk::next() {
    if (next_ >= entries_.size())
        return std::nullopt;
    return entries_[next_++];
}

} // namespace kadrix
