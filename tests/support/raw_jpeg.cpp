#include "raw_jpeg.h"

#include <cstdlib>

namespace kadrix::test {

QByteArray encodeRaw(const RawImage& image, const EncodeSettings& settings,
                     const TestMarkers& markers, const std::function<void(jpeg_compress_struct&)>& configure) {
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
    if (configure)
        configure(c);
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

} // namespace kadrix::test
