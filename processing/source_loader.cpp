#include "source_loader.h"

#include "compositor.h"
#include "picture_registry.h"

namespace kadrix {

void assignVisibleSource(const PictureLoader& loader, int W, int H, Bitmap& source,
                         const DecodeOptions& decode, Anchor anchor) {
    const Picture* picture = loader.picture();
    if (decode.mode != DecodeMode::Whole && picture != nullptr && W > 0 && H > 0) {
        const int sw = picture->width();
        const int sh = picture->height();
        if (sw > W || sh > H) {
            if (std::optional<Bitmap> window =
                    picture->decodeWindow(visibleWindow(sw, sh, W, H, anchor), decode.mode)) {
                source = std::move(*window);
                return;
            }
        }
    }
    loader.assignTo(source);
    source.convertTo24();
}

} // namespace kadrix
