#include "framing.h"

#include "compositor.h"
#include "errors.h"
#include "margin_fill.h"
#include "subject_interest.h"

#include <algorithm>

namespace kadrix {
namespace {

Text invalidSize(int W, int H) {
    return Text("kadrix", QT_TRANSLATE_NOOP("kadrix", "Taille finale invalide: %1 * %2"),
                {QString::number(W), QString::number(H)});
}

Bitmap makeCanvas(int W, int H) {
    if (W <= 0 || H <= 0)
        throw Error(invalidSize(W, H));
    try {
        return Bitmap(W, H);
    } catch (const Error&) {
        throw Error(invalidSize(W, H));
    }
}

// Where the picture lies along one axis of the canvas, as a share of the
// room it has: 0 against the start, 1 against the end. Where the picture is
// larger, the share of the crop's room; where they are equal, the middle.
double shareAlong(int picture, int result, int topLeft) {
    if (picture < result)
        return double(-topLeft) / (result - picture);
    if (picture > result)
        return double(topLeft) / (picture - result);
    return 0.5;
}

// A picture of `whole` made smaller by a whole factor, each pixel the
// rounded mean of its block, so that its shorter side stays InterestSide or
// more.
Bitmap reducedByBlocks(const Bitmap& whole) {
    const int factor = std::max(1, std::min(whole.width(), whole.height()) / InterestSide);
    if (factor == 1)
        return whole;
    const int w = whole.width() / factor, h = whole.height() / factor;
    Bitmap reduced(w, h);
    std::vector<int> sums(std::size_t(w) * 3);
    const int area = factor * factor;
    for (int y = 0; y < h; ++y) {
        std::fill(sums.begin(), sums.end(), 0);
        for (int dy = 0; dy < factor; ++dy) {
            const std::uint8_t* row = whole.scanLine(y * factor + dy);
            for (int x = 0; x < w * factor; ++x)
                for (int c = 0; c < 3; ++c)
                    sums[std::size_t(x / factor) * 3 + std::size_t(c)] += row[x * 3 + c];
        }
        std::uint8_t* out = reduced.scanLine(y);
        for (std::size_t i = 0; i < sums.size(); ++i)
            out[i] = std::uint8_t((sums[i] + area / 2) / area);
    }
    return reduced;
}

} // namespace

Bitmap interestPicture(const Picture& picture) {
    if (std::optional<Bitmap> reduced = picture.decodeSketch(QSize(InterestSide, InterestSide)))
        return std::move(*reduced);
    Bitmap whole;
    picture.assignTo(whole);
    whole.convertTo24();
    return reducedByBlocks(whole);
}

SourceFramer::SourceFramer(int W, int H) : SourceFramer(ResultSize{SizeMode::Fixed, W, H}) {}

SourceFramer::SourceFramer(const ResultSize& size) : size_(size) {
    if (size.mode == SizeMode::Fixed)
        canvas_ = makeCanvas(size.width, size.height);
    else if (size.width <= 0 || size.height <= 0)
        throw Error(invalidSize(size.width, size.height));
}

FrameGeometry frameGeometryOf(const Picture& picture, const ResultSize& size,
                              const FramingOptions& framing, std::optional<QPoint> topLeft) {
    const QSize upright(picture.width(), picture.height());
    const QSize result = resultSizeFor(size, upright);
    if (topLeft)
        return {result, clampTopLeft(upright, result, *topLeft)};
    if (framing.anchor == Anchor::Subject && !upright.isEmpty() &&
        (upright.width() > result.width() || upright.height() > result.height()))
        return {result, subjectTopLeft(interestPicture(picture), upright, result)};
    return anchoredGeometry(upright, result, framing.anchor);
}

void SourceFramer::sizeCanvas(QSize size) {
    if (canvas_.width() == size.width() && canvas_.height() == size.height())
        return;
    canvas_ = Bitmap(); // the old canvas goes before the new one is made
    canvas_ = Bitmap(size.width(), size.height());
}

bool SourceFramer::frame(const PictureFile& source, Colour wipe, const DecodeOptions& decode,
                         const FramingOptions& framing, const BeforeDecode& beforeDecode,
                         std::optional<QPoint> topLeft) {
    // The previous source's pixels go before the next picture is decoded, so
    // a framer holds one decoded source at a time.
    decoded_ = Bitmap();
    geometry_ = {QSize(width(), height()), QPoint(0, 0)};
    sourcePath_ = source.path;
    loader_.loadFromFile(source);
    const QSize picture(loader_.width(), loader_.height());
    // The geometry is computed once: the Subject anchor measures the picture.
    const FrameGeometry frame = loader_.picture()
                                    ? frameGeometryOf(*loader_.picture(), size_, framing, topLeft)
                                    : geometry_;
    if (beforeDecode && loader_.picture())
        beforeDecode(*loader_.picture(), frame);
    if (size_.isRatio() && !picture.isEmpty())
        sizeCanvas(frame.size);
    geometry_ = frame;
    const QPoint origin = assignFramedSource(loader_, frame, wipe, decoded_, decode);
    placement_ = {origin.x() - frame.topLeft.x(), origin.y() - frame.topLeft.y()};
    if (!ComposeResult(decoded_, placement_, wipe, canvas_))
        return false;
    fillMargins(framing, !topLeft && framing.anchor != Anchor::Subject);
    return true;
}

void SourceFramer::fillMargins(const FramingOptions& framing, bool anchored) {
    const QRect onCanvas(-geometry_.topLeft, QSize(loader_.width(), loader_.height()));
    if (onCanvas.contains(QRect(0, 0, canvas_.width(), canvas_.height())))
        return; // no margins: every fill is the wipe colour fill
    switch (framing.fill) {
    case Fill::WipeColour:
        return;
    case Fill::Edge:
    case Fill::Mirror:
        extendMargins(canvas_, decoded_, placement_, framing.fill);
        return;
    case Fill::Blur: {
        const Picture& source = *loader_.picture();
        const Bitmap reduced = reducedPicture(source, decoded_);
        const int W = canvas_.width();
        const int H = canvas_.height();
        const BlurredBackground background =
            anchored
                ? blurredBackground(reduced, source.width(), source.height(), W, H, framing.anchor)
                : blurredBackground(reduced, source.width(), source.height(), W, H,
                                    shareAlong(source.width(), W, geometry_.topLeft.x()),
                                    shareAlong(source.height(), H, geometry_.topLeft.y()));
        paintBackground(canvas_, background, onCanvas);
        return;
    }
    }
}

} // namespace kadrix
