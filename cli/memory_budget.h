#pragma once

#include <QtGlobal>

#include <condition_variable>
#include <mutex>

namespace kadrix::cli {

// What the pictures in hand of one run may hold at once, shared by its
// workers, so that --jobs times the largest picture cannot exhaust memory: a
// worker whose next picture does not fit waits until others have let theirs
// go. A picture larger than the whole budget is refused.
class MemoryBudget {
public:
    explicit MemoryBudget(qint64 bytes) : total_(bytes) {}

    // Exchanges what the caller holds (`held`, 0 for nothing) for `bytes`,
    // waiting while they do not fit beside the others' pictures. False,
    // holding nothing, when `bytes` exceed the whole budget.
    bool exchange(qint64& held, qint64 bytes);
    void release(qint64& held);
    qint64 total() const { return total_; }

private:
    std::mutex mutex_;
    std::condition_variable freed_;
    const qint64 total_;
    qint64 used_ = 0;
};

// Half of the machine's physical memory, at least 256 MB.
qint64 defaultMemoryBudget();

} // namespace kadrix::cli
