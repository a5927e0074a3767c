#include "native_folder.h"

#include "native_name.h"

#include <algorithm>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>

namespace kadrix {

NativeFolder::NativeFolder(const QString& folder)
    : dir_(::opendir(nativeName(folder).constData())) {}

NativeFolder::~NativeFolder() {
    if (dir_)
        ::closedir(dir_);
}

std::optional<NativeEntry> NativeFolder::next() {
    if (!dir_)
        return std::nullopt;
    while (const dirent* entry = ::readdir(dir_)) {
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
            continue;
        NativeEntry found;
        found.name = nameFromNative(QByteArray(entry->d_name));
        struct stat info {};
        if (::fstatat(::dirfd(dir_), entry->d_name, &info, 0) == 0) { // links followed
            found.folder = S_ISDIR(info.st_mode);
            found.regular = S_ISREG(info.st_mode);
            found.size = found.regular ? qint64(info.st_size) : 0;
        }
        return found;
    }
    return std::nullopt;
}

std::vector<NativeEntry> sortedFolder(const QString& folder) {
    std::vector<NativeEntry> entries;
    NativeFolder listing(folder);
    while (std::optional<NativeEntry> entry = listing.next())
        entries.push_back(std::move(*entry));
    std::sort(entries.begin(), entries.end(),
              [](const NativeEntry& a, const NativeEntry& b) { return a.name < b.name; });
    return entries;
}

} // namespace kadrix
