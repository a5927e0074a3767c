// Compares another tool's results with ours, pixel for pixel.
//   compare_results TOOL SOURCES OURS THEIRS W H any|even [PATTERN]
// The sources are the files of SOURCES matching PATTERN (default "*.jpg").
// Our result of SOURCES/x.jpg is OURS/cropped_x.BMP; the tool's is the file
// of THEIRS named x.<anything>. With "even", sources whose size differs from
// W x H by an odd count on an axis are left out: the tool places the odd
// leftover on the other side.
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 8 && argc != 9) {
        std::fprintf(stderr, "usage: %s TOOL SOURCES OURS THEIRS W H any|even [PATTERN]\n",
                     argv[0]);
        return 2;
    }
    const QString tool = QString::fromLocal8Bit(argv[1]);
    const QDir sources(QString::fromLocal8Bit(argv[2]));
    const QDir ours(QString::fromLocal8Bit(argv[3]));
    const QDir theirs(QString::fromLocal8Bit(argv[4]));
    const int W = std::atoi(argv[5]), H = std::atoi(argv[6]);
    const bool evenOnly = QByteArray(argv[7]) == "even";
    const QString pattern = argc == 9 ? QString::fromLocal8Bit(argv[8]) : QStringLiteral("*.jpg");

    int compared = 0, identical = 0, left = 0;
    for (const QString& name : sources.entryList({pattern}, QDir::Files, QDir::Name)) {
        const QString base = QFileInfo(name).completeBaseName();
        const QSize size = QImageReader(sources.filePath(name)).size();
        if (evenOnly && ((size.width() - W) % 2 != 0 || (size.height() - H) % 2 != 0)) {
            ++left;
            continue;
        }
        const QStringList matches = theirs.entryList({base + QStringLiteral(".*")}, QDir::Files);
        const QImage mine =
            QImage(ours.filePath(QStringLiteral("cropped_") + base + QStringLiteral(".BMP")))
                .convertToFormat(QImage::Format_RGB888);
        const QImage other =
            matches.isEmpty()
                ? QImage()
                : QImage(theirs.filePath(matches.first())).convertToFormat(QImage::Format_RGB888);
        ++compared;
        qint64 differing = -1;
        int apart = 0; // the largest difference of one channel, in levels
        if (!mine.isNull() && mine.size() == other.size()) {
            differing = 0;
            for (int y = 0; y < mine.height(); ++y)
                for (int x = 0; x < mine.width(); ++x) {
                    const QRgb a = mine.pixel(x, y), b = other.pixel(x, y);
                    differing += a != b ? 1 : 0;
                    apart =
                        std::max({apart, std::abs(qRed(a) - qRed(b)),
                                  std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
                }
        }
        if (differing == 0)
            ++identical;
        else
            std::printf("  %s: %s differs from ours (%s)\n", qPrintable(tool), qPrintable(name),
                        differing < 0
                            ? "missing or other size"
                            : qPrintable(QStringLiteral("%1 pixels, at most %2 levels apart")
                                             .arg(differing)
                                             .arg(apart)));
    }
    std::printf("%s: %d of %d results pixel-identical to ours", qPrintable(tool), identical,
                compared);
    if (left > 0)
        std::printf(" (%d with an odd leftover not compared)", left);
    std::printf("\n");
    return 0;
}
