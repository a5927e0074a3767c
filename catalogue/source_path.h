#pragma once

#include <QString>

namespace kadrix {

// The full path of a source file: the source folder text, trimmed of blanks
// and ending in "/", followed by the file-name part of the entry.
struct SourcePathParts {
    QString folder; // the normalised folder text, written back into the field
    QString path;
};

SourcePathParts sourcePathOf(const QString& folderText, const QString& entry);

} // namespace kadrix
