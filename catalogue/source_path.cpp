#include "source_path.h"

#include "field_text.h"

namespace kadrix {

SourcePathParts sourcePathOf(const QString& folderText, const QString& entry,
                             const std::optional<QString>& listedFolder) {
    SourcePathParts parts;
    parts.folder = normaliseFolder(folderText);
    parts.path = listedFolder.value_or(parts.folder) + fileNamePart(entry);
    return parts;
}

} // namespace kadrix
