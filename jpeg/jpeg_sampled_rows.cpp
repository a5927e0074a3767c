#include "jpeg_sampled_rows.h"

#include "jpeg_stream_layout.h"

#include <cstring>
#include <vector>

namespace kadrix::jpegcodec {
namespace {

constexpr unsigned char Rst0 = 0xD0, Rst7 = 0xD7;

// The MCU's size in pixels, or nothing for a layout the rows are not cut from.
struct McuGeometry {
    int width = 0, height = 0;
};

std::optional<McuGeometry> mcuGeometry(const StreamLayout& layout) {
    if (layout.frameComponents == 3 && layout.scanComponents == 3 && layout.maxHorizontal >= 1 &&
        layout.maxVertical >= 1 && layout.maxHorizontal <= 4 && layout.maxVertical <= 4)
        return McuGeometry{8 * layout.maxHorizontal, 8 * layout.maxVertical};
    if (layout.frameComponents == 1 && layout.scanComponents == 1 && layout.unitSampling)
        return McuGeometry{8, 8};
    return std::nullopt;
}

// The entropy bytes of one restart interval: [begin, end), its marker excluded.
struct Span {
    qsizetype begin = 0, end = 0;
};

} // namespace

int mcuRowsOf(const QByteArray& data) {
    const std::optional<StreamLayout> layout = readStreamLayout(data);
    if (!layout)
        return 0;
    const std::optional<McuGeometry> mcu = mcuGeometry(*layout);
    return mcu ? (layout->height + mcu->height - 1) / mcu->height : 0;
}

std::optional<QByteArray> sampledRowsStream(const QByteArray& data, int step) {
    const std::optional<StreamLayout> layout = readStreamLayout(data);
    if (step < 2 || !layout || (layout->frameMarker != 0xC0 && layout->frameMarker != 0xC1) ||
        layout->precision != 8 || layout->restartInterval == 0 || layout->height == 0)
        return std::nullopt;
    const std::optional<McuGeometry> mcu = mcuGeometry(*layout);
    if (!mcu)
        return std::nullopt;
    const int mcusPerRow = (layout->width + mcu->width - 1) / mcu->width;
    const int rows = (layout->height + mcu->height - 1) / mcu->height;
    if (mcusPerRow == 0 || mcusPerRow % layout->restartInterval != 0)
        return std::nullopt;
    const int perRow = mcusPerRow / layout->restartInterval;
    if (perRow > MaxIntervalsPerRow)
        return std::nullopt;

    // The rows kept, in order, and for each interval whether it is kept.
    std::vector<int> kept;
    for (int band = 0; band * step < rows; ++band)
        kept.push_back(std::min(band * step + step / 2, rows - 1));
    const qsizetype intervals = qsizetype(rows) * perRow;
    std::vector<Span> spans;
    spans.reserve(kept.size() * std::size_t(perRow));
    std::size_t next = 0; // the next kept row

    // One walk over the entropy data, marker to marker.
    const auto* bytes = reinterpret_cast<const unsigned char*>(data.constData());
    const qsizetype size = data.size();
    qsizetype at = layout->entropyStart;
    qsizetype begin = at;
    for (qsizetype interval = 0; interval < intervals && next < kept.size(); ++interval) {
        // The end of this interval: its restart marker, or the end of the
        // scan for the last one.
        qsizetype end = -1;
        while (at < size) {
            const void* found = std::memchr(bytes + at, 0xFF, std::size_t(size - at));
            if (found == nullptr)
                break;
            const qsizetype marker = static_cast<const unsigned char*>(found) - bytes;
            at = marker + 1;
            while (at < size && bytes[at] == 0xFF) // fill bytes
                ++at;
            if (at >= size)
                break;
            const unsigned char code = bytes[at++];
            if (code == 0x00) // a stuffed 0xFF data byte
                continue;
            if (code >= Rst0 && code <= Rst7 && code - Rst0 == int(interval % 8)) {
                end = marker;
                break;
            }
            if (interval + 1 == intervals) { // the marker after the scan
                end = marker;
                break;
            }
            return std::nullopt; // a marker out of turn, or another marker
        }
        if (end < 0) {
            if (interval + 1 != intervals)
                return std::nullopt;
            end = size; // the last interval runs to the end of the data
        }
        if (interval / perRow == kept[next]) {
            spans.push_back({begin, end});
            if (interval % perRow == perRow - 1)
                ++next;
        }
        begin = at;
    }
    if (next != kept.size())
        return std::nullopt;

    QByteArray stream;
    qsizetype total = layout->entropyStart + 2 * qsizetype(spans.size()) + 2;
    for (const Span& span : spans)
        total += span.end - span.begin;
    stream.reserve(total);
    stream.append(data.constData(), layout->entropyStart);
    const int height = int(kept.size()) * mcu->height;
    if (height > 0xFFFF)
        return std::nullopt;
    stream[layout->heightOffset] = char(height >> 8);
    stream[layout->heightOffset + 1] = char(height & 0xFF);
    for (std::size_t i = 0; i < spans.size(); ++i) {
        stream.append(data.constData() + spans[i].begin, spans[i].end - spans[i].begin);
        const bool last = i + 1 == spans.size();
        stream.append(char(0xFF));
        stream.append(last ? char(0xD9) : char(Rst0 + i % 8));
    }
    return stream;
}

} // namespace kadrix::jpegcodec
