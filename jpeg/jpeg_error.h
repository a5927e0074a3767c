#pragma once

#include "errors.h"

namespace kadrix {

// A failure reported by the JPEG codec: damaged or foreign data, empty data,
// a layout the codec cannot decode. The text carries the codec's message
// number only, "JPEG error #<code>".
class EJPEG : public EInvalidGraphic {
public:
    explicit EJPEG(int messageCode);
    int msgCode() const noexcept { return msgCode_; }

private:
    int msgCode_;
};

} // namespace kadrix
