#include "result_claims.h"

#include "native_name.h"

#include <QDir>
#include <QFileInfo>
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
    struct stat first {
    }, second{};
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
    QDir dir(folder);
    while (!dir.exists() && !dir.isRoot())
        if (!dir.cdUp())
            return false;
    for (const QString& name :
         dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        const QString swapped = swappedCase(name);
        if (swapped != name && !name.contains(QChar::ReplacementCharacter))
            return sameFile(dir.filePath(name), dir.filePath(swapped));
    }
    // No entry to ask: the folder's own name in its parent.
    const QString path = dir.absolutePath();
    const qsizetype slash = path.lastIndexOf(u'/');
    const QString own = path.mid(slash + 1);
    if (slash <= 0 || swappedCase(own) == own)
        return false;
    return sameFile(path, path.left(slash + 1) + swappedCase(own));
}

} // namespace kadrix::cli
