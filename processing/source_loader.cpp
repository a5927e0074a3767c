#include "source_loader.h"

#include "compositor.h"
#include "picture_registry.h"

namespace kadrix {

void assignVisibleSource(const PictureLoader& loader, int W, int H, Colour wipe, Bitmap& source,
                         const DecodeOptions& decode, Anchor anchor) {
    const Picture* picture = loader.picture();
    if (decode.mode != DecodeMode::Whole && picture != nullptr && W > 0 && H > 0) {
        const int sw = picture->width();
        const int sh = picture->height();
        if (sw > W || sh > H) {
            if (std::optional<Bitmap> window =
                    picture->decodeWindow(visibleWindow(sw, sh, W, H, anchor), decode.mode)) {
                source = std::move(*window);
                source.convertTo24(wipe);
                return;
            }
        }
    }
    loader.assignTo(source);
    if (source.pixelFormat() == PixelFormat::Bits32 && W > 0 && H > 0)
        // Only the part that lands on the canvas is composed: the same canvas
        // as the whole picture gives, for less work and memory.
        source =
            source.composedOver(wipe, visibleWindow(source.width(), source.height(), W, H, anchor));
    else
        source.convertTo24(wipe);
}

} // namespace kadrix
