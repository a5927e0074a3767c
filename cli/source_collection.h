#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace kadrix::cli {

// One source of the list: its folder (ending in "/") and its file name.
struct SourceFile {
    QString folder;
    QString name;
    QString path() const { return folder + name; }
};

struct CollectedSources {
    std::vector<SourceFile> files;
    QStringList missing; // arguments that are neither a file nor a folder
};

// The extension rule of the picture loader's combined entry: the upper-cased
// description "TOUS (*.JPG;*.JPEG;...)" of the filter text ("" when the text
// has no such entry).
QString combinedExtensionFilter(const QString& filterText);

// Whether a file name passes the folder scan: its extension (from the last
// "." on, upper-cased) is not empty and occurs in the filter.
bool extensionAccepted(const QString& fileName, const QString& filter);

// Files and folders in argument order. A file is taken as it is; a folder
// gives its accepted files (not its sub-folders), sorted by name, a name
// equal to an earlier one of the folder but for letter case left out. The
// working directory is not changed.
CollectedSources collectSources(const QStringList& arguments, const QString& filter);

} // namespace kadrix::cli
