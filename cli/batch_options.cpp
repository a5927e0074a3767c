#include "batch_options.h"

#include "cluster_options.h"
#include "file_filter.h"
#include "framing_arguments.h"
#include "result_writer.h"
#include "terminal_options.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QRegularExpression>

namespace kadrix::cli {
namespace {

constexpr int MaxSide = 65535;
constexpr int MinQuality = 5;
constexpr int MaxQuality = 95;

// The parser's own texts, the headings of the help text and its errors
// (errorText()), translated along with kadrix-batch's texts: Qt's catalogue
// of its own texts is not loaded.
[[maybe_unused]] constexpr const char* ParserTexts[] = {
    QT_TRANSLATE_NOOP("QCommandLineParser", "Usage: %1"),
    QT_TRANSLATE_NOOP("QCommandLineParser", "[options]"),
    QT_TRANSLATE_NOOP("QCommandLineParser", "Options:"),
    QT_TRANSLATE_NOOP("QCommandLineParser", "Arguments:"),
    QT_TRANSLATE_NOOP("QCommandLineParser", "Unknown option '%1'."),
    QT_TRANSLATE_NOOP("QCommandLineParser", "Unknown options: %1."),
    QT_TRANSLATE_NOOP("QCommandLineParser", "Missing value after '%1'."),
    QT_TRANSLATE_NOOP("QCommandLineParser", "Unexpected value after '%1'."),
};

// Shown in the user's language, as every help text here.
const char* const Description = QT_TRANSLATE_NOOP(
    "kadrix-batch",
    "Frames pictures to one fixed size, as Kadrix's \"GO\" does: each source is centred on a\n"
    "canvas filled with the wipe colour, cropped symmetrically where it is larger (an odd\n"
    "leftover pixel goes to the right or bottom), never scaled; --gravity anchors it\n"
    "elsewhere and --fill fills the margins otherwise. Results are named by the\n"
    "rename scheme: prefix, the source's name up to its first \".\", suffix, running number\n"
    "and extension (.BMP, .JPEG, .PNG, .TIFF or .WEBP).\n"
    "\n"
    "JPEG results of JPEG sources keep the source's colour profile and its EXIF block\n"
    "(without the thumbnail, with the result's size); PNG, TIFF and WebP results keep the\n"
    "colour profile. XMP and IPTC blocks are never copied. --strip drops both.\n"
    "\n"
    "Sources are files and folders, in argument order, then those of --files-from, forming\n"
    "one list whose position numbers the results. A folder contributes its files (with\n"
    "--recursive, then its sub-folders') whose extension is one of the picture types,\n"
    "sorted by name, each under its own bytes (names differing only in letter case are two\n"
    "sources). Of sources naming the same result (on a destination that ignores letter\n"
    "case, A.jpg and a.jpg are one) the first in the list writes it, the others are skipped.\n"
    "\n"
    "An existing result is skipped and reported unless --overwrite is given. A source that\n"
    "cannot be read is reported and the others go on. A destination that is full, read-only,\n"
    "closed or gone stops the run: no new picture is started, and those not framed are\n"
    "counted as failed.\n"
    "Exit status: 0 when every source was framed or skipped, 1 when any failed, 2 for\n"
    "wrong arguments, 130 or 143 when SIGINT or SIGTERM stopped the run (the pictures in\n"
    "hand are finished first; a second signal ends it at once). Messages are in English,\n"
    "in French under a French locale; JSON lines in English.");

std::optional<int> integerIn(const QString& text, int low, int high) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < low || value > high)
        return std::nullopt;
    return value;
}

// The names of the result formats of the format table, in their order:
// "bmp, jpeg, png, tiff or webp" with ", " and " or ".
QString resultFormatNames(const QString& separator, const QString& last) {
    QStringList names;
    for (const PictureFormat* format : resultFormats())
        names << format->name;
    const QString tail = names.takeLast();
    return names.join(separator) + last + tail;
}

// The two whole numbers from 1 to MaxSide that the two groups of `pattern`
// capture ("640x480", "16:9").
std::optional<QSize> parsePair(const QString& text, const QRegularExpression& pattern) {
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const auto w = integerIn(match.captured(1), 1, MaxSide);
    const auto h = integerIn(match.captured(2), 1, MaxSide);
    if (!w || !h)
        return std::nullopt;
    return QSize(*w, *h);
}

} // namespace

std::optional<QString> extensionItemOfFormat(const QString& format) {
    const PictureFormat* named = pictureFormatNamed(format);
    if (named == nullptr || !named->result)
        return std::nullopt;
    return resultItem(*named);
}

