#include "source_loader.h"

#include "compositor.h"
#include "jpeg_image.h"
#include "picture_registry.h"

namespace kadrix {

void assignVisibleSource(const PictureLoader& loader, int W, int H, Bitmap& source,
                         SourceDecoding decoding) {
    const auto* jpeg = dynamic_cast<const TJPEGImage*>(loader.picture());
    if (decoding == SourceDecoding::Windowed && jpeg != nullptr && W > 0 && H > 0) {
        const int sw = jpeg->width();
        const int sh = jpeg->height();
        if (sw > W || sh > H) {
            if (std::optional<Bitmap> window = jpeg->DecodeWindow(visibleWindow(sw, sh, W, H))) {
                source = std::move(*window);
                return;
            }
        }
    }
    loader.assignTo(source);
    source.convertTo24();
}

} // namespace kadrix
