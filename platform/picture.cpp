#include "picture.h"

namespace kadrix {

std::optional<Bitmap> Picture::decodeWindow(const QRect&, DecodeMode) const {
    return std::nullopt;
}

std::optional<Bitmap> Picture::decodeReduced(QSize) const {
    return std::nullopt;
}

std::unique_ptr<RowSource> Picture::readRows(const QRect&, DecodeMode) const {
    return nullptr;
}

} // namespace kadrix
