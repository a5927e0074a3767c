#include "jpeg_error.h"

#include <cstdio>

#include <jpeglib.h>

namespace kadrix {

EJPEG::EJPEG(int messageCode) : EJPEG(messageCode, codecMessageText(messageCode)) {}

EJPEG::EJPEG(int messageCode, QString codecText)
    : EInvalidGraphic(QStringLiteral("JPEG error #%1").arg(messageCode)), msgCode_(messageCode),
      codecText_(std::move(codecText)) {}

QString EJPEG::detailedMessage() const {
    return codecText_.isEmpty() ? message() : message() + QStringLiteral(": ") + codecText_;
}

QString codecMessageText(int messageCode, int parameter) {
    jpeg_error_mgr errors{};
    jpeg_std_error(&errors);
    jpeg_common_struct common{};
    common.err = &errors;
    errors.msg_code = messageCode;
    errors.msg_parm.i[0] = parameter;
    char text[JMSG_LENGTH_MAX] = {};
    errors.format_message(&common, text);
    return QString::fromLocal8Bit(text);
}

} // namespace kadrix
