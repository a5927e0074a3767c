#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace kadrix::cli {

// Results are written through QSaveFile: into a temporary file that is
// renamed over the result once complete. On Linux file systems with
// O_TMPFILE that temporary has no name, so a killed run leaves nothing. Where
// O_TMPFILE is missing (NFS, for one) Qt names it after the result: the
// result's file name, a "." and six letters or digits ("cropped_a.BMP.x3YqZ0"),
// and a killed run leaves it behind.

// Whether `fileName` is such a temporary of the result named `resultName`.
bool isSaveTemporaryOf(const QString& fileName, const QString& resultName);

// Removes the temporaries left beside the given results: in each result
// folder, the regular files named as a temporary of one of them that are
// empty or begin like a BMP or JPEG file. A run passes only the results it
// writes itself, so the live temporaries of another shard writing into the
// same folder are never touched. Returns the paths removed.
QStringList removeStaleTemporaries(const std::vector<QString>& resultPaths);

} // namespace kadrix::cli
