#pragma once

#include "errors.h"

namespace kadrix {

// A failure reported by the JPEG codec: damaged or foreign data, empty data,
// a layout the codec cannot decode. The text carries the codec's message
// number only, "JPEG error #<code>"; the codec's own wording of the message
// is kept beside it for the command line.
class EJPEG : public EInvalidGraphic {
public:
    explicit EJPEG(int messageCode);
    EJPEG(int messageCode, QString codecText);
    int msgCode() const noexcept { return msgCode_; }
    // libjpeg's text of the message, parameters filled in ("" when unknown).
    const QString& codecText() const noexcept { return codecText_; }
    // "JPEG error #<code>: <codec text>", or the message alone without a text.
    QString detailedMessage() const;

private:
    int msgCode_;
    QString codecText_;
};

// libjpeg's text for a message code, its first number `parameter` where it
// takes one.
QString codecMessageText(int messageCode, int parameter = 0);

} // namespace kadrix
