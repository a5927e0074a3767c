#include "picture_signature.h"

#include "picture_formats.h"

namespace kadrix {

QString extensionOfSignature(const QByteArray& head) {
    const PictureFormat* format = formatOfSignature(head);
    return format == nullptr || format->extensions.isEmpty() ? QString()
                                                             : format->extensions.front();
}

} // namespace kadrix
