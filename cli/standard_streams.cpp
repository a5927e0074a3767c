#include "standard_streams.h"

#include "picture_formats.h"
#include "picture_registry.h"
#include "picture_signature.h"
#include "regular_file.h"

#include <QFile>

#include <cerrno>
#include <cstring>

#include <unistd.h>

namespace kadrix::cli {

StandardInput saveStandardInput(const QString& folder) {
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly))
        return {
            {},
            Text("kadrix-batch", QT_TRANSLATE_NOOP("kadrix-batch", "cannot read standard input"))};
    // The first bytes say whether a picture comes: anything else (a
    // /dev/zero, a text) is refused before the rest is read.
    QByteArray bytes = in.read(signatureLength());
    const QString extension = extensionOfSignature(bytes);
    if (in.error() == QFileDevice::NoError &&
        (extension.isEmpty() || !pictureRegistry().knows(extension)))
        return {{}, Text("kadrix-batch", QT_TRANSLATE_NOOP("kadrix-batch", "not a picture"))};
    bytes += in.read(MaxPictureFileBytes + 1 - bytes.size());
    if (in.error() != QFileDevice::NoError)
        return {{},
                Text("kadrix-batch",
                     QT_TRANSLATE_NOOP("kadrix-batch", "cannot read standard input: %1"),
                     {in.errorString()})};
    if (bytes.size() > MaxPictureFileBytes)
        return {{},
                Text("kadrix-batch", QT_TRANSLATE_NOOP("kadrix-batch", "more than %1 bytes"),
                     {QString::number(MaxPictureFileBytes)})};
    QFile out(folder + QStringLiteral("/stdin.") + extension);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.flush())
        return {{},
                Text("kadrix-batch",
                     QT_TRANSLATE_NOOP("kadrix-batch", "cannot keep standard input: %1"),
                     {out.errorString()})};
    return {out.fileName(), {}};
}

QString copyToStandardOutput(const QString& path, int descriptor) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString();
    std::fflush(stdout);
    std::fflush(stderr);
    char buffer[1 << 16];
    for (;;) {
        const qint64 got = file.read(buffer, sizeof buffer);
        if (got < 0)
            return file.errorString();
        if (got == 0)
            return {};
        for (qint64 done = 0; done < got;) {
            const ssize_t put = ::write(descriptor, buffer + done, std::size_t(got - done));
            if (put < 0 && errno == EINTR)
                continue;
            if (put < 0)
                return QString::fromLocal8Bit(std::strerror(errno));
            done += put;
        }
    }
}

} // namespace kadrix::cli
