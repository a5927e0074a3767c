#include "picture.h"

namespace kadrix {

std::optional<Bitmap> Picture::decodeWindow(const QRect&) const {
    return std::nullopt;
}

} // namespace kadrix
