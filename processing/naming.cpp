#include "naming.h"

#include <algorithm>
#include <limits>

namespace kadrix {

QString automaticDestination(const QString& sourceFolder) {
    return sourceFolder + QStringLiteral("cropped");
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

namespace {

// A mask or a typed extension without its "*." or "." and in upper case.
QString bareExtension(const QString& text) {
    QString bare = text.trimmed().toUpper();
    if (bare.startsWith(QStringLiteral("*.")))
        bare.remove(0, 2);
    else if (bare.startsWith(u'.'))
        bare.remove(0, 1);
    return bare;
}

} // namespace

int itemNamedBy(const QStringList& items, const QString& text) {
    const QString typed = bareExtension(text);
    if (typed.isEmpty())
        return -1;
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (items[i].compare(text.trimmed(), Qt::CaseInsensitive) == 0)
            return int(i);
        const QStringList masks = items[i].split(u';');
        if (std::any_of(masks.begin(), masks.end(),
                        [&](const QString& mask) { return bareExtension(mask) == typed; }))
            return int(i);
    }
    return -1;
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
