#pragma once

#include "bitmap.h"
#include "picture_formats.h"
#include "rows.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace kadrix {

class DescriptorDevice;
class Picture;

// The save step that the window's batch run and kadrix-batch share: first
// the decision about a file already at the result path, then the write.

// What becomes of a result path.
enum class SaveDecision {
    Write,         // nothing is there: a new file, which replaces nothing
    Replace,       // a file (or a link) is there, and may and can be replaced
    KeepExisting,  // a file is there and is to stay
    CannotReplace, // a file is there and was to go, but cannot be replaced
    Stream,        // a device, a FIFO or a socket is there: written into, never replaced
};

// The exists/overwrite decision. When a file (or a link, even a dangling
// one) is at `path`, `replaceExisting` is asked once whether it may go (a
// prompt, or an option), and a file that may go must also be replaceable
// (canReplace()). Nothing is asked when the path is free, a stream (a
// character device such as /dev/null, a FIFO or a socket, or a link to one,
// which the result is written into) or a folder or another kind of file
// (whose write then fails). Names are looked up by their own bytes.
SaveDecision decideSave(const QString& path, const std::function<bool()>& replaceExisting);

// Whether an existing file at `path` could be replaced: not a folder, the
// file writable, and its folder writable (the new file is renamed into it).
// A link is replaced itself, never what it points to: only its folder counts.
bool canReplace(const QString& path);

// The format a result path's extension selects, in any letter case, by the
// format table: .JPEG and .JPG JPEG, .PNG PNG, .TIF and .TIFF TIFF, .WEBP
// WebP, and every other extension (or none) 24-bit BMP.
ResultFormat resultFormatOf(const QString& path);

// The result formats as a file-dialog filter, one item and mask per format
// in the order of ComboBoxDstExt: "*.BMP", "*.JPG;*.JPEG", "*.PNG",
// "*.TIF;*.TIFF", "*.WEBP".
QString resultFormatFilter();

// How TIFF results are compressed (Qt's TIFF writer offers LZW or nothing).
enum class TiffCompression { Lzw, None };

// The encoder settings of the formats written through Qt, shared by the
// window (which keeps these defaults) and kadrix-batch. JPEG results take
// theirs from JpegDefaults.
struct ResultEncoding {
    int pngLevel = 6;                            // zlib's level, 0 (none) to 9 (smallest)
    TiffCompression tiff = TiffCompression::Lzw; // lossless either way
    int webpQuality = -1;                        // 0 to 100 (lossless); -1: the JPEG quality
    // The format written whatever the extension (kadrix-batch's --format
    // with --output); none: the extension's (resultFormatOf()).
    std::optional<ResultFormat> format = std::nullopt;
};

// The most memory, in bytes, that writing a result of `size` in `format`
// takes besides its canvas: the writers' copies of the picture and their
// buffers, and the encoded result itself where a stream takes it whole.
qint64 encodingBytes(QSize size, ResultFormat format);

// The most memory that writing a result of `size` in `format` a row at a
// time takes (ResultRows, for the formats writesRows() names): the file's
// write buffer, a row and the encoder's own.
qint64 rowWritingBytes(QSize size, ResultFormat format);

// Why a result of `size` cannot be written in `format` whatever its pixels
// (a side past JPEG's 65500 or WebP's 16383, a BMP past 4 GB): the writer's
// own message, asked before a picture is decoded; "" when the format takes it.
QString refusedResultSize(QSize size, ResultFormat format);

// True when the path's extension is ".JPEG" or ".JPG" in any letter case.
bool isJpegPath(const QString& path);

// How a write ended: saved, or failed with the writer's or the file
// system's message (for example the JPEG encoder's "JPEG error #n").
struct SaveOutcome {
    bool saved = false;
    QString error;       // empty when saved
    int systemError = 0; // the system's error number when the file system refused
    explicit operator bool() const { return saved; }
    // The destination is full: every later write there would fail alike.
    bool diskFull() const;
};

// Writes `canvas` to `path` in the format resultFormatOf() gives: JPEG
// through the JPEG picture type (with the options in force), PNG (lossless),
// TIFF (lossless) and WebP through Qt's image writers with `encoding`, an
// uncompressed 24-bit BMP otherwise. With JpegDefaults.KeepMetadata, a JPEG
// result carries the `source` picture's colour profile and its edited EXIF
// block, and a PNG, TIFF or WebP result its colour profile when Qt can read
// it; BMP carries neither. The bytes go to a nameless or hidden temporary
// file (atomic_file.h) that takes the result's name only once complete and
// stored, so a failure never leaves a truncated file nor harms an existing
// one, and a link at the path is never followed. Without `replace` (the
// decision was Write) nothing at the path is ever replaced, not even a file
// that appeared since the decision: the write then fails. A stream at the
// path (SaveDecision::Stream) takes the encoded bytes as they are; a folder,
// a block device or another special file is refused.
SaveOutcome saveResult(const Bitmap& canvas, const QString& path, const Picture* source = nullptr,
                       bool replace = false, const ResultEncoding& encoding = {});

// Writes `canvas` as saveResult() does, in `format`, into the open file
// `into` from where it stands (a file without a name that its owner reads
// back once the result is whole): nothing is named or replaced, and a failed
// write leaves its bytes there.
SaveOutcome saveResultInto(const Bitmap& canvas, DescriptorDevice& into, ResultFormat format,
                           const Picture* source, const ResultEncoding& encoding);

// Whether results of the format are written a row at a time as they are
// composed (JPEG and BMP); the others' writers take the whole picture.
bool writesRows(ResultFormat format);

// The write saveResult() makes into a file, for a JPEG or BMP result (the
// `format`, see writesRows()),
// taking the canvas a row at a time from the top: the same file, the same
// bytes, the same atomic commit. The file is opened at start(); `source` is
// asked then for the picture the result carries metadata of. When the file
// system or the encoder fails, put() and start() throw Stopped and
// outcome() says why; nothing is left at the path unless commit() succeeds.
class ResultRows final : public RowSink {
public:
    struct Stopped {};

    ResultRows(const QString& path, ResultFormat format, std::function<const Picture*()> source,
               bool replace);
    // Writes into the open file `into` in place of a file at a path, as
    // saveResultInto() does.
    ResultRows(DescriptorDevice& into, ResultFormat format, std::function<const Picture*()> source);
    ~ResultRows() override;
    ResultRows(const ResultRows&) = delete;
    ResultRows& operator=(const ResultRows&) = delete;

    void start(int width, int height) override;
    std::uint8_t* row() override { return row_.data(); }
    void put() override;
    // Ends the file once every row is put and gives it its name.
    SaveOutcome commit();
    const SaveOutcome& outcome() const { return outcome_; }

private:
    [[noreturn]] void stop(const QString& why);
    template <typename Step> void guarded(Step&& step);

    struct Writer;
    std::unique_ptr<Writer> writer_;
    QString path_;
    DescriptorDevice* into_ = nullptr;
    ResultFormat format_;
    std::function<const Picture*()> source_;
    bool replace_;
    std::vector<std::uint8_t> row_;
    SaveOutcome outcome_{true, {}, 0};
};

} // namespace kadrix
