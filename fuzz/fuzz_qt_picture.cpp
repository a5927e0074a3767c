// The platform picture types (BMP, PNG, ICO) on arbitrary bytes: each reader
// loads the bytes, reports a size, and turns them into a bitmap that converts
// to 24 bits. Failures must be Errors; a picture that loads must give a
// bitmap of the size it reported or an error, never a fault.
#include "fuzz_support.h"

#include "bitmap.h"
#include "errors.h"
#include "qt_picture.h"

#include <QImageReader>

using namespace kadrix;
using fuzz::check;
using fuzz::MaxDecodedPixels;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::ensureApplication();
    QImageReader::setAllocationLimit(64);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const char* format : {"bmp", "png", "ico"}) {
        QtPicture picture{QByteArray(format)};
        try {
            picture.loadFromData(bytes);
        } catch (const Error&) {
            continue;
        }
        check(picture.width() >= 0 && picture.height() >= 0, "a negative size");
        if (qint64(picture.width()) * picture.height() > MaxDecodedPixels)
            continue;
        try {
            Bitmap bitmap;
            picture.assignTo(bitmap);
            bitmap.convertTo24();
            check(bitmap.pixelFormat() == PixelFormat::Bits24, "conversion left 8 bits");
            // Touch every pixel through the bitmap's own accessors.
            volatile Colour sum = 0;
            for (int y = 0; y < bitmap.height(); ++y)
                for (int x = 0; x < bitmap.width(); x += 7)
                    sum = sum + bitmap.pixel(x, y);
        } catch (const Error&) {
        }
    }
    return 0;
}
