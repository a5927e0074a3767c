#pragma once

#include "bitmap.h"

#include <QPoint>
#include <QSize>

#include <cstdint>
#include <vector>

namespace kadrix {

// Where the Subject anchor places a result: measured on the picture reduced
// to about InterestSide pixels on its shorter side, each pixel's interest is
// the weighted sum of three measures scaled to 0..255: the strength of its
// luma edges, its colour saturation and how much it looks like skin. The
// window whose summed interest, weighted by the centre preference, is the
// largest wins; ties go to the window nearest the centre.

// The reduced picture's shorter side the measure aims at.
inline constexpr int InterestSide = 256;
// The measures' weights (each measure is 0..255 before weighting).
inline constexpr int EdgeWeight = 2;
inline constexpr int SaturationWeight = 1;
inline constexpr int SkinWeight = 2;
// Edge strengths up to this (of 255) are taken for grain and gentle shading:
// they count as no edge, and what is above counts from 0.
inline constexpr int EdgeFloor = 8;
// The centre preference: a window's interest is multiplied by
// 1 - CentrePreference * d^2, d being its distance from the centred window
// as a share of the room it has (0 centred, 1 at the edge), so an even
// picture is framed as the centre anchor frames it.
inline constexpr double CentrePreference = 0.25;

// The interest of every pixel of a 24-bit picture, row after row.
std::vector<std::uint16_t> interestMap(const Bitmap& reduced);

// The result's top-left corner in the picture (`picture` upright pixels) for
// a `result`-sized frame, measured on `reduced` (the whole upright picture
// made smaller, any size of 1 pixel or more). On an axis where the picture
// is not larger than the result it is centred as the centre anchor centres
// it; where larger the window lies inside the picture.
QPoint subjectTopLeft(const Bitmap& reduced, QSize picture, QSize result);

} // namespace kadrix
