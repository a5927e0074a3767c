#pragma once

#include "colour.h"
#include "frame_geometry.h"
#include "framing_options.h"
#include "jpeg_defaults.h"
#include "naming.h"
#include "result_writer.h"
#include "shard.h"
#include "source_loader.h"

#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>

namespace kadrix::cli {

enum class Verbosity { Quiet, Normal, Verbose };
enum class ProgressMode { Auto, Always, Never };

// Everything one command-line run is told.
struct BatchOptions {
    QStringList inputs;   // files and folders, in argument order
    QSize size{640, 480}; // pixels, or the ratio's terms (--size W:H, see framing.sizeMode)
    Colour wipe = makeColour(0, 0, 0);
    QString outDir; // empty: the "cropped" folder beside each source
    // decode and encode options: the options dialog's defaults, with exact grey
    TJPEGDefaults jpeg = DialogJpegDefaults;
    // PNG, TIFF and WebP settings; WebP results have a quality of their own.
    ResultEncoding encoding{.webpQuality = 95};
    RenameScheme scheme; // destination filled in per source; the extension item picks the format
    int jobs = 1;
    bool dryRun = false;
    bool overwrite = false;
    DecodeOptions decode;
    FramingOptions framing; // --gravity, --fill, --keep-dates, and --ratio with --size W:H

    // Running as one task of many (read in cluster_options.cpp).
    QString filesFrom;         // --files-from list, "-" for standard input, "" when none
    bool nulSeparated = false; // --null: the list's entries end in NUL, not newline
    ShardRequest shard;        // --shard and --shard-count
    bool json = false;         // --json lines on standard output
    bool recursive = false;    // --recursive: sub-folders of folders too
    QString placements;        // --placements file, "-" for standard input, "" when none

    // Read in terminal_options.cpp.
    Verbosity verbosity = Verbosity::Normal;
    ProgressMode progress = ProgressMode::Auto;
    QString output;       // --output: the one result's path, "-" for standard output, "" when none
    int outputStream = 1; // with output "-": standard output (1), or standard error (2)
    bool force = false;   // --force: a result to standard output even on a terminal
    qint64 memory = 0;    // --memory: what the pictures in hand may hold, 0: the default

    ResultSize resultSize() const { return {framing.sizeMode, size.width(), size.height()}; }
};

// The destination item of ComboBoxDstExt a --format value stands for:
// "*.BMP", "*.JPG;*.JPEG", "*.PNG", "*.TIF;*.TIFF" or "*.WEBP", from a result
// format's name or one of its extensions in the format table (nothing for
// another value).
std::optional<QString> extensionItemOfFormat(const QString& format);

// The outcome of reading the arguments: options to run with, the help text
// to print, or a usage error.
struct ParsedArguments {
    std::optional<BatchOptions> options;
    QString helpText;         // set for --help
    QString versionText;      // set for --version
    bool listFormats = false; // --list-formats
    QString usageError;       // set when the arguments are wrong
};

// Reads the arguments (the program name first, as QCoreApplication gives
// them). `cores` is the default of --jobs.
ParsedArguments parseArguments(const QStringList& arguments, int cores);

// A colour as Qt's colour parser reads it (names such as "white", "#fff",
// "#RRGGBB"), or six hex digits without the "#"; opaque only (results have
// no alpha channel, so "#80ff0000" or "transparent" would lose theirs).
std::optional<Colour> parseWipe(const QString& text);
// A size in bytes: digits, then K, M, G or T (binary multiples, "KiB",
// "MB" and the lower case read alike); nothing for anything else or 0.
std::optional<qint64> parseByteSize(const QString& text);
// "WxH" with both sides from 1 to 65535.
std::optional<QSize> parseSize(const QString& text);
// "W:H" with both terms from 1 to 65535.
std::optional<QSize> parseRatio(const QString& text);

} // namespace kadrix::cli
