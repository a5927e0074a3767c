#pragma once

#include "heif_source.h"

#include <QByteArrayView>
#include <QRect>
#include <QSize>

#include <optional>
#include <vector>

namespace kadrix::heif {

// A small, bounds-checked reader of the ISO-BMFF container of a HEIF file,
// for what libheif 1.15 does not tell: the order of an item's properties and
// the layout of a grid.

// The file's top-level `meta` box, read whole, and where it lies: all the
// reader needs besides a few bytes of a grid description, whatever the size
// of the coded pictures.
struct MetaBox {
    QByteArray bytes; // the box, header included
    qint64 at = 0;    // its offset in the file
};

// The `meta` box, found from the headers of the top-level boxes. Nothing when
// there is none among the first boxes, or when it reaches past the end of the
// file or is larger than a container can sensibly be.
std::optional<MetaBox> readMetaBox(const HeifSource& file);

// One property box of an item: its four-letter type and its payload.
struct ItemProperty {
    QByteArrayView type;
    QByteArrayView payload;
};

// The properties associated with the primary item, in the order its
// association lists them. Nothing when the file does not hold them where
// expected (no `meta`, `pitm` or `iprp`, a box reaching past its parent, an
// index outside the property container).
std::optional<std::vector<ItemProperty>> primaryProperties(const MetaBox& meta);

// The size of the primary image after its transforms, from the size libheif
// reports for it and the properties above. libheif 1.15 sizes an image from
// its properties in their order, so a rotation by a quarter turn listed before
// the image extent (`ispe`) is lost; this turns the size back. Transforms
// after the extent need nothing, and a clean aperture listed before it is left
// as it is (the decoded picture's size corrects it).
QSize correctedSize(QSize reported, const std::vector<ItemProperty>& properties);

// Bytes of the file: `length` of them at `offset`.
struct ByteRange {
    qint64 offset = 0, length = 0;
};

// A grid primary image as the tile path needs it: every tile an independent
// coded image of one size, placed row by row. The views point into the
// `MetaBox` the grid was read from.
struct GridLayout {
    int rows = 0, columns = 0;
    int width = 0, height = 0;         // the grid's output, before its transforms
    int tileWidth = 0, tileHeight = 0; // every tile's
    QByteArrayView tileType;           // "hvc1" or "av01"
    QByteArrayView colour;             // the `colr` box the tiles decode with (may be empty)
    struct Tile {
        QByteArrayView config; // the decoder configuration box, header included
        ByteRange data;        // the coded picture (one extent in the file)
    };
    std::vector<Tile> tiles;
    std::vector<ItemProperty> transforms; // the grid's irot, imir and clap, in order
};

// The primary image's grid, when it is one the tile path can take: a `grid`
// item whose description and `dimg` references agree, whose tiles are hidden
// coded images of one type and size, each with exactly a decoder
// configuration and an extent (and optionally a colour description), stored
// as one extent inside the file. Nothing for anything else (the whole decode
// then takes it).
// `tileWithoutExtent`, when given, is set when the reading stops at a tile
// without an extent (`ispe`), which libheif 1.15 decodes into uninitialised
// pixels.
std::optional<GridLayout> readGrid(const MetaBox& meta, const HeifSource& file,
                                   bool* tileWithoutExtent = nullptr);

// The output size the primary image's grid description gives, when the
// primary image is a grid whose description can be read (libheif decodes a
// grid to that size, whatever its extent says).
std::optional<QSize> gridOutputSize(const MetaBox& meta, const HeifSource& file);

// The part of a picture of `size` that libheif 1.15 keeps for the clean
// aperture `payload` (a `clap` box's), rounded as libheif rounds it. Nothing
// where libheif refuses the aperture, or where its 32-bit arithmetic would
// overflow and the answer is libheif's alone: the whole decode then answers.
std::optional<QRect> cleanAperture(QByteArrayView payload, QSize size);

// A file holding only a tile of `grid`, its decoder configuration `config`
// and coded bytes `data`, as its primary image, for libheif to decode: `ftyp`,
// a `meta` naming the tile's type, configuration, size and the grid's colour
// description, and an `mdat` with the coded bytes.
QByteArray singleTileFile(const GridLayout& grid, QByteArrayView config, QByteArrayView data);

} // namespace kadrix::heif
