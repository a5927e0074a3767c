#include "folder_scan.h"

#include "field_text.h"

#include <QDir>

namespace kadrix {

QString upperExtension(const QString& name) {
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? QString() : name.mid(dot).toUpper();
}

bool extensionAccepted(const QString& name, const QString& extensionFilter) {
    const QString extension = upperExtension(name);
    return !extension.isEmpty() && extensionFilter.contains(extension);
}

QString foundCountText(int count) {
    return QStringLiteral("Nombre d'Images Trouvées: %1").arg(count);
}

ScanTally::ScanTally(SourceList& list) : list_(list) {
    list_.clear();
    revision_ = list_.revision();
}

bool ScanTally::add(const QString& name, qint64 size) {
    const QString folded = name.toCaseFolded();
    if (folded_.contains(folded))
        return false;
    folded_.insert(folded);
    found_.append(name, size);
    const int row = found_.count() - 1;
    if (smallestRow_ < 0 || size <= smallest_) {
        smallest_ = size;
        smallestRow_ = row;
    }
    if (largestRow_ < 0 || size >= largest_) {
        largest_ = size;
        largestRow_ = row;
    }
    return true;
}

void ScanTally::finish() {
    if (!intact())
        return;
    list_.replaceWith(std::move(found_));
    revision_ = list_.revision();
}

void scanEntries(DirectoryWalk& walk, const QString& extensionFilter, ScanTally& tally,
                 ScanWindow& window) {
    std::optional<DirectoryEntry> entry = walk.next();
    while (entry) {
        if (extensionAccepted(entry->name, extensionFilter) && tally.add(entry->name, entry->size))
            window.setFoundCountText(foundCountText(tally.count()));
        entry = walk.next();
        window.processScanMessages();
        if (window.stopRequested() || !tally.intact())
            break;
    }
    tally.finish();
}

ScanResult scanFolder(const QString& folderText, const QString& extensionFilter, SourceList& list,
                      ScanWindow& window) {
    ScanTally tally(list);
    const QString folder = folderPart(folderText);
    const bool entered = folder.isEmpty() || QDir::setCurrent(folder);
    window.setStopRequested(false);
    if (entered) {
        const QString current = QDir::currentPath();
        // Not trimmed: a folder's name may end in a blank.
        tally.setFolder(current.endsWith(u'/') ? current : current + u'/');
        FolderWalk walk(current);
        scanEntries(walk, extensionFilter, tally, window);
    }
    if (!tally.intact())
        return {false, true, -1, -1};
    return {!list.isEmpty(), false, tally.smallestRow(), tally.largestRow()};
}

} // namespace kadrix
