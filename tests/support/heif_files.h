#pragma once

// HEIF files written through libheif's own encoders (x265 for HEIC, aom for
// AVIF) and edited at the box level, for the test files, the fuzz seeds and
// the benchmark sets.

#include <QByteArray>
#include <QImage>
#include <QList>

namespace kadrix::test {

enum class HeifCodec { Hevc, Av1 };

struct HeifSource {
    QImage picture{}; // RGB888, or RGBA8888 to store an alpha plane
    HeifCodec codec = HeifCodec::Hevc;
    int bits = 8; // 8, or 10 for HEVC (the samples scaled up)
    int quality = 90;
    bool fullChroma = false;   // 4:4:4, so that transforms move no chroma sample
    QByteArray icc{};          // the colour profile stored with the image
    QByteArray exif{};         // "Exif\0\0" and TIFF data, stored as an Exif item
    bool fast = false;         // the encoder's fast preset (large benchmark pictures)
    int nclxMatrix = 0;        // with one, an nclx colour description of these matrix
    bool nclxFullRange = true; // coefficients and range is stored
    // With a side, a thumbnail: `thumbnail` (the picture when null) scaled
    // by libheif to fit a square of that side (which it must not fit already).
    int thumbnailSide = 0;
    QImage thumbnail{};
};
// The encoded file; empty when the encoder fails.
QByteArray encodeHeif(const HeifSource& source);

// A grid image assembled from single-image files encoded alike (the tiles,
// row by row): every tile a hidden item with its own decoder configuration
// and extent, the grid the primary item with `gridProperties` after its
// extent, its description in `idat`. `tiles` may hold more or fewer files
// than rows x columns, to make damaged grids. With `coloursOnTiles` each tile
// keeps its own colour descriptions and the grid takes none of them. Empty
// when a tile file is not laid out as libheif writes it.
// With a thumbnail (a single-image file encoded alike), its image follows
// the tiles as the grid's thumbnail, with `properties` after its extent and
// configuration.
struct GridThumbnail {
    QByteArray file{};
    QList<QByteArray> properties{};
};
QByteArray gridHeif(const QList<QByteArray>& tiles, int rows, int columns, int width, int height,
                    const QList<QByteArray>& gridProperties = {}, bool coloursOnTiles = false,
                    const GridThumbnail& thumbnail = {});

// Colour descriptions (`colr`): an ICC profile, or nclx values.
QByteArray colrBox(const QByteArray& icc);
QByteArray colrBox(int primaries, int transfer, int matrix, bool fullRange);

// Transform properties, as a file stores them.
QByteArray irotBox(int quarterTurnsAnticlockwise);
QByteArray imirBox(int axis); // libheif flips top-bottom for 0, left-right for 1
QByteArray clapBox(qint32 widthN, qint32 widthD, qint32 heightN, qint32 heightD,
                   qint32 horizOffN = 0, qint32 horizOffD = 1, qint32 vertOffN = 0,
                   qint32 vertOffD = 1);

// `file` with `properties` added to its primary item's, after its own (or
// before them with `first`), in the given order; the item locations are moved
// by the growth of the container. Empty when the file is not laid out as
// libheif writes it.
QByteArray withProperties(const QByteArray& file, const QList<QByteArray>& properties,
                          bool first = false);

// `file` with `entries` more associations for its primary item after the
// others, each listing `properties` (added once to the property container):
// readers must keep to an item's first association, as libheif does.
QByteArray withLaterAssociations(const QByteArray& file, const QList<QByteArray>& properties,
                                 int entries);

// `file` with every box of type `type` inside the properties (ipco) replaced
// by `replacement` of the same size (the box's header kept).
QByteArray withPropertyPayload(const QByteArray& file, const char* type,
                               const QByteArray& replacement);

// `file` with every property box of type `from` renamed `to` (an unknown
// type: the property is as good as absent).
QByteArray withPropertyRenamed(const QByteArray& file, const char* from, const char* to);

// `file` with the first extent of its primary item moved `delta` bytes.
QByteArray withPrimaryOffsetMoved(const QByteArray& file, qint64 delta);

} // namespace kadrix::test
