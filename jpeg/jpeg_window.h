#pragma once

#include "bitmap.h"
#include "decode_mode.h"
#include "jpeg_defaults.h"
#include "rows.h"

#include <QByteArray>
#include <QRect>

#include <memory>
#include <optional>

namespace kadrix::jpegcodec {

// Where a windowed decode started reading the picture's rows.
enum class WindowStart { Top, RestartMarker };

// Decodes only `window` (in output pixels, at the options' scale) of the
// stream into a 24-bit bitmap of the window's size (clipped to the picture),
// holding exactly the pixels the whole decode has there. Only the rows down
// to the window's bottom edge are read, and only the columns around it are
// turned into pixels, so damage below the window goes unnoticed. `mode` says
// how (see DecodeMode): with Seek, a sequential file whose restart markers
// start its MCU rows is read from the marker one MCU row above the window,
// and any doubt (a layout it does not fit, a marker missing or out of turn,
// a codec warning on the way) gives the Window decode instead. `start`, when
// given, tells which way the rows were read.
//
// Returns nothing when the options or the stream give anything but 24-bit
// colour without a palette (grey levels, 8-bit output, grey files without
// ExactGrey, CMYK files): those need the whole decode. Throws EJPEG for codec failures.
std::optional<Bitmap> decodeWindow(const QByteArray& data, const TJPEGDefaults& options,
                                   const QRect& window, DecodeMode mode = DecodeMode::Seek,
                                   WindowStart* start = nullptr);

// The largest window that Seek enters at a restart marker rather than
// reading rows from the top in windowRows().
inline constexpr qint64 MaxSeekWindowBytes = qint64(4) << 20;

// The rows of `window` as decodeWindow() decodes them from the top of the
// stream, decoded one at a time as they are read. Nothing where decodeWindow()
// gives nothing, for an empty window, for DecodeMode::Whole, and where Seek
// would enter the stream at a restart marker for a window of at most
// MaxSeekWindowBytes in 24 bits (decodeWindow() is then faster).
// Throws EJPEG for codec failures, also while the rows are read.
std::unique_ptr<RowSource> windowRows(const QByteArray& data, const TJPEGDefaults& options,
                                      const QRect& window, DecodeMode mode);
// The most memory windowRows() holds for a stream `width` x `height` pixels
// at the options' scale: the codec's rows of a few MCU rows of every
// component at the whole width, and for a progressive file the coefficients
// of the whole picture, gathered before the first row (at most 2 bytes a
// sample of three full-resolution components).
qint64 windowRowsBytes(int width, int height, bool progressive);

} // namespace kadrix::jpegcodec
