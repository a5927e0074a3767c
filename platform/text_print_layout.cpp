#include "text_print_layout.h"

#include <algorithm>

namespace kadrix {
namespace {

// A length that does not end between the two halves of a surrogate pair.
qsizetype backToCharBoundary(QStringView text, qsizetype length) {
    if (length > 0 && length < text.size() && text[length - 1].isHighSurrogate() &&
        text[length].isLowSurrogate())
        return length - 1;
    return length;
}

} // namespace

qsizetype fittingLength(QStringView text, int width,
                        const std::function<int(QStringView)>& textWidth) {
    if (text.isEmpty())
        return 0;
    if (textWidth(text) <= width)
        return text.size();
    // The widest prefix that still fits: prefixes grow with their length, so
    // a binary search finds it with few measurements.
    qsizetype fits = 0;
    qsizetype tooWide = text.size();
    while (tooWide - fits > 1) {
        const qsizetype middle = fits + (tooWide - fits) / 2;
        if (textWidth(text.left(middle)) <= width)
            fits = middle;
        else
            tooWide = middle;
    }
    fits = backToCharBoundary(text, fits);
    if (fits == 0) {
        // Not even one character fits: print it anyway, or the job never ends.
        fits = backToCharBoundary(text, 1) == 0 ? 2 : 1;
        fits = std::min(fits, text.size());
    }
    return fits;
}

std::vector<PlacedLine> layoutTextLines(const QStringList& lines, const TextPrintMetrics& metrics) {
    std::vector<PlacedLine> placed;
    int page = 0;
    int y = 0;
    // Moves down by one printed line of the given advance and starts a new
    // page when the next line would no longer fit.
    const auto advance = [&](int lineAdvance, int lowestY) {
        y += lineAdvance;
        if (y > lowestY) {
            ++page;
            y = 0;
        }
    };

    for (const QString& line : lines) {
        if (line.isEmpty()) {
            placed.push_back({page, y, QString()});
            advance(metrics.charHeight, metrics.pageHeight);
            continue;
        }
        const int lineAdvance = metrics.textHeight + 2;
        QStringView rest(line);
        while (!rest.isEmpty()) {
            const qsizetype length = fittingLength(rest, metrics.pageWidth, metrics.textWidth);
            placed.push_back({page, y, rest.left(length).toString()});
            rest = rest.mid(length);
            advance(lineAdvance, metrics.pageHeight - 2 * lineAdvance);
        }
    }
    return placed;
}

} // namespace kadrix
