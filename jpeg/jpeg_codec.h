#pragma once

// The codec contexts of libjpeg wrapped for C++: the error hook, the source
// and destination managers over in-memory buffers, and guarded codec calls.

#include "jpeg_error.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <array>
#include <csetjmp>
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

namespace kadrix::jpegcodec {

// Bytes the encoder hands to the output buffer at a time.
constexpr std::size_t BlockSize = 4096;

// libjpeg's own buffers (whole-image coefficients of progressive files,
// two-pass quantisation) may not grow beyond this: the same bound as a
// decoded bitmap, so that a hostile header fails instead of exhausting memory.
constexpr long MaxCodecMemory = 1L << 31;

// The scans a decoder reads at most. libjpeg decodes every scan a file
// holds, and a file of a few kilobytes can hold thousands of scans that each
// refine nothing, keeping a core busy for minutes; real progressive files
// have about ten.
constexpr int MaxScans = 500;

struct ErrorHook {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    bool tooManyScans; // the decoder stopped at a scan past MaxScans
    // libjpeg's own formatter (the installed hook produces no text) and the
    // text of the fatal error it gave, for messages that quote the codec.
    void (*standardFormat)(j_common_ptr, char*);
    char text[JMSG_LENGTH_MAX];
};

// Runs `body(context)` with the hook's jump target set in this frame. Returns
// false when the codec reported a fatal error. Defined out of line so that
// setjmp sits in one small function with nothing to destroy.
bool callGuarded(ErrorHook& hook, void (*body)(void*), void* context);

// Runs one step of codec calls. libjpeg is C code: a C++ exception must not
// unwind through it, so the error hook jumps back to callGuarded and the
// failure is thrown here as EJPEG once the codec's frames are gone. A step
// must hold no local object with a destructor, since the jump skips them.
template <typename Step> void runGuarded(ErrorHook& hook, Step& step) {
    const bool completed = callGuarded(
        hook, [](void* context) { (*static_cast<Step*>(context))(); }, &step);
    if (!completed && hook.tooManyScans)
        throw EInvalidGraphic(Text(
            "kadrix",
            QT_TRANSLATE_NOOP("kadrix", "Image invalide: plus de %1 passes dans le fichier JPEG"),
            {QString::number(MaxScans)}));
    if (!completed)
        throw EJPEG(hook.pub.msg_code, QString::fromLocal8Bit(hook.text));
}

// A run of bytes the codec reads, owned elsewhere.
struct StreamPiece {
    const JOCTET* data = nullptr;
    std::size_t size = 0;
};
constexpr std::size_t MaxStreamPieces = 4;

// A decompression context reading `data`, which must outlive it. The
// context is destroyed with this object, on every path.
class Decompressor {
public:
    explicit Decompressor(const QByteArray& data);
    // Reads the pieces one after the other as one stream (at most
    // MaxStreamPieces). `restartShift` is added to the number of every
    // restart marker the decoder expects, for a stream whose entropy data
    // starts at a later restart interval than the first.
    Decompressor(const StreamPiece* pieces, std::size_t count, int restartShift = 0);
    ~Decompressor();
    Decompressor(const Decompressor&) = delete;
    Decompressor& operator=(const Decompressor&) = delete;

    jpeg_decompress_struct* info() { return &cinfo_; }
    template <typename Step> void run(Step&& step) { runGuarded(hook_, step); }

    // The warnings the codec gave since the context was made (damaged or
    // short data it decoded anyway, restart markers it had to resynchronise).
    long warnings() const { return hook_.pub.num_warnings; }
    // The bytes of the stream the codec has taken so far.
    std::size_t bytesConsumed() const;

    struct Source {
        jpeg_source_mgr pub;
        std::array<StreamPiece, MaxStreamPieces> pieces;
        std::size_t count;
        std::size_t piece;     // the piece being read
        std::size_t position;  // the next byte of that piece to hand over
        std::size_t delivered; // bytes handed over in all
        int restartShift;
    };

private:
    ErrorHook hook_;
    Source source_;
    jpeg_progress_mgr progress_{}; // stops the decoder past MaxScans
    jpeg_decompress_struct cinfo_{};
};

// A compression context appending its output to `out`, or writing it to
// `device`, which must outlive it. The context is destroyed with this
// object, on every path. A device that takes fewer bytes stops the codec
// with a write error.
class Compressor {
public:
    explicit Compressor(QByteArray& out);
    explicit Compressor(QIODevice& device);
    ~Compressor();
    Compressor(const Compressor&) = delete;
    Compressor& operator=(const Compressor&) = delete;

    jpeg_compress_struct* info() { return &cinfo_; }
    template <typename Step> void run(Step&& step) { runGuarded(hook_, step); }

    struct Destination {
        jpeg_destination_mgr pub;
        QByteArray* out;
        QIODevice* device;
        JOCTET block[BlockSize];
    };

private:
    Compressor(QByteArray* out, QIODevice* device);
    ErrorHook hook_;
    Destination destination_;
    jpeg_compress_struct cinfo_{};
};

} // namespace kadrix::jpegcodec
