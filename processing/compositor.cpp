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

} // namespace kadrix
