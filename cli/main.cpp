// kadrix-batch: Kadrix's framing for scripts, without a window.
#include "batch_runner.h"
#include "memory_reuse.h"
#include "native_name.h"

#include <QCoreApplication>
#include <QThread>

#include <algorithm>

int main(int argc, char** argv) {
    kadrix::tuneMemoryForPictures();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kadrix-batch"));
    // The arguments with every byte kept: Qt's own decoding turns the bytes of
    // a file name that are not UTF-8 into U+FFFD, and the file is lost.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << kadrix::nameFromNative(QByteArray(argv[i]));
    return kadrix::cli::runCommandLine(arguments, std::max(QThread::idealThreadCount(), 1));
}
