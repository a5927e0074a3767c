#include "naming.h"

#include "digit_value.h"

#include <algorithm>
#include <limits>

namespace kadrix {
namespace {

constexpr qint64 Int32Max = std::numeric_limits<qint32>::max();

bool isControl(QChar c) {
    return c.unicode() <= 32;
}

// Reads digits of `base` from `pos` to the end. At least one digit is needed;
// the magnitude may reach `limit` and no further.
std::optional<qint64> readDigits(const QString& text, qsizetype pos, int base, qint64 limit) {
    if (pos >= text.size())
        return std::nullopt;
    qint64 value = 0;
    for (; pos < text.size(); ++pos) {
        const int d = digitValue(text[pos], base);
        if (d < 0)
            return std::nullopt;
        value = value * base + d;
        if (value > limit)
            return std::nullopt;
    }
    return value;
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

QString automaticDestination(const QString& sourceFolder) {
    return sourceFolder + QStringLiteral("cropped");
}

QString fileNamePart(const QString& path) {
    return path.mid(path.lastIndexOf(u'/') + 1);
}

QString folderPart(const QString& path) {
    return path.left(path.lastIndexOf(u'/') + 1);
}

QString nameBeforeFirstDot(const QString& name) {
    const qsizetype dot = name.indexOf(u'.');
    return dot < 0 ? name : name.left(dot);
}

QString extensionOfItem(const QString& item) {
    const QString upper = item.toUpper();
    for (qsizetype i = upper.size() - 1; i >= 0; --i) {
        const QChar c = upper[i];
        if (c == u'.')
            return upper.mid(i);
        if (c == u'/' || c == u':')
            break;
    }
    return {};
}

QString zeroPadded(qint64 value, int digits) {
    const QString magnitude = QString::number(value < 0 ? -value : value);
    const int width = std::clamp(digits, 0, MaxNumberDigits);
    return (value < 0 ? QStringLiteral("-") : QString()) + magnitude.rightJustified(width, u'0');
}

ResultName buildResultName(const RenameScheme& scheme, const std::optional<QString>& entry, int row,
                           bool writeBack) {
    ResultName result;
    QString name;
    if (scheme.prefixOn)
        name += scheme.prefix;
    if (scheme.nameOn) {
        const QString current =
            nameBeforeFirstDot(entry ? fileNamePart(*entry) : QStringLiteral("???"));
        result.currentName = current;
        name += current;
    }
    if (scheme.suffixOn)
        name += scheme.suffix;
    if (scheme.numberOn) {
        const auto start = ParseInteger(scheme.start);
        if (!start && writeBack)
            result.correctedStart = QStringLiteral("1");
        const auto digits = ParseInteger(scheme.digits);
        if (!digits && writeBack)
            result.correctedDigits = QStringLiteral("0");
        const int count = digits.value_or(0);
        // 64-bit sum: a start near the 32-bit limit must not overflow.
        if (count > 0)
            name += zeroPadded(qint64(row) + start.value_or(1), count);
    }
    name += extensionOfItem(scheme.extensionItem);
    result.destination = normaliseFolder(scheme.destination);
    result.path = result.destination + name;
    return result;
}

} // namespace kadrix
