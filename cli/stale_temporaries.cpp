#include "stale_temporaries.h"

#include "atomic_file.h"
#include "naming.h"
#include "result_writer.h"

#include "native_folder.h"
#include "native_name.h"

#include <QFile>
#include <QHash>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace kadrix::cli {
namespace {

// Removes the temporary at `path` when it is a partly written result of
// `format` (nothing yet, or the start of a file of that format) that no
// live process holds: its writer keeps a lock on it, and it is removed
// under this run's own lock.
bool removeLeftover(const QString& path, ResultFormat format) {
    const QByteArray name = nativeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
           hasSignature(resultFormat(format), file.read(signatureLength()), true) &&
           ::unlink(name.constData()) == 0;
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
        // The results by the prefix of their temporaries' names.
        QMultiHash<QString, QString> byPrefix;
        for (const QString& name : folder.value())
            byPrefix.insert(temporaryPrefix(name), name);
        // Read by the names' own bytes: a folder or a result whose name is
        // not UTF-8 has its temporaries found too.
        for (const NativeEntry& found : sortedFolder(folder.key())) {
            const QString& entry = found.name;
            if (!found.regular || !entry.startsWith(u".kadrix-") || !entry.endsWith(u".tmp"))
                continue;
            const QString prefix = entry.left(entry.lastIndexOf(u'.', entry.size() - 5) + 1);
            const QString path = folder.key() + entry;
            for (auto it = byPrefix.constFind(prefix); it != byPrefix.cend() && it.key() == prefix;
                 ++it) {
                if (isTemporaryOf(entry, *it) && removeLeftover(path, resultFormatOf(*it))) {
                    removed << path;
                    break;
                }
            }
        }
    }
    return removed;
}

} // namespace kadrix::cli
