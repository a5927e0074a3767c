#pragma once

#include "native_folder.h"

#include <QString>

#include <optional>
#include <vector>

namespace kadrix {

// One entry of a directory listing: its name and size as the listing gives
// them, without opening the file.
struct DirectoryEntry {
    QString name;
    qint64 size = 0;
};

// The non-directory entries of one folder, one at a time.
class DirectoryWalk {
public:
    virtual ~DirectoryWalk() = default;
    // The next entry; nothing at the end, or once the folder cannot be read
    // any more (it was removed, its rights changed).
    virtual std::optional<DirectoryEntry> next() = 0;
};

// Walks a folder of the file system without entering sub-folders: every
// regular file and link to one, hidden files included, sorted by name
// without regard to letter case, then by the exact name (the file system's
// own order is a hash order on many of them, which would scramble the list
// and the results' numbers). The listing is read when the walk is made.
// Pipes, sockets, devices and dangling links are left out. Names keep the
// file system's bytes, those that are not UTF-8 among them (see native_name.h).
class FolderWalk final : public DirectoryWalk {
public:
    explicit FolderWalk(const QString& folder);
    std::optional<DirectoryEntry> next() override;

private:
    std::vector<DirectoryEntry> entries_;
    size_t next_ = 0;
};

} // namespace kadrix
