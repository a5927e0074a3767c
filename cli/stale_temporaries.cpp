#include "stale_temporaries.h"

#include "naming.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QSet>

namespace kadrix::cli {
namespace {

// The length of the random part Qt puts after the result's name.
constexpr qsizetype RandomLength = 6;

bool isAsciiAlphanumeric(QChar c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
}

// The result name a temporary's file name stands for, "" when it is none.
QString resultNameOf(const QString& fileName) {
    const qsizetype dot = fileName.size() - RandomLength - 1;
    if (dot < 1 || fileName[dot] != u'.')
        return {};
    for (qsizetype i = dot + 1; i < fileName.size(); ++i)
        if (!isAsciiAlphanumeric(fileName[i]))
            return {};
    return fileName.left(dot);
}

// A partly written result: nothing yet, or the start of a BMP or JPEG file.
bool looksLikePartialResult(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(2);
    return head.isEmpty() || head == "BM" || head == "\xFF\xD8";
}

} // namespace

bool isSaveTemporaryOf(const QString& fileName, const QString& resultName) {
    return !resultName.isEmpty() && resultNameOf(fileName) == resultName;
}

QStringList removeStaleTemporaries(const std::vector<QString>& resultPaths) {
    QHash<QString, QSet<QString>> namesByFolder;
    for (const QString& path : resultPaths)
        namesByFolder[folderPart(path)].insert(fileNamePart(path));
    QStringList removed;
    for (auto folder = namesByFolder.cbegin(); folder != namesByFolder.cend(); ++folder) {
        const QDir dir(folder.key());
        if (!dir.exists())
            continue;
        const QStringList entries =
            dir.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
        for (const QString& entry : entries) {
            const QString resultName = resultNameOf(entry);
            if (resultName.isEmpty() || !folder.value().contains(resultName))
                continue;
            const QString path = dir.filePath(entry);
            if (looksLikePartialResult(path) && QFile::remove(path))
                removed << path;
        }
    }
    return removed;
}

} // namespace kadrix::cli
