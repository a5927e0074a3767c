#include "field_text.h"

#include "digit_value.h"

#include <limits>

namespace kadrix {
namespace {

constexpr qint64 Int32Max = std::numeric_limits<qint32>::max();

bool isControl(QChar c) {
    return c.unicode() <= 32;
}

// Digits of `base` from `pos` to the end of the text: at least one, the
// magnitude reaching `limit` and no further.
std::optional<qint64> readDigits(const QString& text, qsizetype pos, int base, qint64 limit) {
    const DigitRun digits = scanDigits(text, pos, base, limit);
    if (digits.end == pos || digits.end < text.size())
        return std::nullopt;
    return digits.value;
}

} // namespace

std::optional<qint32> ParseInteger(const QString& text) {
    qsizetype pos = 0;
    while (pos < text.size() && text[pos] == u' ')
        ++pos;
    if (pos >= text.size())
        return std::nullopt;

    const QChar first = text[pos];
    if (first == u'+' || first == u'-') {
        const bool negative = first == u'-';
        const auto magnitude = readDigits(text, pos + 1, 10, negative ? Int32Max + 1 : Int32Max);
        if (!magnitude)
            return std::nullopt;
        return qint32(negative ? -*magnitude : *magnitude);
    }

    // Hexadecimal markers are only recognised without a sign.
    qsizetype hexStart = -1;
    if (first == u'$' || first == u'x' || first == u'X')
        hexStart = pos + 1;
    else if (first == u'0' && pos + 1 < text.size() &&
             (text[pos + 1] == u'x' || text[pos + 1] == u'X'))
        hexStart = pos + 2;
    const auto value = hexStart >= 0 ? readDigits(text, hexStart, 16, Int32Max)
                                     : readDigits(text, pos, 10, Int32Max);
    if (!value)
        return std::nullopt;
    return qint32(*value);
}

QString trimControls(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isControl(text[begin]))
        ++begin;
    while (end > begin && isControl(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

int leadingControlCount(const QString& text) {
    int n = 0;
    while (n < text.size() && isControl(text[n]))
        ++n;
    return n;
}

QString normaliseFolder(const QString& text) {
    QString folder = trimControls(text);
    if (!folder.isEmpty() && !folder.endsWith(u'/'))
        folder += u'/';
    return folder;
}

QString fileNamePart(const QString& path) {
    return path.mid(path.lastIndexOf(u'/') + 1);
}

QString folderPart(const QString& path) {
    return path.left(path.lastIndexOf(u'/') + 1);
}

} // namespace kadrix
