#pragma once

#include "framing.h"
#include "framing_options.h"
#include "result_writer.h"
#include "source_loader.h"

#include <QString>

#include <functional>
#include <optional>

namespace kadrix {

// The save of one framed source, shared by the window's run and
// kadrix-batch: the framer's canvas written to `path` (saveResult(), which
// carries over what the result takes of its source), then, once the result
// is committed and with `framing.keepDates`, the result given its source's
// modification time. `replace` and `encoding` are saveResult()'s.
SaveOutcome saveFramed(const SourceFramer& framer, const QString& path,
                       const FramingOptions& framing, bool replace = false,
                       const ResultEncoding& encoding = {});

// Frames `source` with `framer` (SourceFramer::frame() with `wipe`,
// `decode`, `framing`, `beforeDecode` and `topLeft`) and saves the result at `path` as
// saveFramed() does. JPEG and BMP results are composed straight into their
// file a row at a time (ResultRows), the others through the framer's canvas.
// `framed` tells whether the source gave a result: nothing is written for an
// empty picture. Throws the picture's errors; the write's failures come back
// in the outcome, a size the format cannot take (refusedResultSize()) before
// the picture is decoded or shown to `beforeDecode`. With `into`, the result goes into that open
// file (saveResultInto()) in the format `encoding` gives, and `path` only names it.
struct FramedSave {
    Colour wipe = 0;
    DecodeOptions decode;
    FramingOptions framing;
    BeforeDecode beforeDecode;
    bool replace = false;
    ResultEncoding encoding;
    std::optional<QPoint> topLeft = std::nullopt; // in place of the anchor
    DescriptorDevice* into = nullptr;
};
SaveOutcome frameAndSave(SourceFramer& framer, const PictureFile& source, const QString& path,
                         const FramedSave& how, bool& framed);

// The most memory frameAndSave() to `path` as `how` says holds for
// `picture` framed into `frame` (what `how.beforeDecode` is shown): the
// framing's (framingBytes(), or the Subject anchor's sketch
// (Picture::sketchBytes()) where that is more) and the writer's
// (rowWritingBytes() for a result written a row at a time, else
// encodingBytes()).
qint64 framedSaveBytes(const Picture& picture, const FrameGeometry& frame, const QString& path,
                       const FramedSave& how);

// Gives the file at `resultPath` the modification time of `sourcePath`, to
// the nanosecond, leaving its access time alone. False when either file
// cannot be read or changed.
bool keepSourceDate(const QString& sourcePath, const QString& resultPath);

} // namespace kadrix
