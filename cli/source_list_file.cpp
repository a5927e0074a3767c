#include "source_list_file.h"

#include "regular_file.h"
#include "text.h"

#include <QFile>
#include <QStringDecoder>

#include <algorithm>
#include <cstdio>

namespace kadrix::cli {

std::vector<ListedSource> splitSourceList(const QByteArray& bytes, bool nulSeparated) {
    std::vector<ListedSource> entries;
    const char separator = nulSeparated ? '\0' : '\n';
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf(separator, start);
        if (end < 0)
            end = bytes.size();
        QByteArray entry = bytes.mid(start, end - start);
        start = end + 1;
        if (!nulSeparated && entry.endsWith('\r'))
            entry.chop(1);
        if (entry.isEmpty())
            continue;
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString text = utf8(entry);
        entries.push_back({text, entry, !utf8.hasError()});
    }
    return entries;
}

std::optional<QByteArray> readSourceListFile(const QString& path, QString& why) {
    QFile file;
    if (path == QStringLiteral("-")) {
        if (!file.open(stdin, QIODevice::ReadOnly)) {
            why = file.errorString();
            return std::nullopt;
        }
    } else {
        file.setFileName(path);
        if (!file.open(QIODevice::ReadOnly)) {
            why = file.errorString();
            return std::nullopt;
        }
    }
    const auto tooLong = [&] {
        why = Text("kadrix-batch", QT_TRANSLATE_NOOP("kadrix-batch", "more than %1 bytes"),
                   {QString::number(MaxPictureFileBytes)})
                  .translated();
        return std::nullopt;
    };
    // A file that says its size is refused before it is read; a device or a
    // pipe is read only up to the limit.
    if (!file.isSequential() && file.size() > MaxPictureFileBytes)
        return tooLong();
    QByteArray bytes;
    for (;;) {
        const QByteArray piece =
            file.read(std::min<qint64>(1 << 20, MaxPictureFileBytes + 1 - bytes.size()));
        if (piece.isEmpty())
            break;
        bytes += piece;
        if (bytes.size() > MaxPictureFileBytes)
            return tooLong();
    }
    if (file.error() != QFileDevice::NoError) {
        why = file.errorString();
        return std::nullopt;
    }
    return bytes;
}

} // namespace kadrix::cli
