#include "heif_boxes.h"

#include "heif_box_reader.h"

#include <QtEndian>

#include <algorithm>
#include <limits>

namespace kadrix::heif {
namespace {

quint32 be32(QByteArrayView f, qsizetype at) {
    return qFromBigEndian<quint32>(f.data() + at);
}

} // namespace

std::optional<MetaBox> readMetaBox(const HeifSource& file) {
    // Phones write three or four top-level boxes; a file of countless tiny
    // ones is not worth walking.
    const int MaxTopLevelBoxes = 1024;
    const qint64 MaxMetaBytes = 32 << 20;
    qint64 at = 0;
    for (int k = 0; k < MaxTopLevelBoxes && at + 8 <= file.size(); ++k) {
        const std::optional<QByteArray> header =
            file.read(at, std::min<qint64>(16, file.size() - at));
        if (!header)
            return std::nullopt;
        quint64 size = be32(*header, 0);
        if (size == 1 && header->size() == 16)
            size = qFromBigEndian<quint64>(header->constData() + 8);
        else if (size == 0)
            size = quint64(file.size() - at);
        if (size < 8 || size > quint64(file.size() - at))
            return std::nullopt;
        if (header->sliced(4, 4) == QByteArrayView("meta")) {
            if (size > quint64(MaxMetaBytes))
                return std::nullopt;
            std::optional<QByteArray> bytes = file.read(at, qint64(size));
            if (!bytes)
                return std::nullopt;
            return MetaBox{std::move(*bytes), at};
        }
        at += qint64(size);
    }
    return std::nullopt;
}

QSize correctedSize(QSize reported, const std::vector<ItemProperty>& properties) {
    bool extentSeen = false;
    bool turnedBefore = false; // an odd count of quarter turns before the extent
    bool clapAfter = false;
    for (const ItemProperty& p : properties) {
        if (p.type == QByteArrayView("ispe", 4)) {
            extentSeen = true;
            clapAfter = false;
        } else if (p.type == QByteArrayView("irot", 4) && !extentSeen && !p.payload.isEmpty()) {
            turnedBefore = turnedBefore != ((quint8(p.payload[0]) & 1) != 0);
        } else if (p.type == QByteArrayView("clap", 4) && extentSeen) {
            clapAfter = true;
        }
    }
    // A clean aperture after the extent gives its own size, in the
    // orientation of its place: the quarter turns before the extent are
    // then already in it.
    if (extentSeen && turnedBefore && !clapAfter)
        return reported.transposed();
    return reported;
}

} // namespace kadrix::heif

