#include "json_lines.h"

#include "native_name.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace kadrix::cli {
namespace {

QJsonValue textOrNull(const QString& text) {
    return text.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(text);
}

QJsonValue sideOrNull(int side) {
    return side < 0 ? QJsonValue(QJsonValue::Null) : QJsonValue(side);
}

QString statusName(SourceStatus status) {
    switch (status) {
    case SourceStatus::Framed:
        return QStringLiteral("framed");
    case SourceStatus::Skipped:
        return QStringLiteral("skipped");
    case SourceStatus::Failed:
        break;
    }
    return QStringLiteral("failed");
}

} // namespace

QByteArray jsonLine(const SourceRecord& record) {
    QJsonObject object{
        {QStringLiteral("source"), unicodeName(record.source)},
        {QStringLiteral("result"), textOrNull(unicodeName(record.result))},
        {QStringLiteral("status"), statusName(record.status)},
        {QStringLiteral("error"), textOrNull(unicodeName(record.error))},
        {QStringLiteral("width"), sideOrNull(record.width)},
        {QStringLiteral("height"), sideOrNull(record.height)},
        {QStringLiteral("ms"), record.ms},
        {QStringLiteral("anchor"), anchorName(record.framing.anchor)},
        {QStringLiteral("fill"), fillName(record.framing.fill)},
    };
    const auto orNull = [&](int (*part)(const FrameGeometry&)) {
        return record.frame ? QJsonValue(part(*record.frame)) : QJsonValue(QJsonValue::Null);
    };
    object.insert(QStringLiteral("result_width"),
                  orNull([](const FrameGeometry& f) { return f.size.width(); }));
    object.insert(QStringLiteral("result_height"),
                  orNull([](const FrameGeometry& f) { return f.size.height(); }));
    object.insert(QStringLiteral("x"),
                  orNull([](const FrameGeometry& f) { return f.topLeft.x(); }));
    object.insert(QStringLiteral("y"),
                  orNull([](const FrameGeometry& f) { return f.topLeft.y(); }));
    if (record.clamped)
        object.insert(QStringLiteral("clamped"), *record.clamped);
    const QByteArray sourceBytes =
        hasEscapedBytes(record.source) ? nativeName(record.source) : record.sourceBytes;
    if (!sourceBytes.isEmpty())
        object.insert(QStringLiteral("source_base64"), QString::fromLatin1(sourceBytes.toBase64()));
    if (hasEscapedBytes(record.result))
        object.insert(QStringLiteral("result_base64"),
                      QString::fromLatin1(nativeName(record.result).toBase64()));
    if (hasEscapedBytes(record.error))
        object.insert(QStringLiteral("error_base64"),
                      QString::fromLatin1(nativeName(record.error).toBase64()));
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

} // namespace kadrix::cli
