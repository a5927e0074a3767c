#pragma once

#include <QString>
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

// The limits on the memory the process may use, in bytes; 0 where there is
// none (or it is not known).
struct MemoryLimits {
    qint64 physical = 0;     // the machine's memory
    qint64 group = 0;        // the control group's (cgroup v2 memory.max, v1 limit_in_bytes)
    qint64 addressSpace = 0; // RLIMIT_AS
    qint64 data = 0;         // RLIMIT_DATA
};

// The smallest limit on the control groups of `cgroupList` (the text of
// /proc/self/cgroup) and their parents, read under `root` (/sys/fs/cgroup):
// memory.max in a v2 hierarchy, memory.limit_in_bytes in v1's "memory"
// hierarchy. 0 when none limits the process.
qint64 controlGroupLimit(const QByteArray& cgroupList, const QString& root);

// The process's limits as the system gives them.
MemoryLimits systemMemoryLimits();

// Half of the smallest limit (the rest is for the code, the threads' stacks
// and the allocator's slack), at least 64 MB.
qint64 memoryBudgetFor(const MemoryLimits& limits);

// memoryBudgetFor(systemMemoryLimits()).
qint64 defaultMemoryBudget();

} // namespace kadrix::cli
