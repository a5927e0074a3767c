#include "source_collection.h"

#include "file_filter.h"
#include "native_folder.h"
#include "native_name.h"
#include "native_path.h"
#include "picture_registry.h"

#include <QDir>
#include <QSet>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <optional>

#include <sys/stat.h>

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

// The canonical path of a folder, every byte of its name kept; "" when it
// cannot be resolved.
QString canonicalFolder(const QString& folder) {
    char* resolved = ::realpath(nativeName(folder).constData(), nullptr);
    if (!resolved)
        return {};
    const QString path = nameFromNative(QByteArray(resolved));
    std::free(resolved);
    return path;
}

class FolderWalker {
public:
    FolderWalker(const NameRule& accepted, const FolderWalk& walk, CollectedSources& collected)
        : accepted_(accepted), walk_(walk), collected_(collected),
          excludedCanonical_(walk.excluded.isEmpty() ? QString() : canonicalFolder(walk.excluded)) {
    }

    // Read with the file system's own bytes: a name that is not UTF-8 is
    // kept as it is, and names differing only in letter case are two files.
    void walk(const QString& folder, const QString& subFolder) {
        const QString canonical = canonicalFolder(folder);
        if (walk_.recursive && (canonical.isEmpty() || visited_.contains(canonical)))
            return;
        visited_.insert(canonical);
        const QString prefix = absolutePath(folder) + u'/';
        const std::vector<NativeEntry> entries = sortedFolder(folder);
        for (const NativeEntry& entry : entries)
            if (!entry.folder && accepted_(entry.name))
                collected_.files.push_back({prefix, entry.name, subFolder});
        if (!walk_.recursive)
            return;
        for (const NativeEntry& entry : entries) {
            if (!entry.folder || isResultFolder(prefix + entry.name, entry.name))
                continue;
            walk(prefix + entry.name, subFolder + entry.name + u'/');
        }
    }

private:
    bool isResultFolder(const QString& path, const QString& name) const {
        if (name == QLatin1StringView(DefaultResultFolder))
            return true;
        if (walk_.excluded.isEmpty())
            return false;
        const bool excluded =
            QDir::cleanPath(path) == walk_.excluded ||
            (!excludedCanonical_.isEmpty() && canonicalFolder(path) == excludedCanonical_);
        if (excluded && collected_.excludedReached.isEmpty())
            collected_.excludedReached = path;
        return excluded;
    }

    const NameRule& accepted_;
    const FolderWalk& walk_;
    CollectedSources& collected_;
    QSet<QString> visited_;
    QString excludedCanonical_; // "" while --out does not exist
};

} // namespace

FolderPlace placeOfFolder(const QString& folder, const QString& source) {
    struct stat info {};
    if (::stat(nativeName(source).constData(), &info) != 0 || !S_ISDIR(info.st_mode))
        return FolderPlace::Apart;
    const QString top = canonicalFolder(source);
    // The nearest existing folder resolved, then the parts not made yet.
    QString existing = absolutePath(folder);
    QString rest;
    QString resolved = canonicalFolder(existing);
    while (resolved.isEmpty() && existing.size() > 1) {
        const qsizetype slash = existing.lastIndexOf(u'/');
        rest.prepend(existing.mid(slash));
        existing.truncate(std::max(slash, qsizetype(1)));
        resolved = canonicalFolder(existing);
    }
    const QString path = resolved == u"/" && !rest.isEmpty() ? rest : resolved + rest;
    if (top.isEmpty() || path == top)
        return top.isEmpty() ? FolderPlace::Apart : FolderPlace::Same;
    const QString prefix = top.endsWith(u'/') ? top : top + u'/';
    if (!path.startsWith(prefix))
        return FolderPlace::Apart;
    return path.mid(prefix.size()).split(u'/').contains(QLatin1StringView(DefaultResultFolder))
               ? FolderPlace::Apart
               : FolderPlace::Inside;
}

CollectedSources collectSources(const QStringList& arguments, const NameRule& accepted,
                                const FolderWalk& walk) {
    CollectedSources collected;
    for (const QString& argument : arguments) {
        struct stat info {};
        if (::stat(nativeName(argument).constData(), &info) != 0) {
            collected.missing << argument;
        } else if (S_ISDIR(info.st_mode)) {
            FolderWalker(accepted, walk, collected).walk(argument, QString());
        } else {
            const qsizetype slash = argument.lastIndexOf(u'/');
            const QString folder = slash < 0 ? QStringLiteral(".") : argument.left(slash + 1);
            collected.files.push_back(
                {absolutePath(folder) + u'/', argument.mid(slash + 1), QString()});
        }
    }
    return collected;
}

} // namespace kadrix::cli
