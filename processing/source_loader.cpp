#include "source_loader.h"

#include "compositor.h"
#include "picture_registry.h"

namespace kadrix {

QPoint assignFramedSource(const PictureLoader& loader, const FrameGeometry& frame, Colour wipe,
                          Bitmap& source, const DecodeOptions& decode) {
    const Picture* picture = loader.picture();
    const bool framed = frame.size.width() > 0 && frame.size.height() > 0;
    if (decode.mode != DecodeMode::Whole && picture != nullptr && framed) {
        const QSize whole(picture->width(), picture->height());
        const QRect window = visibleWindow(whole, frame);
        if (window.size() != whole && !window.isEmpty()) {
            if (std::optional<Bitmap> part = picture->decodeWindow(window, decode.mode)) {
                source = std::move(*part);
                source.convertTo24(wipe);
                return window.topLeft();
            }
        }
    }
    loader.assignTo(source);
    if (source.pixelFormat() == PixelFormat::Bits32 && framed) {
        // Only the part that lands on the canvas is composed: the same canvas
        // as the whole picture gives, for less work and memory.
        const QRect window = visibleWindow(QSize(source.width(), source.height()), frame);
        source = source.composedOver(wipe, window);
        return window.topLeft();
    }
    source.convertTo24(wipe);
    return {0, 0};
}

void assignVisibleSource(const PictureLoader& loader, int W, int H, Colour wipe, Bitmap& source,
                         const DecodeOptions& decode, Anchor anchor) {
    const QSize picture(loader.picture() ? loader.picture()->width() : 0,
                        loader.picture() ? loader.picture()->height() : 0);
    assignFramedSource(loader, anchoredGeometry(picture, QSize(W, H), anchor), wipe, source,
                       decode);
}

} // namespace kadrix
