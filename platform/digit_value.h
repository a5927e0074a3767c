#pragma once

#include <QChar>
#include <QStringView>
#include <QtGlobal>

namespace kadrix {

// The value of a decimal or hexadecimal digit (either letter case) in
// `base`, or -1 when the character is no digit of that base.
inline int digitValue(QChar ch, int base) {
    const char16_t c = ch.unicode();
    int digit = -1;
    if (c >= u'0' && c <= u'9')
        digit = c - u'0';
    else if (c >= u'a' && c <= u'f')
        digit = c - u'a' + 10;
    else if (c >= u'A' && c <= u'F')
        digit = c - u'A' + 10;
    return digit < base ? digit : -1;
}

// A run of digits read by scanDigits().
struct DigitRun {
    qint64 value = 0; // what the digits read add up to
    qsizetype end;    // the index of the first character not taken
};

// The digit scanner of the numeric fields: reads digits of `base` from
// `begin` on while the value stays at or below `limit`. It stops at the end
// of the text, at a character that is no digit, or at the digit that would
// pass the limit; `end == begin` means no digit was read.
inline DigitRun scanDigits(QStringView text, qsizetype begin, int base, qint64 limit) {
    DigitRun run{0, begin};
    for (; run.end < text.size(); ++run.end) {
        const int digit = digitValue(text[run.end], base);
        if (digit < 0 || run.value * base + digit > limit)
            break;
        run.value = run.value * base + digit;
    }
    return run;
}

} // namespace kadrix
