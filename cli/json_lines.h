#pragma once

#include "frame_geometry.h"
#include "framing_options.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace kadrix::cli {

enum class SourceStatus { Framed, Skipped, Failed };

// What --json says about one source.
struct SourceRecord {
    QString source;
    // The source's exact bytes when its name is not valid UTF-8 ("" else).
    QByteArray sourceBytes;
    QString result; // "" when the source got no result path
    SourceStatus status = SourceStatus::Failed;
    QString error;  // why it was skipped or failed, "" when framed
    int width = -1; // the source's size, -1 when it was not read
    int height = -1;
    qint64 ms = 0;
    FramingOptions framing; // the run's anchor and fill
    // The result's size and top-left corner in the upright picture, for a
    // framed source.
    std::optional<FrameGeometry> frame = std::nullopt;
    // For a source placed by hand: whether its placement was out of reach
    // and moved within it. None for the others.
    std::optional<bool> clamped = std::nullopt;
};

// One JSON object on one line, ending in "\n": "source", "result", "status"
// ("framed", "skipped" or "failed"), "error", "width", "height", "ms",
// "anchor" and "fill" (as --gravity and --fill name them), "result_width",
// "result_height", "x" and "y" (the result's top-left corner in the upright
// picture, negative where a margin lies left of or above it), with null for
// what is not known, and "clamped" for a source placed by hand. JSON text is Unicode, so a name
// that is not valid UTF-8 appears in "source" (and "result", "error") with U+FFFD for each bad
// byte, and losslessly, byte for byte, as base 64 in "source_base64" ("result_base64",
// "error_base64"): every string is valid UTF-8.
QByteArray jsonLine(const SourceRecord& record);

} // namespace kadrix::cli
