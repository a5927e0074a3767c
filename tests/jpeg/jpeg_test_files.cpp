#include "jpeg_test_files.h"

#include <QColorSpace>
#include <QFile>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

#include <jpeglib.h>
#include <libexif/exif-data.h>
#include <libexif/exif-utils.h>

namespace kadrix::test {

QString writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    EXPECT_EQ(file.write(bytes), bytes.size());
    return path;
}

QByteArray encodeRaw(const RawImage& image, const EncodeSettings& settings,
                     const TestMarkers& markers) {
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &buffer, &size);
    c.image_width = JDIMENSION(image.width);
    c.image_height = JDIMENSION(image.height);
    c.input_components = image.components;
    c.in_color_space = image.components == 1   ? JCS_GRAYSCALE
                       : image.components == 3 ? JCS_RGB
                       : image.components == 4 ? JCS_CMYK
                                               : JCS_UNKNOWN;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, settings.quality, TRUE);
    if (settings.progressive)
        jpeg_simple_progression(&c);
    if (image.components == 3) {
        c.comp_info[0].h_samp_factor = settings.lumaH;
        c.comp_info[0].v_samp_factor = settings.lumaV;
    }
    c.restart_interval = settings.restartInterval;
    jpeg_start_compress(&c, TRUE);
    if (!markers.exif.isEmpty())
        jpeg_write_marker(&c, JPEG_APP0 + 1,
                          reinterpret_cast<const JOCTET*>(markers.exif.constData()),
                          unsigned(markers.exif.size()));
    if (!markers.icc.isEmpty())
        jpeg_write_icc_profile(&c, reinterpret_cast<const JOCTET*>(markers.icc.constData()),
                               unsigned(markers.icc.size()));
    const std::size_t stride = std::size_t(image.width) * std::size_t(image.components);
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(image.pixels.data() + stride * c.next_scanline);
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    QByteArray out(reinterpret_cast<const char*>(buffer), qsizetype(size));
    jpeg_destroy_compress(&c);
    std::free(buffer);
    return out;
}

RawImage colourBands(int width, int height) {
    RawImage image{width, height, 3, {}};
    image.pixels.resize(std::size_t(width) * height * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = &image.pixels[(std::size_t(y) * width + x) * 3];
            const int band = x * 3 / width;
            p[0] = band == 0 ? 255 : 0;
            p[1] = band == 1 ? 255 : 0;
            p[2] = band == 2 ? 255 : 0;
        }
    return image;
}

RawImage gradient(int width, int height, int components) {
    RawImage image{width, height, components, {}};
    image.pixels.resize(std::size_t(width) * height * components);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int k = 0; k < components; ++k)
                image.pixels[(std::size_t(y) * width + x) * components + k] =
                    std::uint8_t((x * 255 / std::max(width - 1, 1) + k * 60 +
                                  y * 128 / std::max(height - 1, 1)) %
                                 256);
    return image;
}

RawImage photoLike(int width, int height, int components, unsigned seed) {
    RawImage image{width, height, components, {}};
    image.pixels.resize(std::size_t(width) * height * components);
    std::mt19937 noise(seed);
    std::uniform_int_distribution<int> grain(-40, 40);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int k = 0; k < components; ++k) {
                const double u = double(x) / width, v = double(y) / height;
                const double base = 128 + 90 * std::sin(7.0 * u + 3.0 * v + 2.0 * k);
                image.pixels[(std::size_t(y) * width + x) * components + k] =
                    std::uint8_t(std::clamp(int(base) + grain(noise), 0, 255));
            }
    return image;
}

