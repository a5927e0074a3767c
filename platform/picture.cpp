#include "picture.h"

namespace kadrix {

std::optional<Bitmap> Picture::decodeWindow(const QRect&, DecodeMode) const {
    return std::nullopt;
}

qint64 Picture::decodingBytes(const QRect&, DecodeMode) const {
    return qint64(width()) * height() * 4;
}

std::optional<Bitmap> Picture::decodeReduced(QSize) const {
    return std::nullopt;
}

std::optional<Bitmap> Picture::decodeSketch(QSize atLeast) const {
    return decodeReduced(atLeast);
}

qint64 Picture::sketchBytes(QSize) const {
    return 0;
}

qint64 Picture::rowReadingBytes(const QRect& window, DecodeMode mode) const {
    return decodingBytes(window, mode);
}

std::unique_ptr<RowSource> Picture::readRows(const QRect&, DecodeMode) const {
    return nullptr;
}

} // namespace kadrix
