#include "source_list_file.h"

#include <QFile>
#include <QStringDecoder>

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

std::optional<QByteArray> readSourceListFile(const QString& path) {
    QFile file;
    if (path == QStringLiteral("-")) {
        if (!file.open(stdin, QIODevice::ReadOnly))
            return std::nullopt;
    } else {
        file.setFileName(path);
        if (!file.open(QIODevice::ReadOnly))
            return std::nullopt;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

} // namespace kadrix::cli
