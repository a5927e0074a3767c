#pragma once

#include "bitmap.h"
#include "frame_geometry.h"
#include "framing_options.h"

#include <QRect>

#include <algorithm>

namespace kadrix {

// Paints `result` (already W x H, 24 bits) with `wipe` and copies `source`
// (24 bits) onto it pixel for pixel, placed by `anchor` (see placementOf()):
// centred, a smaller source leaves margins and a larger one is cropped
// symmetrically, an odd leftover going to the right or bottom. Returns
// false, leaving only the wipe colour, for an empty source.
bool ComposeResult(const Bitmap& source, int W, int H, Colour wipe, Bitmap& result,
                   Anchor anchor = Anchor::Centre);

// Where the source lands: canvas pixel (x, y) holds source pixel
// (x - dx, y - dy) when that exists. Centred, the halving truncates toward
// zero; a compass anchor puts the source against its side of the canvas.
struct Placement {
    int dx;
    int dy;
};

// Paints all of `result` with `wipe` and copies `source` (24 bits) onto it at
// `placement`, pixel for pixel, clipped to the result. False, leaving only
// the wipe colour, for an empty source.
bool ComposeResult(const Bitmap& source, Placement placement, Colour wipe, Bitmap& result);

constexpr Placement placementOf(int sourceWidth, int sourceHeight, int W, int H,
                                Anchor anchor = Anchor::Centre) {
    return {anchoredOffset(W - sourceWidth, horizontalSide(anchor)),
            anchoredOffset(H - sourceHeight, verticalSide(anchor))};
}

// The part of a sourceWidth x sourceHeight source that lands on a W x H
// canvas with that anchor. A bitmap holding just that part composes to the
// same canvas as the whole source, with the same anchor: where the source is
// larger it is W (or H) wide, placed at offset 0, and where it fits it is
// the whole source (so the edge and mirror fills find every row and column
// they repeat in it too).
inline QRect visibleWindow(int sourceWidth, int sourceHeight, int W, int H,
                           Anchor anchor = Anchor::Centre) {
    const auto [dx, dy] = placementOf(sourceWidth, sourceHeight, W, H, anchor);
    return QRect(std::max(0, -dx), std::max(0, -dy), std::clamp(sourceWidth, 0, std::max(W, 0)),
                 std::clamp(sourceHeight, 0, std::max(H, 0)));
}

// The geometry of a `result`-sized frame that `anchor` places on a picture.
inline FrameGeometry anchoredGeometry(QSize picture, QSize result, Anchor anchor) {
    const auto [dx, dy] =
        placementOf(picture.width(), picture.height(), result.width(), result.height(), anchor);
    return {result, QPoint(-dx, -dy)};
}

// The part of a picture of size `picture` that its frame shows: where the
// picture is larger, the result's span; where it fits, the whole axis.
inline QRect visibleWindow(QSize picture, const FrameGeometry& frame) {
    return QRect(frame.topLeft, frame.size).intersected(QRect(QPoint(0, 0), picture));
}

} // namespace kadrix
