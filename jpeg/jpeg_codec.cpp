#include "jpeg_codec.h"

#include <algorithm>
#include <new>

#include <jerror.h>

namespace kadrix::jpegcodec {
namespace {

// --- error hook -----------------------------------------------------------

// Never returns to the codec: keeps the codec's text of the error, then
// jumps back to the guarded call in progress.
[[noreturn]] void raiseCodecError(j_common_ptr cinfo) {
    auto* hook = reinterpret_cast<ErrorHook*>(cinfo->err);
    hook->standardFormat(cinfo, hook->text);
    std::longjmp(hook->jump, 1);
}

// Warnings and trace messages are dropped, warnings only counted; the
// window's messages carry the number only.
void countWarning(j_common_ptr cinfo, int level) {
    if (level < 0)
        ++cinfo->err->num_warnings;
}
void ignoreOutput(j_common_ptr) {}
void noText(j_common_ptr, char* buffer) {
    buffer[0] = '\0';
}

void resetErrors(j_common_ptr cinfo) {
    cinfo->err->msg_code = 0;
    cinfo->err->num_warnings = 0;
}

// libjpeg calls this as it reads the data (between iMCU rows of each scan
// it absorbs, and for every row given out); past MaxScans the decode ends
// as a fatal error does.
void limitScans(j_common_ptr cinfo) {
    if (!cinfo->is_decompressor ||
        reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number <= MaxScans)
        return;
    auto* hook = reinterpret_cast<ErrorHook*>(cinfo->err);
    hook->tooManyScans = true;
    std::longjmp(hook->jump, 1);
}

void installErrorHook(ErrorHook& hook) {
    jpeg_std_error(&hook.pub);
    hook.tooManyScans = false;
    hook.standardFormat = hook.pub.format_message;
    hook.text[0] = '\0';
    hook.pub.error_exit = raiseCodecError;
    hook.pub.emit_message = countWarning;
    hook.pub.output_message = ignoreOutput;
    hook.pub.format_message = noText;
    hook.pub.reset_error_mgr = resetErrors;
}

// --- source over the data buffer -------------------------------------------

const JOCTET FakeEndOfImage[2] = {0xFF, JPEG_EOI};

Decompressor::Source* sourceOf(j_decompress_ptr cinfo) {
    return reinterpret_cast<Decompressor::Source*>(cinfo->src);
}

void initSource(j_decompress_ptr cinfo) {
    Decompressor::Source* source = sourceOf(cinfo);
    source->piece = 0;
    source->position = 0;
    source->delivered = 0;
}

boolean fillInputBuffer(j_decompress_ptr cinfo) {
    Decompressor::Source* source = sourceOf(cinfo);
    while (source->piece < source->count &&
           source->position == source->pieces[source->piece].size) {
        ++source->piece;
        source->position = 0;
    }
    if (source->piece == source->count) {
        if (source->delivered == 0)
            ERREXIT(cinfo, JERR_INPUT_EMPTY);
        // The stream ended early: warn (silently) and end the image here so
        // that decoding finishes with what was read.
        WARNMS(cinfo, JWRN_JPEG_EOF);
        source->pub.next_input_byte = FakeEndOfImage;
        source->pub.bytes_in_buffer = sizeof FakeEndOfImage;
        return TRUE;
    }
    // Each piece goes over whole: libjpeg-turbo takes its fast Huffman path
    // only while a few kilobytes lie ready in the buffer, so handing over small
    // blocks would send a good part of every decode down the slow path.
    const StreamPiece& piece = source->pieces[source->piece];
    const std::size_t count = piece.size - source->position;
    source->pub.next_input_byte = piece.data + source->position;
    source->pub.bytes_in_buffer = count;
    source->position += count;
    source->delivered += count;
    return TRUE;
}

void skipInputData(j_decompress_ptr cinfo, long count) {
    if (count <= 0)
        return;
    jpeg_source_mgr* source = cinfo->src;
    auto remaining = static_cast<std::size_t>(count);
    while (remaining > source->bytes_in_buffer) {
        remaining -= source->bytes_in_buffer;
        (void)fillInputBuffer(cinfo);
    }
    source->next_input_byte += remaining;
    source->bytes_in_buffer -= remaining;
}

// The decoder found another restart marker than the one it expects. In a
// stream entered at a later interval the numbers run `restartShift` ahead:
// that marker is the right one. Anything else goes to the codec's own
// recovery, which warns.
boolean resyncToRestart(j_decompress_ptr cinfo, int desired) {
    const int shift = sourceOf(cinfo)->restartShift;
    if (shift != 0 && cinfo->unread_marker == JPEG_RST0 + ((desired + shift) & 7)) {
        cinfo->unread_marker = 0;
        return TRUE;
    }
    return jpeg_resync_to_restart(cinfo, desired);
}

void termSource(j_decompress_ptr) {}

// --- destination appending to a byte buffer --------------------------------

Compressor::Destination* destinationOf(j_compress_ptr cinfo) {
    return reinterpret_cast<Compressor::Destination*>(cinfo->dest);
}

// Qt reports a failed allocation by exception, which must not reach the codec.
bool append(QByteArray& out, const JOCTET* bytes, std::size_t count) noexcept {
    try {
        out.append(reinterpret_cast<const char*>(bytes), qsizetype(count));
        return true;
    } catch (...) {
        return false;
    }
}

// Where the encoded bytes go: appended to the buffer, or written to the
// device. Qt reports a failed allocation by exception, which must not reach
// the codec.
bool deliver(Compressor::Destination& destination, const JOCTET* bytes,
             std::size_t count) noexcept {
    if (destination.device == nullptr)
        return append(*destination.out, bytes, count);
    try {
        return destination.device->write(reinterpret_cast<const char*>(bytes), qint64(count)) ==
               qint64(count);
    } catch (...) {
        return false;
    }
}

void initDestination(j_compress_ptr cinfo) {
    Compressor::Destination* destination = destinationOf(cinfo);
    destination->pub.next_output_byte = destination->block;
    destination->pub.free_in_buffer = BlockSize;
}

boolean emptyOutputBuffer(j_compress_ptr cinfo) {
    Compressor::Destination* destination = destinationOf(cinfo);
    if (!deliver(*destination, destination->block, BlockSize))
        ERREXIT(cinfo, JERR_FILE_WRITE);
    destination->pub.next_output_byte = destination->block;
    destination->pub.free_in_buffer = BlockSize;
    return TRUE;
}

void termDestination(j_compress_ptr cinfo) {
    Compressor::Destination* destination = destinationOf(cinfo);
    const std::size_t count = BlockSize - destination->pub.free_in_buffer;
    if (count > 0 && !deliver(*destination, destination->block, count))
        ERREXIT(cinfo, JERR_FILE_WRITE);
}

} // namespace

bool callGuarded(ErrorHook& hook, void (*body)(void*), void* context) {
    if (setjmp(hook.jump) != 0)
        return false;
    body(context);
    return true;
}

Decompressor::Decompressor(const QByteArray& data)
    : Decompressor(std::array{StreamPiece{reinterpret_cast<const JOCTET*>(data.constData()),
                                          std::size_t(data.size())}}
                       .data(),
                   1) {}

Decompressor::Decompressor(const StreamPiece* pieces, std::size_t count, int restartShift) {
    installErrorHook(hook_);
    cinfo_.err = &hook_.pub;
    try {
        run([this] { jpeg_create_decompress(&cinfo_); });
    } catch (...) {
        jpeg_destroy_decompress(&cinfo_); // frees whatever the creation got
        throw;
    }
    cinfo_.mem->max_memory_to_use = MaxCodecMemory;
    progress_.progress_monitor = limitScans;
    cinfo_.progress = &progress_;
    source_.pub.init_source = initSource;
    source_.pub.fill_input_buffer = fillInputBuffer;
    source_.pub.skip_input_data = skipInputData;
    source_.pub.resync_to_restart = resyncToRestart;
    source_.pub.term_source = termSource;
    source_.pub.next_input_byte = nullptr;
    source_.pub.bytes_in_buffer = 0;
    source_.count = std::min(count, MaxStreamPieces);
    std::copy_n(pieces, source_.count, source_.pieces.begin());
    source_.piece = 0;
    source_.position = 0;
    source_.delivered = 0;
    source_.restartShift = restartShift & 7;
    cinfo_.src = &source_.pub;
}

std::size_t Decompressor::bytesConsumed() const {
    // Past the end the buffer holds the two bytes of the made-up end marker.
    return source_.delivered - std::min(source_.delivered, source_.pub.bytes_in_buffer);
}

Decompressor::~Decompressor() {
    jpeg_destroy_decompress(&cinfo_);
}

Compressor::Compressor(QByteArray& out) : Compressor(&out, nullptr) {}

Compressor::Compressor(QIODevice& device) : Compressor(nullptr, &device) {}

Compressor::Compressor(QByteArray* out, QIODevice* device) {
    installErrorHook(hook_);
    cinfo_.err = &hook_.pub;
    try {
        run([this] { jpeg_create_compress(&cinfo_); });
    } catch (...) {
        jpeg_destroy_compress(&cinfo_);
        throw;
    }
    cinfo_.mem->max_memory_to_use = MaxCodecMemory;
    destination_.pub.init_destination = initDestination;
    destination_.pub.empty_output_buffer = emptyOutputBuffer;
    destination_.pub.term_destination = termDestination;
    destination_.out = out;
    destination_.device = device;
    cinfo_.dest = &destination_.pub;
}

Compressor::~Compressor() {
    jpeg_destroy_compress(&cinfo_);
}

} // namespace kadrix::jpegcodec
