#include "stale_temporaries.h"

#include "atomic_file.h"
#include "naming.h"
#include "result_writer.h"

#include <QDir>
#include <QFile>
#include <QHash>

namespace kadrix::cli {
namespace {

// A partly written result of `format`: nothing yet, or the start of a file
// of that format.
bool looksLikePartialResult(const QString& path, ResultFormat format) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return hasSignature(resultFormat(format), file.read(signatureLength()), true);
}

} // namespace

bool isSaveTemporaryOf(const QString& fileName, const QString& resultName) {
    return isTemporaryOf(fileName, resultName);
}

QStringList removeStaleTemporaries(const std::vector<QString>& resultPaths) {
    QHash<QString, QStringList> namesByFolder;
    for (const QString& path : resultPaths)
        namesByFolder[folderPart(path)] << fileNamePart(path);
    QStringList removed;
    for (auto folder = namesByFolder.cbegin(); folder != namesByFolder.cend(); ++folder) {
        const QDir dir(folder.key());
        if (!dir.exists())
            continue;
        // The results by the prefix of their temporaries' names.
        QMultiHash<QString, QString> byPrefix;
        for (const QString& name : folder.value())
            byPrefix.insert(temporaryPrefix(name), name);
        const QStringList entries =
            dir.entryList({QStringLiteral(".kadrix-*.tmp")},
                          QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
        for (const QString& entry : entries) {
            const QString prefix = entry.left(entry.lastIndexOf(u'.', entry.size() - 5) + 1);
            const QString path = dir.filePath(entry);
            for (auto it = byPrefix.constFind(prefix); it != byPrefix.cend() && it.key() == prefix;
                 ++it) {
                if (isTemporaryOf(entry, *it) &&
                    looksLikePartialResult(path, resultFormatOf(*it)) && QFile::remove(path)) {
                    removed << path;
                    break;
                }
            }
        }
    }
    return removed;
}

} // namespace kadrix::cli
