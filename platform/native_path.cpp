#include "native_path.h"

#include "native_name.h"

#include <QDir>

#include <cerrno>
#include <climits>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace kadrix {

QString currentFolder() {
    std::vector<char> buffer(PATH_MAX);
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE)
            return {};
        buffer.resize(buffer.size() * 2);
    }
    return nameFromNative(QByteArray(buffer.data()));
}

QString absolutePath(const QString& path) {
    if (path.startsWith(u'/'))
        return QDir::cleanPath(path);
    return QDir::cleanPath(currentFolder() + u'/' + path);
}

bool makeFolders(const QString& folder) {
    const QString path = absolutePath(folder);
    const QByteArray name = nativeName(path);
    // What stands there at the end must be a folder.
    const auto isFolder = [&] {
        struct stat info {};
        if (::stat(name.constData(), &info) != 0)
            return false;
        if (!S_ISDIR(info.st_mode))
            errno = ENOTDIR;
        return S_ISDIR(info.st_mode);
    };
    if (isFolder())
        return true;
    if (errno != ENOENT) // something else stands there, or cannot be reached
        return false;
    const qsizetype slash = path.lastIndexOf(u'/');
    if (slash > 0 && !makeFolders(path.left(slash)))
        return false;
    if (::mkdir(name.constData(), 0777) != 0 && errno != EEXIST)
        return false;
    return isFolder();
}

PathKind pathKind(const QString& path) {
    const QByteArray name = nativeName(path);
    struct stat info {};
    if (::lstat(name.constData(), &info) != 0)
        return PathKind::None;
    if (S_ISLNK(info.st_mode) && ::stat(name.constData(), &info) != 0)
        return PathKind::File; // a dangling link is replaced itself
    if (S_ISREG(info.st_mode) || S_ISLNK(info.st_mode))
        return PathKind::File;
    if (S_ISDIR(info.st_mode))
        return PathKind::Folder;
    if (S_ISCHR(info.st_mode) || S_ISFIFO(info.st_mode) || S_ISSOCK(info.st_mode))
        return PathKind::Stream;
    return PathKind::Other;
}

} // namespace kadrix
