#include "heif_files.h"

#include <libheif/heif.h>

#include <QtEndian>

#include <memory>
#include <optional>

namespace kadrix::test {
namespace {

// ---- encoding -------------------------------------------------------------

heif_error appendTo(heif_context*, const void* data, size_t size, void* userdata) {
    static_cast<QByteArray*>(userdata)->append(static_cast<const char*>(data), qsizetype(size));
    return {heif_error_Ok, heif_suberror_Unspecified, ""};
}

// ---- boxes ----------------------------------------------------------------

struct Box {
    qsizetype start = 0;   // of the header
    qsizetype content = 0; // of the payload (after the full box's version and flags too)
    qsizetype end = 0;
};

quint32 be32(const QByteArray& f, qsizetype at) {
    return qFromBigEndian<quint32>(f.constData() + at);
}

// The first box of `type` among the boxes in [from, to).
std::optional<Box> child(const QByteArray& f, qsizetype from, qsizetype to, const char* type,
                         bool full = false) {
    for (qsizetype at = from; at + 8 <= to;) {
        const qsizetype size = be32(f, at);
        if (size < 8 || at + size > to)
            return std::nullopt;
        if (f.mid(at + 4, 4) == type)
            return Box{at, at + 8 + (full ? 4 : 0), at + size};
        at += size;
    }
    return std::nullopt;
}

QByteArray box(const char* type, const QByteArray& payload) {
    QByteArray out(4, '\0');
    qToBigEndian<quint32>(quint32(8 + payload.size()), out.data());
    return out + QByteArray(type, 4) + payload;
}

void putBe(QByteArray& f, qsizetype at, int bytes, quint64 value) {
    for (int i = bytes - 1; i >= 0; --i, value >>= 8)
        f[at + i] = char(value & 0xff);
}
quint64 getBe(const QByteArray& f, qsizetype at, int bytes) {
    quint64 value = 0;
    for (int i = 0; i < bytes; ++i)
        value = (value << 8) | quint8(f[at + i]);
    return value;
}

struct Layout {
    Box meta, iloc, iprp, ipco, ipma;
    quint32 primary = 0;
};

std::optional<Layout> layoutOf(const QByteArray& f) {
    Layout l;
    const auto meta = child(f, 0, f.size(), "meta", true);
    if (!meta)
        return std::nullopt;
    l.meta = *meta;
    const auto pitm = child(f, meta->content, meta->end, "pitm", true);
    const auto iloc = child(f, meta->content, meta->end, "iloc", true);
    const auto iprp = child(f, meta->content, meta->end, "iprp");
    if (!pitm || !iloc || !iprp || f[pitm->start + 8] != 0)
        return std::nullopt;
    const auto ipco = child(f, iprp->content, iprp->end, "ipco");
    const auto ipma = child(f, iprp->content, iprp->end, "ipma", true);
    if (!ipco || !ipma)
        return std::nullopt;
    l.primary = quint32(getBe(f, pitm->content, 2));
    l.iloc = *iloc;
    l.iprp = *iprp;
    l.ipco = *ipco;
    l.ipma = *ipma;
    return l;
}

// Visits every extent offset of the item locations of items stored in the
// file itself: `visit(position, bytes, itemId, extentIndex)`.
template <typename Visit>
bool forEachExtentOffset(const QByteArray& f, const Box& iloc, Visit visit) {
    const int version = quint8(f[iloc.start + 8]);
    qsizetype at = iloc.content;
    const int offsetSize = quint8(f[at]) >> 4, lengthSize = quint8(f[at]) & 15;
    const int baseSize = quint8(f[at + 1]) >> 4;
    const int indexSize = version >= 1 ? quint8(f[at + 1]) & 15 : 0;
    at += 2;
    const int idBytes = version < 2 ? 2 : 4;
    const quint64 items = getBe(f, at, idBytes);
    at += idBytes;
    for (quint64 i = 0; i < items; ++i) {
        const quint32 id = quint32(getBe(f, at, idBytes));
        at += idBytes;
        int method = 0;
        if (version >= 1) {
            method = int(getBe(f, at, 2) & 15);
            at += 2;
        }
        at += 2; // data reference index
        const qsizetype base = at;
        at += baseSize;
        const int extents = int(getBe(f, at, 2));
        at += 2;
        for (int e = 0; e < extents; ++e) {
            at += indexSize;
            if (at + offsetSize + lengthSize > iloc.end)
                return false;
            if (method == 0) {
                if (baseSize > 0 && e == 0)
                    visit(base, baseSize, id, -1);
                if (offsetSize > 0)
                    visit(at, offsetSize, id, e);
            }
            at += offsetSize + lengthSize;
        }
    }
    return true;
}

// `f` with the box [b.start, b.end) replaced by `replacement`, the sizes of
// the boxes around it (`parents`, outermost first) grown to match.
QByteArray replaceBox(QByteArray f, const Box& b, const QByteArray& replacement,
                      const QList<Box>& parents) {
    const qsizetype growth = replacement.size() - (b.end - b.start);
    f.replace(b.start, b.end - b.start, replacement);
    for (const Box& p : parents)
        putBe(f, p.start, 4, quint64(p.end - p.start + growth));
    return f;
}

// Moves the extents stored after the container by the container's growth.
QByteArray movedExtents(QByteArray f, qsizetype metaEnd, qint64 growth) {
    const auto layout = layoutOf(f);
    if (!layout)
        return {};
    forEachExtentOffset(f, layout->iloc, [&](qsizetype at, int bytes, quint32, int) {
        const quint64 offset = getBe(f, at, bytes);
        if (offset >= quint64(metaEnd - growth))
            putBe(f, at, bytes, offset + quint64(growth));
    });
    return f;
}

// The number of properties in the container (their indices count from 1 in
// its order).
int propertyCount(const QByteArray& f, const Layout& l) {
    int count = 0;
    for (qsizetype at = l.ipco.content; at < l.ipco.end; at += be32(f, at))
        ++count;
    return count;
}

// `file` with its property container and associations replaced by boxes of
// these payloads (the associations' version and flags first), the item
// locations after the container moved by its growth.
QByteArray withPropertyBoxes(const QByteArray& file, const Layout& l, const QByteArray& ipco,
                             const QByteArray& ipma) {
    // The iprp holds the ipco then the ipma; rebuild it whole.
    QByteArray iprp = file.mid(l.iprp.content, l.iprp.end - l.iprp.content);
    iprp.replace(l.ipma.start - l.iprp.content, l.ipma.end - l.ipma.start, box("ipma", ipma));
    iprp.replace(l.ipco.start - l.iprp.content, l.ipco.end - l.ipco.start, box("ipco", ipco));
    const QByteArray f = replaceBox(file, l.iprp, box("iprp", iprp), {l.meta});
    const qint64 growth = f.size() - file.size();
    return movedExtents(f, l.meta.end + growth, growth);
}

// What a single-image file holds for its primary item: its decoder
// configuration, extent, colour descriptions and coded bytes.
struct CodedImage {
    QByteArray config, extent, colours, data;
};

std::optional<CodedImage> codedImageOf(const QByteArray& file) {
    const auto l = layoutOf(file);
    if (!l)
        return std::nullopt;
    // A configuration renamed away (see withPropertyRenamed) stays as it is.
    auto hvcC = child(file, l->ipco.content, l->ipco.end, "hvcC");
    if (!hvcC)
        hvcC = child(file, l->ipco.content, l->ipco.end, "hvcX");
    const auto ispe = child(file, l->ipco.content, l->ipco.end, "ispe");
    if (!hvcC || !ispe)
        return std::nullopt;
    CodedImage coded;
    coded.config = file.mid(hvcC->start, hvcC->end - hvcC->start);
    for (qsizetype at = l->ipco.content; at < l->ipco.end; at += be32(file, at))
        if (file.mid(at + 4, 4) == "colr")
            coded.colours += file.mid(at, be32(file, at));
    coded.extent = file.mid(ispe->start, ispe->end - ispe->start);
    qint64 base = 0, offset = -1, length = 0;
    const int version = quint8(file[l->iloc.start + 8]);
    const int offsetSize = quint8(file[l->iloc.content]) >> 4;
    forEachExtentOffset(file, l->iloc, [&](qsizetype at, int bytes, quint32 id, int extent) {
        if (id == l->primary && extent == -1)
            base = qint64(getBe(file, at, bytes));
        if (id == l->primary && extent == 0 && offset < 0) {
            offset = base + qint64(getBe(file, at, bytes));
            length = qint64(getBe(file, at + offsetSize, quint8(file[l->iloc.content]) & 15));
        }
    });
    if (offset < 0 || version > 1 || offset + length > file.size())
        return std::nullopt;
    coded.data = file.mid(offset, length);
    return coded;
}

using HeifImagePtr = std::unique_ptr<heif_image, void (*)(const heif_image*)>;

// libheif's image of `picture`, at the source's depth and with its colour
// descriptions; null when libheif cannot make it.
HeifImagePtr heifImageOf(const QImage& picture, const HeifSource& source) {
    const bool alpha = picture.hasAlphaChannel();
    const bool deep = source.bits > 8;
    const heif_chroma chroma =
        deep ? (alpha ? heif_chroma_interleaved_RRGGBBAA_LE : heif_chroma_interleaved_RRGGBB_LE)
             : (alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB);
    const QImage rgb =
        picture.convertToFormat(alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    heif_image* raw = nullptr;
    if (heif_image_create(rgb.width(), rgb.height(), heif_colorspace_RGB, chroma, &raw).code)
        return {nullptr, heif_image_release};
    HeifImagePtr image(raw, heif_image_release);
    heif_image_add_plane(raw, heif_channel_interleaved, rgb.width(), rgb.height(), source.bits);
    int stride = 0;
    std::uint8_t* plane = heif_image_get_plane(raw, heif_channel_interleaved, &stride);
    const int channels = alpha ? 4 : 3;
    for (int y = 0; y < rgb.height(); ++y) {
        const uchar* in = rgb.constScanLine(y);
        std::uint8_t* out = plane + qsizetype(y) * stride;
        for (int i = 0; i < rgb.width() * channels; ++i) {
            if (deep) // 8-bit values spread over the 10-bit range
                qToLittleEndian<quint16>(quint16(in[i] * 1023 / 255), out + 2 * i);
            else
                out[i] = in[i];
        }
    }
    if (source.nclxMatrix != 0) {
        std::unique_ptr<heif_color_profile_nclx, void (*)(heif_color_profile_nclx*)> nclx(
            heif_nclx_color_profile_alloc(), heif_nclx_color_profile_free);
        nclx->matrix_coefficients = heif_matrix_coefficients(source.nclxMatrix);
        nclx->full_range_flag = source.nclxFullRange ? 1 : 0;
        heif_image_set_nclx_color_profile(raw, nclx.get());
    }
    if (!source.icc.isEmpty())
        heif_image_set_raw_color_profile(raw, "prof", source.icc.constData(),
                                         size_t(source.icc.size()));
    return image;
}

} // namespace

QByteArray encodeHeif(const HeifSource& source) {
    const HeifImagePtr image = heifImageOf(source.picture, source);
    if (!image)
        return {};
    std::unique_ptr<heif_context, void (*)(heif_context*)> context(heif_context_alloc(),
                                                                   heif_context_free);
    heif_encoder* encoderRaw = nullptr;
    if (heif_context_get_encoder_for_format(context.get(),
                                            source.codec == HeifCodec::Hevc ? heif_compression_HEVC
                                                                            : heif_compression_AV1,
                                            &encoderRaw)
            .code)
        return {};
    std::unique_ptr<heif_encoder, void (*)(heif_encoder*)> encoder(encoderRaw,
                                                                   heif_encoder_release);
    heif_encoder_set_lossy_quality(encoderRaw, source.quality);
    if (source.fullChroma)
        heif_encoder_set_parameter(encoderRaw, "chroma", "444");
    if (source.fast && source.codec == HeifCodec::Hevc)
        heif_encoder_set_parameter(encoderRaw, "preset", "fast");
    heif_image_handle* handle = nullptr;
    if (heif_context_encode_image(context.get(), image.get(), encoderRaw, nullptr, &handle).code)
        return {};
    if (!source.exif.isEmpty() && source.exif.startsWith(QByteArray("Exif\0\0", 6)))
        heif_context_add_exif_metadata(context.get(), handle, source.exif.constData() + 6,
                                       int(source.exif.size() - 6));
    // libheif 1.15's heif_context_assign_thumbnail() makes the reference the
    // wrong way round; its thumbnail encoder assigns the right way.
    if (source.thumbnailSide > 0) {
        const HeifImagePtr thumbnail = source.thumbnail.isNull()
                                           ? HeifImagePtr(nullptr, heif_image_release)
                                           : heifImageOf(source.thumbnail, source);
        heif_image_handle* thumbnailHandle = nullptr;
        const heif_error encoded = heif_context_encode_thumbnail(
            context.get(), thumbnail ? thumbnail.get() : image.get(), handle, encoderRaw, nullptr,
            source.thumbnailSide, &thumbnailHandle);
        heif_image_handle_release(thumbnailHandle);
        if (encoded.code || thumbnailHandle == nullptr)
            return {};
    }
    heif_image_handle_release(handle);
    QByteArray bytes;
    heif_writer writer{1, appendTo};
    if (heif_context_write(context.get(), &writer, &bytes).code)
        return {};
    return bytes;
}

QByteArray gridHeif(const QList<QByteArray>& tiles, int rows, int columns, int width, int height,
                    const QList<QByteArray>& gridProperties, bool coloursOnTiles,
                    const GridThumbnail& thumbnail) {
    const auto be = [](int bytes, quint64 value) {
        QByteArray out(bytes, '\0');
        putBe(out, 0, bytes, value);
        return out;
    };
    const auto fullBox = [&](const char* type, int version, int flags, const QByteArray& payload) {
        return box(type, be(1, quint64(version)) + be(3, quint64(flags)) + payload);
    };
    // Each tile's decoder configuration, extent size and coded bytes.
    QList<QByteArray> configs, data, colours;
    QByteArray tileExtent;
    for (const QByteArray& tile : tiles) {
        const std::optional<CodedImage> coded = codedImageOf(tile);
        if (!coded)
            return {};
        configs << coded->config;
        colours << coded->colours;
        tileExtent = coded->extent;
        data << coded->data;
    }
    std::optional<CodedImage> thumb;
    if (!thumbnail.file.isEmpty() && !(thumb = codedImageOf(thumbnail.file)))
        return {};
    const int n = int(tiles.size());
    // The grid takes the tiles' colour description (the first's), then its own.
    QList<QByteArray> own = gridProperties;
    if (const auto l = coloursOnTiles ? std::nullopt : layoutOf(tiles.value(0)))
        if (const auto colr = child(tiles[0], l->ipco.content, l->ipco.end, "colr"))
            own.prepend(tiles[0].mid(colr->start, colr->end - colr->start));
    // Properties: the grid's extent and its own, then per tile its
    // configuration, all tiles sharing one extent.
    QByteArray ipco = fullBox("ispe", 0, 0, be(4, quint64(width)) + be(4, quint64(height)));
    for (const QByteArray& p : own)
        ipco += p;
    ipco += tileExtent;
    const int tileExtentIndex = 2 + int(own.size());
    for (const QByteArray& c : configs)
        ipco += c;
    // Each tile's colour descriptions, the tile's own.
    QList<QList<int>> colourIndices(n);
    int next = tileExtentIndex + 1 + n;
    for (int t = 0; coloursOnTiles && t < n; ++t)
        for (qsizetype at = 0; at < colours[t].size(); at += be32(colours[t], at)) {
            ipco += colours[t].mid(at, be32(colours[t], at));
            colourIndices[t] << next++;
        }
    // The thumbnail's extent, configuration and properties.
    const int thumbItem = 2 + n, items = 1 + n + (thumb ? 1 : 0);
    QList<int> thumbIndices;
    if (thumb)
        for (const QByteArray& p :
             QList<QByteArray>{thumb->extent, thumb->config} + thumbnail.properties) {
            ipco += p;
            thumbIndices << next++;
        }
    // Indices past 127 take the associations' 15-bit form.
    const bool wide = next - 1 > 127;
    const auto association = [&](int index, bool essential) {
        return wide ? be(2, quint64(index | (essential ? 0x8000 : 0)))
                    : be(1, quint64(index | (essential ? 0x80 : 0)));
    };
    QByteArray ipma = be(4, quint64(items)) + be(2, 1) + be(1, quint64(1 + own.size()));
    for (int i = 0; i <= own.size(); ++i)
        ipma += association(1 + i, true);
    for (int t = 0; t < n; ++t) {
        ipma += be(2, quint64(2 + t)) + be(1, quint64(2 + colourIndices[t].size())) +
                association(tileExtentIndex + 1 + t, true) + association(tileExtentIndex, false);
        for (const int index : colourIndices[t])
            ipma += association(index, false);
    }
    if (thumb) {
        ipma += be(2, quint64(thumbItem)) + be(1, quint64(thumbIndices.size()));
        for (const int index : thumbIndices)
            ipma += association(index, index != thumbIndices[0]);
    }
    QByteArray infos = be(2, quint64(items)) +
                       fullBox("infe", 2, 0, be(2, 1) + be(2, 0) + QByteArray("grid") + '\0');
    QByteArray refs;
    for (int t = 0; t < n; ++t) {
        infos +=
            fullBox("infe", 2, 1, be(2, quint64(2 + t)) + be(2, 0) + QByteArray("hvc1") + '\0');
        refs += be(2, quint64(2 + t));
    }
    QByteArray thumbRef;
    if (thumb) {
        infos +=
            fullBox("infe", 2, 0, be(2, quint64(thumbItem)) + be(2, 0) + QByteArray("hvc1") + '\0');
        thumbRef = box("thmb", be(2, quint64(thumbItem)) + be(2, 1) + be(2, 1));
    }
    const QByteArray grid = be(1, 0) + be(1, 0) + be(1, quint64(rows - 1)) +
                            be(1, quint64(columns - 1)) + be(2, quint64(width)) +
                            be(2, quint64(height));
    const QByteArray ftyp = box("ftyp", QByteArray("heic") + be(4, 0) + "mif1heic");
    // The locations depend on the container's size, which does not depend on them.
    const auto metaWith = [&](qint64 mdatData) {
        QByteArray iloc = be(1, 0x44) + be(1, 0) + be(2, quint64(items)) + be(2, 1) + be(2, 1) +
                          be(2, 0) + be(2, 1) + be(4, 0) + be(4, quint64(grid.size()));
        qint64 at = mdatData;
        for (int t = 0; t < n; ++t) {
            iloc += be(2, quint64(2 + t)) + be(2, 0) + be(2, 0) + be(2, 1) + be(4, quint64(at)) +
                    be(4, quint64(data[t].size()));
            at += data[t].size();
        }
        if (thumb)
            iloc += be(2, quint64(thumbItem)) + be(2, 0) + be(2, 0) + be(2, 1) +
                    be(4, quint64(at)) + be(4, quint64(thumb->data.size()));
        return fullBox(
            "meta", 0, 0,
            fullBox("hdlr", 0, 0, be(4, 0) + QByteArray("pict") + QByteArray(13, '\0')) +
                fullBox("pitm", 0, 0, be(2, 1)) + fullBox("iloc", 1, 0, iloc) +
                fullBox("iinf", 0, 0, infos) +
                fullBox("iref", 0, 0, box("dimg", be(2, 1) + be(2, quint64(n)) + refs) + thumbRef) +
                box("iprp", box("ipco", ipco) + fullBox("ipma", 0, wide ? 1 : 0, ipma)) +
                box("idat", grid));
    };
    const qint64 mdatData = ftyp.size() + metaWith(0).size() + 8;
    return ftyp + metaWith(mdatData) + box("mdat", data.join() + (thumb ? thumb->data : ""));
}

QByteArray colrBox(const QByteArray& icc) {
    return box("colr", QByteArray("prof") + icc);
}

QByteArray colrBox(int primaries, int transfer, int matrix, bool fullRange) {
    QByteArray payload("nclx");
    payload += QByteArray(7, '\0');
    putBe(payload, 4, 2, quint64(primaries));
    putBe(payload, 6, 2, quint64(transfer));
    putBe(payload, 8, 2, quint64(matrix));
    payload[10] = char(fullRange ? 0x80 : 0);
    return box("colr", payload);
}

QByteArray irotBox(int quarterTurnsAnticlockwise) {
    return box("irot", QByteArray(1, char(quarterTurnsAnticlockwise & 3)));
}

QByteArray imirBox(int axis) {
    return box("imir", QByteArray(1, char(axis & 1)));
}

QByteArray clapBox(qint32 widthN, qint32 widthD, qint32 heightN, qint32 heightD, qint32 horizOffN,
                   qint32 horizOffD, qint32 vertOffN, qint32 vertOffD) {
    QByteArray payload(32, '\0');
    const qint32 values[] = {widthN,    widthD,    heightN,  heightD,
                             horizOffN, horizOffD, vertOffN, vertOffD};
    for (int i = 0; i < 8; ++i)
        qToBigEndian<qint32>(values[i], payload.data() + 4 * i);
    return box("clap", payload);
}

QByteArray withProperties(const QByteArray& file, const QList<QByteArray>& properties, bool first) {
    const auto l = layoutOf(file);
    if (!l)
        return {};
    const int count = propertyCount(file, *l);
    QByteArray ipco = file.mid(l->ipco.content, l->ipco.end - l->ipco.content);
    for (const QByteArray& p : properties)
        ipco += p;
    // The associations: a version, flags (bit 0: 15-bit indices), then per
    // item its id, a count and the indices, the top bit marking essential.
    const int version = quint8(file[l->ipma.start + 8]);
    const bool wide = (quint8(file[l->ipma.start + 11]) & 1) != 0;
    const int idBytes = version < 1 ? 2 : 4, indexBytes = wide ? 2 : 1;
    QByteArray ipma = file.mid(l->ipma.start + 8, 4);
    qsizetype at = l->ipma.content;
    const quint64 entries = getBe(file, at, 4);
    ipma += file.mid(at, 4);
    at += 4;
    for (quint64 e = 0; e < entries; ++e) {
        const quint32 id = quint32(getBe(file, at, idBytes));
        const QByteArray idBytesAsStored = file.mid(at, idBytes);
        const int n = quint8(file[at + idBytes]);
        QByteArray own = file.mid(at + idBytes + 1, n * indexBytes);
        at += idBytes + 1 + n * indexBytes;
        if (id == l->primary) {
            QByteArray added(properties.size() * indexBytes, '\0');
            for (int i = 0; i < properties.size(); ++i)
                putBe(added, i * indexBytes, indexBytes,
                      quint64(count + 1 + i) | (wide ? 0x8000u : 0x80u));
            own = first ? added + own : own + added;
        }
        ipma += idBytesAsStored;
        ipma += char(own.size() / indexBytes);
        ipma += own;
    }
    return withPropertyBoxes(file, *l, ipco, ipma);
}

QByteArray withLaterAssociations(const QByteArray& file, const QList<QByteArray>& properties,
                                 int entries) {
    const auto l = layoutOf(file);
    if (!l)
        return {};
    const int count = propertyCount(file, *l);
    const bool wide = (quint8(file[l->ipma.start + 11]) & 1) != 0;
    const int idBytes = quint8(file[l->ipma.start + 8]) < 1 ? 2 : 4, indexBytes = wide ? 2 : 1;
    QByteArray entry(idBytes + 1 + properties.size() * indexBytes, '\0');
    putBe(entry, 0, idBytes, l->primary);
    entry[idBytes] = char(properties.size());
    for (int i = 0; i < properties.size(); ++i)
        putBe(entry, idBytes + 1 + i * indexBytes, indexBytes, quint64(count + 1 + i));
    QByteArray ipma = file.mid(l->ipma.start + 8, l->ipma.end - l->ipma.start - 8);
    putBe(ipma, 4, 4, getBe(file, l->ipma.content, 4) + quint64(entries));
    ipma += entry.repeated(entries);
    return withPropertyBoxes(
        file, *l, file.mid(l->ipco.content, l->ipco.end - l->ipco.content) + properties.join(),
        ipma);
}

QByteArray withPropertyPayload(const QByteArray& file, const char* type,
                               const QByteArray& replacement) {
    const auto l = layoutOf(file);
    if (!l)
        return {};
    QByteArray f = file;
    for (qsizetype at = l->ipco.content; at < l->ipco.end; at += be32(f, at))
        if (f.mid(at + 4, 4) == type)
            f.replace(at + 8, std::min<qsizetype>(replacement.size(), be32(f, at) - 8),
                      replacement.left(be32(f, at) - 8));
    return f;
}

QByteArray withPropertyRenamed(const QByteArray& file, const char* from, const char* to) {
    const auto l = layoutOf(file);
    if (!l)
        return {};
    QByteArray f = file;
    for (qsizetype at = l->ipco.content; at < l->ipco.end; at += be32(f, at))
        if (f.mid(at + 4, 4) == from)
            f.replace(at + 4, 4, QByteArray(to, 4));
    return f;
}

QByteArray withPrimaryOffsetMoved(const QByteArray& file, qint64 delta) {
    const auto l = layoutOf(file);
    if (!l)
        return {};
    QByteArray f = file;
    forEachExtentOffset(f, l->iloc, [&](qsizetype at, int bytes, quint32 id, int extent) {
        if (id == l->primary && extent == 0)
            putBe(f, at, bytes, getBe(f, at, bytes) + quint64(delta));
    });
    return f;
}

} // namespace kadrix::test
