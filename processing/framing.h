#pragma once

#include "bitmap.h"
#include "colour.h"
#include "compositor.h"
#include "frame_geometry.h"
#include "framing_options.h"
#include "margin_fill.h"
#include "picture_registry.h"
#include "rows.h"
#include "source_loader.h"

#include <QPoint>
#include <QString>

#include <functional>
#include <optional>

namespace kadrix {

// The frame of a loaded picture: the result size `size` gives for its
// upright size, placed by `framing`'s anchor (Subject measures the
// picture's interest on interestPicture()), or at `topLeft` (clamped with
// clampTopLeft()) when given.
FrameGeometry frameGeometryOf(const Picture& picture, const ResultSize& size,
                              const FramingOptions& framing,
                              std::optional<QPoint> topLeft = std::nullopt);

// The whole upright picture made smaller for measuring its interest (see
// subject_interest.h): the picture type's sketch (Picture::decodeSketch(): a
// JPEG's scaled decode, the coarsest of 1/8, 1/4 and 1/2 that keeps
// InterestSide pixels on both sides, of some MCU rows only where restart
// markers allow; a HEIF's thumbnail when it stands for the picture), itself
// reduced by a whole factor when it has twice InterestSide pixels on both
// sides or more; any other picture reduced so as its rows are read
// (Picture::readRows()), or else decoded whole (and kept for its window).
Bitmap interestPicture(const Picture& picture);

// The most memory framing `picture` into `frame` as `mode` and `framing`
// say holds: what the picture decodes of the part it shows, and the canvas;
// into a sink (`intoSink`) what reading its rows holds
// (Picture::rowReadingBytes()), the rows its margins repeat (heldRowBytes())
// and the Blur fill's small pictures instead.
qint64 framingBytes(const Picture& picture, const FrameGeometry& frame, DecodeMode mode,
                    const FramingOptions& framing, bool intoSink);

// What SourceFramer::frame() shows a loaded picture and its geometry to.
using BeforeDecode = std::function<void(const Picture& picture, const FrameGeometry& frame)>;

// The per-source step that the window's batch run and kadrix-batch share:
// load a source, decode what lands on the canvas, compose the canvas. One
// framer holds one picture loader, one decoded source and the canvas, and
// is reused from source to source (one per run, or one per worker).
class SourceFramer {
public:
    // A W x H canvas of 24 bits per pixel. Throws Error "Taille finale
    // invalide: W * H" when no canvas of that size can be made.
    SourceFramer(int W, int H);
    // A fixed size as above; a ratio sizes the canvas per picture (its terms
    // must be 1 or more, else the same error). A ratio's canvas too large for
    // a bitmap fails that picture's frame() with the bitmap's error.
    explicit SourceFramer(const ResultSize& size);

    // Loads `source` (the picture type chosen by its extension), decodes
    // it as `decode` says and composes it on the canvas, which is first filled
    // with `wipe`, placed by `framing`'s anchor, or at `topLeft` (the result's
    // top-left corner in the upright picture, kept within reach by
    // clampTopLeft()) when given; the margins are then filled as its fill
    // says; transparent sources are composed over `wipe`. False for a source
    // of zero width or height: the canvas then holds only the wipe colour.
    // Throws the picture's errors. `beforeDecode`, when given, is shown the
    // loaded picture and its frame geometry before its pixels are decoded
    // (and may throw to refuse it); with the Subject anchor, before the
    // picture is measured, its frame centred (the same size, the same
    // memory).
    bool frame(const PictureFile& source, Colour wipe, const DecodeOptions& decode = {},
               const FramingOptions& framing = {}, const BeforeDecode& beforeDecode = {},
               std::optional<QPoint> topLeft = std::nullopt);
    // The same canvas handed to `sink` row by row from the top instead
    // (composeRows()): a picture type that hands on its rows
    // (Picture::readRows()) gives them as they come, so that neither the
    // canvas nor the decoded picture is held whole. The sink is started only
    // once the source is loaded and shown to `beforeDecode`.
    bool frame(const PictureFile& source, Colour wipe, RowSink& sink,
               const DecodeOptions& decode = {}, const FramingOptions& framing = {},
               const BeforeDecode& beforeDecode = {}, std::optional<QPoint> topLeft = std::nullopt);

    const ResultSize& resultSize() const { return size_; }
    // The last frame's result size (a fixed size from the start).
    int width() const { return geometry_.size.width(); }
    int height() const { return geometry_.size.height(); }
    // The canvas of the last frame() that composed one: made at the first.
    const Bitmap& canvas() const { return canvas_; }
    // The last frame's result size and place on its upright picture.
    const FrameGeometry& geometry() const { return geometry_; }
    // The picture of the last frame() until the next one: where the save
    // step can take what a result carries over from its source.
    const Picture* source() const { return loader_.picture(); }
    // The path of the last frame()'s source.
    const QString& sourcePath() const { return sourcePath_; }

private:
    // Gives the canvas the frame's size (a ratio's canvas changes per picture).
    void sizeCanvas(QSize size);
    // frame() into `sink`, or into the canvas without one.
    bool frameInto(RowSink* sink, const PictureFile& source, Colour wipe,
                   const DecodeOptions& decode, const FramingOptions& framing,
                   const BeforeDecode& beforeDecode, std::optional<QPoint> topLeft);
    // The Blur fill's background, when the picture leaves margins, from
    // `reduced` when given, else from reducedPicture().
    std::optional<BlurredBackground> background(const FramingOptions& framing,
                                                std::optional<Bitmap> reduced) const;

    ResultSize size_;
    Bitmap canvas_;
    PictureLoader loader_;
    Bitmap decoded_;
    Placement placement_{0, 0}; // of decoded_ on the canvas
    FrameGeometry geometry_;
    QString sourcePath_;
};

} // namespace kadrix
