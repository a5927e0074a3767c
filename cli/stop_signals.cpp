#include "stop_signals.h"

#include <atomic>
#include <csignal>

#include <unistd.h>

namespace kadrix::cli {
namespace {

std::atomic<int> received{0};
static_assert(std::atomic<int>::is_always_lock_free, "read from a signal handler");

extern "C" void askToStop(int signal) {
    int none = 0;
    if (received.compare_exchange_strong(none, signal))
        return;
    ::_exit(stoppedStatus(signal)); // the second signal: at once
}

} // namespace

void installStopSignals() {
    struct sigaction action {};
    action.sa_handler = askToStop;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGINT, SIGTERM})
        sigaction(signal, &action, nullptr);
}

int stopSignal() {
    return received.load();
}

} // namespace kadrix::cli
