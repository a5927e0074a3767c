#include "batch_options.h"

#include "file_filter.h"
#include "result_writer.h"
#include "cluster_options.h"
#include "framing_arguments.h"

#include <QCommandLineParser>
#include <QRegularExpression>

namespace kadrix::cli {
namespace {

constexpr int MaxSide = 65535;
constexpr int MinQuality = 5;
constexpr int MaxQuality = 95;

const QString Description = QStringLiteral(
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
    "sorted by name; of names differing only in letter case the first is kept. Of sources\n"
    "naming the same result the first in the list writes it, the others are skipped.\n"
    "\n"
    "An existing result is skipped and reported unless --overwrite is given. A source that\n"
    "cannot be read is reported and the others go on.\n"
    "Exit status: 0 when every source was framed or skipped, 1 when any failed, 2 for\n"
    "wrong arguments.");

std::optional<int> integerIn(const QString& text, int low, int high) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < low || value > high)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<QString> extensionItemOfFormat(const QString& format) {
    // The names of ComboBoxDstExt's items, in their order.
    static const char* const names[][2] = {
        {"bmp", "bmp"}, {"jpeg", "jpg"}, {"png", "png"}, {"tiff", "tif"}, {"webp", "webp"}};
    const QStringList items = FilterDescriptions(resultFormatFilter());
    const QString key = format.toLower();
    for (qsizetype i = 0; i < items.size() && i < qsizetype(std::size(names)); ++i)
        if (key == QLatin1String(names[i][0]) || key == QLatin1String(names[i][1]))
            return items[i];
    return std::nullopt;
}

std::optional<Colour> parseWipe(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^#?([0-9A-Fa-f]{6})$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const uint rgb = match.captured(1).toUInt(nullptr, 16);
    return makeColour(int((rgb >> 16) & 0xFF), int((rgb >> 8) & 0xFF), int(rgb & 0xFF));
}

std::optional<QSize> parseSize(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,9})[xX](\\d{1,9})$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const auto w = integerIn(match.captured(1), 1, MaxSide);
    const auto h = integerIn(match.captured(2), 1, MaxSide);
    if (!w || !h)
        return std::nullopt;
    return QSize(*w, *h);
}

