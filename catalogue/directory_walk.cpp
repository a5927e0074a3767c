#include "directory_walk.h"

namespace kadrix {

FolderWalk::FolderWalk(const QString& folder) : folder_(folder) {}

std::optional<DirectoryEntry> FolderWalk::next() {
    while (std::optional<NativeEntry> entry = folder_.next()) {
        // A link leading to a pipe or a device is no picture to read either.
        if (entry->regular)
            return DirectoryEntry{entry->name, entry->size};
    }
    return std::nullopt;
}

} // namespace kadrix
