#pragma once

#include <QByteArrayView>
#include <QSize>

#include <optional>
#include <vector>

namespace kadrix::heif {

// A small, bounds-checked reader of the ISO-BMFF container of a HEIF file,
// for what libheif 1.15 does not tell: the order of an item's properties.

// One property box of an item: its four-letter type and its payload.
struct ItemProperty {
    QByteArrayView type;
    QByteArrayView payload;
};

// The properties associated with the primary item, in the order its
// association lists them. Nothing when the file does not hold them where
// expected (no `meta`, `pitm` or `iprp`, a box reaching past its parent, an
// index outside the property container).
std::optional<std::vector<ItemProperty>> primaryProperties(QByteArrayView file);

// The size of the primary image after its transforms, from the size libheif
// reports for it and the properties above. libheif 1.15 sizes an image from
// its properties in their order, so a rotation by a quarter turn listed before
// the image extent (`ispe`) is lost; this turns the size back. Transforms
// after the extent need nothing, and a clean aperture listed before it is left
// as it is (the decoded picture's size corrects it).
QSize correctedSize(QSize reported, const std::vector<ItemProperty>& properties);

// A grid primary image as the tile path needs it: every tile an independent
// coded image of one size, placed row by row.
struct GridLayout {
    int rows = 0, columns = 0;
    int width = 0, height = 0;         // the grid's output, before its transforms
    int tileWidth = 0, tileHeight = 0; // every tile's
    QByteArrayView tileType;           // "hvc1" or "av01"
    QByteArrayView colour;             // the `colr` box the tiles decode with (may be empty)
    struct Tile {
        QByteArrayView config; // the decoder configuration box, header included
        QByteArrayView data;   // the coded picture (one extent in the file)
    };
    std::vector<Tile> tiles;
    std::vector<ItemProperty> transforms; // the grid's irot and imir, in order
};

// The primary image's grid, when it is one the tile path can take: a `grid`
// item whose description and `dimg` references agree, whose tiles are hidden
// coded images of one type and size, each with exactly a decoder
// configuration and an extent (and optionally a colour description), stored
// as one extent inside the file, and whose own properties hold no clean
// aperture. Nothing for anything else (the whole decode then takes it).
// `tileWithoutExtent`, when given, is set when the reading stops at a tile
// without an extent (`ispe`), which libheif 1.15 decodes into uninitialised
// pixels.
std::optional<GridLayout> readGrid(QByteArrayView file, bool* tileWithoutExtent = nullptr);

// The output size the primary image's grid description gives, when the
// primary image is a grid whose description can be read (libheif decodes a
// grid to that size, whatever its extent says).
std::optional<QSize> gridOutputSize(QByteArrayView file);

// A file holding only `tile` of `grid` as its primary image, for libheif to
// decode: `ftyp`, a `meta` naming the tile's type, configuration, size and the
// grid's colour description, and an `mdat` with its coded bytes.
QByteArray singleTileFile(const GridLayout& grid, const GridLayout::Tile& tile);

} // namespace kadrix::heif
