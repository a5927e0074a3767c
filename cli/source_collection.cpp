#include "source_collection.h"

#include "file_filter.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace kadrix::cli {

QString combinedExtensionFilter(const QString& filterText) {
    for (const QString& description : FilterDescriptions(filterText))
        if (description.startsWith(QStringLiteral("Tous")))
            return description.toUpper();
    return {};
}

bool extensionAccepted(const QString& fileName, const QString& filter) {
    const qsizetype dot = fileName.lastIndexOf(u'.');
    if (dot < 0)
        return false;
    const QString extension = fileName.mid(dot).toUpper();
    return extension.size() > 1 && filter.contains(extension);
}

CollectedSources collectSources(const QStringList& arguments, const QString& filter) {
    CollectedSources collected;
    for (const QString& argument : arguments) {
        const QFileInfo info(argument);
        if (info.isDir()) {
            const QDir folder(argument);
            const QString prefix = QDir::cleanPath(info.absoluteFilePath()) + u'/';
            QSet<QString> seen;
            const QFileInfoList entries =
                folder.entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
            for (const QFileInfo& entry : entries) {
                const QString name = entry.fileName();
                if (!extensionAccepted(name, filter))
                    continue;
                const QString key = name.toCaseFolded();
                if (seen.contains(key))
                    continue;
                seen.insert(key);
                collected.files.push_back({prefix, name});
            }
        } else if (info.exists()) {
            collected.files.push_back(
                {QDir::cleanPath(info.absolutePath()) + u'/', info.fileName()});
        } else {
            collected.missing << argument;
        }
    }
    return collected;
}

} // namespace kadrix::cli
