#pragma once

#include "bitmap.h"

#include <QRect>

#include <algorithm>

namespace kadrix {

// Paints `result` (already W x H, 24 bits) with `wipe` and copies `source`
// (24 bits) onto it centred, pixel for pixel: a smaller source leaves margins,
// a larger one is cropped symmetrically, an odd leftover going to the right
// or bottom. Returns false, leaving only the wipe colour, for an empty source.
bool ComposeResult(const Bitmap& source, int W, int H, Colour wipe, Bitmap& result);

// Where the source lands: canvas pixel (x, y) holds source pixel
// (x - dx, y - dy) when that exists. The halving truncates toward zero.
struct Placement {
    int dx;
    int dy;
};
constexpr Placement placementOf(int sourceWidth, int sourceHeight, int W, int H) {
    return {(W - sourceWidth) / 2, (H - sourceHeight) / 2};
}

// The part of a sourceWidth x sourceHeight source that lands on a W x H
// canvas. A bitmap holding just that part composes to the same canvas as
// the whole source: where the source is larger it is W (or H) wide, placed
// at offset 0, and where it fits it is the whole source.
inline QRect visibleWindow(int sourceWidth, int sourceHeight, int W, int H) {
    const auto [dx, dy] = placementOf(sourceWidth, sourceHeight, W, H);
    return QRect(std::max(0, -dx), std::max(0, -dy), std::clamp(sourceWidth, 0, std::max(W, 0)),
                 std::clamp(sourceHeight, 0, std::max(H, 0)));
}

} // namespace kadrix
