#include "jpeg_decoder.h"

#include "decoder_setup.h"
#include "exif_orientation.h"
#include "saved_markers.h"

#include <algorithm>
#include <vector>

#include <jerror.h>

namespace kadrix::jpegcodec {

FinalPass prepareDecoder(Decompressor& decompressor, const TJPEGDefaults& options) {
    jpeg_decompress_struct* c = decompressor.info();
    FinalPass final{};
    decompressor.run([&] {
        jpeg_read_header(c, TRUE);
        c->scale_num = 1;
        c->scale_denom = 1u << std::min<unsigned>(unsigned(options.Scale), 3);
        c->do_block_smoothing = options.Smoothing ? TRUE : FALSE;
        // Four-component files are converted to 24 bits by this adapter, so
        // neither grey output nor a palette applies to them.
        if (c->out_color_space != JCS_CMYK) {
            // Rows go straight into the bitmap, whose bytes are blue, green, red.
            if (c->out_color_space == JCS_RGB)
                c->out_color_space = JCS_EXT_BGR;
            if (options.GrayScale)
                c->out_color_space = JCS_GRAYSCALE;
            const bool grey = c->out_color_space == JCS_GRAYSCALE;
            if (grey && options.ExactGrey && options.PixelFormat == JpegPixelFormat::Bits24) {
                // A grey file's levels go straight into blue, green, red rows
                // (so the windowed decode applies); colour turned grey stays
                // one exact level per pixel.
                if (c->jpeg_color_space == JCS_GRAYSCALE)
                    c->out_color_space = JCS_EXT_BGR;
            } else if (options.PixelFormat == JpegPixelFormat::Bits8 || grey) {
                c->quantize_colors = TRUE;
                c->desired_number_of_colors = 236;
            }
        }
        if (options.Performance == JpegPerformance::BestSpeed) {
            c->dct_method = JDCT_IFAST;
            c->two_pass_quantize = FALSE;
            c->dither_mode = JDITHER_ORDERED;
        }
        final = {c->dct_method, c->two_pass_quantize, c->dither_mode};
        if (options.ProgressiveDisplay && jpeg_has_multiple_scans(c)) {
            c->enable_2pass_quant = c->two_pass_quantize;
            c->dct_method = JDCT_IFAST;
            c->two_pass_quantize = FALSE;
            c->dither_mode = JDITHER_ORDERED;
            c->buffered_image = TRUE;
        }
    });
    return final;
}

namespace {

int toInt(JDIMENSION value) {
    return int(std::min<JDIMENSION>(value, 0x7FFFFFFF));
}

// Where decoded rows go: straight into the bitmap's rows, or through one
// four-component row that is converted into the bitmap row.
struct RowTarget {
    std::uint8_t* base;
    qsizetype stride;
    JSAMPLE* cmykRow; // null unless the output is CMYK
    bool inverted;    // Adobe files store CMYK inverted
};

std::uint8_t product(unsigned a, unsigned b) {
    return std::uint8_t((a * b + 127) / 255);
}

// CMYK to blue, green, red: each colour is (255 - ink) * (255 - black) / 255,
// with inverted files already holding 255 - ink.
void convertCmykRow(const JSAMPLE* cmyk, std::uint8_t* bgr, JDIMENSION width, bool inverted) {
    for (JDIMENSION x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
        unsigned c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        bgr[0] = product(y, k);
        bgr[1] = product(m, k);
        bgr[2] = product(c, k);
    }
}

// Reads the rows of one output pass from the top down, one row per call.
void readRows(Decompressor& decompressor, const RowTarget& target) {
    jpeg_decompress_struct* c = decompressor.info();
    decompressor.run([&] {
        while (c->output_scanline < c->output_height) {
            const JDIMENSION y = c->output_scanline;
            std::uint8_t* row = target.base + qsizetype(y) * target.stride;
            JSAMPROW into = target.cmykRow != nullptr ? target.cmykRow : row;
            if (jpeg_read_scanlines(c, &into, 1) != 1)
                ERREXIT(c, JERR_INPUT_EMPTY); // cannot happen: the source never suspends
            if (target.cmykRow != nullptr)
                convertCmykRow(target.cmykRow, row, c->output_width, target.inverted);
        }
    });
}

// One palette entry per colour of the codec's colour map, whose rows follow
// the output components (blue, green, red here, or one grey level).
void installPalette(Bitmap& bitmap, const jpeg_decompress_struct& c) {
    std::vector<Colour> colours;
    colours.reserve(std::size_t(std::max(c.actual_number_of_colors, 0)));
    for (int i = 0; i < c.actual_number_of_colors; ++i) {
        if (c.out_color_components == 1) {
            const int grey = c.colormap[0][i];
            colours.push_back(makeColour(grey, grey, grey));
        } else if (c.out_color_space == JCS_EXT_BGR) {
            colours.push_back(makeColour(c.colormap[2][i], c.colormap[1][i], c.colormap[0][i]));
        } else {
            colours.push_back(makeColour(c.colormap[0][i], c.colormap[1][i], c.colormap[2][i]));
        }
    }
    bitmap.setPalette(colours);
}

// The palette of exact grey output: entry i is grey level i.
const std::vector<Colour>& greyLevels() {
    static const std::vector<Colour> levels = [] {
        std::vector<Colour> all;
        for (int i = 0; i < 256; ++i)
            all.push_back(makeColour(i, i, i));
        return all;
    }();
    return levels;
}

} // namespace

JpegHeader readHeader(const QByteArray& data) {
    Decompressor decompressor(data);
    jpeg_decompress_struct* c = decompressor.info();
    JpegHeader header;
    decompressor.run([&] {
        keepExifMarkers(c);
        jpeg_read_header(c, TRUE);
        header.width = toInt(c->image_width);
        header.height = toInt(c->image_height);
        header.grayScale = c->jpeg_color_space == JCS_GRAYSCALE;
        header.progressive = jpeg_has_multiple_scans(c) != FALSE;
    });
    header.orientation = exifOrientation(exifBlockOf(c));
    return header;
}

ScaledSize scaledSize(const QByteArray& data, const TJPEGDefaults& options) {
    Decompressor decompressor(data);
    prepareDecoder(decompressor, options);
    jpeg_decompress_struct* c = decompressor.info();
    ScaledSize size;
    decompressor.run([&] {
        jpeg_calc_output_dimensions(c);
        size.width = toInt(c->output_width);
        size.height = toInt(c->output_height);
        size.progressive = jpeg_has_multiple_scans(c) != FALSE;
    });
    return size;
}

Bitmap decode(const QByteArray& data, const TJPEGDefaults& options) {
    Decompressor decompressor(data);
    const FinalPass final = prepareDecoder(decompressor, options);
    jpeg_decompress_struct* c = decompressor.info();
    decompressor.run([&] { jpeg_calc_output_dimensions(c); });

    const bool cmyk = c->out_color_space == JCS_CMYK;
    const bool indexed = c->quantize_colors != FALSE;
    const bool exactGrey = !indexed && c->out_color_space == JCS_GRAYSCALE;
    // Each row handed to the codec holds exactly what it writes: one index or
    // grey level, three colour bytes, or four CMYK bytes in a row of their
    // own. Anything else (two-component or unknown layouts) is refused
    // before decoding.
    const int expected = indexed || exactGrey ? 1 : cmyk ? 4 : 3;
    if (c->output_components != expected)
        throw EJPEG(JERR_CONVERSION_NOTIMPL);

    // The bitmap is sized from the header before the codec allocates its own
    // buffers, so that an absurd header fails here.
    Bitmap bitmap(toInt(c->output_width), toInt(c->output_height),
                  expected == 1 ? PixelFormat::Bits8 : PixelFormat::Bits24);
    if (exactGrey)
        bitmap.setPalette(greyLevels());
    std::vector<JSAMPLE> cmykRow(cmyk ? std::size_t(c->output_width) * 4 : 0);
    const RowTarget target{bitmap.scanLine(0), bitmap.bytesPerLine(),
                           cmyk ? cmykRow.data() : nullptr, c->saw_Adobe_marker != FALSE};

    decompressor.run([&] { jpeg_start_decompress(c); });

    const bool buffered = c->buffered_image != FALSE;
    if (buffered) {
        // Progressive display: one output pass per input scan, each
        // overwriting the whole bitmap with a better image.
        bool passCompleted = false;
        for (;;) {
            int status = 0;
            decompressor.run([&] { status = jpeg_consume_input(c); });
            if (status == JPEG_REACHED_EOI)
                break;
            decompressor.run([&] { jpeg_start_output(c, c->input_scan_number); });
            if (!passCompleted && c->colormap != nullptr && indexed)
                installPalette(bitmap, *c);
            readRows(decompressor, target);
            decompressor.run([&] { jpeg_finish_output(c); });
            passCompleted = true;
        }
        c->dct_method = final.dctMethod;
        c->dither_mode = final.ditherMode;
        if (final.twoPassQuantize) {
            c->two_pass_quantize = TRUE;
            c->colormap = nullptr;
        }
        decompressor.run([&] { jpeg_start_output(c, c->input_scan_number); });
    }
    if ((!buffered || final.twoPassQuantize) && c->colormap != nullptr && indexed)
        installPalette(bitmap, *c);
    readRows(decompressor, target);
    decompressor.run([&] {
        if (buffered)
            jpeg_finish_output(c);
        jpeg_finish_decompress(c);
    });
    return bitmap;
}

} // namespace kadrix::jpegcodec
