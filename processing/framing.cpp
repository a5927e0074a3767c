#include "framing.h"

#include "compositor.h"
#include "errors.h"
#include "frame_rows.h"
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

// The picture made smaller by a whole factor, each pixel the rounded mean
// of its block, so that its shorter side stays InterestSide or more. Reads
// the rows top to bottom, so that a picture handing them on is never held
// whole.
Bitmap reducedByBlocks(RowSource& rows) {
    const int factor = std::max(1, std::min(rows.width(), rows.height()) / InterestSide);
    const int w = rows.width() / factor, h = rows.height() / factor;
    Bitmap reduced(w, h);
    std::vector<int> sums(std::size_t(w) * 3);
    const int area = factor * factor;
    for (int y = 0; y < h; ++y) {
        std::fill(sums.begin(), sums.end(), 0);
        for (int dy = 0; dy < factor; ++dy) {
            const std::uint8_t* row = rows.next();
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
    if (std::optional<Bitmap> sketch = picture.decodeSketch(QSize(InterestSide, InterestSide))) {
        // The coarsest sketch of a huge picture is still large (an eighth of
        // 65,000 pixels is 8,125): it is reduced further as any other type
        // is, so that the measure's maps keep the size they have for a photo.
        if (std::min(sketch->width(), sketch->height()) < 2 * InterestSide)
            return std::move(*sketch);
        BitmapRowSource rows(*sketch);
        return reducedByBlocks(rows);
    }
    // A type that hands on its rows (a HEIF grid, a row of tiles at a time)
    // is measured as they come: a huge grid without a thumbnail is never
    // decoded whole before the memory it takes is counted.
    const QRect whole(0, 0, picture.width(), picture.height());
    if (std::unique_ptr<RowSource> rows = picture.readRows(whole, DecodeMode::Window))
        return reducedByBlocks(*rows);
    Bitmap decoded;
    picture.assignTo(decoded);
    decoded.convertTo24();
    BitmapRowSource rows(decoded);
    return reducedByBlocks(rows);
}

SourceFramer::SourceFramer(int W, int H) : SourceFramer(ResultSize{SizeMode::Fixed, W, H}) {}

SourceFramer::SourceFramer(const ResultSize& size) : size_(size) {
    if (size.mode == SizeMode::Fixed) {
        // Its pages are touched only by a frame() that composes a canvas.
        canvas_ = makeCanvas(size.width, size.height);
        geometry_ = {QSize(size.width, size.height), QPoint(0, 0)};
    } else if (size.width <= 0 || size.height <= 0) {
        throw Error(invalidSize(size.width, size.height));
    } else {
        geometry_ = {QSize(0, 0), QPoint(0, 0)};
    }
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

qint64 framingBytes(const Picture& picture, const FrameGeometry& frame, DecodeMode mode,
                    const FramingOptions& framing, bool intoSink) {
    const QSize pictureSize(picture.width(), picture.height());
    const QSize result = frame.size;
    QRect shown = visibleWindow(pictureSize, frame);
    if (shown.isEmpty())
        shown = QRect(QPoint(0, 0), pictureSize);
    if (!intoSink || mode == DecodeMode::Whole)
        return picture.decodingBytes(shown, mode) + qint64(result.width()) * result.height() * 3;
    // The Blur fill's reduced picture (an eighth at most where the type can
    // decode it smaller) and its small background.
    const qint64 blur = framing.fill == Fill::Blur
                            ? qint64(pictureSize.width()) * pictureSize.height() * 3 / 64 +
                                  qint64(BlurWorkSide) * BlurWorkSide * 3 * 2
                            : 0;
    const Placement placement{shown.left() - frame.topLeft.x(), shown.top() - frame.topLeft.y()};
    // With Blur margins a type that cannot reduce the picture alone has its
    // window decoded (SourceFramer::frame()).
    const bool margins = leavesMargins(pictureSize, frame);
    const qint64 reading =
        framing.fill == Fill::Blur && margins
            ? std::max(picture.rowReadingBytes(shown, mode), picture.decodingBytes(shown, mode))
            : picture.rowReadingBytes(shown, mode);
    return reading + blur +
           heldRowBytes(shown.width(), shown.height(),
                        {result.width(), result.height(), placement, framing.fill});
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
    return frameInto(nullptr, source, wipe, decode, framing, beforeDecode, topLeft);
}

bool SourceFramer::frame(const PictureFile& source, Colour wipe, RowSink& sink,
                         const DecodeOptions& decode, const FramingOptions& framing,
                         const BeforeDecode& beforeDecode, std::optional<QPoint> topLeft) {
    return frameInto(&sink, source, wipe, decode, framing, beforeDecode, topLeft);
}

bool SourceFramer::frameInto(RowSink* sink, const PictureFile& source, Colour wipe,
                             const DecodeOptions& decode, const FramingOptions& framing,
                             const BeforeDecode& beforeDecode, std::optional<QPoint> topLeft) {
    // The previous source's pixels go before the next picture is decoded, so
    // a framer holds one decoded source at a time.
    decoded_ = Bitmap();
    geometry_ = {geometry_.size, QPoint(0, 0)};
    sourcePath_ = source.path;
    loader_.loadFromFile(source);
    const Picture* picture = loader_.picture();
    const QSize pictureSize(loader_.width(), loader_.height());
    // The Subject anchor measures the picture, which decodes some of it: the
    // picture is first shown to `beforeDecode` in its centred frame, of the
    // same size and needing the same memory wherever the window lies, so
    // that a picture refused is not measured for nothing.
    const bool measures = picture && !topLeft && framing.anchor == Anchor::Subject;
    FramingOptions placing = framing;
    if (measures)
        placing.anchor = Anchor::Centre;
    FrameGeometry frame = picture ? frameGeometryOf(*picture, size_, placing, topLeft) : geometry_;
    // Set first, so that a picture refused before its decode still tells
    // the frame it was refused for.
    geometry_ = frame;
    if (beforeDecode && picture)
        beforeDecode(*picture, frame);
    if (measures) {
        frame = frameGeometryOf(*picture, size_, framing);
        geometry_ = frame;
    }
    // A ratio's canvas takes each picture's size; an empty picture keeps the
    // last one, which then holds only the wipe colour.
    QSize canvas = size_.isRatio() ? QSize(canvas_.width(), canvas_.height())
                                   : QSize(size_.width, size_.height);
    if (size_.isRatio() && !pictureSize.isEmpty())
        canvas = frame.size;
    if (sink == nullptr)
        sizeCanvas(canvas);

    // The Blur fill's background comes from the picture reduced: a type that
    // cannot reduce it alone (Picture::decodeReduced()) takes it from the
    // decoded picture, which is then decoded rather than its rows read.
    const bool margins = leavesMargins(pictureSize, frame);
    std::optional<Bitmap> reduced;
    if (picture != nullptr && framing.fill == Fill::Blur && margins)
        reduced = picture->decodeReduced(blurWorkSize(pictureSize.width(), pictureSize.height()));

    // The rows the frame shows come from the picture's own row reader where
    // it has one, otherwise from the decoded source.
    std::unique_ptr<RowSource> rows;
    QPoint origin; // of the rows' top-left pixel in the picture
    if (picture != nullptr && decode.mode != DecodeMode::Whole && !frame.size.isEmpty() &&
        (framing.fill != Fill::Blur || !margins || reduced)) {
        const QRect window = visibleWindow(pictureSize, frame);
        if (!window.isEmpty()) {
            rows = picture->readRows(window, decode.mode);
            origin = window.topLeft();
        }
    }
    std::optional<BitmapRowSource> whole;
    if (!rows) {
        origin = assignFramedSource(loader_, frame, wipe, decoded_, decode);
        whole.emplace(decoded_);
    }
    RowSource& shown = rows ? *rows : static_cast<RowSource&>(*whole);
    placement_ = {origin.x() - frame.topLeft.x(), origin.y() - frame.topLeft.y()};
    const std::optional<BlurredBackground> blurred = shown.width() > 0 && shown.height() > 0
                                                         ? background(framing, std::move(reduced))
                                                         : std::nullopt;
    const RowLayout layout{canvas.width(), canvas.height(),
                           placement_,     framing.fill,
                           wipe,           blurred ? &*blurred : nullptr};
    if (sink != nullptr)
        return composeRows(shown, layout, *sink);
    BitmapRowSink canvasRows(canvas_);
    return composeRows(shown, layout, canvasRows);
}

std::optional<BlurredBackground> SourceFramer::background(const FramingOptions& framing,
                                                          std::optional<Bitmap> reduced) const {
    const Picture* source = loader_.picture();
    const int W = geometry_.size.width();
    const int H = geometry_.size.height();
    if (framing.fill != Fill::Blur || source == nullptr ||
        !leavesMargins(QSize(loader_.width(), loader_.height()), geometry_))
        return std::nullopt; // no margins: every fill is the wipe colour fill
    if (!reduced)
        reduced = reducedPicture(*source, decoded_);
    // On an axis where the frame lies where the anchor puts it (any frame
    // does where the picture spans the canvas) the background lies as the
    // anchor puts it; elsewhere (a placement, the Subject window) it follows
    // the frame. So a run's JSON lines fed back as placements frame the same
    // result.
    const QPoint anchored =
        anchoredGeometry(QSize(source->width(), source->height()), geometry_.size, framing.anchor)
            .topLeft;
    const auto along = [](int picture, int result, int at, int anchoredAt, int side) {
        return at == anchoredAt ? anchorShare(side) : shareAlong(picture, result, at);
    };
    return blurredBackground(*reduced, source->width(), source->height(), W, H,
                             along(source->width(), W, geometry_.topLeft.x(), anchored.x(),
                                   horizontalSide(framing.anchor)),
                             along(source->height(), H, geometry_.topLeft.y(), anchored.y(),
                                   verticalSide(framing.anchor)));
}

} // namespace kadrix
