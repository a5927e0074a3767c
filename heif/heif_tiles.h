#pragma once

#include "heif_boxes.h"

#include <QImage>
#include <QRect>

#include <optional>

namespace kadrix::heif {

// The size of the grid's picture after its transforms; nothing when a clean
// aperture is one the tile path leaves to libheif.
std::optional<QSize> uprightSize(const GridLayout& grid);

// Where a band of the upright picture's rows that starts at `top` ends
// (exclusive, at most `bottom`): past the last row whose stored pixels lie in
// the same row or column of tiles as `top`'s, so that a picture decoded band
// by band decodes each tile once. Nothing where uprightSize() gives nothing.
std::optional<int> tileBandEnd(const GridLayout& grid, int top, int bottom);

// `window` (clipped to the upright picture) of the grid's picture after its
// transforms, in BGR888, decoded from the tiles it touches only, each read
// from `source` and handed to libheif as a file of its own (see
// singleTileFile()). The pixels are those
// of libheif's decode of the whole grid. Nothing when a tile does not decode
// as expected (an error, another size, an alpha plane, more than 8 bits): the
// whole decode then answers. `maxSide` is libheif's size limit.
std::optional<QImage> decodeGridWindow(const GridLayout& grid, const HeifSource& source,
                                       const QRect& window, int maxSide);

} // namespace kadrix::heif
