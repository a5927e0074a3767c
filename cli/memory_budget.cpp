#include "memory_budget.h"

#include <algorithm>

#include <unistd.h>

namespace kadrix::cli {

bool MemoryBudget::exchange(qint64& held, qint64 bytes) {
    std::unique_lock lock(mutex_);
    used_ -= held;
    held = 0;
    freed_.notify_all();
    if (bytes > total_)
        return false;
    freed_.wait(lock, [&] { return used_ + bytes <= total_; });
    used_ += bytes;
    held = bytes;
    return true;
}

void MemoryBudget::release(qint64& held) {
    const std::lock_guard lock(mutex_);
    used_ -= held;
    held = 0;
    freed_.notify_all();
}

qint64 defaultMemoryBudget() {
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    const qint64 physical = pages > 0 && pageSize > 0 ? qint64(pages) * pageSize : 0;
    return std::max(physical / 2, qint64(256) << 20);
}

} // namespace kadrix::cli
