#pragma once

#include <QPoint>
#include <QSize>

#include <cstdint>

namespace kadrix {

// How the result's size is chosen: one size for every picture, or a ratio
// that each picture is cropped or padded to, giving each its own size.
enum class SizeMode : std::uint8_t {
    Fixed,     // W x H pixels
    RatioCrop, // the largest box of ratio W:H inside the upright picture
    RatioPad,  // the smallest box of ratio W:H that holds the whole picture
};

// Pixels for Fixed, the ratio's two terms otherwise.
struct ResultSize {
    SizeMode mode = SizeMode::Fixed;
    int width = 640;
    int height = 480;

    bool isRatio() const { return mode != SizeMode::Fixed; }
    friend bool operator==(const ResultSize&, const ResultSize&) = default;
};

// The result's size for a picture of `upright` size (after its orientation).
// Fixed gives W x H. A ratio keeps one of the picture's sides whole (its
// height when a picture wider than the ratio is cropped or a taller one
// padded, its width otherwise); the other side is the exact product rounded
// to the nearest integer, halves up, at least 1. A picture already at the
// ratio gives its own size. Sizes past an int saturate, so that making the
// canvas fails with the bitmap's own error. Terms must be 1 or more.
QSize resultSizeFor(const ResultSize& size, QSize upright);

// Where one picture's result lies: its size, and its top-left corner in the
// upright picture's pixels (negative where a margin lies left of or above
// the picture). The compositor's Placement is {-topLeft.x(), -topLeft.y()}.
struct FrameGeometry {
    QSize size;
    QPoint topLeft;

    friend bool operator==(const FrameGeometry&, const FrameGeometry&) = default;
};

// Keeps a wanted top-left corner within reach: on an axis where the picture
// is larger than the result the result stays inside the picture
// (0..p-r); where it is smaller the picture stays inside the result (p-r..0).
QPoint clampTopLeft(QSize picture, QSize result, QPoint wanted);

// Whether the result shows canvas the picture does not cover: margins that
// the fill paints.
bool leavesMargins(QSize picture, const FrameGeometry& frame);

} // namespace kadrix