namespace {

void addEntry(ExifData* data, ExifIfd ifd, ExifTag tag, ExifFormat format, const QByteArray& bytes,
              unsigned long components) {
    ExifEntry* entry = exif_entry_new();
    entry->tag = tag;
    entry->format = format;
    entry->components = components;
    entry->size = unsigned(bytes.size());
    entry->data = static_cast<unsigned char*>(std::malloc(std::size_t(bytes.size())));
    std::memcpy(entry->data, bytes.constData(), std::size_t(bytes.size()));
    exif_content_add_entry(data->ifd[ifd], entry);
    exif_entry_unref(entry);
}

void addShort(ExifData* data, ExifIfd ifd, ExifTag tag, int value) {
    QByteArray bytes(2, '\0');
    exif_set_short(reinterpret_cast<unsigned char*>(bytes.data()), exif_data_get_byte_order(data),
                   ExifShort(value));
    addEntry(data, ifd, tag, EXIF_FORMAT_SHORT, bytes, 1);
}

void addText(ExifData* data, ExifIfd ifd, ExifTag tag, const QByteArray& text) {
    const QByteArray bytes = text + '\0';
    addEntry(data, ifd, tag, EXIF_FORMAT_ASCII, bytes, unsigned(bytes.size()));
}

QByteArray textOf(ExifData* data, ExifIfd ifd, ExifTag tag) {
    ExifEntry* entry = exif_content_get_entry(data->ifd[ifd], tag);
    if (entry == nullptr || entry->data == nullptr)
        return {};
    return QByteArray(reinterpret_cast<const char*>(entry->data), int(entry->size)).chopped(1);
}

long numberOf(ExifData* data, ExifIfd ifd, ExifTag tag) {
    ExifEntry* entry = exif_content_get_entry(data->ifd[ifd], tag);
    if (entry == nullptr || entry->data == nullptr)
        return -1;
    const ExifByteOrder order = exif_data_get_byte_order(data);
    return entry->format == EXIF_FORMAT_SHORT ? long(exif_get_short(entry->data, order))
                                              : long(exif_get_long(entry->data, order));
}

} // namespace

