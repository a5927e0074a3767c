// The HEIF picture type on arbitrary bytes: load with and without the file's
// transforms, read the metadata, decode the whole picture and a window of it,
// the window also through the tile path (the container reader and the tile
// wrapper) of a fresh picture and as the rows it hands on, and the subject's
// sketch (a thumbnail where one stands for the picture).
// Every failure must be an Error; a picture that decodes must have the size
// it reports, and a window the pixels of the whole picture there.
#include "fuzz_support.h"

#include "bitmap.h"
#include "errors.h"
#include "heif_picture.h"

#include <algorithm>

using namespace kadrix;
using fuzz::check;
using fuzz::MaxDecodedPixels;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::ensureApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const bool autoOrient : {true, false}) {
        HeifPicture picture(autoOrient);
        try {
            picture.loadFromData(bytes);
        } catch (const Error&) {
            return 0; // the same bytes fail the same way without the transforms
        }
        check(picture.width() > 0 && picture.height() > 0, "a loaded picture without a size");
        const PictureMetadata metadata = picture.metadata();
        check(metadata.exif.isEmpty() || metadata.exif.startsWith(QByteArray("Exif\0\0", 6)),
              "an EXIF block without its header");
        if (qint64(picture.width()) * picture.height() > MaxDecodedPixels)
            continue;
        try {
            Bitmap whole;
            picture.assignTo(whole);
            check(whole.width() == picture.width() && whole.height() == picture.height(),
                  "the bitmap differs from the reported size");
            const QRect window(whole.width() / 3, whole.height() / 4, whole.width() / 2 + 1,
                               whole.height() / 2 + 1);
            // A fresh picture takes the tile path where it can; the decoded
            // one cuts its window from the whole.
            HeifPicture fresh(autoOrient);
            fresh.loadFromData(bytes);
            const QSize reported(fresh.width(), fresh.height());
            const std::optional<Bitmap> tiled = fresh.decodeWindow(window, DecodeMode::Seek);
            const std::optional<Bitmap> part = picture.decodeWindow(window, DecodeMode::Seek);
            check(part.has_value(), "no window of a decoded picture");
            // A window is refused only when it was asked for with a size
            // the decoded picture does not have.
            // Compared with their alpha, whichever format each was handed in.
            if (tiled)
                check(tiled->image().convertToFormat(QImage::Format_ARGB32) ==
                          part->image().convertToFormat(QImage::Format_ARGB32),
                      "the tile path differs from the whole decode");
            else
                check(reported != QSize(whole.width(), whole.height()),
                      "no window of a picture of the reported size");
            const QRect inside = window.intersected(QRect(0, 0, whole.width(), whole.height()));
            check(part->width() == inside.width() && part->height() == inside.height(),
                  "a window of the wrong size");
            for (int y = 0; y < part->height(); ++y)
                for (int x = 0; x < part->width(); x += 3)
                    check(part->pixel(x, y) == whole.pixel(inside.x() + x, inside.y() + y),
                          "a window pixel differs from the whole picture");
            HeifPicture rowsFrom(autoOrient);
            rowsFrom.loadFromData(bytes);
            if (const std::optional<Bitmap> sketch = rowsFrom.decodeSketch(QSize(256, 256)))
                check(!sketch->isEmpty(), "an empty sketch");
            const std::unique_ptr<RowSource> rows = rowsFrom.readRows(window, DecodeMode::Window);
            if (rows && whole.pixelFormat() == PixelFormat::Bits24) {
                check(rows->width() == inside.width() && rows->height() == inside.height(),
                      "rows of another size than the window");
                for (int y = 0; y < rows->height(); ++y) {
                    const std::uint8_t* row = rows->next();
                    const std::uint8_t* from = whole.scanLine(inside.y() + y) + inside.x() * 3;
                    check(std::equal(row, row + rows->width() * 3, from),
                          "rows differ from the whole picture");
                }
            }
        } catch (const Error&) {
        }
    }
    return 0;
}
