#include "jpeg_window.h"

#include "decoder_setup.h"
#include "jpeg_decoder.h"
#include "jpeg_stream_layout.h"

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

// Reads the header and sets the decoder up for 24-bit output of the last
// pass. False when the output would be anything else.
bool prepareWindowDecoder(Decompressor& decompressor, const TJPEGDefaults& options) {
    const FinalPass final = PrepareDecoder(decompressor, options);
    jpeg_decompress_struct* c = decompressor.info();
    if (c->out_color_space != JCS_EXT_BGR || c->quantize_colors)
        return false;
    // Progressive display only changes the passes before the last one, and
    // with 24-bit output the last pass is the whole decode itself.
    c->buffered_image = FALSE;
    c->dct_method = final.dctMethod;
    c->dither_mode = final.ditherMode;
    c->two_pass_quantize = final.twoPassQuantize;
    decompressor.run([&] { jpeg_calc_output_dimensions(c); });
    return c->output_components == 3;
}

void startDecoder(Decompressor& decompressor) {
    jpeg_decompress_struct* c = decompressor.info();
    decompressor.run([c] { jpeg_start_decompress(c); });
}

// Narrows the decoder's rows to the columns around `wanted`, which lies
// inside the output. The decoder must have been started (startDecoder())
// and have given no row yet. Returns where the window's first column lies in
// the rows the decoder then gives.
JDIMENSION cropToWindow(Decompressor& decompressor, const QRect& wanted) {
    jpeg_decompress_struct* c = decompressor.info();
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
    decompressor.run([&] {
        // The codec moves the start left to a block boundary and widens the
        // width to match; the decoded row then starts xoffset columns in.
        if (xoffset > 0 || width < c->output_width)
            jpeg_crop_scanline(c, &xoffset, &width);
    });
    return left - xoffset;
}

