// The EXIF reading and the metadata copy on arbitrary bytes: as an EXIF
// block the Orientation read is always one of the eight, and its edit for a
// result either fails or gives a block that fits a marker and reads again
// with the result's size; as the APP1 marker of a small JPEG picture (with
// the bytes as an ICC profile too) the picture still loads, measures,
// decodes and decodes windows alike, turned upright or not, and its metadata
// goes into a JPEG result that loads again. A crash, a hang or undefined behaviour stops the
// fuzzer; a damaged block must never be an error.
#include "fuzz_support.h"

#include "exif_edit.h"
#include "exif_orientation.h"
#include "jpeg_image.h"
#include "jpeg_markers.h"
#include "result_metadata.h"

#include <QBuffer>

using namespace kadrix;
using fuzz::check;

namespace {

// A 21 x 13 colour picture, so that the axes' exchange shows in its size.
QByteArray smallPicture() {
    QImage image(21, 13, QImage::Format_BGR888);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixelColor(x, y, QColor((x * 37) & 255, (y * 53) & 255, 99));
    JpegDefaults = TJPEGDefaults{};
    TJPEGImage picture;
    picture.assign(Bitmap(image));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.saveToStream(buffer);
    return bytes;
}

QByteArray withApp1(const QByteArray& jpeg, const QByteArray& payload) {
    const qsizetype length = payload.size() + 2;
    QByteArray marker("\xFF\xE1", 2);
    marker.append(char(length >> 8)).append(char(length & 0xFF)).append(payload);
    return QByteArray(jpeg).insert(2, marker);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::ensureApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const QByteArray picture = smallPicture();
    // One marker holds at most 65533 bytes.
    const QByteArray block(reinterpret_cast<const char*>(data),
                           qsizetype(std::min<std::size_t>(size, 65533)));
    const Orientation read = exifOrientation(block);
    check(std::uint8_t(read) >= 1 && std::uint8_t(read) <= 8, "an orientation outside 1 to 8");

    for (const bool turned : {false, true}) {
        const std::optional<QByteArray> edited = exifForResult(block, {640, 480, turned});
        if (!edited)
            continue;
        check(edited->size() <= MaxExifBytes, "an edited block too large for APP1");
        check(exifOrientation(*edited) == (turned ? Orientation::Normal : exifOrientation(block)),
              "the edit's orientation is not the source's, or 1 once turned");
    }

    const QByteArray jpeg = withApp1(picture, block);
    {
        // The metadata copy from a source carrying the bytes, into a result.
        JpegDefaults = TJPEGDefaults{};
        PictureMetadata source = jpegcodec::readMetadata(jpeg);
        source.iccProfile = block;
        source.turned = size % 2 == 1;
        TJPEGImage result;
        result.assign(Bitmap(QImage(5, 4, QImage::Format_BGR888)));
        result.setMarkers(jpegResultMetadata(source, 5, 4, size % 3 == 0));
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        try {
            result.saveToStream(buffer);
            TJPEGImage again;
            again.loadFromData(bytes);
            check(again.width() * again.height() == 20, "a result of another size");
        } catch (const Error&) {
            check(false, "a result with copied metadata failed to encode or load");
        }
    }
    for (const bool autoOrient : {true, false}) {
        JpegDefaults = TJPEGDefaults{};
        JpegDefaults.AutoOrient = autoOrient;
        TJPEGImage whole, windowed;
        try {
            whole.loadFromData(jpeg);
            windowed.loadFromData(jpeg);
        } catch (const Error&) {
            // The bytes may end the marker early and be read as other markers.
            return 0;
        }
        const QSize reported(whole.width(), whole.height());
        check(reported == QSize(21, 13) || reported == QSize(13, 21), "a size of another picture");
        check(autoOrient || reported == QSize(21, 13), "turned although AutoOrient is off");
        try {
            const Bitmap& all = whole.DecodeBitmap();
            check(QSize(all.width(), all.height()) == reported, "decoded to another size");
            const QRect window(size % 7, size % 5, 9, 8);
            const std::optional<Bitmap> part = windowed.decodeWindow(window, DecodeMode::Seek);
            check(part.has_value(), "a colour picture not decoded by window");
            const QRect expected = window.intersected(QRect(QPoint(0, 0), reported));
            for (int y = 0; y < expected.height(); ++y)
                for (int x = 0; x < expected.width(); ++x)
                    check(part->pixel(x, y) == all.pixel(expected.x() + x, expected.y() + y),
                          "a decoded window differs from the whole decode");
        } catch (const Error&) {
            // Marker bytes read as a damaged stream: reported, never a crash.
        }
    }
    return 0;
}
