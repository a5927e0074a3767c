// The tile wrapper on arbitrary bytes: a tile's decoder configuration and
// coded data, presented to libheif as a single-image file of their own and
// decoded into the grid's picture. The input is a type byte (even: HEVC, odd:
// AV1), the tile's width and height less one and the configuration's length
// (two bytes each, big-endian), the configuration box, then the coded data.
// Whatever the bytes, the answer is nothing or a picture of the tile's size;
// never a fault.
#include "fuzz_support.h"

#include "heif_boxes.h"
#include "heif_tiles.h"

#include <QtEndian>

using namespace kadrix;
using fuzz::check;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::ensureApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const int HeaderBytes = 7;
    if (size < HeaderBytes)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const auto field = [&](int at) { return int(qFromBigEndian<quint16>(bytes.constData() + at)); };
    // Tiles of at most 512 x 512, as phones write them.
    const int width = field(1) % 512 + 1, height = field(3) % 512 + 1;
    const qint64 configBytes = std::min<qint64>(field(5), qint64(size) - HeaderBytes);
    heif::GridLayout grid;
    grid.rows = grid.columns = 1;
    grid.width = grid.tileWidth = width;
    grid.height = grid.tileHeight = height;
    grid.tileType = (data[0] & 1) ? QByteArrayView("av01") : QByteArrayView("hvc1");
    const qint64 dataAt = HeaderBytes + configBytes;
    grid.tiles.push_back({QByteArrayView(bytes).sliced(HeaderBytes, configBytes),
                          {dataAt, qint64(size) - dataAt},
                          {}});
    const heif::HeifSource source(bytes);
    const QRect window(width / 4, height / 4, width / 2 + 1, height / 2 + 1);
    if (const std::optional<QImage> part = heif::decodeGridWindow(grid, source, window, 4096))
        check(part->size() == window.size(), "a window of another size than asked");
    return 0;
}