// Decodes `wanted`, which lies inside the output, reading rows from the top
// of the stream down to the window's bottom edge. The decoder must have been
// started (startDecoder()) and have given no row yet.
Bitmap readWindow(Decompressor& decompressor, const QRect& wanted) {
    jpeg_decompress_struct* c = decompressor.info();
    Bitmap bitmap(wanted.width(), wanted.height());
    const JDIMENSION column = cropToWindow(decompressor, wanted);
    const JDIMENSION top = toDimension(wanted.top());
    const JDIMENSION bottom = toDimension(wanted.top() + wanted.height());

    std::vector<JSAMPLE> decoded(std::size_t(c->output_width) * 3);
    JSAMPROW row = decoded.data();
    const JSAMPLE* from = decoded.data() + std::size_t(column) * 3;
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

// Leaving fewer MCU rows out than this does not repay the second header
// read and the marker scan.
constexpr JDIMENSION MinimumRowsLeftOut = 4;

// Where a decode entered at a restart marker starts: the iMCU rows (the rows
// of blocks the decoder turns into pixels at a time) it leaves out above the
// window, and the interval that opens the first row it reads.
struct RestartEntry {
    StreamLayout layout;
    JDIMENSION mcuRowsLeftOut = 0;    // iMCU rows
    JDIMENSION imageRowsLeftOut = 0;  // full-size rows
    JDIMENSION outputRowsLeftOut = 0; // rows at the output scale
    qsizetype interval = 0;           // its index, counted from 0
    qsizetype entropyFrom = 0;        // its first entropy byte
};

// The restart interval that opens the iMCU row above the one holding the
// window's top row (the up-sampler takes its context from that row), when
// the stream allows entering there: one scan of 8-bit sequential Huffman
// data holding every component, iMCU rows that are each a whole number of
// restart intervals, the markers all present and in turn up to it and on
// through the iMCU row below the window's bottom row. Those the decode reads
// must be checked too: entered part-way, the codec expects numbers shifted
// by the entry's, and takes a marker bearing its unshifted number as sound.
// `whole` has been started, so the scan's geometry is the decoder's own.
std::optional<RestartEntry> findRestartEntry(const QByteArray& data, Decompressor& whole,
                                             const QRect& window) {
    const JDIMENSION windowTop = toDimension(window.top());
    jpeg_decompress_struct* c = whole.info();
    if (c->progressive_mode || c->arith_code || c->data_precision != 8 ||
        jpeg_has_multiple_scans(c) || c->restart_interval == 0 || c->comps_in_scan < 1 ||
        c->comps_in_scan != c->num_components)
        return std::nullopt;
    // An MCU of an interleaved scan covers a whole iMCU row's height; an MCU
    // of a one-component scan is one block, and an iMCU row is v_samp_factor
    // rows of them, whatever the sampling.
    const JDIMENSION mcuRowsPerImcuRow =
        c->comps_in_scan == 1 ? JDIMENSION(c->cur_comp_info[0]->v_samp_factor) : 1;
    const JDIMENSION mcusPerImcuRow = c->MCUs_per_row * mcuRowsPerImcuRow;
    if (mcusPerImcuRow == 0 || mcusPerImcuRow % c->restart_interval != 0)
        return std::nullopt;
    const JDIMENSION mcuHeight = JDIMENSION(c->max_v_samp_factor) * DCTSIZE; // image rows
    const JDIMENSION outputRowsPerMcuRow =
        JDIMENSION(c->max_v_samp_factor) * JDIMENSION(c->min_DCT_scaled_size);
    const JDIMENSION windowRow = windowTop / outputRowsPerMcuRow;
    if (windowRow < MinimumRowsLeftOut + 1)
        return std::nullopt;

    RestartEntry entry;
    entry.mcuRowsLeftOut = windowRow - 1;
    entry.imageRowsLeftOut = entry.mcuRowsLeftOut * mcuHeight;
    entry.outputRowsLeftOut = entry.mcuRowsLeftOut * outputRowsPerMcuRow;
    entry.interval =
        qsizetype(entry.mcuRowsLeftOut) * qsizetype(mcusPerImcuRow / c->restart_interval);
    // The walk must agree with the codec on the frame and where its data begins.
    const std::optional<StreamLayout> layout = readStreamLayout(data);
    if (!layout || (layout->frameMarker != 0xC0 && layout->frameMarker != 0xC1) ||
        layout->scanComponents != layout->frameComponents ||
        JDIMENSION(layout->height) != c->image_height ||
        unsigned(layout->restartInterval) != c->restart_interval ||
        std::size_t(layout->entropyStart) != whole.bytesConsumed())
        return std::nullopt;
    entry.layout = *layout;
    const qsizetype intervalsPerRow = mcusPerImcuRow / c->restart_interval;
    // The last marker of the scan closes its last interval but one.
    const qsizetype bottomRow =
        toDimension(window.top() + window.height() - 1) / outputRowsPerMcuRow;
    const qsizetype through = std::min((bottomRow + 2) * intervalsPerRow,
                                       qsizetype(c->total_iMCU_rows) * intervalsPerRow - 1);
    const std::optional<qsizetype> from =
        findRestartInterval(data, layout->entropyStart, entry.interval, through);
    if (!from)
        return std::nullopt;
    entry.entropyFrom = *from;
    return entry;
}

// Decodes `wanted` from a stream made of the header, its frame height less
// the rows left out, and the entropy data from the entry interval on: the
// original bytes in place, not a copy. Nothing when the codec warned about
// anything on the way or failed: the caller then decodes from the top.
std::optional<Bitmap> decodeFromRestart(const QByteArray& data, const RestartEntry& entry,
                                        const TJPEGDefaults& options, const QRect& wanted,
                                        const jpeg_decompress_struct& whole) {
    const auto* bytes = reinterpret_cast<const JOCTET*>(data.constData());
    const StreamLayout& layout = entry.layout;
    const JDIMENSION height = JDIMENSION(layout.height) - entry.imageRowsLeftOut;
    const JOCTET patchedHeight[2] = {JOCTET(height >> 8), JOCTET(height & 0xFF)};
    const std::size_t afterHeight = std::size_t(layout.heightOffset) + 2;
    const StreamPiece pieces[] = {
        {bytes, std::size_t(layout.heightOffset)},
        {patchedHeight, 2},
        {bytes + afterHeight, std::size_t(layout.entropyStart) - afterHeight},
        {bytes + entry.entropyFrom, std::size_t(data.size() - entry.entropyFrom)},
    };
    try {
        // The first marker this stream meets closes interval `interval`.
        Decompressor part(pieces, std::size(pieces), int(entry.interval % 8));
        if (!prepareWindowDecoder(part, options))
            return std::nullopt;
        const jpeg_decompress_struct* c = part.info();
        if (c->output_width != whole.output_width ||
            c->output_height + entry.outputRowsLeftOut != whole.output_height)
            return std::nullopt;
        startDecoder(part);
        if (c->MCUs_per_row != whole.MCUs_per_row || c->comps_in_scan != whole.comps_in_scan)
            return std::nullopt;
        Bitmap bitmap = readWindow(part, wanted.translated(0, -int(entry.outputRowsLeftOut)));
        if (part.warnings() > 0)
            return std::nullopt;
        return bitmap;
    } catch (const EJPEG&) {
        return std::nullopt;
    }
}

// The rows of a window read one at a time from the top of the stream, with
// the same decoder settings as readWindow().
class WindowRows final : public RowSource {
public:
    explicit WindowRows(QByteArray data) : data_(std::move(data)), decompressor_(data_) {}

    // Sets the decoder up for `window`; false when readWindow() should
    // decode it instead, or nothing can be decoded.
    bool prepare(const TJPEGDefaults& options, const QRect& window, DecodeMode mode) {
        if (!prepareWindowDecoder(decompressor_, options))
            return false;
        jpeg_decompress_struct* c = decompressor_.info();
        const QRect picture(0, 0, int(std::min<JDIMENSION>(c->output_width, 0x7FFFFFFF)),
                            int(std::min<JDIMENSION>(c->output_height, 0x7FFFFFFF)));
        wanted_ = window.intersected(picture);
        if (wanted_.isEmpty())
            return false;
        startDecoder(decompressor_);
        // Entering at a restart marker needs the window decoded whole before
        // it is handed on, to fall back on the top decode at any doubt: worth
        // it for a small window, not for one near the picture's size.
        if (mode == DecodeMode::Seek &&
            bitmapBytes(wanted_.width(), wanted_.height(), 3) <= MaxSeekWindowBytes &&
            findRestartEntry(data_, decompressor_, wanted_))
            return false;
        column_ = cropToWindow(decompressor_, wanted_);
        decoded_.resize(std::size_t(c->output_width) * 3);
        return true;
    }

    int width() const override { return wanted_.width(); }
    int height() const override { return wanted_.height(); }

    const std::uint8_t* next() override {
        jpeg_decompress_struct* c = decompressor_.info();
        const JDIMENSION top = toDimension(wanted_.top());
        JSAMPROW row = decoded_.data();
        decompressor_.run([&] {
            if (c->output_scanline < top && jpeg_skip_scanlines(c, top) != top)
                ERREXIT(c, JERR_INPUT_EMPTY); // cannot happen: the source never suspends
            if (jpeg_read_scanlines(c, &row, 1) != 1)
                ERREXIT(c, JERR_INPUT_EMPTY);
        });
        return decoded_.data() + std::size_t(column_) * 3;
    }

private:
    QByteArray data_;
    Decompressor decompressor_;
    QRect wanted_;
    JDIMENSION column_ = 0;
    std::vector<JSAMPLE> decoded_;
};

} // namespace