std::optional<Colour> parseWipe(const QString& text) {
    static const QRegularExpression bareHex(QStringLiteral("^[0-9A-Fa-f]{6}$"));
    const QColor colour = QColor::fromString(bareHex.match(text).hasMatch() ? u'#' + text : text);
    if (!colour.isValid() || colour.alpha() != 255)
        return std::nullopt;
    return fromQColor(colour);
}

std::optional<qint64> parseByteSize(const QString& text) {
    static const QRegularExpression pattern(
        QStringLiteral("^(\\d{1,15})\\s*(?:([KMGT])(?:I?B)?|B)?$"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    const qint64 value = match.captured(1).toLongLong();
    const QString unit = match.captured(2).toUpper();
    const int shift = unit.isEmpty() ? 0 : int(QStringLiteral("KMGT").indexOf(unit) + 1) * 10;
    if (value <= 0 || value > (qint64(1) << (62 - shift)))
        return std::nullopt;
    return value << shift;
}

std::optional<QSize> parseSize(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,9})[xX](\\d{1,9})$"));
    return parsePair(text, pattern);
}

std::optional<QSize> parseRatio(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,9}):(\\d{1,9})$"));
    return parsePair(text, pattern);
}

ParsedArguments parseArguments(const QStringList& arguments, int cores) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QCoreApplication::translate("kadrix-batch", Description));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
    const QCommandLineOption help(
        QStringList{QStringLiteral("h"), QStringLiteral("help")},
        QCoreApplication::translate("kadrix-batch", "Shows this help and exits."));
    const QCommandLineOption size(
        {QStringLiteral("s"), QStringLiteral("size")},
        QCoreApplication::translate(
            "kadrix-batch",
            "Result size, width x height (default 640x480), or a ratio W:H (16:9, 1:1): each "
            "result then gets its own size, the largest box of that ratio inside its picture "
            "(see --ratio)."),
        QStringLiteral("WxH|W:H"), QStringLiteral("640x480"));
    const QCommandLineOption ratio(
        QStringLiteral("ratio"),
        QCoreApplication::translate(
            "kadrix-batch",
            "With --size W:H: crop (default) keeps the largest box of the ratio inside each "
            "picture; pad makes the smallest box of the ratio that holds the whole picture, "
            "its margins filled as --fill says. Nothing is scaled."),
        QStringLiteral("crop|pad"), QStringLiteral("crop"));
    const QCommandLineOption wipe(
        QStringLiteral("wipe"),
        QCoreApplication::translate("kadrix-batch",
                                    "Colour of the margins: a name (white), #RGB or #RRGGBB "
                                    "(default #000000)."),
        QStringLiteral("COLOUR"), QStringLiteral("#000000"));
    const QCommandLineOption out(
        {QStringLiteral("o"), QStringLiteral("out")},
        QCoreApplication::translate(
            "kadrix-batch", "Folder of every result, created when missing (default: the folder "
                            "\"cropped\" beside each source)."),
        QStringLiteral("DIR"));
    const QCommandLineOption format(
        {QStringLiteral("f"), QStringLiteral("format")},
        QCoreApplication::translate(
            "kadrix-batch", "Result format: bmp (24-bit, default), jpeg, png (lossless), tiff "
                            "(lossless) or webp."),
        resultFormatNames(QStringLiteral("|"), QStringLiteral("|")),
        resultFormat(ResultFormat::Bmp).name);
    const QCommandLineOption listFormats(
        QStringLiteral("list-formats"),
        QCoreApplication::translate(
            "kadrix-batch", "Prints which picture formats this installation reads and writes, and "
                            "exits."));
    const QCommandLineOption pngLevel(
        QStringLiteral("png-level"),
        QCoreApplication::translate(
            "kadrix-batch", "PNG compression level, 0 (none, fastest) to 9 (smallest, slowest); "
                            "lossless at every level (default 6)."),
        QStringLiteral("N"), QStringLiteral("6"));
    const QCommandLineOption tiffCompression(
        QStringLiteral("tiff-compression"),
        QCoreApplication::translate(
            "kadrix-batch",
            "TIFF compression: lzw (lossless, default) or none. deflate is refused: "
            "Qt's TIFF writer does not offer it."),
        QStringLiteral("lzw|none"), QStringLiteral("lzw"));
    const QCommandLineOption webpQuality(
        QStringLiteral("webp-quality"),
        QCoreApplication::translate("kadrix-batch",
                                    "WebP quality, 0 to 100; 100 is lossless (default 95)."),
        QStringLiteral("Q"), QStringLiteral("95"));
    const QCommandLineOption strip(
        QStringLiteral("strip"),
        QCoreApplication::translate(
            "kadrix-batch",
            "Leaves the sources' EXIF blocks and colour profiles out of the results."));
    const QCommandLineOption quality(
        QStringLiteral("quality"),
        QCoreApplication::translate("kadrix-batch", "JPEG quality, 5 to 95 (default 95)."),
        QStringLiteral("Q"), QStringLiteral("95"));
    const QCommandLineOption progressive(
        QStringLiteral("progressive"),
        QCoreApplication::translate("kadrix-batch", "Writes progressive JPEG files."));
    const QCommandLineOption grey(
        QStringLiteral("grey"),
        QCoreApplication::translate(
            "kadrix-batch",
            "Grey levels only: JPEG sources are decoded and JPEG results encoded in "
            "grey, as with the options dialog's \"Grey levels only\"."));
    const QCommandLineOption subsampling(
        QStringLiteral("subsampling"),
        QCoreApplication::translate("kadrix-batch",
                                    "Keeps the JPEG encoder's chroma sub-sampling (2x2) instead of "
                                    "encoding every component at full resolution."));
    const QCommandLineOption noAutoOrient(
        QStringLiteral("no-auto-orient"),
        QCoreApplication::translate(
            "kadrix-batch",
            "Frames JPEG sources as they are stored, ignoring their EXIF orientation "
            "(by default a photo is turned upright first)."));
    const QCommandLineOption prefix(
        QStringLiteral("prefix"),
        QCoreApplication::translate(
            "kadrix-batch", "Text before each result name (default cropped_; \"\" for none)."),
        QStringLiteral("TEXT"), QStringLiteral("cropped_"));
    const QCommandLineOption noName(
        QStringLiteral("no-name"),
        QCoreApplication::translate("kadrix-batch",
                                    "Leaves the source's name out of the result name."));
    const QCommandLineOption suffix(
        QStringLiteral("suffix"),
        QCoreApplication::translate("kadrix-batch", "Text after the source's name."),
        QStringLiteral("TEXT"));
    const QCommandLineOption number(
        QStringLiteral("number"),
        QCoreApplication::translate(
            "kadrix-batch",
            "Adds a running number of DIGITS digits (with leading zeros), the first "
            "source getting START (default 1) and each next one more."),
        QStringLiteral("DIGITS[:START]"));
    const QCommandLineOption jobs(
        {QStringLiteral("j"), QStringLiteral("jobs")},
        QCoreApplication::translate("kadrix-batch",
                                    "Pictures framed at once (default: every core, here %1).")
            .arg(cores),
        QStringLiteral("N"), QString::number(cores));
    const QCommandLineOption dryRun(
        QStringLiteral("dry-run"),
        QCoreApplication::translate(
            "kadrix-batch",
            "Writes nothing: prints each source's size, the columns and rows cropped "
            "or padded on each side, where a source of --placements is placed, the "
            "result path and whether it exists."));
    const QCommandLineOption overwrite(
        QStringLiteral("overwrite"),
        QCoreApplication::translate("kadrix-batch", "Replaces existing results."));
    const QCommandLineOption decode(
        QStringLiteral("decode"),
        QCoreApplication::translate(
            "kadrix-batch",
            "How JPEG sources are decoded; the results are the same: whole, the "
            "whole picture; window, only the part that lands on the result, reading "
            "the rows from the top; seek (default), as window, but files with "
            "restart markers are entered at the marker just above that part."),
        QStringLiteral("MODE"), QStringLiteral("seek"));
    parser.addOptions({help,        size,     ratio,           wipe,
                       out,         format,   listFormats,     strip,
                       quality,     pngLevel, tiffCompression, webpQuality,
                       progressive, grey,     subsampling,     noAutoOrient,
                       prefix,      noName,   suffix,          number,
                       jobs,        dryRun,   overwrite,       decode});
    const ClusterOptions cluster;
    cluster.addTo(parser);
    const TerminalOptions terminal;
    terminal.addTo(parser);
    const FramingArguments framing;
    framing.addTo(parser);
    parser.addPositionalArgument(
        QStringLiteral("sources"),
        QCoreApplication::translate(
            "kadrix-batch",
            "Picture files and folders; - reads one picture from standard input. "
            "-- ends the options: what follows is a source even if it starts with -."),
        QStringLiteral("SOURCE..."));

    ParsedArguments result;
    const auto fail = [&](const QString& text) {
        result.usageError = text;
        return result;
    };
    if (!parser.parse(arguments)) {
        // Qt names an unknown option without its dashes: given back as typed.
        const QStringList unknown = parser.unknownOptionNames();
        if (unknown.size() == 1)
            return fail(QCoreApplication::translate("QCommandLineParser", "Unknown option '%1'.")
                            .arg((unknown.front().size() == 1 ? QStringLiteral("-")
                                                              : QStringLiteral("--")) +
                                 unknown.front()));
        return fail(parser.errorText());
    }
    if (parser.isSet(help)) {
        result.helpText = parser.helpText();
        return result;
    }
    if (parser.isSet(listFormats)) {
        result.listFormats = true;
        return result;
    }
    if (terminal.versionAsked(parser)) {
        result.versionText = versionText();
        return result;
    }

    BatchOptions options;
    options.inputs = parser.positionalArguments();

    const QString sizeText = parser.value(size);
    if (sizeText.contains(u':')) {
        const auto parsedRatio = parseRatio(sizeText);
        if (!parsedRatio)
            return fail(QCoreApplication::translate(
                            "kadrix-batch",
                            "--size wants WxH (a size) or W:H (a ratio, such as 16:9), each "
                            "term a whole number from 1 to %1: \"%2\"")
                            .arg(MaxSide)
                            .arg(sizeText));
        options.size = *parsedRatio;
        options.framing.sizeMode = SizeMode::RatioCrop;
    } else {
        const auto parsedSize = parseSize(sizeText);
        if (!parsedSize)
            return fail(QCoreApplication::translate("kadrix-batch",
                                                    "--size wants WxH, each side 1 to %1: \"%2\"")
                            .arg(MaxSide)
                            .arg(sizeText));
        options.size = *parsedSize;
    }
    if (parser.isSet(ratio)) {
        const QString how = parser.value(ratio).trimmed().toLower();
        if (how != QStringLiteral("crop") && how != QStringLiteral("pad"))
            return fail(
                QCoreApplication::translate("kadrix-batch", "--ratio wants crop or pad: \"%1\"")
                    .arg(parser.value(ratio)));
        if (options.framing.sizeMode == SizeMode::Fixed)
            return fail(QCoreApplication::translate(
                "kadrix-batch", "--ratio goes with a ratio size, --size W:H (such as 16:9)"));
        if (how == QStringLiteral("pad"))
            options.framing.sizeMode = SizeMode::RatioPad;
    }

    const auto parsedWipe = parseWipe(parser.value(wipe));
    if (!parsedWipe)
        return fail(QCoreApplication::translate(
                        "kadrix-batch", "--wipe wants a colour name (white, darkgrey), #RGB or "
                                        "#RRGGBB: \"%1\"")
                        .arg(parser.value(wipe)));
    options.wipe = *parsedWipe;

    if (parser.isSet(out)) {
        options.outDir = parser.value(out);
        if (options.outDir.trimmed().isEmpty())
            return fail(QCoreApplication::translate("kadrix-batch", "--out wants a folder"));
    }

    const std::optional<QString> item = extensionItemOfFormat(parser.value(format));
    if (!item)
        return fail(QCoreApplication::translate("kadrix-batch", "--format wants %1: \"%2\"")
                        .arg(resultFormatNames(QStringLiteral(", "),
                                               QCoreApplication::translate(
                                                   "kadrix-batch", " or ",
                                                   "before the last of a list of values")),
                             parser.value(format)));

    options.jpeg = DialogJpegDefaults;
    const auto parsedQuality = integerIn(parser.value(quality), MinQuality, MaxQuality);
    if (!parsedQuality)
        return fail(QCoreApplication::translate("kadrix-batch", "--quality wants %1 to %2: \"%3\"")
                        .arg(MinQuality)
                        .arg(MaxQuality)
                        .arg(parser.value(quality)));
    options.jpeg.CompressionQuality = std::uint8_t(*parsedQuality);
    const auto parsedLevel = integerIn(parser.value(pngLevel), 0, 9);
    if (!parsedLevel)
        return fail(QCoreApplication::translate("kadrix-batch", "--png-level wants 0 to 9: \"%1\"")
                        .arg(parser.value(pngLevel)));
    options.encoding.pngLevel = *parsedLevel;
    const QString compression = parser.value(tiffCompression).toLower();
    if (compression == QStringLiteral("deflate"))
        return fail(QCoreApplication::translate(
            "kadrix-batch", "--tiff-compression deflate: Qt's TIFF writer offers only lzw "
                            "and none"));
    if (compression != QStringLiteral("lzw") && compression != QStringLiteral("none"))
        return fail(QCoreApplication::translate("kadrix-batch",
                                                "--tiff-compression wants lzw or none: \"%1\"")
                        .arg(parser.value(tiffCompression)));
    options.encoding.tiff =
        compression == QStringLiteral("lzw") ? TiffCompression::Lzw : TiffCompression::None;
    const auto parsedWebp = integerIn(parser.value(webpQuality), 0, 100);
    if (!parsedWebp)
        return fail(
            QCoreApplication::translate("kadrix-batch", "--webp-quality wants 0 to 100: \"%1\"")
                .arg(parser.value(webpQuality)));
    options.encoding.webpQuality = *parsedWebp;
    options.jpeg.ProgressiveEncoding = parser.isSet(progressive);
    options.jpeg.GrayScale = parser.isSet(grey);
    options.jpeg.HorzSubSampling = options.jpeg.VertSubSampling = parser.isSet(subsampling);
    options.jpeg.KeepMetadata = !parser.isSet(strip);
    options.jpeg.ExactGrey = true;
    options.jpeg.AutoOrient = !parser.isSet(noAutoOrient);

    RenameScheme& scheme = options.scheme;
    scheme.prefix = parser.value(prefix);
    scheme.prefixOn = !scheme.prefix.isEmpty();
    scheme.nameOn = !parser.isSet(noName);
    scheme.suffixOn = parser.isSet(suffix);
    scheme.suffix = parser.value(suffix);
    // A result is named inside its folder, never elsewhere.
    for (const QString& text : {scheme.prefix, scheme.suffix})
        if (text.contains(u'/'))
            return fail(
                QCoreApplication::translate(
                    "kadrix-batch", "--prefix and --suffix name no folder: \"%1\" holds a \"/\"")
                    .arg(text));
    if (parser.isSet(number)) {
        const QString text = parser.value(number);
        const qsizetype colon = text.indexOf(u':');
        const QString digits = colon < 0 ? text : text.left(colon);
        const QString start = colon < 0 ? QStringLiteral("1") : text.mid(colon + 1);
        if (!integerIn(digits, 1, MaxNumberDigits) || !ParseInteger(start))
            return fail(QCoreApplication::translate(
                            "kadrix-batch", "--number wants DIGITS[:START], DIGITS 1 to %1: \"%2\"")
                            .arg(MaxNumberDigits)
                            .arg(text));
        scheme.numberOn = true;
        scheme.digits = digits.trimmed();
        scheme.start = start;
    }
    scheme.extensionItem = *item;
    const auto parsedJobs = integerIn(parser.value(jobs), 1, 256);
    if (!parsedJobs)
        return fail(QCoreApplication::translate("kadrix-batch", "--jobs wants 1 to 256: \"%1\"")
                        .arg(parser.value(jobs)));
    options.jobs = *parsedJobs;
    options.dryRun = parser.isSet(dryRun);
    options.overwrite = parser.isSet(overwrite);
    const QString modeText = parser.value(decode).toLower();
    if (modeText == QStringLiteral("whole"))
        options.decode.mode = DecodeMode::Whole;
    else if (modeText == QStringLiteral("window"))
        options.decode.mode = DecodeMode::Window;
    else if (modeText == QStringLiteral("seek"))
        options.decode.mode = DecodeMode::Seek;
    else
        return fail(QCoreApplication::translate("kadrix-batch",
                                                "--decode wants whole, window or seek: \"%1\"")
                        .arg(parser.value(decode)));

    if (const QString error = cluster.read(parser, options); !error.isEmpty())
        return fail(error);
    if (const QString error = terminal.read(parser, options); !error.isEmpty())
        return fail(error);
    if (const QString error = framing.read(parser, options.framing); !error.isEmpty())
        return fail(error);
    if (options.inputs.isEmpty() && options.filesFrom.isEmpty())
        return fail(QCoreApplication::translate("kadrix-batch", "no source given"));
    // An explicit format decides the encoding; a result name that asks for
    // another one is a contradiction, not a choice.
    if (parser.isSet(format) && !options.output.isEmpty() && options.output != u"-") {
        const PictureFormat* chosen = pictureFormatNamed(parser.value(format));
        const QString name = options.output.section(u'/', -1);
        const qsizetype dot = name.lastIndexOf(u'.');
        const PictureFormat* named =
            dot <= 0 ? nullptr : pictureFormatNamed(QStringView(name).mid(dot + 1));
        if (named && named->extensions.contains(name.mid(dot + 1).toLower()) && named != chosen)
            return fail(QCoreApplication::translate("kadrix-batch",
                                                    "--format %1, but --output %2 names a %3 file")
                            .arg(parser.value(format), options.output, named->name));
        options.encoding.format = chosen->result;
    }

    result.options = std::move(options);
    return result;
}

} // namespace kadrix::cli
