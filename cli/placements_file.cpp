#include "placements_file.h"

#include "native_name.h"
#include "native_path.h"

#include <QCoreApplication>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <optional>

namespace kadrix::cli {
namespace {

// Far beyond any picture, and far from overflowing what the clamp computes.
constexpr double MaxCoordinate = 1e9;

QString atLine(const QString& file, int line, const QString& text) {
    return QStringLiteral("%1:%2: %3").arg(file, QString::number(line), text);
}

// Whether a path is absolute and clean already, as the --json lines write
// them: then it needs no look at the working directory.
bool cleanAbsolute(const QByteArray& path) {
    return path.startsWith('/') && !path.contains("//") && !path.contains("/./") &&
           !path.contains("/../") && !path.endsWith("/.") && !path.endsWith("/..");
}

std::optional<int> wholeNumber(const QJsonValue& value) {
    if (!value.isDouble())
        return std::nullopt;
    const double v = value.toDouble();
    if (std::trunc(v) != v || std::abs(v) > MaxCoordinate)
        return std::nullopt;
    return int(v);
}

// The line's source and top-left corner, or the reason it has none.
struct ParsedLine {
    QByteArray source;
    QPoint topLeft;
    QString error;
    bool unplaced = false; // "x" and "y" are null
};

ParsedLine parseLine(const QByteArray& text) {
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(text, &parseError);
    if (!document.isObject())
        return {{},
                {},
                parseError.error != QJsonParseError::NoError
                    ? QCoreApplication::translate("kadrix-batch", "not valid JSON: %1")
                          .arg(parseError.errorString())
                    : QCoreApplication::translate("kadrix-batch", "not a JSON object")};
    const QJsonObject object = document.object();
    ParsedLine parsed;
    if (const QJsonValue encoded = object.value(QStringLiteral("source_base64"));
        !encoded.isUndefined()) {
        const auto bytes = QByteArray::fromBase64Encoding(encoded.toString().toLatin1(),
                                                          QByteArray::AbortOnBase64DecodingErrors);
        if (!encoded.isString() || !bytes || bytes.decoded.isEmpty())
            return {
                {},
                {},
                QCoreApplication::translate("kadrix-batch", "\"source_base64\" is not base 64")};
        parsed.source = bytes.decoded;
    } else if (const QJsonValue name = object.value(QStringLiteral("source"));
               name.isString() && !name.toString().isEmpty()) {
        parsed.source = nativeName(name.toString());
    } else {
        return {{},
                {},
                QCoreApplication::translate("kadrix-batch", "no \"source\" nor \"source_base64\"")};
    }
    // A path as the run makes it: absolute and clean ("-" is standard input).
    if (parsed.source != "-" && !cleanAbsolute(parsed.source))
        parsed.source = nativeName(absolutePath(nameFromNative(parsed.source)));
    // The line of a source that was not framed (a skipped result) places nothing.
    if (object.value(QStringLiteral("x")).isNull() && object.value(QStringLiteral("y")).isNull()) {
        parsed.unplaced = true;
        return parsed;
    }
    const std::optional<int> x = wholeNumber(object.value(QStringLiteral("x")));
    const std::optional<int> y = wholeNumber(object.value(QStringLiteral("y")));
    if (!x || !y)
        return {{},
                {},
                QCoreApplication::translate("kadrix-batch", "\"%1\" wants a whole number")
                    .arg(x ? QStringLiteral("y") : QStringLiteral("x"))};
    parsed.topLeft = QPoint(*x, *y);
    return parsed;
}

} // namespace

PlacementsRead parsePlacements(const QByteArray& bytes, const QString& file) {
    PlacementsRead read;
    QHash<QByteArray, std::size_t> named; // a source's entry in read.lines
    int line = 0;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        const QByteArray text = bytes.mid(start, end - start).trimmed();
        start = end + 1;
        ++line;
        if (text.isEmpty())
            continue;
        ParsedLine parsed = parseLine(text);
        if (!parsed.error.isEmpty()) {
            read.error = atLine(file, line, parsed.error);
            return read;
        }
        if (parsed.unplaced)
            continue;
        const auto entry = named.constFind(parsed.source);
        if (entry == named.cend()) {
            named.insert(parsed.source, read.lines.size());
            read.lines.push_back({std::move(parsed.source), parsed.topLeft, line});
            continue;
        }
        PlacementLine& earlier = read.lines[entry.value()];
        read.warnings << atLine(
            file, line,
            QCoreApplication::translate("kadrix-batch",
                                        "%1 placed again: this line replaces line %2")
                .arg(unicodeName(nameFromNative(earlier.source)), QString::number(earlier.line)));
        earlier.topLeft = parsed.topLeft;
        earlier.line = line;
    }
    return read;
}

QString assignPlacements(const std::vector<PlacementLine>& lines, std::vector<SourceFile>& sources,
                         const QString& file) {
    QHash<QByteArray, std::size_t> byName;
    byName.reserve(qsizetype(lines.size()));
    for (std::size_t i = 0; i < lines.size(); ++i)
        byName.insert(lines[i].source, i);
    std::vector<char> used(lines.size(), 0);
    for (SourceFile& source : sources) {
        const auto found = byName.constFind(nativeName(source.shown()));
        if (found == byName.cend())
            continue;
        source.placement = lines[found.value()].topLeft;
        used[found.value()] = 1;
    }
    // The earliest line in the file that names no source.
    const PlacementLine* unknown = nullptr;
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (!used[i] && (!unknown || lines[i].line < unknown->line))
            unknown = &lines[i];
    if (!unknown)
        return {};
    return atLine(file, unknown->line,
                  QCoreApplication::translate("kadrix-batch", "%1 is no source of this run")
                      .arg(unicodeName(nameFromNative(unknown->source))));
}

} // namespace kadrix::cli
