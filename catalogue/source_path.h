#pragma once

#include <QString>

#include <optional>

namespace kadrix {

// The full path of a source file: the folder it was listed from, when a scan
// or a drop listed it, otherwise the source folder text trimmed of blanks and
// ending in "/"; then the file-name part of the entry. The folder text comes
// back normalised either way, to be written back into the field.
struct SourcePathParts {
    QString folder; // the normalised folder text, written back into the field
    QString path;
};

SourcePathParts sourcePathOf(const QString& folderText, const QString& entry,
                             const std::optional<QString>& listedFolder = std::nullopt);

} // namespace kadrix
