#pragma once

#include <QString>

#include <optional>
#include <vector>

#include <dirent.h>

namespace kadrix {

// One entry of a folder as the file system lists it. The name keeps every
// byte (see native_name.h), so two names that differ only in bytes that are
// not UTF-8 stay two.
struct NativeEntry {
    QString name;
    bool folder = false;  // a folder, or a link to one
    bool regular = false; // a regular file, or a link to one
    qint64 size = 0;      // of a regular file
};

// The entries of one folder, "." and ".." left out, one at a time, in the
// order the file system lists them.
class NativeFolder {
public:
    explicit NativeFolder(const QString& folder);
    ~NativeFolder();
    NativeFolder(const NativeFolder&) = delete;
    NativeFolder& operator=(const NativeFolder&) = delete;

    // Nothing at the end, or when the folder cannot be read.
    std::optional<NativeEntry> next();

private:
    DIR* dir_;
};

// Every entry of the folder, sorted by name (by character codes, not by
// locale); nothing when it cannot be read.
std::vector<NativeEntry> sortedFolder(const QString& folder);

} // namespace kadrix
