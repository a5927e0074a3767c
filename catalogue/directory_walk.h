#pragma once

#include "native_folder.h"

#include <QString>

#include <optional>

namespace kadrix {

// One entry of a directory listing: its name and size as the listing gives
// them, without opening the file.
struct DirectoryEntry {
    QString name;
    qint64 size = 0;
};

// The non-directory entries of one folder, one at a time, in the order the
// file system lists them.
class DirectoryWalk {
public:
    virtual ~DirectoryWalk() = default;
    // The next entry; nothing at the end, or once the folder cannot be read
    // any more (it was removed, its rights changed).
    virtual std::optional<DirectoryEntry> next() = 0;
};

// Walks a folder of the file system without entering sub-folders: every
// regular file and link to one, hidden files included, unsorted. Pipes,
// sockets, devices and dangling links are left out. Names keep the file
// system's bytes, those that are not UTF-8 among them (see native_name.h).
class FolderWalk final : public DirectoryWalk {
public:
    explicit FolderWalk(const QString& folder);
    std::optional<DirectoryEntry> next() override;

private:
    NativeFolder folder_;
};

} // namespace kadrix
