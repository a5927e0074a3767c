#pragma once

#include "framing.h"

#include <QSize>

#include <string>

namespace kadrix::test {

// Where the framing tables send a canvas: the framer's canvas, as the window
// shows it, or a result file written a row at a time as kadrix-batch writes
// it (BMP, lossless) and read back. Both must give the same pixels.
enum class Sink { Canvas, ResultRows };
inline constexpr Sink Sinks[] = {Sink::Canvas, Sink::ResultRows};
std::string sinkName(Sink sink);

// `path` framed onto a canvas of `size` through `sink`.
Bitmap framedThrough(Sink sink, const QString& path, QSize size, Colour wipe,
                     const DecodeOptions& decode = {}, const FramingOptions& framing = {});

} // namespace kadrix::test