namespace kadrix::heif {
namespace {

// libheif 1.15's fractions, which its clean aperture is rounded with: 32-bit
// terms, both halved until each lies within ±0x10000. `ok` turns false where
// a 32-bit term would overflow or a denominator vanish.
struct Fraction {
    qint64 n = 0, d = 1;
};
struct FractionArithmetic {
    bool ok = true;
    qint64 term(qint64 v) {
        ok = ok && v >= std::numeric_limits<qint32>::min() &&
             v <= std::numeric_limits<qint32>::max();
        return ok ? v : 0;
    }
    Fraction make(qint64 n, qint64 d) {
        n = term(n);
        d = term(d);
        while (d > 0x10000 || d < -0x10000) {
            n /= 2;
            d /= 2;
        }
        while (n > 0x10000 || n < -0x10000) {
            n /= 2;
            d /= 2;
        }
        ok = ok && d != 0;
        return {n, ok ? d : 1};
    }
    Fraction plus(Fraction a, Fraction b) {
        if (a.d == b.d)
            return make(a.n + b.n, a.d);
        return make(term(a.n * b.d) + term(b.n * a.d), a.d * b.d);
    }
    Fraction minus(Fraction a, Fraction b) { return plus(a, {-b.n, b.d}); }
    Fraction plus(Fraction a, qint64 v) { return make(a.n + term(v * a.d), a.d); }
    Fraction over(Fraction a, qint64 v) { return make(a.n, a.d * v); }
    // C++'s division, which rounds towards zero, as libheif's does.
    qint64 roundDown(Fraction a) { return a.n / a.d; }
    qint64 round(Fraction a) { return term(a.n + a.d / 2) / a.d; }
};

} // namespace

std::optional<QRect> cleanAperture(QByteArrayView payload, QSize size) {
    if (payload.size() < 32)
        return std::nullopt;
    const auto value = [&](int k) { return qFromBigEndian<quint32>(payload.data() + 4 * k); };
    const auto signedValue = [&](int k) { return qint64(qint32(value(k))); };
    FractionArithmetic a;
    const Fraction width = a.make(value(0), value(1)), height = a.make(value(2), value(3));
    const Fraction horizontal = a.make(signedValue(4), signedValue(5));
    const Fraction vertical = a.make(signedValue(6), signedValue(7));
    // left = offset + (size - 1)/2 - (aperture - 1)/2, rounded down for
    // the left edge and to nearest for the top; the far edges follow from
    // the aperture's size, then all are clamped to the picture.
    const auto nearEdge = [&](Fraction offset, Fraction aperture, int side) {
        return a.minus(a.plus(offset, a.make(side - 1, 2)), a.over(a.plus(aperture, -1), 2));
    };
    qint64 left = a.roundDown(nearEdge(horizontal, width, size.width()));
    qint64 right = a.round(a.plus(a.plus(width, -1), left));
    qint64 top = a.round(nearEdge(vertical, height, size.height()));
    qint64 bottom = a.round(a.plus(a.plus(height, -1), top));
    left = std::max<qint64>(left, 0);
    top = std::max<qint64>(top, 0);
    right = std::min<qint64>(right, size.width() - 1);
    bottom = std::min<qint64>(bottom, size.height() - 1);
    // A single column or row is where libheif's versions disagree: left to it.
    if (!a.ok || left >= right || top >= bottom)
        return std::nullopt;
    return QRect(int(left), int(top), int(right - left + 1), int(bottom - top + 1));
}

QByteArray singleTileFile(const GridLayout& grid, const GridLayout::Tile& tile,
                          QByteArrayView data) {
    const auto be = [](int bytes, quint64 value) {
        QByteArray out(bytes, '\0');
        for (int k = bytes - 1; k >= 0; --k, value >>= 8)
            out[k] = char(value & 0xff);
        return out;
    };
    const auto box = [&](const char* type, const QByteArray& payload) {
        return be(4, quint64(8 + payload.size())) + QByteArray(type, 4) + payload;
    };
    const auto fullBox = [&](const char* type, int flags, const QByteArray& payload) {
        return box(type, be(4, quint64(flags)) + payload);
    };
    const QByteArray type = grid.tileType.toByteArray();
    QByteArray ipco =
        tile.config.toByteArray() +
        fullBox("ispe", 0, be(4, quint64(grid.tileWidth)) + be(4, quint64(grid.tileHeight)));
    const qsizetype count = 2 + qsizetype(tile.colours.size());
    QByteArray ipma = be(4, 1) + be(2, 1) + be(1, quint64(count)) + be(1, 0x81) + be(1, 2);
    for (qsizetype k = 0; k < qsizetype(tile.colours.size()); ++k) {
        ipco += tile.colours[size_t(k)].toByteArray();
        ipma += be(1, quint64(3 + k));
    }
    const QByteArray ftyp = box("ftyp", QByteArray(is(grid.tileType, "av01") ? "avif" : "heic") +
                                            be(4, 0) + "mif1miaf");
    const auto metaAt = [&](quint64 dataAt) {
        return fullBox("meta", 0,
                       fullBox("hdlr", 0, be(4, 0) + "pict" + QByteArray(13, '\0')) +
                           fullBox("pitm", 0, be(2, 1)) +
                           fullBox("iloc", 0,
                                   be(1, 0x44) + be(1, 0) + be(2, 1) + be(2, 1) + be(2, 0) +
                                       be(2, 1) + be(4, dataAt) + be(4, quint64(data.size()))) +
                           fullBox("iinf", 0,
                                   be(2, 1) + box("infe", be(4, 2 << 24) + be(2, 1) + be(2, 0) +
                                                              type + '\0')) +
                           box("iprp", box("ipco", ipco) + fullBox("ipma", 0, ipma)));
    };
    const quint64 dataAt = quint64(ftyp.size() + metaAt(0).size() + 8);
    return ftyp + metaAt(dataAt) + box("mdat", data.toByteArray());
}

} // namespace kadrix::heif
