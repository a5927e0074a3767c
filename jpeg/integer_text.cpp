#include "integer_text.h"

#include "digit_value.h"

#include <cstdint>

namespace kadrix {
namespace {

IntegerReading failAt(qsizetype index, std::int64_t magnitude) {
    return {magnitude, int(index + 1)};
}

} // namespace

IntegerReading readInteger(QStringView text) {
    const qsizetype length = text.size();
    qsizetype i = 0;
    while (i < length && text[i] == u' ')
        ++i;

    // A sign goes with decimal digits only: "+$10" stops at the "$".
    bool negative = false;
    int base = 10;
    if (i < length && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    } else if (i < length && (text[i] == u'$' || text[i] == u'x' || text[i] == u'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < length && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }

    // A negative number may reach one more than a positive one.
    const std::int64_t limit = negative ? std::int64_t(1) << 31 : (std::int64_t(1) << 31) - 1;
    if (i >= length || digitValue(text[i], base) < 0)
        return failAt(i, 0);
    std::int64_t magnitude = 0;
    for (; i < length; ++i) {
        const int digit = digitValue(text[i], base);
        if (digit < 0)
            return failAt(i, magnitude);
        const std::int64_t next = magnitude * base + digit;
        if (next > limit)
            return failAt(i, magnitude);
        magnitude = next;
    }
    return {negative ? -magnitude : magnitude, 0};
}

} // namespace kadrix
