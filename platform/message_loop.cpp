#include "message_loop.h"

#include <QCoreApplication>

namespace kadrix {

void processPendingMessages() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

} // namespace kadrix
