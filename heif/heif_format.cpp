#include "heif_format.h"

#include <QtEndian>

#include <algorithm>

namespace kadrix::heif {

bool hasHeifSignature(QByteArrayView head) {
    if (head.size() < 16 || head.sliced(FtypTypeOffset, 4) != FtypType)
        return false;
    const quint32 boxSize = qFromBigEndian<quint32>(head.data());
    const qsizetype end = std::min<qsizetype>(head.size(), boxSize);
    const auto known = [](QByteArrayView brand) {
        return std::find(HeifBrands.begin(), HeifBrands.end(), brand) != HeifBrands.end();
    };
    if (known(head.sliced(8, 4)))
        return true;
    for (qsizetype at = 16; at + 4 <= end; at += 4)
        if (known(head.sliced(at, 4)))
            return true;
    return false;
}

} // namespace kadrix::heif
