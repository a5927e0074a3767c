#pragma once

// A stream made of some MCU rows of another, for measuring a picture
// cheaply: where restart markers cut a stream into rows, rows can be left
// out without entropy-decoding them.

#include <QByteArray>

#include <optional>

namespace kadrix::jpegcodec {

// Every `step`-th MCU row of a stream (the middle row of each band of
// `step` rows, the last band's last row when it is shorter) as a stream of
// its own: the same header with the frame height of the rows kept, their
// entropy data in place and restart markers numbered anew. Only for one
// scan of 8-bit sequential Huffman data holding every component (three
// interleaved, or one at 1 x 1 sampling) whose MCU rows are each a whole
// number of restart intervals, at most MaxIntervalsPerRow, with every
// marker present and in turn; nothing otherwise, or when `step` < 2.
std::optional<QByteArray> sampledRowsStream(const QByteArray& data, int step);

// More intervals per MCU row than this are not worth cutting out one by one.
inline constexpr int MaxIntervalsPerRow = 64;

// The MCU rows of a stream (its frame height over the MCU height), or 0 when
// its header cannot be read.
int mcuRowsOf(const QByteArray& data);

} // namespace kadrix::jpegcodec
