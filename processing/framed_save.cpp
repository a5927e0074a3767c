#include "framed_save.h"

#include "framing.h"
#include "native_name.h"
#include "native_path.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace kadrix {

SaveOutcome saveFramed(const SourceFramer& framer, const QString& path,
                       const FramingOptions& framing, bool replace,
                       const ResultEncoding& encoding) {
    SaveOutcome outcome = saveResult(framer.canvas(), path, framer.source(), replace, encoding);
    // A date that cannot be set leaves a good result: the save stands.
    // A device or a pipe written into keeps its own dates.
    if (outcome && framing.keepDates && pathKind(path) == PathKind::File)
        keepSourceDate(framer.sourcePath(), path);
    return outcome;
}

bool keepSourceDate(const QString& sourcePath, const QString& resultPath) {
    struct stat source {};
    if (::stat(nativeName(sourcePath).constData(), &source) != 0)
        return false;
    const timespec times[2] = {{0, UTIME_OMIT}, source.st_mtim};
    return ::utimensat(AT_FDCWD, nativeName(resultPath).constData(), times, 0) == 0;
}

} // namespace kadrix
