#include "stop_signals.h"

#include <atomic>
#include <climits>
#include <csignal>
#include <cstring>

#include <unistd.h>

namespace kadrix::cli {
namespace {

std::atomic<int> received{0};
static_assert(std::atomic<int>::is_always_lock_free, "read from a signal handler");

// Kept in plain arrays: the signal handler may only unlink and rmdir them.
constexpr int MaxLeftovers = 4;
char leftovers[MaxLeftovers][PATH_MAX];
std::atomic<int> leftoverCount{0};

extern "C" void askToStop(int signal) {
    int none = 0;
    if (received.compare_exchange_strong(none, signal))
        return;
    // The second signal: at once, leaving no private copy behind.
    for (int i = 0; i < leftoverCount.load(); ++i)
        if (::unlink(leftovers[i]) != 0)
            ::rmdir(leftovers[i]);
    ::_exit(stoppedStatus(signal));
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

void removeOnAbruptEnd(const QByteArray& path) {
    const int slot = leftoverCount.load();
    if (slot >= MaxLeftovers || path.size() >= PATH_MAX)
        return;
    std::memcpy(leftovers[slot], path.constData(), std::size_t(path.size()) + 1);
    leftoverCount.store(slot + 1);
}

int stopSignal() {
    return received.load();
}

} // namespace kadrix::cli
