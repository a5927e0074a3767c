#include "heif_boxes.h"

#include <QtEndian>

#include <algorithm>
#include <limits>

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

std::optional<std::vector<ItemProperty>> primaryProperties(const MetaBox& metaBox) {
    const QByteArrayView f = metaBox.bytes;
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

namespace kadrix::heif {
namespace {

bool is(QByteArrayView type, const char* name) {
    return type == QByteArrayView(name, 4);
}

// Reads big-endian numbers inside [at, end), failing once past the end.
struct Cursor {
    QByteArrayView f;
    qsizetype at, end;
    bool ok = true;
    quint64 read(int bytes) {
        if (bytes < 0 || bytes > 8 || at + bytes > end) {
            ok = false;
            return 0;
        }
        quint64 value = 0;
        for (int i = 0; i < bytes; ++i)
            value = (value << 8) | quint8(f[at + i]);
        at += bytes;
        return value;
    }
};

struct Extent {
    int method = -1; // construction method: 0 in the file, 1 in `idat`
    quint64 offset = 0, length = 0;
    int count = 0;
};

// The first extent of each item of the `iloc` box, by item id.
std::optional<std::vector<std::pair<quint32, Extent>>> readLocations(QByteArrayView f,
                                                                     const Box& iloc) {
    Cursor c{f, iloc.content, iloc.end};
    const int version = int(c.read(1));
    c.read(3);
    const int sizes = int(c.read(1)), more = int(c.read(1));
    const int offsetSize = sizes >> 4, lengthSize = sizes & 15, baseSize = more >> 4;
    const int indexSize = version >= 1 ? more & 15 : 0;
    const quint64 count = c.read(version < 2 ? 2 : 4);
    std::vector<std::pair<quint32, Extent>> items;
    for (quint64 i = 0; i < count && c.ok; ++i) {
        const quint32 id = quint32(c.read(version < 2 ? 2 : 4));
        Extent e;
        e.method = version >= 1 ? int(c.read(2) & 15) : 0;
        c.read(2); // data reference index
        const quint64 base = c.read(baseSize);
        e.count = int(c.read(2));
        for (int k = 0; k < e.count && c.ok; ++k) {
            c.read(indexSize);
            const quint64 offset = c.read(offsetSize), length = c.read(lengthSize);
            if (k == 0) {
                e.offset = base + offset;
                e.length = length;
            }
        }
        items.emplace_back(id, e);
    }
    if (!c.ok)
        return std::nullopt;
    return items;
}

} // namespace

namespace {

// What the items of the container say: the primary item, each item's type
// and first extent, and the grid description of the primary item when it is
// a grid. Box positions are in the `meta` box's bytes, extents in the file.
struct Container {
    qint64 metaAt = 0, fileSize = 0;
    std::vector<Box> inMeta;
    quint32 primary = 0;
    std::vector<std::pair<quint32, QByteArrayView>> types;
    std::vector<std::pair<quint32, Extent>> locations;
    std::optional<Box> idat;
    QByteArrayView typeOf(quint32 id) const {
        for (const auto& [item, type] : types)
            if (item == id)
                return type;
        return {};
    }
    // Where the item's bytes lie in the file, when they are one extent inside
    // the file or `idat`.
    std::optional<ByteRange> extentOf(quint32 id) const {
        for (const auto& [item, e] : locations) {
            if (item != id)
                continue;
            if (e.count != 1)
                return std::nullopt;
            const qint64 from = e.method == 0 ? 0 : idat ? metaAt + idat->content : -1;
            const qint64 to = e.method == 0 ? fileSize : idat ? metaAt + idat->end : -1;
            if (from < 0 || e.method > 1 || e.offset > quint64(to - from) ||
                e.length > quint64(to - from) - e.offset || e.length == 0)
                return std::nullopt;
            return ByteRange{from + qint64(e.offset), qint64(e.length)};
        }
        return std::nullopt;
    }
};

// The first `most` bytes of `range`: from the `meta` box when they lie in
// it, else read from the file.
std::optional<QByteArray> bytesOf(const MetaBox& meta, const HeifSource& file,
                                  const ByteRange& range, qint64 most) {
    const qint64 length = std::min(range.length, most);
    if (range.offset >= meta.at && range.offset + length <= meta.at + meta.bytes.size())
        return meta.bytes.mid(qsizetype(range.offset - meta.at), qsizetype(length));
    return file.read(range.offset, length);
}

std::optional<Container> readContainer(const MetaBox& metaBox, qint64 fileSize) {
    const QByteArrayView f = metaBox.bytes;
    const auto meta = find(boxesIn(f, 0, f.size()), "meta");
    if (!meta || meta->content + 4 > meta->end)
        return std::nullopt;
    Container c;
    c.metaAt = metaBox.at;
    c.fileSize = fileSize;
    c.inMeta = boxesIn(f, meta->content + 4, meta->end);
    const auto pitm = find(c.inMeta, "pitm"), iinf = find(c.inMeta, "iinf"),
               iloc = find(c.inMeta, "iloc");
    c.idat = find(c.inMeta, "idat");
    if (!pitm || !iinf || !iloc)
        return std::nullopt;
    Cursor p{f, pitm->content, pitm->end};
    const int pitmVersion = int(p.read(1));
    p.read(3);
    c.primary = quint32(p.read(pitmVersion == 0 ? 2 : 4));
    if (!p.ok)
        return std::nullopt;
    Cursor i{f, iinf->content, iinf->end};
    const int iinfVersion = int(i.read(1));
    i.read(3);
    i.read(iinfVersion == 0 ? 2 : 4);
    if (!i.ok)
        return std::nullopt;
    for (const Box& infe : boxesIn(f, i.at, iinf->end)) {
        Cursor e{f, infe.content, infe.end};
        const int version = int(e.read(1));
        e.read(3);
        if (!is(infe.type, "infe") || version < 2 || !e.ok)
            continue;
        const quint32 id = quint32(e.read(version == 2 ? 2 : 4));
        e.read(2);
        if (!e.ok || e.at + 4 > e.end)
            return std::nullopt;
        c.types.emplace_back(id, f.sliced(e.at, 4));
    }
    auto locations = readLocations(f, *iloc);
    if (!locations)
        return std::nullopt;
    c.locations = std::move(*locations);
    return c;
}

struct GridDescription {
    int rows = 0, columns = 0, width = 0, height = 0;
};

std::optional<GridDescription> describedGrid(const MetaBox& meta, const HeifSource& file,
                                             const Container& c) {
    if (!is(c.typeOf(c.primary), "grid"))
        return std::nullopt;
    const auto extent = c.extentOf(c.primary);
    // Version, flags, rows, columns and two sizes of at most four bytes.
    const auto description = extent ? bytesOf(meta, file, *extent, 12) : std::nullopt;
    if (!description || description->size() < 8)
        return std::nullopt;
    Cursor d{*description, 0, description->size()};
    d.read(1);
    const int wide = (d.read(1) & 1) ? 4 : 2;
    GridDescription g;
    g.rows = int(d.read(1)) + 1;
    g.columns = int(d.read(1)) + 1;
    const quint64 w = d.read(wide), h = d.read(wide);
    if (!d.ok || w == 0 || h == 0 || w > 0x7fffffff || h > 0x7fffffff)
        return std::nullopt;
    g.width = int(w);
    g.height = int(h);
    return g;
}

} // namespace

std::optional<QSize> gridOutputSize(const MetaBox& meta, const HeifSource& file) {
    const auto c = readContainer(meta, file.size());
    if (!c)
        return std::nullopt;
    const auto g = describedGrid(meta, file, *c);
    if (!g)
        return std::nullopt;
    return QSize(g->width, g->height);
}

std::optional<GridLayout> readGrid(const MetaBox& meta, const HeifSource& file,
                                   bool* tileWithoutExtent) {
    const QByteArrayView f = meta.bytes;
    const auto container = readContainer(meta, file.size());
    if (!container)
        return std::nullopt;
    const Container& c = *container;
    const quint32 primary = c.primary;
    const auto iref = find(c.inMeta, "iref"), iprp = find(c.inMeta, "iprp");
    const auto description = describedGrid(meta, file, c);
    if (!iref || !iprp || !description)
        return std::nullopt;

    // The grid's tiles, in their order.
    std::vector<quint32> tileIds;
    Cursor r{f, iref->content, iref->end};
    const int irefVersion = int(r.read(1));
    r.read(3);
    if (!r.ok)
        return std::nullopt;
    for (const Box& ref : boxesIn(f, r.at, iref->end)) {
        Cursor b{f, ref.content, ref.end};
        const int idBytes = irefVersion == 0 ? 2 : 4;
        const quint32 from = quint32(b.read(idBytes));
        const int count = int(b.read(2));
        if (!b.ok)
            return std::nullopt;
        if (!is(ref.type, "dimg") || from != primary)
            continue;
        if (!tileIds.empty())
            return std::nullopt; // two lists of tiles
        for (int k = 0; k < count; ++k)
            tileIds.push_back(quint32(b.read(idBytes)));
        if (!b.ok)
            return std::nullopt;
    }
    GridLayout grid;
    grid.rows = description->rows;
    grid.columns = description->columns;
    grid.width = description->width;
    grid.height = description->height;
    if (tileIds.size() != size_t(grid.rows) * size_t(grid.columns))
        return std::nullopt;

    // Every item's properties.
    const std::vector<Box> inIprp = boxesIn(f, iprp->content, iprp->end);
    const auto ipco = find(inIprp, "ipco");
    if (!ipco)
        return std::nullopt;
    const std::vector<Box> properties = boxesIn(f, ipco->content, ipco->end);
    const auto propertiesOf = [&](quint32 id) -> std::optional<std::vector<const Box*>> {
        std::vector<const Box*> found;
        for (const Box& ipma : inIprp) {
            if (!is(ipma.type, "ipma"))
                continue;
            Cursor m{f, ipma.content, ipma.end};
            const int version = int(m.read(1));
            const bool wideIndex = (m.read(3) & 1) != 0;
            const quint64 entries = m.read(4);
            for (quint64 e = 0; e < entries && m.ok; ++e) {
                const quint32 item = quint32(m.read(version < 1 ? 2 : 4));
                const int count = int(m.read(1));
                for (int k = 0; k < count && m.ok; ++k) {
                    const quint64 index = m.read(wideIndex ? 2 : 1) & (wideIndex ? 0x7fff : 0x7f);
                    if (item != id || index == 0)
                        continue;
                    if (index > properties.size())
                        return std::nullopt;
                    found.push_back(&properties[index - 1]);
                }
            }
            if (!m.ok)
                return std::nullopt;
        }
        return found;
    };

    // libheif 1.15 pastes a tile without an extent nowhere and leaves its
    // part of the grid uninitialised: such a grid is damaged.
    for (const quint32 id : tileIds) {
        const auto own = propertiesOf(id);
        if (own && std::none_of(own->begin(), own->end(),
                                [](const Box* b) { return is(b->type, "ispe"); })) {
            if (tileWithoutExtent)
                *tileWithoutExtent = true;
            return std::nullopt;
        }
    }
    const auto gridProperties = propertiesOf(primary);
    if (!gridProperties)
        return std::nullopt;
    for (const Box* b : *gridProperties) {
        if (is(b->type, "irot") || is(b->type, "imir") || is(b->type, "clap"))
            grid.transforms.push_back({b->type, f.sliced(b->content, b->end - b->content)});
        if (is(b->type, "colr"))
            grid.colour = f.sliced(b->start, b->end - b->start);
    }
    for (const quint32 id : tileIds) {
        const QByteArrayView type = c.typeOf(id);
        if (!(is(type, "hvc1") || is(type, "av01")) ||
            (!grid.tileType.isEmpty() && type != grid.tileType))
            return std::nullopt;
        grid.tileType = type;
        const auto own = propertiesOf(id);
        const auto data = c.extentOf(id);
        if (!own || !data)
            return std::nullopt;
        GridLayout::Tile tile{{}, *data};
        for (const Box* b : *own) {
            if (is(b->type, "hvcC") || is(b->type, "av1C")) {
                if (!tile.config.isEmpty())
                    return std::nullopt;
                tile.config = f.sliced(b->start, b->end - b->start);
            } else if (is(b->type, "ispe")) {
                Cursor s{f, b->content + 4, b->end};
                const int w = int(s.read(4)), h = int(s.read(4));
                if (!s.ok || w <= 0 || h <= 0 ||
                    (grid.tileWidth != 0 && (w != grid.tileWidth || h != grid.tileHeight)))
                    return std::nullopt;
                grid.tileWidth = w;
                grid.tileHeight = h;
            } else if (is(b->type, "colr")) {
                if (grid.colour.isEmpty() && id == tileIds.front())
                    grid.colour = f.sliced(b->start, b->end - b->start);
            } else if (!is(b->type, "pixi") && !is(b->type, "pasp")) {
                return std::nullopt; // a transform or anything else of its own
            }
        }
        if (tile.config.isEmpty())
            return std::nullopt;
        grid.tiles.push_back(tile);
    }
    // The tiles cover the output, each row and column of them reaching into it.
    if (qint64(grid.tileWidth) * grid.columns < grid.width ||
        qint64(grid.tileHeight) * grid.rows < grid.height ||
        qint64(grid.tileWidth) * (grid.columns - 1) >= grid.width ||
        qint64(grid.tileHeight) * (grid.rows - 1) >= grid.height)
        return std::nullopt;
    return grid;
}

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

QByteArray singleTileFile(const GridLayout& grid, QByteArrayView config, QByteArrayView data) {
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
        config.toByteArray() +
        fullBox("ispe", 0, be(4, quint64(grid.tileWidth)) + be(4, quint64(grid.tileHeight))) +
        grid.colour.toByteArray();
    const int count = grid.colour.isEmpty() ? 2 : 3;
    QByteArray ipma = be(4, 1) + be(2, 1) + be(1, quint64(count)) + be(1, 0x81) + be(1, 2);
    if (count == 3)
        ipma += be(1, 3);
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
