#include "compositor.h"

#include "frame_rows.h"

namespace kadrix {

bool ComposeResult(const Bitmap& source, int W, int H, Colour wipe, Bitmap& result, Anchor anchor) {
    BitmapRowSource rows(source);
    BitmapRowSink canvas(result);
    return composeRows(
        rows,
        {W, H, placementOf(source.width(), source.height(), W, H, anchor), Fill::WipeColour, wipe},
        canvas);
}

bool ComposeResult(const Bitmap& source, Placement placement, Colour wipe, Bitmap& result) {
    BitmapRowSource rows(source);
    BitmapRowSink canvas(result);
    return composeRows(rows, {result.width(), result.height(), placement, Fill::WipeColour, wipe},
                       canvas);
}

} // namespace kadrix
