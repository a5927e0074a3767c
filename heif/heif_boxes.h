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
    struct Tile {
        QByteArrayView config; // the decoder configuration box, header included
        ByteRange data;        // the coded picture (one extent in the file)
        // Its own colour descriptions (`colr` boxes, headers included): each
        // tile is converted with its own, as libheif converts it in the grid.
        std::vector<QByteArrayView> colours;
    };
    std::vector<Tile> tiles;
    std::vector<ItemProperty> transforms; // the grid's irot, imir and clap, in order
};

// The part of a picture of `size` that libheif 1.15 keeps for the clean
// aperture `payload` (a `clap` box's), rounded as libheif rounds it. Nothing
// where libheif refuses the aperture, or where its 32-bit arithmetic would
// overflow and the answer is libheif's alone: the whole decode then answers.
std::optional<QRect> cleanAperture(QByteArrayView payload, QSize size);

// A file holding only `tile` of `grid`, with its coded bytes `data`, as its
// primary image, for libheif to decode: `ftyp`, a `meta` naming the tile's
// type, decoder configuration, size and own colour descriptions, and an
// `mdat` with the coded bytes.
QByteArray singleTileFile(const GridLayout& grid, const GridLayout::Tile& tile,
                          QByteArrayView data);

} // namespace kadrix::heif
