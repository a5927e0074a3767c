#pragma once

#include "colour.h"
#include "framing_options.h"
#include "jpeg_defaults.h"
#include "naming.h"
#include "shard.h"
#include "source_loader.h"

#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>

namespace kadrix::cli {

// Everything one command-line run is told.
struct BatchOptions {
    QStringList inputs; // files and folders, in argument order
    QSize size{640, 480};
    Colour wipe = makeColour(0, 0, 0);
    QString outDir; // empty: the "cropped" folder beside each source
    // decode and encode options: the options dialog's defaults, with exact grey
    TJPEGDefaults jpeg = DialogJpegDefaults;
    RenameScheme scheme; // destination filled in per source; the extension item picks the format
    int jobs = 1;
    bool dryRun = false;
    bool overwrite = false;
    DecodeOptions decode;
    FramingOptions framing; // --gravity, --fill and --keep-dates

    // Running as one task of many (read in cluster_options.cpp).
    QString filesFrom;         // --files-from list, "-" for standard input, "" when none
    bool nulSeparated = false; // --null: the list's entries end in NUL, not newline
    ShardRequest shard;        // --shard and --shard-count
    bool json = false;         // --json lines on standard output
    bool recursive = false;    // --recursive: sub-folders of folders too
};

// The destination item of ComboBoxDstExt a --format value stands for:
// "*.BMP", "*.JPG;*.JPEG", "*.PNG", "*.TIF;*.TIFF" or "*.WEBP" (nothing for
// another value).
std::optional<QString> extensionItemOfFormat(const QString& format);

// The outcome of reading the arguments: options to run with, the help text
// to print, or a usage error.
struct ParsedArguments {
    std::optional<BatchOptions> options;
    QString helpText;   // set for --help
    QString usageError; // set when the arguments are wrong
};

// Reads the arguments (the program name first, as QCoreApplication gives
// them). `cores` is the default of --jobs.
ParsedArguments parseArguments(const QStringList& arguments, int cores);

// "#RRGGBB" (the "#" may be left out) as a colour value.
std::optional<Colour> parseWipe(const QString& text);
// "WxH" with both sides from 1 to 65535.
std::optional<QSize> parseSize(const QString& text);

} // namespace kadrix::cli
