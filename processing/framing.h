#pragma once

#include "bitmap.h"
#include "colour.h"
#include "compositor.h"
#include "framing_options.h"
#include "margin_fill.h"
#include "picture_registry.h"
#include "rows.h"
#include "source_loader.h"

#include <QString>

#include <functional>
#include <optional>

namespace kadrix {

// The per-source step that the window's batch run and kadrix-batch share:
// load a source, decode what lands on the canvas, compose the canvas. One
// framer holds one picture loader, one decoded source and the canvas, and
// is reused from source to source (one per run, or one per worker).
class SourceFramer {
public:
    // A W x H canvas of 24 bits per pixel. Throws Error "Taille finale
    // invalide: W * H" when no canvas of that size can be made.
    SourceFramer(int W, int H);

    // Loads `sourcePath` (the picture type chosen by its extension), decodes
    // it as `decode` says and composes it on the canvas, which is first filled
    // with `wipe`, placed by `framing`'s anchor, the margins then filled as
    // its fill says; transparent sources are composed over `wipe`. False for
    // a source of zero width or height: the canvas then holds only the wipe
    // colour. Throws the picture's errors. `beforeDecode`, when given, is
    // shown the loaded picture before its pixels are decoded (and may throw
    // to refuse it).
    bool frame(const QString& sourcePath, Colour wipe, const DecodeOptions& decode = {},
               const FramingOptions& framing = {},
               const std::function<void(const Picture& picture)>& beforeDecode = {});
    // The same canvas handed to `sink` row by row from the top instead
    // (composeRows()): a picture type that decodes rows one at a time
    // (Picture::readRows()) hands them on as they come, so that neither the
    // canvas nor the decoded picture is held whole. The sink is started only
    // once the source is loaded and shown to `beforeDecode`.
    bool frame(const QString& sourcePath, Colour wipe, RowSink& sink,
               const DecodeOptions& decode = {}, const FramingOptions& framing = {},
               const std::function<void(const Picture& picture)>& beforeDecode = {});

    // The bytes of margin rows the framing of `picture` keeps while it
    // hands its rows on (heldRowBytes()).
    qint64 keptRowBytes(const Picture& picture, const FramingOptions& framing) const;

    int width() const { return W_; }
    int height() const { return H_; }
    // The canvas of the last frame() that composed one (empty before).
    const Bitmap& canvas() const { return canvas_; }
    // The picture of the last frame() until the next one: where the save
    // step can take what a result carries over from its source.
    const Picture* source() const { return loader_.picture(); }
    // The path of the last frame()'s source.
    const QString& sourcePath() const { return sourcePath_; }

private:
    // The Blur fill's background for a source placed so on the canvas, when
    // it leaves margins.
    std::optional<BlurredBackground> background(QSize shown, Placement placement,
                                                const FramingOptions& framing) const;

    int W_;
    int H_;
    Bitmap canvas_;
    PictureLoader loader_;
    Bitmap decoded_;
    QString sourcePath_;
};

} // namespace kadrix
