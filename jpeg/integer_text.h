#pragma once

#include <QStringView>
#include <QtGlobal>

namespace kadrix {

// The reading of an integer typed in a field.
struct IntegerReading {
    // Fits 32 bits signed when the text is a number; an error's unsigned
    // value can reach 2^31 ("-2147483648" followed by a stray character).
    qint64 value = 0;
    // 0 when the whole text is a number, otherwise the 1-based position of
    // the first character that does not fit (1 for an empty text).
    int errorPosition = 0;
};

// Leading blanks (not tabs) are skipped; then an optional sign and decimal
// digits, or an unsigned hexadecimal number introduced by "$", "x", "X", "0x" or "0X". Numbers
// outside the signed 32-bit range are errors. On an error the value is what
// the digits before the faulty character add up to, without the sign.
IntegerReading readInteger(QStringView text);

} // namespace kadrix
