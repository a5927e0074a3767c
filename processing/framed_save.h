#pragma once

#include "framing_options.h"
#include "result_writer.h"

#include <QString>

namespace kadrix {

class SourceFramer;

// The save of one framed source, shared by the window's run and
// kadrix-batch: the framer's canvas written to `path` (saveResult(), which
// carries over what the result takes of its source), then, once the result
// is committed and with `framing.keepDates`, the result given its source's
// modification time. `replace` and `encoding` are saveResult()'s.
SaveOutcome saveFramed(const SourceFramer& framer, const QString& path,
                       const FramingOptions& framing, bool replace = false,
                       const ResultEncoding& encoding = {});

// Gives the file at `resultPath` the modification time of `sourcePath`, to
// the nanosecond, leaving its access time alone. False when either file
// cannot be read or changed.
bool keepSourceDate(const QString& sourcePath, const QString& resultPath);

} // namespace kadrix
