#include "heif_tiles.h"

#include "heif_owners.h"

#include <libheif/heif.h>

#include <cstring>
#include <memory>

namespace kadrix::heif {
namespace {

// Quarter turns anticlockwise of an `irot`, or the axis of an `imir`.
int valueOf(const ItemProperty& p) {
    return p.payload.isEmpty() ? 0 : quint8(p.payload[0]);
}
bool isRotation(const ItemProperty& p) {
    return p.type == QByteArrayView("irot", 4);
}
bool isAperture(const ItemProperty& p) {
    return p.type == QByteArrayView("clap", 4);
}

// The picture's size before each of the grid's transforms and after the
// last, and the part each clean aperture keeps; nothing when an aperture is
// one the tile path leaves to libheif.
struct Steps {
    std::vector<QSize> sizes;
    std::vector<QRect> kept; // per transform; empty but for apertures
};
std::optional<Steps> stepsOf(const GridLayout& grid) {
    Steps steps{{QSize(grid.width, grid.height)}, {}};
    for (const ItemProperty& p : grid.transforms) {
        QSize next = steps.sizes.back();
        QRect kept;
        if (isAperture(p)) {
            const std::optional<QRect> aperture = cleanAperture(p.payload, next);
            if (!aperture)
                return std::nullopt;
            kept = *aperture;
            next = kept.size();
        } else if (isRotation(p) && (valueOf(p) & 1)) {
            next.transpose();
        }
        steps.sizes.push_back(next);
        steps.kept.push_back(kept);
    }
    return steps;
}

// `r` in a picture of `size` after turning that picture `quarters` quarter
// turns anticlockwise.
QRect turnedRect(const QRect& r, QSize size, int quarters) {
    const int w = size.width(), h = size.height();
    switch (quarters & 3) {
    case 1:
        return {r.y(), w - r.x() - r.width(), r.height(), r.width()};
    case 2:
        return {w - r.x() - r.width(), h - r.y() - r.height(), r.width(), r.height()};
    case 3:
        return {h - r.y() - r.height(), r.x(), r.height(), r.width()};
    default:
        return r;
    }
}

// `r` in a picture of `size` after libheif's mirror of `axis` (0 exchanges
// top and bottom, 1 left and right).
QRect mirroredRect(const QRect& r, QSize size, int axis) {
    if ((axis & 1) == 0)
        return {r.x(), size.height() - r.y() - r.height(), r.width(), r.height()};
    return {size.width() - r.x() - r.width(), r.y(), r.width(), r.height()};
}

// Decodes one tile and copies its part inside `region` (in stored
// coordinates) into `out`; false when it does not decode as a plain 8-bit
// tile of the grid's tile size.
bool paintTile(const GridLayout& grid, const HeifSource& source, int index, const QRect& region,
               QImage& out, int maxSide) {
    const GridLayout::Tile& tile = grid.tiles[size_t(index)];
    const std::optional<QByteArray> data = source.read(tile.data.offset, tile.data.length);
    if (!data)
        return false;
    const QByteArray file = singleTileFile(grid, tile, *data);
    heif::ContextPtr context(heif_context_alloc());
    if (!context)
        return false;
    heif_context_set_maximum_image_size_limit(context.get(), maxSide);
    if (heif_context_read_from_memory_without_copy(context.get(), file.constData(),
                                                   size_t(file.size()), nullptr)
            .code != heif_error_Ok)
        return false;
    heif_image_handle* rawHandle = nullptr;
    if (heif_context_get_primary_image_handle(context.get(), &rawHandle).code != heif_error_Ok)
        return false;
    heif::HandlePtr handle(rawHandle);
    if (heif_image_handle_has_alpha_channel(rawHandle) ||
        heif_image_handle_get_luma_bits_per_pixel(rawHandle) > 8 ||
        heif_image_handle_get_chroma_bits_per_pixel(rawHandle) > 8)
        return false;
    heif_image* rawImage = nullptr;
    if (heif_decode_image(rawHandle, &rawImage, heif_colorspace_RGB, heif_chroma_interleaved_RGB,
                          nullptr)
            .code != heif_error_Ok)
        return false;
    heif::ImagePtr image(rawImage);
    int stride = 0;
    const std::uint8_t* plane =
        heif_image_get_plane_readonly(rawImage, heif_channel_interleaved, &stride);
    if (plane == nullptr ||
        heif_image_get_width(rawImage, heif_channel_interleaved) != grid.tileWidth ||
        heif_image_get_height(rawImage, heif_channel_interleaved) != grid.tileHeight)
        return false;
    const QRect tileRect((index % grid.columns) * grid.tileWidth,
                         (index / grid.columns) * grid.tileHeight, grid.tileWidth, grid.tileHeight);
    const QRect part = tileRect.intersected(region);
    for (int y = part.top(); y <= part.bottom(); ++y) {
        const std::uint8_t* in =
            plane + qsizetype(y - tileRect.y()) * stride + 3 * (part.x() - tileRect.x());
        std::uint8_t* row = out.scanLine(y - region.y()) + 3 * (part.x() - region.x());
        for (int x = 0; x < part.width(); ++x) {
            row[3 * x] = in[3 * x + 2];
            row[3 * x + 1] = in[3 * x + 1];
            row[3 * x + 2] = in[3 * x];
        }
    }
    return true;
}

// Where a pixel of a transform's output comes from in its input: input =
// (xx * x + xy * y + x0, yx * x + yy * y + y0), integers throughout.
struct Mapping {
    int xx = 1, xy = 0, x0 = 0, yx = 0, yy = 1, y0 = 0;
    QPoint operator()(int x, int y) const { return {xx * x + xy * y + x0, yx * x + yy * y + y0}; }
    // This mapping applied after `inner` (which maps into this one's output).
    Mapping after(const Mapping& inner) const {
        return {xx * inner.xx + xy * inner.yx,      xx * inner.xy + xy * inner.yy,
                xx * inner.x0 + xy * inner.y0 + x0, yx * inner.xx + yy * inner.yx,
                yx * inner.xy + yy * inner.yy,      yx * inner.x0 + yy * inner.y0 + y0};
    }
};

// The input pixel of libheif's rotation by `quarters` anticlockwise, or of
// its mirror of `axis`, of a picture of `size` (the input's).
Mapping rotation(int quarters, QSize size) {
    const int w = size.width(), h = size.height();
    switch (quarters & 3) {
    case 1:
        return {0, -1, w - 1, 1, 0, 0};
    case 2:
        return {-1, 0, w - 1, 0, -1, h - 1};
    case 3:
        return {0, 1, 0, -1, 0, h - 1};
    default:
        return {};
    }
}
Mapping mirror(int axis, QSize size) {
    if ((axis & 1) == 0)
        return {1, 0, 0, 0, -1, size.height() - 1};
    return {-1, 0, size.width() - 1, 0, 1, 0};
}

// `in` turned and mirrored by `mapping` in one pass, into a picture of `size`.
QImage mapped(const QImage& in, const Mapping& mapping, QSize size) {
    QImage out(size, QImage::Format_BGR888);
    if (out.isNull())
        return out;
    for (int y = 0; y < size.height(); ++y) {
        std::uint8_t* row = out.scanLine(y);
        for (int x = 0; x < size.width(); ++x) {
            const QPoint from = mapping(x, y);
            std::memcpy(row + 3 * x, in.constScanLine(from.y()) + 3 * from.x(), 3);
        }
    }
    return out;
}

} // namespace

std::optional<QSize> uprightSize(const GridLayout& grid) {
    const std::optional<Steps> steps = stepsOf(grid);
    if (!steps)
        return std::nullopt;
    return steps->sizes.back();
}

namespace {

// The stored pixels of `upright`, a part of the grid's picture after its
// transforms: back through the transforms to the stored picture.
QRect storedRegion(const GridLayout& grid, const Steps& steps, const QRect& upright) {
    const std::vector<QSize>& sizes = steps.sizes;
    QRect region = upright;
    for (size_t k = grid.transforms.size(); k-- > 0;) {
        const ItemProperty& p = grid.transforms[k];
        if (isAperture(p))
            region.translate(steps.kept[k].topLeft());
        else
            region = isRotation(p) ? turnedRect(region, sizes[k + 1], 4 - (valueOf(p) & 3))
                                   : mirroredRect(region, sizes[k + 1], valueOf(p));
    }
    return region;
}

} // namespace

std::optional<int> tileBandEnd(const GridLayout& grid, int top, int bottom) {
    const std::optional<Steps> steps = stepsOf(grid);
    if (!steps || grid.tileWidth <= 0 || grid.tileHeight <= 0)
        return std::nullopt;
    const int width = steps->sizes.back().width();
    // The row or column of tiles an upright row's stored pixels lie in.
    const auto tilesOf = [&](int y) {
        const QRect line = storedRegion(grid, *steps, QRect(0, y, width, 1));
        return line.height() == 1 ? line.top() / grid.tileHeight
                                  : -1 - line.left() / grid.tileWidth;
    };
    const int first = tilesOf(top);
    int end = top + 1;
    while (end < bottom && tilesOf(end) == first)
        ++end;
    return end;
}

std::optional<QImage> decodeGridWindow(const GridLayout& grid, const HeifSource& source,
                                       const QRect& window, int maxSide) {
    const std::optional<Steps> steps = stepsOf(grid);
    if (!steps)
        return std::nullopt;
    const std::vector<QSize>& sizes = steps->sizes;
    const QRect wanted = window.intersected(QRect(QPoint(0, 0), sizes.back()));
    if (wanted.isEmpty())
        return std::nullopt;
    const QRect region = storedRegion(grid, *steps, wanted);
    QImage out(region.size(), QImage::Format_BGR888);
    if (out.isNull())
        return std::nullopt;
    const int c0 = region.left() / grid.tileWidth, c1 = region.right() / grid.tileWidth;
    const int r0 = region.top() / grid.tileHeight, r1 = region.bottom() / grid.tileHeight;
    for (int r = r0; r <= r1; ++r)
        for (int c = c0; c <= c1; ++c)
            if (!paintTile(grid, source, r * grid.columns + c, region, out, maxSide))
                return std::nullopt;
    // The turns and mirrors as libheif applies them to the whole picture,
    // combined into one mapping and applied in one pass (a clean aperture's
    // part is already the region's).
    Mapping mapping;
    QSize size = out.size();
    bool turnedOrMirrored = false;
    for (const ItemProperty& p : grid.transforms) {
        if (isAperture(p))
            continue;
        const Mapping step = isRotation(p) ? rotation(valueOf(p), size) : mirror(valueOf(p), size);
        if (isRotation(p) && (valueOf(p) & 1))
            size.transpose();
        mapping = mapping.after(step);
        turnedOrMirrored = true;
    }
    if (turnedOrMirrored)
        out = mapped(out, mapping, size);
    if (out.isNull() || out.size() != wanted.size())
        return std::nullopt;
    return out;
}

} // namespace kadrix::heif
