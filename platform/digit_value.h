#pragma once

#include <QChar>

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

} // namespace kadrix
