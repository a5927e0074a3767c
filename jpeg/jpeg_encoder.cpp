#include "jpeg_encoder.h"

#include "icc_profile.h"
#include "jpeg_codec.h"
#include "jpeg_markers.h"

#include <algorithm>

#include <jerror.h>

namespace kadrix::jpegcodec {
namespace {

// Sets the codec up for the options and writes the header and markers.
void startStream(Compressor& compressor, int width, int height, const TJPEGDefaults& options,
                 const PictureMetadata& markers) {
    const QByteArray& exif = markers.exif;
    const bool writeExif = !exif.isEmpty() && exif.size() <= MaxExifBytes;
    const QByteArray& icc = markers.iccProfile;
    const bool writeIcc = !icc.isEmpty() && icc.size() <= MaxJpegIccBytes;
    jpeg_compress_struct* c = compressor.info();
    c->image_width = JDIMENSION(width);
    c->image_height = JDIMENSION(height);
    c->input_components = 3;
    c->in_color_space = JCS_EXT_BGR; // the bitmap's blue, green, red bytes
    compressor.run([&] {
        jpeg_set_defaults(c);
        jpeg_set_quality(c, options.CompressionQuality, TRUE);
        if (options.GrayScale)
            jpeg_set_colorspace(c, JCS_GRAYSCALE);
        if (options.ProgressiveEncoding)
            jpeg_simple_progression(c);
        for (int i = 0; i < MAX_COMPONENTS; ++i) {
            if (!options.HorzSubSampling)
                c->comp_info[i].h_samp_factor = 1;
            if (!options.VertSubSampling)
                c->comp_info[i].v_samp_factor = 1;
        }
        jpeg_start_compress(c, TRUE);
        if (writeExif)
            jpeg_write_marker(c, JPEG_APP0 + 1, reinterpret_cast<const JOCTET*>(exif.constData()),
                              unsigned(exif.size()));
        if (writeIcc)
            jpeg_write_icc_profile(c, reinterpret_cast<const JOCTET*>(icc.constData()),
                                   unsigned(icc.size()));
    });
}

} // namespace

QByteArray encode(const Bitmap& bitmap, const TJPEGDefaults& options,
                  const PictureMetadata& markers) {
    QByteArray out;
    if (bitmap.isEmpty())
        return out;

    // 24-bit rows go to the codec straight from the bitmap's memory; an
    // 8-bit bitmap is first expanded into a temporary copy.
    Bitmap expanded;
    const Bitmap* rows = &bitmap;
    if (bitmap.pixelFormat() != PixelFormat::Bits24) {
        expanded = bitmap;
        expanded.convertTo24();
        rows = &expanded;
    }
    const std::uint8_t* base = rows->scanLine(0);
    const qsizetype stride = rows->bytesPerLine();

    Compressor compressor(out);
    startStream(compressor, rows->width(), rows->height(), options, markers);
    jpeg_compress_struct* c = compressor.info();
    compressor.run([&] {
        while (c->next_scanline < c->image_height) {
            // The codec only reads the rows it is given.
            JSAMPROW row = const_cast<JSAMPROW>(base + qsizetype(c->next_scanline) * stride);
            jpeg_write_scanlines(c, &row, 1);
        }
        jpeg_finish_compress(c);
    });
    return out;
}

RowEncoder::RowEncoder(QIODevice& device, int width, int height, const TJPEGDefaults& options,
                       const PictureMetadata& markers)
    : compressor_(std::make_unique<Compressor>(device)) {
    startStream(*compressor_, width, height, options, markers);
}

RowEncoder::~RowEncoder() = default;

void RowEncoder::write(const std::uint8_t* row) {
    jpeg_compress_struct* c = compressor_->info();
    // The codec only reads the rows it is given.
    JSAMPROW rows = const_cast<JSAMPROW>(row);
    compressor_->run([&] { jpeg_write_scanlines(c, &rows, 1); });
}

std::optional<EJPEG> RowEncoder::refusal(int width, int height) {
    if (width <= JPEG_MAX_DIMENSION && height <= JPEG_MAX_DIMENSION)
        return std::nullopt;
    return EJPEG(JERR_IMAGE_TOO_BIG, codecMessageText(JERR_IMAGE_TOO_BIG, JPEG_MAX_DIMENSION));
}

qint64 RowEncoder::heldBytes(int width, int height, const TJPEGDefaults& options) {
    constexpr qint64 CodecRows = 32;
    const qint64 w = std::max(width, 0);
    const qint64 h = std::max(height, 0);
    const qint64 samples = options.GrayScale ? 1 : 3;
    return CodecRows * w * samples * 2 + (options.ProgressiveEncoding ? w * h * samples * 2 : 0);
}

void RowEncoder::finish() {
    jpeg_compress_struct* c = compressor_->info();
    compressor_->run([&] { jpeg_finish_compress(c); });
}

} // namespace kadrix::jpegcodec
