#include "picture_signature.h"

namespace kadrix {

QString extensionOfSignature(const QByteArray& head) {
    const auto startsWith = [&](const char* bytes, qsizetype size, qsizetype at = 0) {
        return head.size() >= at + size && head.mid(at, size) == QByteArray(bytes, size);
    };
    if (startsWith("\xFF\xD8\xFF", 3))
        return QStringLiteral("jpg");
    if (startsWith("\x89PNG\r\n\x1A\n", 8))
        return QStringLiteral("png");
    if (startsWith("BM", 2))
        return QStringLiteral("bmp");
    if (startsWith("II*\0", 4) || startsWith("MM\0*", 4))
        return QStringLiteral("tif");
    if (startsWith("RIFF", 4) && startsWith("WEBP", 4, 8))
        return QStringLiteral("webp");
    if (startsWith("ftyp", 4, 4)) {
        const QByteArray brand = head.mid(8, 4);
        if (brand == "avif" || brand == "avis")
            return QStringLiteral("avif");
        if (brand == "heic" || brand == "heix" || brand == "mif1" || brand == "msf1")
            return QStringLiteral("heic");
    }
    return {};
}

} // namespace kadrix