ParsedArguments parseArguments(const QStringList& arguments, int cores) {
    QCommandLineParser parser;
    parser.setApplicationDescription(Description);
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows this help and exits."));
    const QCommandLineOption size(QStringLiteral("size"),
                                  QStringLiteral("Result size, width x height (default 640x480)."),
                                  QStringLiteral("WxH"), QStringLiteral("640x480"));
    const QCommandLineOption wipe(QStringLiteral("wipe"),
                                  QStringLiteral("Colour of the margins (default #000000)."),
                                  QStringLiteral("#RRGGBB"), QStringLiteral("#000000"));
    const QCommandLineOption out(
        QStringLiteral("out"),
        QStringLiteral("Folder of every result, created when missing (default: the folder "
                       "\"cropped\" beside each source)."),
        QStringLiteral("DIR"));
    const QCommandLineOption format(
        QStringLiteral("format"),
        QStringLiteral("Result format: bmp (24-bit, default), jpeg, png (lossless), tiff "
                       "(lossless) or webp (at the JPEG quality)."),
        QStringLiteral("bmp|jpeg|png|tiff|webp"), QStringLiteral("bmp"));
    const QCommandLineOption strip(
        QStringLiteral("strip"),
        QStringLiteral("Leaves the sources' EXIF blocks and colour profiles out of the results."));
    const QCommandLineOption quality(QStringLiteral("quality"),
                                     QStringLiteral("JPEG quality, 5 to 95 (default 95)."),
                                     QStringLiteral("Q"), QStringLiteral("95"));
    const QCommandLineOption progressive(QStringLiteral("progressive"),
                                         QStringLiteral("Writes progressive JPEG files."));
    const QCommandLineOption grey(
        QStringLiteral("grey"),
        QStringLiteral("Grey levels only: JPEG sources are decoded and JPEG results encoded in "
                       "grey, as with the options dialog's \"Grey levels only\"."));
    const QCommandLineOption subsampling(
        QStringLiteral("subsampling"),
        QStringLiteral("Keeps the JPEG encoder's chroma sub-sampling (2x2) instead of "
                       "encoding every component at full resolution."));
    const QCommandLineOption noAutoOrient(
        QStringLiteral("no-auto-orient"),
        QStringLiteral("Frames JPEG sources as they are stored, ignoring their EXIF orientation "
                       "(by default a photo is turned upright first)."));
    const QCommandLineOption prefix(
        QStringLiteral("prefix"),
        QStringLiteral("Text before each result name (default cropped_; \"\" for none)."),
        QStringLiteral("TEXT"), QStringLiteral("cropped_"));
    const QCommandLineOption noName(
        QStringLiteral("no-name"),
        QStringLiteral("Leaves the source's name out of the result name."));
    const QCommandLineOption suffix(QStringLiteral("suffix"),
                                    QStringLiteral("Text after the source's name."),
                                    QStringLiteral("TEXT"));
    const QCommandLineOption number(
        QStringLiteral("number"),
        QStringLiteral("Adds a running number of DIGITS digits (with leading zeros), the first "
                       "source getting START (default 1) and each next one more."),
        QStringLiteral("DIGITS[:START]"));
    const QCommandLineOption jobs(
        QStringLiteral("jobs"),
        QStringLiteral("Pictures framed at once (default: every core, here %1).").arg(cores),
        QStringLiteral("N"), QString::number(cores));
    const QCommandLineOption dryRun(
        QStringLiteral("dry-run"),
        QStringLiteral("Writes nothing: prints each source's size, the columns and rows cropped "
                       "or padded on each side, the result path and whether it exists."));
    const QCommandLineOption overwrite(QStringLiteral("overwrite"),
                                       QStringLiteral("Replaces existing results."));
    const QCommandLineOption decode(
        QStringLiteral("decode"),
        QStringLiteral("How JPEG sources are decoded; the results are the same: whole, the "
                       "whole picture; window, only the part that lands on the result, reading "
                       "the rows from the top; seek (default), as window, but files with "
                       "restart markers are entered at the marker just above that part."),
        QStringLiteral("MODE"), QStringLiteral("seek"));
    parser.addOptions({help, size, wipe, out, format, strip, quality, progressive, grey, subsampling,
                       noAutoOrient, prefix, noName, suffix, number, jobs, dryRun, overwrite,
                       decode});
    const ClusterOptions cluster;
    cluster.addTo(parser);
    const FramingArguments framing;
    framing.addTo(parser);
    parser.addPositionalArgument(QStringLiteral("sources"),
                                 QStringLiteral("Picture files and folders."),
                                 QStringLiteral("SOURCE..."));

    ParsedArguments result;
    const auto fail = [&](const QString& text) {
        result.usageError = text;
        return result;
    };
    if (!parser.parse(arguments))
        return fail(parser.errorText());
    if (parser.isSet(help)) {
        result.helpText = parser.helpText();
        return result;
    }

    BatchOptions options;
    options.inputs = parser.positionalArguments();

    const auto parsedSize = parseSize(parser.value(size));
    if (!parsedSize)
        return fail(QStringLiteral("--size wants WxH, each side 1 to %1: \"%2\"")
                        .arg(MaxSide)
                        .arg(parser.value(size)));
    options.size = *parsedSize;

    const auto parsedWipe = parseWipe(parser.value(wipe));
    if (!parsedWipe)
        return fail(QStringLiteral("--wipe wants #RRGGBB: \"%1\"").arg(parser.value(wipe)));
    options.wipe = *parsedWipe;

    if (parser.isSet(out)) {
        options.outDir = parser.value(out);
        if (options.outDir.trimmed().isEmpty())
            return fail(QStringLiteral("--out wants a folder"));
    }

    const std::optional<QString> item = extensionItemOfFormat(parser.value(format));
    if (!item)
        return fail(QStringLiteral("--format wants bmp, jpeg, png, tiff or webp: \"%1\"")
                        .arg(parser.value(format)));

    options.jpeg = DialogJpegDefaults;
    const auto parsedQuality = integerIn(parser.value(quality), MinQuality, MaxQuality);
    if (!parsedQuality)
        return fail(QStringLiteral("--quality wants %1 to %2: \"%3\"")
                        .arg(MinQuality)
                        .arg(MaxQuality)
                        .arg(parser.value(quality)));
    options.jpeg.CompressionQuality = std::uint8_t(*parsedQuality);
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
    if (parser.isSet(number)) {
        const QString text = parser.value(number);
        const qsizetype colon = text.indexOf(u':');
        const QString digits = colon < 0 ? text : text.left(colon);
        const QString start = colon < 0 ? QStringLiteral("1") : text.mid(colon + 1);
        if (!integerIn(digits, 1, MaxNumberDigits) || !ParseInteger(start))
            return fail(QStringLiteral("--number wants DIGITS[:START], DIGITS 1 to %1: \"%2\"")
                            .arg(MaxNumberDigits)
                            .arg(text));
        scheme.numberOn = true;
        scheme.digits = digits.trimmed();
        scheme.start = start;
    }
    scheme.extensionItem = *item;
    const auto parsedJobs = integerIn(parser.value(jobs), 1, 256);
    if (!parsedJobs)
        return fail(QStringLiteral("--jobs wants 1 to 256: \"%1\"").arg(parser.value(jobs)));
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
        return fail(QStringLiteral("--decode wants whole, window or seek: \"%1\"")
                        .arg(parser.value(decode)));

    if (const QString error = cluster.read(parser, options); !error.isEmpty())
        return fail(error);
    if (const QString error = framing.read(parser, options.framing); !error.isEmpty())
        return fail(error);
    if (options.inputs.isEmpty() && options.filesFrom.isEmpty())
        return fail(QStringLiteral("no source given"));

    result.options = std::move(options);
    return result;
}

} // namespace kadrix::cli
