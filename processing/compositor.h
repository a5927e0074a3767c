#pragma once

#include "bitmap.h"
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

} // namespace kadrix
