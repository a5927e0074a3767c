#include "framing.h"

#include "compositor.h"
#include "errors.h"
#include "frame_rows.h"
#include "margin_fill.h"

namespace kadrix {
namespace {

Bitmap makeCanvas(int W, int H) {
    const Text invalid("kadrix", QT_TRANSLATE_NOOP("kadrix", "Taille finale invalide: %1 * %2"),
                       {QString::number(W), QString::number(H)});
    if (W <= 0 || H <= 0)
        throw Error(invalid);
    try {
        return Bitmap(W, H);
    } catch (const Error&) {
        throw Error(invalid);
    }
}

} // namespace

SourceFramer::SourceFramer(int W, int H) : W_(W), H_(H) {
    // Checked at once, made at the first frame() that composes a canvas.
    const qint64 bytes = bitmapBytes(W, H, 3);
    if (W <= 0 || H <= 0 || bytes < 0 || bytes > MaxBitmapBytes)
        makeCanvas(W, H);
}

bool SourceFramer::frame(const QString& sourcePath, Colour wipe, const DecodeOptions& decode,
                         const FramingOptions& framing,
                         const std::function<void(const Picture& picture)>& beforeDecode) {
    if (canvas_.isEmpty())
        canvas_ = makeCanvas(W_, H_);
    BitmapRowSink sink(canvas_);
    return frame(sourcePath, wipe, sink, decode, framing, beforeDecode);
}

bool SourceFramer::frame(const QString& sourcePath, Colour wipe, RowSink& sink,
                         const DecodeOptions& decode, const FramingOptions& framing,
                         const std::function<void(const Picture& picture)>& beforeDecode) {
    // The previous source's pixels go before the next picture is decoded, so
    // a framer holds one decoded source at a time.
    decoded_ = Bitmap();
    sourcePath_ = sourcePath;
    loader_.loadFromFile(sourcePath);
    const Picture* picture = loader_.picture();
    if (beforeDecode && picture)
        beforeDecode(*picture);
    std::unique_ptr<RowSource> rows;
    if (picture != nullptr && decode.mode != DecodeMode::Whole)
        rows = picture->readRows(
            visibleWindow(picture->width(), picture->height(), W_, H_, framing.anchor),
            decode.mode);
    std::optional<BitmapRowSource> whole;
    if (!rows) {
        assignVisibleSource(loader_, W_, H_, wipe, decoded_, decode, framing.anchor);
        whole.emplace(decoded_);
    }
    RowSource& source = rows ? *rows : static_cast<RowSource&>(*whole);
    const QSize shown(source.width(), source.height());
    const Placement placement = placementOf(shown.width(), shown.height(), W_, H_, framing.anchor);
    const std::optional<BlurredBackground> blurred = background(shown, placement, framing);
    return composeRows(
        source, {W_, H_, placement, framing.fill, wipe, blurred ? &*blurred : nullptr}, sink);
}

qint64 SourceFramer::keptRowBytes(const Picture& picture, const FramingOptions& framing) const {
    const QRect shown = visibleWindow(picture.width(), picture.height(), W_, H_, framing.anchor);
    return heldRowBytes(
        shown.width(), shown.height(),
        {W_, H_, placementOf(shown.width(), shown.height(), W_, H_, framing.anchor), framing.fill});
}

std::optional<BlurredBackground> SourceFramer::background(QSize shown, Placement placement,
                                                          const FramingOptions& framing) const {
    const QRect picture(QPoint(placement.dx, placement.dy), shown);
    if (framing.fill != Fill::Blur || shown.isEmpty() || picture.contains(QRect(0, 0, W_, H_)))
        return std::nullopt;
    const Picture& source = *loader_.picture();
    return blurredBackground(reducedPicture(source, decoded_), source.width(), source.height(), W_,
                             H_, framing.anchor);
}

} // namespace kadrix
