// The HEIF container reader on arbitrary bytes: the `meta` box, the primary
// image's properties and its corrected size, the clean apertures, the grid
// description and the grid as the tile path takes it. Whatever the bytes,
// nothing is read outside them, and a grid it gives is one the tile path can
// place: every tile's coded bytes inside the file, its configuration inside
// the container, tiles covering the output, apertures inside their picture.
#include "fuzz_support.h"

#include "heif_container.h"
#include "heif_tiles.h"

using namespace kadrix;
using fuzz::check;

namespace {

bool inside(QByteArrayView part, const QByteArray& whole) {
    return part.data() >= whole.constData() &&
           part.data() + part.size() <= whole.constData() + whole.size();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const heif::HeifSource source(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    const std::optional<heif::MetaBox> meta = heif::readMetaBox(source);
    if (!meta)
        return 0;
    check(meta->at >= 0 && meta->at + meta->bytes.size() <= qint64(size),
          "a meta box outside the file");
    const heif::ContainerReading reading = heif::readContainer(*meta, source);
    check(reading.associationEntriesRead <= heif::ContainerLimits::AssociationEntries,
          "association entries read past the limit");
    if (const auto& properties = reading.primaryProperties) {
        const QSize reported(640, 480);
        const QSize corrected = heif::correctedSize(reported, *properties);
        check(corrected == reported || corrected == reported.transposed(),
              "a corrected size that is neither the size nor its transpose");
        for (const heif::ItemProperty& p : *properties) {
            check(inside(p.payload, meta->bytes), "a property outside the container");
            if (p.type != QByteArrayView("clap"))
                continue;
            const std::optional<QRect> kept = heif::cleanAperture(p.payload, reported);
            check(!kept || (!kept->isEmpty() && QRect(QPoint(0, 0), reported).contains(*kept)),
                  "a clean aperture outside its picture");
        }
    }
    if (const std::optional<QSize>& output = reading.describedSize)
        check(output->width() > 0 && output->height() > 0, "a grid without a size");
    const std::optional<heif::GridLayout>& grid = reading.grid;
    if (!grid)
        return 0;
    check(reading.refusal.isEmpty(), "a grid read past a refusal");
    check(grid->transforms.size() <= 3, "more than a rotation, a mirror and an aperture");
    check(grid->tiles.size() == size_t(grid->rows) * size_t(grid->columns),
          "a tile count that does not match the grid");
    check(qint64(grid->tileWidth) * grid->columns >= grid->width &&
              qint64(grid->tileHeight) * grid->rows >= grid->height,
          "tiles that do not cover the grid");
    for (const heif::GridLayout::Tile& tile : grid->tiles) {
        check(tile.data.offset >= 0 && tile.data.length > 0 &&
                  tile.data.offset + tile.data.length <= qint64(size),
              "a tile's bytes outside the file");
        check(!tile.config.isEmpty() && inside(tile.config, meta->bytes),
              "a tile's configuration outside the container");
        for (const QByteArrayView colour : tile.colours)
            check(inside(colour, meta->bytes), "a tile's colours outside the container");
    }
    if (const std::optional<QSize> upright = heif::uprightSize(*grid))
        check(upright->width() > 0 && upright->height() > 0, "an empty upright grid");
    return 0;
}
