#include "format_list.h"

#include "picture_registry.h"

#include <QImageWriter>

#include <algorithm>

namespace kadrix::cli {

QString formatListText(const PictureRegistry& registry) {
    const QList<QByteArray> qtWriters = QImageWriter::supportedImageFormats();
    const auto yesNo = [](bool yes) { return yes ? QStringLiteral("yes") : QStringLiteral("no"); };
    QStringList lines{QStringLiteral("%1 %2 %3 %4")
                          .arg(QStringLiteral("FORMAT"), -6)
                          .arg(QStringLiteral("EXTENSIONS"), -24)
                          .arg(QStringLiteral("READ"), -5)
                          .arg(QStringLiteral("WRITE"))};
    for (const PictureFormat& format : pictureFormats()) {
        const bool reads = std::any_of(format.extensions.begin(), format.extensions.end(),
                                       [&](const QString& e) { return registry.knows(e); });
        // BMP and JPEG results are written by the program itself.
        const bool writes = format.result && (*format.result == ResultFormat::Bmp ||
                                              *format.result == ResultFormat::Jpeg ||
                                              qtWriters.contains(format.qtName));
        QStringList extensions;
        for (const QString& extension : format.extensions)
            extensions << u'.' + extension;
        lines << QStringLiteral("%1 %2 %3 %4")
                     .arg(format.name, -6)
                     .arg(extensions.join(u' '), -24)
                     .arg(yesNo(reads), -5)
                     .arg(yesNo(writes));
    }
    return lines.join(u'\n');
}

} // namespace kadrix::cli
