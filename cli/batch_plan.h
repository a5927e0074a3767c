#pragma once

#include "batch_options.h"
#include "frame_geometry.h"
#include "source_collection.h"

#include <QPoint>
#include <QString>

#include <optional>

namespace kadrix::cli {

// The result path of list row `row`: the rename scheme's name in --out (in
// the source's sub-folder there, with --recursive), or in the "cropped"
// folder beside the source; --output when given.
QString resultPathOf(const BatchOptions& options, const SourceFile& source, int row);

// What framing does to one axis: positive counts are margins of wipe colour,
// negative ones are cropped source pixels.
struct AxisChange {
    int before; // left or top
    int after;  // right or bottom
};
// Placed as the compositor places it with an anchor on that side of the
// axis (-1 left or top, 0 centred, +1 right or bottom): centred, an odd
// leftover goes after (right or bottom).
AxisChange axisChange(int sourceLength, int canvasLength, int side = 0);

// "pad 3 left, pad 4 right", "crop 1 left, crop 2 right", "0 left, crop 1 right".
QString describeAxis(const AxisChange& change, const QString& before, const QString& after);

// One dry-run line: "<source>: <w>x<h>, columns: ..., rows: ... -> <result> (exists|new)",
// the columns and rows as the anchor places the picture.
QString planLine(const QString& source, int width, int height, const QSize& canvas,
                 const QString& result, bool exists, Anchor anchor = Anchor::Centre);
// The same for a picture's frame; with `showSize` (a ratio, where each
// result has its own size) the result's size follows the source's:
// "<source>: <w>x<h>, result <rw>x<rh>, columns: ...". For a picture placed
// by hand at `placed` (the frame then being that placement within reach),
// "; placed at X,Y" follows the rows, with "(clamped from X,Y)" when it was
// out of reach.
QString planLine(const QString& source, int width, int height, const FrameGeometry& frame,
                 const QString& result, bool exists, bool showSize,
                 std::optional<QPoint> placed = std::nullopt);

} // namespace kadrix::cli