QByteArray makeExif(const ExifFields& fields) {
    ExifData* data = exif_data_new();
    exif_data_unset_option(data, EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    exif_data_set_byte_order(data, fields.bigEndian ? EXIF_BYTE_ORDER_MOTOROLA
                                                    : EXIF_BYTE_ORDER_INTEL);
    if (!fields.make.isEmpty())
        addText(data, EXIF_IFD_0, EXIF_TAG_MAKE, fields.make);
    if (fields.orientation != 0)
        addShort(data, EXIF_IFD_0, EXIF_TAG_ORIENTATION, fields.orientation);
    if (!fields.dateTaken.isEmpty())
        addText(data, EXIF_IFD_EXIF, EXIF_TAG_DATE_TIME_ORIGINAL, fields.dateTaken);
    if (fields.pixelWidth != 0) {
        addShort(data, EXIF_IFD_EXIF, EXIF_TAG_PIXEL_X_DIMENSION, fields.pixelWidth);
        addShort(data, EXIF_IFD_EXIF, EXIF_TAG_PIXEL_Y_DIMENSION, fields.pixelHeight);
    }
    if (fields.gps)
        addText(data, EXIF_IFD_GPS, ExifTag(EXIF_TAG_GPS_LATITUDE_REF), "N");
    if (!fields.thumbnail.isEmpty()) {
        data->size = unsigned(fields.thumbnail.size());
        data->data = static_cast<unsigned char*>(std::malloc(data->size));
        std::memcpy(data->data, fields.thumbnail.constData(), data->size);
        addShort(data, EXIF_IFD_1, EXIF_TAG_COMPRESSION, 6);
    }
    unsigned char* saved = nullptr;
    unsigned int size = 0;
    exif_data_save_data(data, &saved, &size);
    QByteArray block(reinterpret_cast<const char*>(saved), int(size));
    std::free(saved);
    exif_data_unref(data);
    return block;
}

ExifFacts readExif(const QByteArray& block) {
    ExifFacts facts;
    if (block.isEmpty())
        return facts;
    ExifData* data = exif_data_new();
    exif_data_unset_option(data, EXIF_DATA_OPTION_FOLLOW_SPECIFICATION); // read, never fix
    exif_data_load_data(data, reinterpret_cast<const unsigned char*>(block.constData()),
                        unsigned(block.size()));
    facts.readable = data->ifd[EXIF_IFD_0]->count > 0;
    facts.orientation = int(numberOf(data, EXIF_IFD_0, EXIF_TAG_ORIENTATION));
    facts.dateTaken = textOf(data, EXIF_IFD_EXIF, EXIF_TAG_DATE_TIME_ORIGINAL);
    facts.make = textOf(data, EXIF_IFD_0, EXIF_TAG_MAKE);
    facts.gps = textOf(data, EXIF_IFD_GPS, ExifTag(EXIF_TAG_GPS_LATITUDE_REF)) == "N";
    facts.thumbnail = data->data != nullptr || data->ifd[EXIF_IFD_1]->count > 0;
    facts.pixelWidth = numberOf(data, EXIF_IFD_EXIF, EXIF_TAG_PIXEL_X_DIMENSION);
    facts.pixelHeight = numberOf(data, EXIF_IFD_EXIF, EXIF_TAG_PIXEL_Y_DIMENSION);
    exif_data_unref(data);
    return facts;
}

QByteArray rgbProfile(int padding) {
    QByteArray profile = QColorSpace(QColorSpace::AdobeRgb).iccProfile();
    profile.append(QByteArray(padding, '\x5A'));
    const quint32 size = quint32(profile.size());
    for (int i = 0; i < 4; ++i)
        profile[i] = char((size >> (24 - 8 * i)) & 0xFF);
    return profile;
}

QByteArray withColourModel(QByteArray profile, const char (&model)[5]) {
    profile.replace(16, 4, QByteArray(model, 4));
    return profile;
}

std::vector<std::uint8_t> referenceGrey(const QByteArray& jpeg) {
    jpeg_decompress_struct d{};
    jpeg_error_mgr err{};
    d.err = jpeg_std_error(&err);
    jpeg_create_decompress(&d);
    jpeg_mem_src(&d, reinterpret_cast<const unsigned char*>(jpeg.constData()),
                 static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&d, TRUE);
    d.out_color_space = JCS_GRAYSCALE;
    jpeg_start_decompress(&d);
    std::vector<std::uint8_t> levels(std::size_t(d.output_width) * d.output_height);
    while (d.output_scanline < d.output_height) {
        JSAMPROW row = levels.data() + std::size_t(d.output_scanline) * d.output_width;
        jpeg_read_scanlines(&d, &row, 1);
    }
    jpeg_finish_decompress(&d);
    jpeg_destroy_decompress(&d);
    return levels;
}

HeaderFacts inspect(const QByteArray& jpeg) {
    jpeg_decompress_struct d{};
    jpeg_error_mgr err{};
    d.err = jpeg_std_error(&err);
    jpeg_create_decompress(&d);
    jpeg_mem_src(&d, reinterpret_cast<const unsigned char*>(jpeg.constData()),
                 static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&d, TRUE);
    HeaderFacts facts;
    facts.width = int(d.image_width);
    facts.height = int(d.image_height);
    facts.components = d.num_components;
    facts.progressive = d.progressive_mode != FALSE;
    facts.baseline = !d.progressive_mode && !d.arith_code && jpeg.contains("\xFF\xC0");
    for (int i = 0; i < d.num_components && i < 4; ++i) {
        facts.hSamp[i] = d.comp_info[i].h_samp_factor;
        facts.vSamp[i] = d.comp_info[i].v_samp_factor;
    }
    if (d.quant_tbl_ptrs[0] != nullptr)
        facts.lumaQuant.assign(d.quant_tbl_ptrs[0]->quantval, d.quant_tbl_ptrs[0]->quantval + 64);
    jpeg_destroy_decompress(&d);
    return facts;
}

std::vector<unsigned> expectedLumaQuant(int quality) {
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    c.in_color_space = JCS_RGB;
    c.input_components = 3;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, quality, TRUE);
    std::vector<unsigned> table(c.quant_tbl_ptrs[0]->quantval, c.quant_tbl_ptrs[0]->quantval + 64);
    jpeg_destroy_compress(&c);
    return table;
}

} // namespace kadrix::test
