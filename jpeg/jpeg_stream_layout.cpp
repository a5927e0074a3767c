#include "jpeg_stream_layout.h"

#include <algorithm>
#include <cstring>

namespace kadrix::jpegcodec {
namespace {

constexpr unsigned char Soi = 0xD8, Eoi = 0xD9, Sos = 0xDA, Dri = 0xDD;
constexpr unsigned char Rst0 = 0xD0, Rst7 = 0xD7, Tem = 0x01;

bool isFrameMarker(unsigned char m) {
    // SOF0 to SOF15, less DHT (C4), JPG (C8) and DAC (CC).
    return m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC;
}

} // namespace

std::optional<StreamLayout> readStreamLayout(const QByteArray& data) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(data.constData());
    const qsizetype size = data.size();
    const auto be16 = [&](qsizetype at) { return int(bytes[at]) << 8 | int(bytes[at + 1]); };
    if (size < 4 || bytes[0] != 0xFF || bytes[1] != Soi)
        return std::nullopt;
    StreamLayout layout;
    bool haveFrame = false;
    qsizetype at = 2;
    for (;;) {
        if (at >= size || bytes[at] != 0xFF)
            return std::nullopt;
        while (at < size && bytes[at] == 0xFF) // fill bytes before a marker
            ++at;
        if (at >= size)
            return std::nullopt;
        const unsigned char marker = bytes[at++];
        if (marker == Soi || marker == Eoi || marker == Tem || (marker >= Rst0 && marker <= Rst7))
            return std::nullopt; // none of these belongs before the first scan
        if (at + 2 > size)
            return std::nullopt;
        const int length = be16(at);
        if (length < 2 || at + length > size)
            return std::nullopt;
        const qsizetype body = at + 2;
        if (isFrameMarker(marker)) {
            if (haveFrame || length < 8)
                return std::nullopt;
            haveFrame = true;
            layout.frameMarker = marker;
            layout.precision = bytes[body];
            layout.heightOffset = body + 1;
            layout.height = be16(body + 1);
            layout.width = be16(body + 3);
            layout.frameComponents = bytes[body + 5];
            if (length < 8 + 3 * layout.frameComponents)
                return std::nullopt;
            layout.unitSampling = true;
            for (int i = 0; i < layout.frameComponents; ++i) {
                const int factors = bytes[body + 6 + 3 * i + 1];
                layout.maxHorizontal = std::max(layout.maxHorizontal, factors >> 4);
                layout.maxVertical = std::max(layout.maxVertical, factors & 0x0F);
                layout.unitSampling = layout.unitSampling && factors == 0x11;
            }
        } else if (marker == Dri) {
            if (length != 4)
                return std::nullopt;
            layout.restartInterval = be16(body);
        } else if (marker == Sos) {
            if (!haveFrame || length < 3)
                return std::nullopt;
            layout.scanComponents = bytes[body];
            layout.entropyStart = at + length;
            return layout;
        }
        at += length;
    }
}

std::optional<qsizetype> findRestartInterval(const QByteArray& data, qsizetype from,
                                             qsizetype interval, qsizetype through) {
    if (from < 0 || interval < 1)
        return std::nullopt;
    const qsizetype last = std::max(interval, through);
    qsizetype entry = 0;
    const auto* bytes = reinterpret_cast<const unsigned char*>(data.constData());
    const qsizetype size = data.size();
    qsizetype seen = 0;
    qsizetype at = from;
    while (at < size) {
        const void* found = std::memchr(bytes + at, 0xFF, std::size_t(size - at));
        if (found == nullptr)
            return std::nullopt;
        at = static_cast<const unsigned char*>(found) - bytes + 1;
        while (at < size && bytes[at] == 0xFF) // fill bytes
            ++at;
        if (at >= size)
            return std::nullopt;
        const unsigned char next = bytes[at++];
        if (next == 0x00) // a stuffed 0xFF data byte
            continue;
        if (next < Rst0 || next > Rst7 || next - Rst0 != int(seen % 8))
            return std::nullopt;
        if (++seen == interval)
            entry = at;
        if (seen == last)
            return entry;
    }
    return std::nullopt;
}

} // namespace kadrix::jpegcodec
