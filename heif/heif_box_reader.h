#pragma once

#include <QByteArrayView>
#include <QtEndian>

#include <optional>
#include <vector>

namespace kadrix::heif {

// Bounds-checked reading of ISO-BMFF boxes held in memory, for the container
// reader.

// A box inside [begin, end) of the bytes: its type, and its payload past the
// header (a full box's version and flags are part of the payload).
struct Box {
    QByteArrayView type;
    qsizetype start = 0;   // of the header
    qsizetype content = 0; // of the payload
    qsizetype end = 0;
};

inline bool is(QByteArrayView type, const char* name) {
    return type == QByteArrayView(name, 4);
}

// The boxes one after another in [begin, end), at most `most` of them.
// `exact`, when given, tells whether they fill the range exactly: no box
// reaching past its end, no bytes left over, no more than `most`.
inline std::vector<Box> boxesIn(QByteArrayView f, qsizetype begin, qsizetype end,
                                qsizetype most = 1 << 16, bool* exact = nullptr) {
    std::vector<Box> boxes;
    qsizetype at = begin;
    while (at + 8 <= end && qsizetype(boxes.size()) < most) {
        quint64 size = qFromBigEndian<quint32>(f.data() + at);
        qsizetype header = 8;
        if (size == 1) { // a 64-bit size follows the type
            if (at + 16 > end)
                break;
            size = qFromBigEndian<quint64>(f.data() + at + 8);
            header = 16;
        } else if (size == 0) { // to the end of the parent
            size = quint64(end - at);
        }
        if (size < quint64(header) || size > quint64(end - at))
            break;
        boxes.push_back({f.sliced(at + 4, 4), at, at + header, at + qsizetype(size)});
        at += qsizetype(size);
    }
    if (exact)
        *exact = at == end;
    return boxes;
}

inline std::optional<Box> find(const std::vector<Box>& boxes, const char* type) {
    for (const Box& b : boxes)
        if (is(b.type, type))
            return b;
    return std::nullopt;
}

// Reads big-endian numbers inside [at, end), failing once past the end.
struct Cursor {
    QByteArrayView f;
    qsizetype at, end;
    bool ok = true;
    quint64 read(int bytes) {
        if (bytes < 0 || bytes > 8 || at + bytes > end) {
            ok = false;
            at = end;
            return 0;
        }
        quint64 value = 0;
        for (int i = 0; i < bytes; ++i)
            value = (value << 8) | quint8(f[at + i]);
        at += bytes;
        return value;
    }
    bool atEnd() const { return at >= end; }
};

} // namespace kadrix::heif
