#pragma once

#include "bitmap.h"

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

} // namespace kadrix
