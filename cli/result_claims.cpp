#include "result_claims.h"

#include "native_folder.h"
#include "native_name.h"
#include "native_path.h"

#include <QDir>
#include <QHash>

#include <sys/stat.h>

namespace kadrix::cli {
namespace {

QString swappedCase(const QString& name) {
    QString swapped = name;
    for (QChar& c : swapped)
        c = c.isUpper() ? c.toLower() : c.toUpper();
    return swapped;
}

// Whether both paths name the one file.
bool sameFile(const QString& a, const QString& b) {
    struct stat first {};
    struct stat second {};
    return ::lstat(nativeName(a).constData(), &first) == 0 &&
           ::lstat(nativeName(b).constData(), &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

} // namespace

std::vector<qsizetype> firstClaims(const std::vector<QString>& resultPaths,
                                   const LetterCaseRule& ignoresCase) {
    std::vector<qsizetype> claims(resultPaths.size());
    QHash<QString, qsizetype> first;
    QHash<QString, bool> folderIgnoresCase;
    first.reserve(qsizetype(resultPaths.size()));
    for (std::size_t position = 0; position < resultPaths.size(); ++position) {
        QString key = resultPaths[position];
        if (ignoresCase) {
            const qsizetype slash = key.lastIndexOf(u'/') + 1;
            const QString folder = key.left(slash);
            auto known = folderIgnoresCase.constFind(folder);
            if (known == folderIgnoresCase.cend())
                known = folderIgnoresCase.insert(folder, ignoresCase(folder));
            if (*known)
                key = folder + key.mid(slash).toCaseFolded();
        }
        auto claim = first.constFind(key);
        if (claim == first.cend())
            claim = first.insert(key, qsizetype(position));
        claims[position] = *claim;
    }
    return claims;
}

bool folderIgnoresLetterCase(const QString& folder) {
    // The nearest folder that exists: results are written into folders
    // created on the same file system.
    QString path = absolutePath(folder);
    struct stat info {};
    while (::stat(nativeName(path).constData(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        const qsizetype slash = path.lastIndexOf(u'/');
        if (slash <= 0)
            return false;
        path.truncate(slash);
    }
    NativeFolder listing(path);
    while (const std::optional<NativeEntry> entry = listing.next()) {
        const QString swapped = swappedCase(entry->name);
        if (swapped != entry->name)
            return sameFile(path + u'/' + entry->name, path + u'/' + swapped);
    }
    // No entry to ask: the folder's own name in its parent.
    const qsizetype slash = path.lastIndexOf(u'/');
    const QString own = path.mid(slash + 1);
    if (slash <= 0 || swappedCase(own) == own)
        return false;
    return sameFile(path, path.left(slash + 1) + swappedCase(own));
}

} // namespace kadrix::cli
