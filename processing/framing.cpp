#include "framing.h"

#include "compositor.h"
#include "errors.h"
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

SourceFramer::SourceFramer(int W, int H) : W_(W), H_(H), canvas_(makeCanvas(W, H)) {}

bool SourceFramer::frame(const QString& sourcePath, Colour wipe, const DecodeOptions& decode,
                         const FramingOptions& framing,
                         const std::function<void(const Picture& picture)>& beforeDecode) {
    // The previous source's pixels go before the next picture is decoded, so
    // a framer holds one decoded source at a time.
    decoded_ = Bitmap();
    sourcePath_ = sourcePath;
    loader_.loadFromFile(sourcePath);
    if (beforeDecode && loader_.picture())
        beforeDecode(*loader_.picture());
    assignVisibleSource(loader_, W_, H_, wipe, decoded_, decode, framing.anchor);
    if (!ComposeResult(decoded_, W_, H_, wipe, canvas_, framing.anchor))
        return false;
    fillMargins(framing);
    return true;
}

void SourceFramer::fillMargins(const FramingOptions& framing) {
    const Placement placement =
        placementOf(decoded_.width(), decoded_.height(), W_, H_, framing.anchor);
    const QRect picture(placement.dx, placement.dy, decoded_.width(), decoded_.height());
    if (picture.contains(QRect(0, 0, W_, H_)))
        return; // no margins: every fill is the wipe colour fill
    switch (framing.fill) {
    case Fill::WipeColour:
        return;
    case Fill::Edge:
    case Fill::Mirror:
        extendMargins(canvas_, decoded_, placement, framing.fill);
        return;
    case Fill::Blur: {
        const Picture& source = *loader_.picture();
        const BlurredBackground background =
            blurredBackground(reducedPicture(source, decoded_), source.width(), source.height(), W_,
                              H_, framing.anchor);
        paintBackground(canvas_, background, picture);
        return;
    }
    }
}

} // namespace kadrix
