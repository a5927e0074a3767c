#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace kadrix::cli {

// Results are written into a nameless file that takes the result's name once
// complete (O_TMPFILE), so a killed run leaves nothing. Where the file system
// lacks O_TMPFILE (NFS, for one) the file has a hidden private name until
// then: ".kadrix-", the result's name, ".", six letters or digits and ".tmp"
// (".kadrix-cropped_a.BMP.x3YqZ0.tmp", see atomic_file.h), which a killed run
// leaves behind.

// Whether `fileName` is such a temporary of the result named `resultName`.
bool isSaveTemporaryOf(const QString& fileName, const QString& resultName);

// Removes the temporaries left beside the given results: in each result
// folder, the regular files named as a temporary of one of them that are
// empty or begin as a file of that result's format does (by the format
// table). Nothing else is ever removed. A run passes only the results it
// writes itself, so the live temporaries of another shard writing into the
// same folder are never touched. Returns the paths removed.
QStringList removeStaleTemporaries(const std::vector<QString>& resultPaths);

} // namespace kadrix::cli
