#include "jpeg_error.h"

namespace kadrix {

EJPEG::EJPEG(int messageCode)
    : EInvalidGraphic(QStringLiteral("JPEG error #%1").arg(messageCode)), msgCode_(messageCode) {}

} // namespace kadrix
