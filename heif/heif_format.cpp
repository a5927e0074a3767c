#include "heif_format.h"

#include "picture_formats.h"

#include <QtEndian>

#include <algorithm>

namespace kadrix::heif {
namespace {

// The table's signatures of the family are "????ftyp" and a brand.
constexpr qsizetype BrandOffset = 8;

QList<QByteArray> familyBrands() {
    QList<QByteArray> brands;
    for (const char* name : HeifFormatNames)
        if (const PictureFormat* format = pictureFormatNamed(QString::fromLatin1(name)))
            for (const QByteArray& signature : format->signatures)
                brands << signature.mid(BrandOffset, 4);
    return brands;
}

} // namespace

bool hasHeifSignature(QByteArrayView head) {
    if (head.size() < 16 || head.sliced(4, 4) != QByteArrayView("ftyp"))
        return false;
    static const QList<QByteArray> brands = familyBrands();
    const auto known = [](QByteArrayView brand) {
        return std::find(brands.begin(), brands.end(), brand) != brands.end();
    };
    if (known(head.sliced(BrandOffset, 4)))
        return true;
    // The compatible brands follow the minor version, to the box's end.
    const quint32 boxSize = qFromBigEndian<quint32>(head.data());
    const qsizetype end = std::min<qsizetype>(head.size(), boxSize);
    for (qsizetype at = 16; at + 4 <= end; at += 4)
        if (known(head.sliced(at, 4)))
            return true;
    return false;
}

} // namespace kadrix::heif
