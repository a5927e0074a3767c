// The JPEG picture type against a plain libjpeg loop with the same settings:
// decoding a 12-megapixel 4:2:0 photo to 24 bits, and encoding a 640 x 480
// bitmap at quality 95 with every component at full resolution.
#include "jpeg_image.h"
#include "photo_bitmap.h"

#include <QBuffer>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <utility>

#include <jpeglib.h>

namespace {

using kadrix::Bitmap;

QByteArray plainEncode(const Bitmap& bitmap, int quality, bool fullChroma) {
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &buffer, &size);
    c.image_width = JDIMENSION(bitmap.width());
    c.image_height = JDIMENSION(bitmap.height());
    c.input_components = 3;
    c.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, quality, TRUE);
    if (fullChroma)
        for (int i = 0; i < MAX_COMPONENTS; ++i)
            c.comp_info[i].h_samp_factor = c.comp_info[i].v_samp_factor = 1;
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(bitmap.scanLine(int(c.next_scanline)));
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    QByteArray out(reinterpret_cast<const char*>(buffer), qsizetype(size));
    jpeg_destroy_compress(&c);
    std::free(buffer);
    return out;
}

const QByteArray& largePhoto() {
    static const QByteArray data =
        plainEncode(kadrix::bench::photoBitmap(4000, 3000, 42), 92, false);
    return data;
}

const Bitmap& smallBitmap() {
    static const Bitmap bitmap = kadrix::bench::photoBitmap(640, 480, 42);
    return bitmap;
}

void decodeThroughPicture(benchmark::State& state) {
    const QByteArray& data = largePhoto();
    kadrix::JpegDefaults = kadrix::TJPEGDefaults{};
    for (auto _ : state) {
        kadrix::TJPEGImage picture;
        picture.loadFromData(data);
        Bitmap bitmap;
        picture.assignTo(bitmap);
        // Read-only access: the copy shares the picture's pixels.
        benchmark::DoNotOptimize(std::as_const(bitmap).scanLine(0));
    }
}

void decodePlainLibjpeg(benchmark::State& state) {
    const QByteArray& data = largePhoto();
    for (auto _ : state) {
        jpeg_decompress_struct d{};
        jpeg_error_mgr err{};
        d.err = jpeg_std_error(&err);
        jpeg_create_decompress(&d);
        jpeg_mem_src(&d, reinterpret_cast<const unsigned char*>(data.constData()),
                     static_cast<unsigned long>(data.size()));
        jpeg_read_header(&d, TRUE);
        d.out_color_space = JCS_EXT_BGR;
        jpeg_calc_output_dimensions(&d);
        Bitmap bitmap(int(d.output_width), int(d.output_height));
        jpeg_start_decompress(&d);
        while (d.output_scanline < d.output_height) {
            JSAMPROW row = bitmap.scanLine(int(d.output_scanline));
            jpeg_read_scanlines(&d, &row, 1);
        }
        jpeg_finish_decompress(&d);
        jpeg_destroy_decompress(&d);
        benchmark::DoNotOptimize(bitmap.scanLine(0));
    }
}

void encodeThroughPicture(benchmark::State& state) {
    const Bitmap& bitmap = smallBitmap();
    kadrix::JpegDefaults = kadrix::TJPEGDefaults{};
    kadrix::JpegDefaults.CompressionQuality = 95;
    kadrix::JpegDefaults.HorzSubSampling = false;
    kadrix::JpegDefaults.VertSubSampling = false;
    for (auto _ : state) {
        kadrix::TJPEGImage picture;
        picture.assign(bitmap);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        picture.saveToStream(buffer);
        benchmark::DoNotOptimize(buffer.data().constData());
    }
}

void encodePlainLibjpeg(benchmark::State& state) {
    const Bitmap& bitmap = smallBitmap();
    for (auto _ : state) {
        QByteArray out = plainEncode(bitmap, 95, true);
        benchmark::DoNotOptimize(out.constData());
    }
}

BENCHMARK(decodeThroughPicture)->Unit(benchmark::kMillisecond);
BENCHMARK(decodePlainLibjpeg)->Unit(benchmark::kMillisecond);
BENCHMARK(encodeThroughPicture)->Unit(benchmark::kMillisecond);
BENCHMARK(encodePlainLibjpeg)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
