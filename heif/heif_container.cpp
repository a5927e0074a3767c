#include "heif_container.h"

#include "heif_box_reader.h"

#include <QCoreApplication>

#include <algorithm>
#include <unordered_map>

namespace kadrix::heif {
namespace {

struct Extent {
    int method = -1; // construction method: 0 in the file, 1 in `idat`
    quint64 offset = 0, length = 0;
    int count = 0;
};

// Everything the container says of its items, each box read once. Box
// positions are in the `meta` box's bytes, extents in the file.
struct Index {
    // Every box lies where it belongs and fills its parent: the container
    // means to this reader what it means to libheif.
    bool understood = true;
    Text refusal;
    qint64 metaAt = 0, fileSize = 0;
    quint32 primary = 0;
    std::unordered_map<quint32, QByteArrayView> types;
    std::unordered_map<quint32, Extent> locations;
    std::optional<Box> idat;
    std::vector<Box> properties;
    // Each item's first association, as property indices from 1.
    std::unordered_map<quint32, std::vector<quint32>> associations;
    std::vector<quint32> tiles; // the primary item's `dimg` references, as libheif reads them
    qint64 entriesRead = 0;

    void refuse(const Text& why) {
        if (refusal.isEmpty())
            refusal = why;
    }
    QByteArrayView typeOf(quint32 id) const {
        const auto it = types.find(id);
        return it == types.end() ? QByteArrayView() : it->second;
    }
    // The item's properties in its association's order; indices outside the
    // property container make the container not understood.
    std::vector<const Box*> propertiesOf(quint32 id) {
        std::vector<const Box*> found;
        const auto it = associations.find(id);
        if (it == associations.end())
            return found;
        for (const quint32 index : it->second) {
            if (index > properties.size())
                understood = false;
            else
                found.push_back(&properties[index - 1]);
        }
        return found;
    }
    // Where the item's bytes lie in the file, when they are one extent inside
    // the file or `idat`.
    std::optional<ByteRange> extentOf(quint32 id) const {
        const auto it = locations.find(id);
        if (it == locations.end() || it->second.count != 1)
            return std::nullopt;
        const Extent& e = it->second;
        const qint64 from = e.method == 0 ? 0 : idat ? metaAt + idat->content : -1;
        const qint64 to = e.method == 0 ? fileSize : idat ? metaAt + idat->end : -1;
        if (from < 0 || e.method > 1 || e.offset > quint64(to - from) ||
            e.length > quint64(to - from) - e.offset || e.length == 0)
            return std::nullopt;
        return ByteRange{from + qint64(e.offset), qint64(e.length)};
    }
};

// The refusal of a container holding more than `limit` of something.
Text tooMany(int limit, const char* pattern) {
    return Text("kadrix", pattern, {QString::number(limit)});
}

const char* const TooManyBoxes =
    QT_TRANSLATE_NOOP("kadrix", "Image invalide: fichier HEIF trop complexe (plus de %1 boîtes)");
const char* const TooManyItems =
    QT_TRANSLATE_NOOP("kadrix", "Image invalide: fichier HEIF trop complexe (plus de %1 éléments)");

// The children of `parent` (past `skip` bytes of its payload), noting in the
// index when they do not fill it exactly, and refusing more than `most` with
// `pattern`.
std::vector<Box> childrenOf(QByteArrayView f, const Box& parent, qsizetype skip, Index& x, int most,
                            const char* pattern = TooManyBoxes) {
    bool exact = true;
    std::vector<Box> boxes = boxesIn(f, parent.content + skip, parent.end, most + 1, &exact);
    if (qsizetype(boxes.size()) > most)
        x.refuse(tooMany(most, pattern));
    x.understood = x.understood && exact;
    return boxes;
}

void readItems(QByteArrayView f, const Box& iinf, Index& x) {
    Cursor c{f, iinf.content, iinf.end};
    const int version = int(c.read(1));
    c.read(3);
    c.read(version == 0 ? 2 : 4);
    if (!c.ok) {
        x.understood = false;
        return;
    }
    const Box entries{iinf.type, iinf.start, c.at, iinf.end};
    for (const Box& infe : childrenOf(f, entries, 0, x, ContainerLimits::Items, TooManyItems)) {
        Cursor e{f, infe.content, infe.end};
        const int v = int(e.read(1));
        e.read(3);
        if (!is(infe.type, "infe") || v < 2 || !e.ok)
            continue;
        const quint32 id = quint32(e.read(v == 2 ? 2 : 4));
        e.read(2);
        if (!e.ok || e.at + 4 > e.end) {
            x.understood = false;
            continue;
        }
        x.types.emplace(id, f.sliced(e.at, 4));
    }
}

void readLocations(QByteArrayView f, const Box& iloc, Index& x) {
    Cursor c{f, iloc.content, iloc.end};
    const int version = int(c.read(1));
    c.read(3);
    const int sizes = int(c.read(1)), more = int(c.read(1));
    const int offsetSize = sizes >> 4, lengthSize = sizes & 15, baseSize = more >> 4;
    const int indexSize = version >= 1 ? more & 15 : 0;
    const quint64 count = c.read(version < 2 ? 2 : 4);
    if (count > quint64(ContainerLimits::Items)) {
        x.refuse(tooMany(ContainerLimits::Items, TooManyItems));
        return;
    }
    for (quint64 i = 0; i < count && c.ok; ++i) {
        const quint32 id = quint32(c.read(version < 2 ? 2 : 4));
        Extent e;
        e.method = version >= 1 ? int(c.read(2) & 15) : 0;
        c.read(2); // data reference index
        const quint64 base = c.read(baseSize);
        e.count = int(c.read(2));
        if (e.count > ContainerLimits::ExtentsPerItem) {
            x.refuse(
                tooMany(ContainerLimits::ExtentsPerItem,
                        QT_TRANSLATE_NOOP("kadrix", "Image invalide: fichier HEIF trop complexe "
                                                    "(plus de %1 morceaux pour un élément)")));
            return;
        }
        for (int k = 0; k < e.count && c.ok; ++k) {
            c.read(indexSize);
            const quint64 offset = c.read(offsetSize), length = c.read(lengthSize);
            if (k == 0) {
                e.offset = base + offset;
                e.length = length;
            }
        }
        x.locations.emplace(id, e);
    }
    x.understood = x.understood && c.ok;
}

// The references as libheif 1.15 reads them: one after another from each
// reference's header, whatever size that header gives. Where the sizes say
// otherwise, the container is not understood.
void readReferences(QByteArrayView f, const Box& iref, Index& x) {
    Cursor r{f, iref.content, iref.end};
    const int idBytes = r.read(1) == 0 ? 2 : 4;
    r.read(3);
    int total = 0;
    bool tilesSeen = false;
    while (r.ok && !r.atEnd()) {
        const qsizetype start = r.at;
        const quint64 size = r.read(4);
        const QByteArrayView type =
            r.ok ? f.sliced(r.at, std::min<qsizetype>(4, r.end - r.at)) : QByteArrayView();
        r.read(4);
        const quint32 from = quint32(r.read(idBytes));
        const int count = int(r.read(2));
        if (!r.ok)
            break;
        total += count;
        if (total > ContainerLimits::References) {
            x.refuse(
                tooMany(ContainerLimits::References,
                        QT_TRANSLATE_NOOP(
                            "kadrix",
                            "Image invalide: fichier HEIF trop complexe (plus de %1 références)")));
            return;
        }
        const bool tiles = is(type, "dimg") && from == x.primary;
        if (tiles && tilesSeen)
            x.understood = false; // two lists of tiles
        for (int k = 0; k < count && r.ok; ++k) {
            const quint32 to = quint32(r.read(idBytes));
            if (tiles && r.ok && !tilesSeen)
                x.tiles.push_back(to);
        }
        tilesSeen = tilesSeen || tiles;
        if (!r.ok || size != quint64(r.at - start))
            x.understood = false;
    }
    x.understood = x.understood && r.ok;
}

// Every association entry, once: an item's first entry is the one libheif
// uses, later ones for the same item are ignored.
void readAssociations(QByteArrayView f, const std::vector<Box>& inIprp, Index& x) {
    for (const Box& ipma : inIprp) {
        if (!is(ipma.type, "ipma"))
            continue;
        Cursor m{f, ipma.content, ipma.end};
        const int version = int(m.read(1));
        const bool wideIndex = (m.read(3) & 1) != 0;
        const quint64 entries = m.read(4);
        for (quint64 e = 0; e < entries && m.ok; ++e) {
            if (++x.entriesRead > ContainerLimits::AssociationEntries) {
                x.refuse(tooMany(
                    ContainerLimits::AssociationEntries,
                    QT_TRANSLATE_NOOP(
                        "kadrix",
                        "Image invalide: fichier HEIF trop complexe (plus de %1 associations)")));
                return;
            }
            const quint32 item = quint32(m.read(version < 1 ? 2 : 4));
            const int count = int(m.read(1));
            const auto [it, first] = x.associations.try_emplace(item);
            for (int k = 0; k < count && m.ok; ++k) {
                const quint32 index =
                    quint32(m.read(wideIndex ? 2 : 1) & (wideIndex ? 0x7fff : 0x7f));
                if (first && index != 0)
                    it->second.push_back(index);
            }
        }
        x.understood = x.understood && m.ok && m.atEnd();
    }
}

Index indexOf(const MetaBox& metaBox, qint64 fileSize) {
    const QByteArrayView f = metaBox.bytes;
    Index x;
    x.metaAt = metaBox.at;
    x.fileSize = fileSize;
    const auto meta = find(boxesIn(f, 0, f.size(), 1), "meta");
    if (!meta || meta->content + 4 > meta->end) {
        x.understood = false;
        return x;
    }
    const std::vector<Box> inMeta = childrenOf(f, *meta, 4, x, 64);
    const auto pitm = find(inMeta, "pitm"), iinf = find(inMeta, "iinf"),
               iloc = find(inMeta, "iloc"), iref = find(inMeta, "iref"),
               iprp = find(inMeta, "iprp");
    x.idat = find(inMeta, "idat");
    if (!pitm || !iinf || !iloc || !iprp) {
        x.understood = false;
        return x;
    }
    Cursor p{f, pitm->content, pitm->end};
    const int pitmVersion = int(p.read(1));
    p.read(3);
    x.primary = quint32(p.read(pitmVersion == 0 ? 2 : 4));
    x.understood = x.understood && p.ok;
    readItems(f, *iinf, x);
    readLocations(f, *iloc, x);
    if (iref)
        readReferences(f, *iref, x);
    const std::vector<Box> inIprp = childrenOf(f, *iprp, 0, x, 64);
    if (const auto ipco = find(inIprp, "ipco"))
        x.properties = childrenOf(
            f, *ipco, 0, x, ContainerLimits::Properties,
            QT_TRANSLATE_NOOP(
                "kadrix", "Image invalide: fichier HEIF trop complexe (plus de %1 propriétés)"));
    else
        x.understood = false;
    readAssociations(f, inIprp, x);
    return x;
}

// The first `most` bytes of `range`: from the `meta` box when they lie in
// it, else read from the file.
std::optional<QByteArray> bytesOf(const MetaBox& meta, const HeifSource& file,
                                  const ByteRange& range, qint64 most) {
    const qint64 length = std::min(range.length, most);
    if (range.offset >= meta.at && range.offset + length <= meta.at + meta.bytes.size())
        return meta.bytes.mid(qsizetype(range.offset - meta.at), qsizetype(length));
    return file.read(range.offset, length);
}

struct Description {
    int rows = 0, columns = 0;
    QSize size;
};

// A grid's layout and output size, or an overlay's output size: version,
// flags (bit 0: 32-bit sizes), then for a grid its rows and columns less
// one, for an overlay four 16-bit fill values, then the two sizes.
std::optional<Description> describedImage(const MetaBox& meta, const HeifSource& file,
                                          const Index& x) {
    const QByteArrayView type = x.typeOf(x.primary);
    const bool grid = is(type, "grid");
    if (!grid && !is(type, "iovl"))
        return std::nullopt;
    const auto extent = x.extentOf(x.primary);
    const auto bytes = extent ? bytesOf(meta, file, *extent, 20) : std::nullopt;
    if (!bytes)
        return std::nullopt;
    Cursor d{*bytes, 0, bytes->size()};
    d.read(1);
    const int wide = (d.read(1) & 1) ? 4 : 2;
    Description g;
    if (grid) {
        g.rows = int(d.read(1)) + 1;
        g.columns = int(d.read(1)) + 1;
    } else {
        d.read(8);
    }
    const quint64 w = d.read(wide), h = d.read(wide);
    if (!d.ok || w == 0 || h == 0 || w > 0x7fffffff || h > 0x7fffffff)
        return std::nullopt;
    g.size = QSize(int(w), int(h));
    return g;
}

// Whether the item's pixel depths, when it states them, are 8 bits each.
bool eightBits(const Box& pixi, QByteArrayView f) {
    Cursor c{f, pixi.content, pixi.end};
    c.read(4);
    const int channels = int(c.read(1));
    for (int k = 0; k < channels && c.ok; ++k)
        if (c.read(1) != 8)
            return false;
    return c.ok;
}

// The grid as the tile path takes it (see readContainer()); refuses in the
// index a grid libheif would decode into uninitialised pixels.
std::optional<GridLayout> gridOf(const MetaBox& meta, Index& x,
                                 const std::optional<Description>& description) {
    const QByteArrayView f = meta.bytes;
    if (!is(x.typeOf(x.primary), "grid"))
        return std::nullopt;
    // libheif 1.15 pastes a tile without an extent nowhere and leaves its
    // part of the grid uninitialised; a missing tile it cannot decode.
    for (const quint32 id : x.tiles) {
        if (x.typeOf(id).isEmpty()) {
            x.refuse(Text(
                "kadrix",
                QT_TRANSLATE_NOOP("kadrix",
                                  "Image invalide: fichier HEIF endommagé (une tuile manquante)")));
            return std::nullopt;
        }
        const std::vector<const Box*> own = x.propertiesOf(id);
        if (std::none_of(own.begin(), own.end(),
                         [](const Box* b) { return is(b->type, "ispe"); })) {
            x.refuse(Text(
                "kadrix",
                QT_TRANSLATE_NOOP(
                    "kadrix", "Image invalide: fichier HEIF endommagé (une tuile sans taille)")));
            return std::nullopt;
        }
    }
    if (!description || !x.understood)
        return std::nullopt;
    GridLayout grid;
    grid.rows = description->rows;
    grid.columns = description->columns;
    grid.width = description->size.width();
    grid.height = description->size.height();
    if (x.tiles.size() != size_t(grid.rows) * size_t(grid.columns))
        return std::nullopt;
    // One rotation, mirror and aperture at most (libheif refuses more), and
    // no depth but 8 bits.
    int rotations = 0, mirrors = 0, apertures = 0;
    for (const Box* b : x.propertiesOf(x.primary)) {
        const bool transform = is(b->type, "irot") || is(b->type, "imir") || is(b->type, "clap");
        rotations += is(b->type, "irot");
        mirrors += is(b->type, "imir");
        apertures += is(b->type, "clap");
        if (transform)
            grid.transforms.push_back({b->type, f.sliced(b->content, b->end - b->content)});
        if (is(b->type, "pixi") && !eightBits(*b, f))
            return std::nullopt;
    }
    if (rotations > 1 || mirrors > 1 || apertures > 1)
        return std::nullopt;
    for (const quint32 id : x.tiles) {
        const QByteArrayView type = x.typeOf(id);
        if (!(is(type, "hvc1") || is(type, "av01")) ||
            (!grid.tileType.isEmpty() && type != grid.tileType))
            return std::nullopt;
        grid.tileType = type;
        const auto data = x.extentOf(id);
        if (!data)
            return std::nullopt;
        GridLayout::Tile tile{{}, *data, {}};
        for (const Box* b : x.propertiesOf(id)) {
            const QByteArrayView whole = f.sliced(b->start, b->end - b->start);
            if (is(b->type, "hvcC") || is(b->type, "av1C")) {
                if (!tile.config.isEmpty())
                    return std::nullopt;
                tile.config = whole;
            } else if (is(b->type, "ispe")) {
                Cursor s{f, b->content + 4, b->end};
                const int w = int(s.read(4)), h = int(s.read(4));
                if (!s.ok || w <= 0 || h <= 0 ||
                    (grid.tileWidth != 0 && (w != grid.tileWidth || h != grid.tileHeight)))
                    return std::nullopt;
                grid.tileWidth = w;
                grid.tileHeight = h;
            } else if (is(b->type, "colr")) {
                tile.colours.push_back(whole);
            } else if (is(b->type, "pixi")) {
                if (!eightBits(*b, f))
                    return std::nullopt;
            } else if (!is(b->type, "pasp")) {
                return std::nullopt; // a transform or anything else of its own
            }
        }
        if (tile.config.isEmpty() || !x.understood)
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

} // namespace

ContainerReading readContainer(const MetaBox& meta, const HeifSource& file) {
    Index x = indexOf(meta, file.size());
    ContainerReading reading;
    reading.associationEntriesRead = x.entriesRead;
    if (x.refusal.isEmpty()) {
        const std::optional<Description> description = describedImage(meta, file, x);
        if (description)
            reading.describedSize = description->size;
        reading.grid = gridOf(meta, x, description);
        if (x.understood && x.associations.count(x.primary)) {
            std::vector<ItemProperty> properties;
            for (const Box* b : x.propertiesOf(x.primary))
                properties.push_back(
                    {b->type, QByteArrayView(meta.bytes).sliced(b->content, b->end - b->content)});
            if (x.understood)
                reading.primaryProperties = std::move(properties);
        }
    }
    reading.refusal = x.refusal;
    if (!reading.refusal.isEmpty())
        reading.grid.reset();
    return reading;
}

bool cutBeforeMeta(const HeifSource& file) {
    qint64 at = 0;
    for (int k = 0; k < 1024 && at < file.size(); ++k) {
        const std::optional<QByteArray> header =
            file.read(at, std::min<qint64>(16, file.size() - at));
        if (!header || header->size() < 8)
            return true;
        quint64 size = qFromBigEndian<quint32>(header->constData());
        if (size == 1 && header->size() == 16)
            size = qFromBigEndian<quint64>(header->constData() + 8);
        else if (size == 1)
            return true;
        else if (size == 0)
            return false;
        if (size > quint64(file.size() - at))
            return true;
        if (header->sliced(4, 4) == QByteArrayView("meta"))
            return false;
        at += qint64(std::max<quint64>(size, 8));
    }
    return at >= file.size();
}

} // namespace kadrix::heif
