#include "heif_boxes.h"

#include <QtEndian>

namespace kadrix::heif {
namespace {

// A box inside [begin, end) of the file: its type, and its payload past the
// header (and past the version and flags of a full box, see `full`).
struct Box {
    QByteArrayView type;
    qsizetype start = 0;   // of the header
    qsizetype content = 0; // of the payload
    qsizetype end = 0;
};

quint32 be32(QByteArrayView f, qsizetype at) {
    return qFromBigEndian<quint32>(f.data() + at);
}
quint16 be16(QByteArrayView f, qsizetype at) {
    return qFromBigEndian<quint16>(f.data() + at);
}

// The boxes one after another in [begin, end); stops at the first that does
// not fit.
std::vector<Box> boxesIn(QByteArrayView f, qsizetype begin, qsizetype end) {
    std::vector<Box> boxes;
    qsizetype at = begin;
    while (at + 8 <= end) {
        quint64 size = be32(f, at);
        qsizetype header = 8;
        if (size == 1) { // a 64-bit size follows the type
            if (at + 16 > end)
                break;
            size = qFromBigEndian<quint64>(f.data() + at + 8);
            header = 16;
        } else if (size == 0) { // to the end of the parent
            size = quint64(end - at);
        }
        if (size < quint64(header) || size > quint64(end - at))
            break;
        boxes.push_back({f.sliced(at + 4, 4), at, at + header, at + qsizetype(size)});
        at += qsizetype(size);
    }
    return boxes;
}

std::optional<Box> find(const std::vector<Box>& boxes, const char* type) {
    for (const Box& b : boxes)
        if (b.type == QByteArrayView(type, 4))
            return b;
    return std::nullopt;
}

} // namespace

std::optional<std::vector<ItemProperty>> primaryProperties(QByteArrayView f) {
    const auto meta = find(boxesIn(f, 0, f.size()), "meta");
    if (!meta || meta->content + 4 > meta->end)
        return std::nullopt;
    const std::vector<Box> inMeta = boxesIn(f, meta->content + 4, meta->end); // a full box
    const auto pitm = find(inMeta, "pitm");
    const auto iprp = find(inMeta, "iprp");
    if (!pitm || !iprp || pitm->content + 4 > pitm->end)
        return std::nullopt;
    const int pitmVersion = quint8(f[pitm->content]);
    const qsizetype idAt = pitm->content + 4;
    if (idAt + (pitmVersion == 0 ? 2 : 4) > pitm->end)
        return std::nullopt;
    const quint32 primary = pitmVersion == 0 ? be16(f, idAt) : be32(f, idAt);

    const std::vector<Box> inIprp = boxesIn(f, iprp->content, iprp->end);
    const auto ipco = find(inIprp, "ipco");
    if (!ipco)
        return std::nullopt;
    const std::vector<Box> properties = boxesIn(f, ipco->content, ipco->end);
    // Every association box is read: an item may have entries in several.
    std::vector<ItemProperty> found;
    bool listed = false;
    for (const Box& ipma : inIprp) {
        if (ipma.type != QByteArrayView("ipma", 4))
            continue;
        qsizetype at = ipma.content;
        if (at + 8 > ipma.end)
            return std::nullopt;
        const int version = quint8(f[at]);
        const bool wide = (quint8(f[at + 3]) & 1) != 0;
        const quint32 entries = be32(f, at + 4);
        at += 8;
        for (quint32 e = 0; e < entries; ++e) {
            const int idBytes = version < 1 ? 2 : 4;
            if (at + idBytes + 1 > ipma.end)
                return std::nullopt;
            const quint32 id = version < 1 ? be16(f, at) : be32(f, at);
            const int count = quint8(f[at + idBytes]);
            at += idBytes + 1;
            const int indexBytes = wide ? 2 : 1;
            if (at + qsizetype(count) * indexBytes > ipma.end)
                return std::nullopt;
            for (int i = 0; i < count; ++i, at += indexBytes) {
                if (id != primary)
                    continue;
                const quint32 index = wide ? be16(f, at) & 0x7fffu : quint8(f[at]) & 0x7fu;
                if (index == 0) // no property
                    continue;
                if (index > properties.size())
                    return std::nullopt;
                const Box& p = properties[index - 1];
                found.push_back({p.type, f.sliced(p.content, p.end - p.content)});
            }
            listed = listed || id == primary;
        }
    }
    if (!listed)
        return std::nullopt;
    return found;
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
