#pragma once

#include <QByteArray>

namespace kadrix {

// The colour model an ICC profile describes, from its header.
enum class IccColourModel { Unreadable, Rgb, Grey, Other };

// Unreadable unless the profile holds at least its header and tag count,
// its declared size equals its length and it carries the "acsp" signature.
IccColourModel iccColourModel(const QByteArray& profile);

// libjpeg spreads a profile over at most 255 markers of 65519 bytes each.
constexpr qsizetype MaxJpegIccBytes = qsizetype(255) * 65519;

// Whether a source profile goes into a result whose pixels are grey levels
// (`greyResult`) or colour: it must be readable, of the same colour model,
// and no larger than `capacity`.
bool iccProfileFits(const QByteArray& profile, bool greyResult, qsizetype capacity);

} // namespace kadrix
