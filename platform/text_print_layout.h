#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <vector>

namespace kadrix {

// Device metrics of a plain-text print job, in device units.
struct TextPrintMetrics {
    // Width of a piece of text drawn in the printer's font.
    std::function<int(QStringView)> textWidth;
    int textHeight = 0; // height of a line of text
    int charHeight = 0; // the font's character height, the advance of an empty line
    int pageWidth = 0;  // printable width
    int pageHeight = 0; // printable height
};

// One printed line: the page it lands on (from 0), the top of the line and
// the text drawn there, always from the left edge.
struct PlacedLine {
    int page = 0;
    int y = 0;
    QString text;

    bool operator==(const PlacedLine&) const = default;
};

// Places lines of plain text the way a line printer would:
// - every line starts at the left edge of the printable area;
// - a line too wide for the page is broken after the last character that
//   fits and the rest continues on the next printed line; a single character
//   wider than the page is printed on its own so that printing always moves on;
// - a printed line advances the position by textHeight + 2, an empty line by
//   charHeight;
// - after each printed line a new page begins when the position lies lower than
//   the page height minus twice that line's advance (for an empty line, lower
//   than the page height).
// An empty memo line gives one placed line with empty text.
std::vector<PlacedLine> layoutTextLines(const QStringList& lines, const TextPrintMetrics& metrics);

// How many characters of `text` fit in `width` (at least one, never splitting
// a surrogate pair, unless `text` is empty).
qsizetype fittingLength(QStringView text, int width,
                        const std::function<int(QStringView)>& textWidth);

} // namespace kadrix
