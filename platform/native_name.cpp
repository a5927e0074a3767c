#include "native_name.h"

#include <algorithm>

namespace kadrix {
namespace {

constexpr char16_t EscapeBase = 0xDC00;

bool continuation(unsigned char b) {
    return (b & 0xC0) == 0x80;
}

// The length of the valid UTF-8 sequence at `at`, and its code point; 0 when
// the bytes there are not one (overlong forms and surrogates are not).
int sequenceAt(const QByteArray& bytes, qsizetype at, char32_t& point) {
    const auto byte = [&](qsizetype i) { return static_cast<unsigned char>(bytes[at + i]); };
    const unsigned char lead = byte(0);
    int length = 0;
    char32_t min = 0;
    if (lead < 0x80) {
        point = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, point = lead & 0x1F, min = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, point = lead & 0x0F, min = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, point = lead & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (at + length > bytes.size())
        return 0;
    for (int i = 1; i < length; ++i) {
        if (!continuation(byte(i)))
            return 0;
        point = (point << 6) | (byte(i) & 0x3F);
    }
    if (point < min || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF))
        return 0;
    return length;
}

} // namespace

QString nameFromNative(const QByteArray& bytes) {
    QString name;
    name.reserve(bytes.size());
    for (qsizetype at = 0; at < bytes.size();) {
        char32_t point = 0;
        const int length = sequenceAt(bytes, at, point);
        if (length == 0) {
            name += QChar(char16_t(EscapeBase + static_cast<unsigned char>(bytes[at])));
            ++at;
            continue;
        }
        name += QString::fromUcs4(&point, 1);
        at += length;
    }
    return name;
}

std::optional<unsigned char> escapedByte(QChar c) {
    const char16_t u = c.unicode();
    if (u >= EscapeBase + 0x80 && u <= EscapeBase + 0xFF)
        return static_cast<unsigned char>(u - EscapeBase);
    return std::nullopt;
}

bool hasEscapedBytes(const QString& name) {
    return std::any_of(name.begin(), name.end(),
                       [](QChar c) { return escapedByte(c).has_value(); });
}

QByteArray nativeName(const QString& name) {
    if (!hasEscapedBytes(name))
        return name.toUtf8();
    QByteArray bytes;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= name.size(); ++i) {
        const std::optional<unsigned char> byte =
            i < name.size() ? escapedByte(name[i]) : std::nullopt;
        if (i < name.size() && !byte)
            continue;
        bytes += QStringView(name).mid(start, i - start).toUtf8();
        if (byte)
            bytes += char(*byte);
        start = i + 1;
    }
    return bytes;
}

QString unicodeName(const QString& name) {
    QString text = name;
    for (QChar& c : text)
        if (escapedByte(c))
            c = QChar::ReplacementCharacter;
    return text;
}

} // namespace kadrix
