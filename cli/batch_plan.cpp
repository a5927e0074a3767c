#include "batch_plan.h"

#include "compositor.h"
#include "naming.h"

namespace kadrix::cli {

QString resultPathOf(const BatchOptions& options, const SourceFile& source, int row) {
    if (!options.output.isEmpty())
        return options.output;
    RenameScheme scheme = options.scheme;
    if (options.outDir.isEmpty())
        scheme.destination = automaticDestination(source.folder);
    else if (source.subFolder.isEmpty())
        scheme.destination = options.outDir;
    else // --recursive mirrors the source's sub-folder under --out
        scheme.destination = normaliseFolder(options.outDir) + source.subFolder;
    return buildResultName(scheme, source.name, row, false).path;
}

AxisChange axisChange(int sourceLength, int canvasLength, int side) {
    const int offset = anchoredOffset(canvasLength - sourceLength, side);
    return {offset, canvasLength - sourceLength - offset};
}

namespace {

QString side(int count, const QString& name) {
    if (count > 0)
        return QStringLiteral("pad %1 ").arg(count) + name;
    if (count < 0)
        return QStringLiteral("crop %1 ").arg(-count) + name;
    return QStringLiteral("0 ") + name;
}

} // namespace

QString describeAxis(const AxisChange& change, const QString& before, const QString& after) {
    return side(change.before, before) + QStringLiteral(", ") + side(change.after, after);
}

QString planLine(const QString& source, int width, int height, const QSize& canvas,
                 const QString& result, bool exists, Anchor anchor) {
    return planLine(source, width, height, anchoredGeometry(QSize(width, height), canvas, anchor),
                    result, exists, false);
}

QString planLine(const QString& source, int width, int height, const FrameGeometry& frame,
                 const QString& result, bool exists, bool showSize, std::optional<QPoint> placed) {
    const int left = -frame.topLeft.x();
    const int top = -frame.topLeft.y();
    const AxisChange columns{left, frame.size.width() - width - left};
    const AxisChange rows{top, frame.size.height() - height - top};
    const QString size =
        showSize ? QStringLiteral(", result %1x%2").arg(frame.size.width()).arg(frame.size.height())
                 : QString();
    QString placement;
    if (placed) {
        placement =
            QStringLiteral("; placed at %1,%2").arg(frame.topLeft.x()).arg(frame.topLeft.y());
        if (frame.topLeft != *placed)
            placement += QStringLiteral(" (clamped from %1,%2)").arg(placed->x()).arg(placed->y());
    }
    // One multi-argument call: a "%" in a path is never taken for a marker.
    return QStringLiteral("%1: %2x%3%4, columns: %5; rows: %6%7 -> %8 (%9)")
        .arg(source, QString::number(width), QString::number(height), size,
             describeAxis(columns, QStringLiteral("left"), QStringLiteral("right")),
             describeAxis(rows, QStringLiteral("top"), QStringLiteral("bottom")), placement, result,
             exists ? QStringLiteral("exists") : QStringLiteral("new"));
}

} // namespace kadrix::cli
