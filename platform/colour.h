#pragma once

#include <QColor>

#include <cstdint>

namespace kadrix {

// A colour value 0x00BBGGRR: red in the lowest byte.
using Colour = std::uint32_t;

// What reading a pixel outside a bitmap gives.
inline constexpr Colour InvalidColour = 0xFFFFFFFFu;

constexpr int redOf(Colour c) { return int(c & 0xFF); }
constexpr int greenOf(Colour c) { return int((c >> 8) & 0xFF); }
constexpr int blueOf(Colour c) { return int((c >> 16) & 0xFF); }
constexpr Colour makeColour(int r, int g, int b) {
    return Colour(r & 0xFF) | (Colour(g & 0xFF) << 8) | (Colour(b & 0xFF) << 16);
}

// One channel of a straight-alpha pixel composed over a background ("over"):
// fg * a + bg * (1 - a) with a = alpha / 255, rounded to the nearest level.
// Alpha 255 gives the foreground exactly, alpha 0 the background.
constexpr int blendOver(int foreground, int background, int alpha) {
    return (alpha * foreground + (255 - alpha) * background + 127) / 255;
}

// The invalid colour has all bits set; it is painted as white.
inline QColor toQColor(Colour c) { return QColor(redOf(c), greenOf(c), blueOf(c)); }
inline Colour fromQColor(const QColor& c) { return makeColour(c.red(), c.green(), c.blue()); }

} // namespace kadrix
