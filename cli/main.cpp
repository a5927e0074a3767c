// kadrix-batch: Kadrix's framing for scripts, without a window.
#include "batch_runner.h"
#include "memory_reuse.h"

#include <QCoreApplication>
#include <QThread>

#include <algorithm>

int main(int argc, char** argv) {
    kadrix::tuneMemoryForPictures();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kadrix-batch"));
    return kadrix::cli::runCommandLine(QCoreApplication::arguments(),
                                       std::max(QThread::idealThreadCount(), 1));
}
