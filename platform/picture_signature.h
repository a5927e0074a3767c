#pragma once

#include <QByteArray>
#include <QString>

namespace kadrix {

// The extension of the picture type whose signature `head` (the first bytes
// of a file, 16 are enough) starts with: "jpg", "png", "bmp", "tif", "webp",
// "heic" or "avif"; "" when it is none of them.
QString extensionOfSignature(const QByteArray& head);

} // namespace kadrix
