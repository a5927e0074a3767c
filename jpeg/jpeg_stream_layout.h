#pragma once

// Where things are in a JPEG stream, found by walking its marker segments
// and scanning its entropy-coded bytes, never by decoding.

#include <QByteArray>

#include <optional>

namespace kadrix::jpegcodec {

// The header of a stream up to its first scan.
struct StreamLayout {
    int frameMarker = 0;        // the SOFn marker's second byte (0xC0 baseline, ...)
    int precision = 0;          // bits per sample
    int height = 0, width = 0;  // as the frame header gives them
    qsizetype heightOffset = 0; // where the frame header's 2-byte height is
    int frameComponents = 0;    // components in the frame
    int maxHorizontal = 0;      // the largest horizontal and vertical sampling
    int maxVertical = 0;        // factors of the frame's components
    bool unitSampling = false;  // every component's factors are 1 x 1
    int scanComponents = 0;     // components in the first scan
    int restartInterval = 0;    // MCUs per restart interval (0: no markers)
    qsizetype entropyStart = 0; // the first byte after the first SOS segment
};

// Walks the segments from the SOI marker to the first SOS one, each skipped
// by its length (so a thumbnail inside APP1 is never taken for the picture).
// Nothing when the stream does not start with SOI, a segment runs past the
// end, a frame header is missing, doubled or short, or no scan follows.
std::optional<StreamLayout> readStreamLayout(const QByteArray& data);

// The offset of the first entropy byte of restart interval `interval` (1 or
// more): the byte after the interval-th restart marker, counted from `from`,
// the start of the scan's entropy data. Stuffed 0xFF 0x00 pairs and 0xFF fill
// bytes are not markers. Nothing when the markers before it, and when
// `through` is larger those after it up to the through-th, are not RST0,
// RST1, ... RST7, RST0, ... in turn, or another marker (or the end of the
// data) comes first.
std::optional<qsizetype> findRestartInterval(const QByteArray& data, qsizetype from,
                                             qsizetype interval, qsizetype through = 0);

} // namespace kadrix::jpegcodec