std::optional<Bitmap> decodeWindow(const QByteArray& data, const TJPEGDefaults& options,
                                   const QRect& window, DecodeMode mode, WindowStart* start) {
    if (start != nullptr)
        *start = WindowStart::Top;
    if (options.PixelFormat != JpegPixelFormat::Bits24 || options.GrayScale)
        return std::nullopt;

    Decompressor decompressor(data);
    if (!prepareWindowDecoder(decompressor, options))
        return std::nullopt;
    jpeg_decompress_struct* c = decompressor.info();
    const QRect picture(0, 0, int(std::min<JDIMENSION>(c->output_width, 0x7FFFFFFF)),
                        int(std::min<JDIMENSION>(c->output_height, 0x7FFFFFFF)));
    const QRect wanted = window.intersected(picture);
    if (wanted.isEmpty())
        return Bitmap();

    if (mode == DecodeMode::Whole)
        return Bitmap(decode(data, options).image().copy(wanted));
    startDecoder(decompressor);
    if (mode == DecodeMode::Seek) {
        if (const auto entry = findRestartEntry(data, decompressor, wanted)) {
            if (auto bitmap = decodeFromRestart(data, *entry, options, wanted, *c)) {
                if (start != nullptr)
                    *start = WindowStart::RestartMarker;
                return bitmap;
            }
        }
    }
    return readWindow(decompressor, wanted);
}

std::unique_ptr<RowSource> windowRows(const QByteArray& data, const TJPEGDefaults& options,
                                      const QRect& window, DecodeMode mode) {
    if (options.PixelFormat != JpegPixelFormat::Bits24 || options.GrayScale ||
        mode == DecodeMode::Whole)
        return nullptr;
    auto rows = std::make_unique<WindowRows>(data);
    if (!rows->prepare(options, window, mode))
        return nullptr;
    return rows;
}

qint64 windowRowsBytes(int width, int height, bool progressive) {
    constexpr qint64 CodecRows = 48;
    const qint64 w = std::max(width, 0);
    const qint64 h = std::max(height, 0);
    return CodecRows * w * 3 + (progressive ? w * h * 6 : 0);
}

} // namespace kadrix::jpegcodec
