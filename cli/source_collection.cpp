#include "source_collection.h"

#include "file_filter.h"
#include "picture_registry.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <memory>
#include <optional>

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

NameRule pictureNameRule(const PictureRegistry& registry) {
    const QString withAll = combinedExtensionFilter(registry.filterTextAssuming(true));
    const QString withNone = combinedExtensionFilter(registry.filterTextAssuming(false));
    auto actual = std::make_shared<std::optional<QString>>();
    return [&registry, withAll, withNone, actual](const QString& fileName) {
        const bool all = extensionAccepted(fileName, withAll);
        const qsizetype dot = fileName.lastIndexOf(u'.');
        const QStringView extension = dot < 0 ? QStringView() : QStringView(fileName).mid(dot + 1);
        if (all == extensionAccepted(fileName, withNone) &&
            std::all_of(extension.begin(), extension.end(),
                        [](QChar c) { return c.isLetterOrNumber(); }))
            return all;
        if (!*actual)
            *actual = combinedExtensionFilter(registry.filterText());
        return extensionAccepted(fileName, **actual);
    };
}

namespace {

class FolderWalker {
public:
    FolderWalker(const NameRule& accepted, const FolderWalk& walk, CollectedSources& collected)
        : accepted_(accepted), walk_(walk), collected_(collected),
          excludedCanonical_(
              walk.excluded.isEmpty() ? QString() : QFileInfo(walk.excluded).canonicalFilePath()) {}

    void walk(const QString& folder, const QString& subFolder) {
        const QFileInfo info(folder);
        const QString canonical = info.canonicalFilePath();
        if (walk_.recursive && (canonical.isEmpty() || visited_.contains(canonical)))
            return;
        visited_.insert(canonical);
        const QDir dir(folder);
        const QString prefix = QDir::cleanPath(info.absoluteFilePath()) + u'/';
        QSet<QString> seen;
        const QFileInfoList entries =
            dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
        for (const QFileInfo& entry : entries) {
            const QString name = entry.fileName();
            if (!accepted_(name))
                continue;
            const QString key = name.toCaseFolded();
            if (seen.contains(key))
                continue;
            seen.insert(key);
            collected_.files.push_back({prefix, name, subFolder});
        }
        if (!walk_.recursive)
            return;
        const QFileInfoList folders =
            dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
        for (const QFileInfo& sub : folders) {
            if (isResultFolder(sub))
                continue;
            walk(sub.filePath(), subFolder + sub.fileName() + u'/');
        }
    }

private:
    bool isResultFolder(const QFileInfo& folder) const {
        if (folder.fileName() == QLatin1StringView(DefaultResultFolder))
            return true;
        if (walk_.excluded.isEmpty())
            return false;
        return QDir::cleanPath(folder.absoluteFilePath()) == walk_.excluded ||
               (!excludedCanonical_.isEmpty() && folder.canonicalFilePath() == excludedCanonical_);
    }

    const NameRule& accepted_;
    const FolderWalk& walk_;
    CollectedSources& collected_;
    QSet<QString> visited_;
    QString excludedCanonical_; // "" while --out does not exist
};

} // namespace

CollectedSources collectSources(const QStringList& arguments, const NameRule& accepted,
                                const FolderWalk& walk) {
    CollectedSources collected;
    for (const QString& argument : arguments) {
        const QFileInfo info(argument);
        if (info.isDir()) {
            FolderWalker(accepted, walk, collected).walk(argument, QString());
        } else if (info.exists()) {
            collected.files.push_back(
                {QDir::cleanPath(info.absolutePath()) + u'/', info.fileName(), QString()});
        } else {
            collected.missing << argument;
        }
    }
    return collected;
}

} // namespace kadrix::cli
