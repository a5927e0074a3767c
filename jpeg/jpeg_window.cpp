#include "jpeg_window.h"

#include "decoder_setup.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include <jerror.h>

namespace kadrix::jpegcodec {
namespace {

JDIMENSION toDimension(int value) {
    return JDIMENSION(std::max(value, 0));
}

// Columns decoded beyond the window on each side. Fancy up-sampling mixes
// each pixel with its neighbours' chroma, and the codec replicates the edge
// of what it decodes, so one more column keeps the window's edge columns
// right. Block smoothing of a progressive file reaches two blocks further
// into each neighbour, which two whole iMCU columns cover.
JDIMENSION columnMargin(const jpeg_decompress_struct& c) {
    JDIMENSION margin = 1;
    if (c.do_block_smoothing && jpeg_has_multiple_scans(const_cast<j_decompress_ptr>(&c)))
        margin += 2 * JDIMENSION(c.max_h_samp_factor) * JDIMENSION(c.min_DCT_scaled_size);
    return margin;
}

} // namespace

std::optional<Bitmap> decodeWindow(const QByteArray& data, const TJPEGDefaults& options,
                                   const QRect& window) {
    if (options.PixelFormat != JpegPixelFormat::Bits24 || options.GrayScale)
        return std::nullopt;

    Decompressor decompressor(data);
    const FinalPass final = PrepareDecoder(decompressor, options);
    jpeg_decompress_struct* c = decompressor.info();
    if (c->out_color_space != JCS_EXT_BGR || c->quantize_colors)
        return std::nullopt;
    // Progressive display only changes the passes before the last one, and
    // with 24-bit output the last pass is the whole decode itself.
    c->buffered_image = FALSE;
    c->dct_method = final.dctMethod;
    c->dither_mode = final.ditherMode;
    c->two_pass_quantize = final.twoPassQuantize;
    decompressor.run([&] { jpeg_calc_output_dimensions(c); });
    if (c->output_components != 3)
        return std::nullopt;

    const QRect picture(0, 0, int(std::min<JDIMENSION>(c->output_width, 0x7FFFFFFF)),
                        int(std::min<JDIMENSION>(c->output_height, 0x7FFFFFFF)));
    const QRect wanted = window.intersected(picture);
    if (wanted.isEmpty())
        return Bitmap();
    Bitmap bitmap(wanted.width(), wanted.height());

    const JDIMENSION margin = columnMargin(*c);
    const JDIMENSION left = toDimension(wanted.left());
    const JDIMENSION right = toDimension(wanted.left() + wanted.width());
    JDIMENSION xoffset = left > margin ? left - margin : 0;
    JDIMENSION end = right + std::min<JDIMENSION>(c->output_width - right, margin);
    // A span only a few chroma samples wide is up-sampled another way than
    // the whole row, so narrow windows are decoded three iMCUs wide at least.
    const JDIMENSION least = std::min<JDIMENSION>(
        3 * JDIMENSION(c->max_h_samp_factor) * JDIMENSION(c->min_DCT_scaled_size), c->output_width);
    if (end - xoffset < least) {
        end = std::min(xoffset + least, c->output_width);
        xoffset = end - least;
    }
    JDIMENSION width = end - xoffset;
    const JDIMENSION top = toDimension(wanted.top());
    const JDIMENSION bottom = toDimension(wanted.top() + wanted.height());

    decompressor.run([&] {
        jpeg_start_decompress(c);
        // The codec moves the start left to a block boundary and widens the
        // width to match; the decoded row then starts xoffset columns in.
        if (xoffset > 0 || width < c->output_width)
            jpeg_crop_scanline(c, &xoffset, &width);
    });

    std::vector<JSAMPLE> decoded(std::size_t(c->output_width) * 3);
    JSAMPROW row = decoded.data();
    const JSAMPLE* from = decoded.data() + std::size_t(left - xoffset) * 3;
    const std::size_t rowBytes = std::size_t(wanted.width()) * 3;
    std::uint8_t* into = bitmap.scanLine(0);
    const qsizetype stride = bitmap.bytesPerLine();
    decompressor.run([&] {
        if (top > 0 && jpeg_skip_scanlines(c, top) != top)
            ERREXIT(c, JERR_INPUT_EMPTY); // cannot happen: the source never suspends
        while (c->output_scanline < bottom) {
            const JDIMENSION y = c->output_scanline - top;
            if (jpeg_read_scanlines(c, &row, 1) != 1)
                ERREXIT(c, JERR_INPUT_EMPTY);
            std::memcpy(into + qsizetype(y) * stride, from, rowBytes);
        }
    });
    // The rest of the stream is never read: the decompressor's destruction
    // aborts the decode instead of finishing it.
    return bitmap;
}

} // namespace kadrix::jpegcodec
