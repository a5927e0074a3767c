#include "source_path.h"

#include "field_text.h"

namespace kadrix {

SourcePathParts sourcePathOf(const QString& folderText, const QString& entry) {
    SourcePathParts parts;
    parts.folder = normaliseFolder(folderText);
    parts.path = parts.folder + fileNamePart(entry);
    return parts;
}

} // namespace kadrix
