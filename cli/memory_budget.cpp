#include "memory_budget.h"

#include <QFile>

#include <algorithm>
#include <initializer_list>

#include <sys/resource.h>
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

namespace {

// The smaller of two limits, 0 standing for none.
qint64 smaller(qint64 a, qint64 b) {
    return a <= 0 ? b : b <= 0 ? a : std::min(a, b);
}

// A limit file's number; 0 for "max", a number past any memory (v1's way
// of saying none) or a file that cannot be read.
qint64 limitIn(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    bool ok = false;
    const qint64 value = file.read(64).trimmed().toLongLong(&ok);
    return ok && value > 0 && value < (qint64(1) << 60) ? value : 0;
}

// The smallest limit of `group` and its parents in one hierarchy.
qint64 limitAlong(const QString& hierarchy, QString group, const QString& file) {
    qint64 limit = 0;
    for (;;) {
        limit = smaller(limit, limitIn(hierarchy + group + u'/' + file));
        if (group.isEmpty() || group == u"/")
            return limit;
        group.truncate(std::max<qsizetype>(group.lastIndexOf(u'/'), 0));
    }
}

qint64 resourceLimit(int resource) {
    rlimit limit{};
    if (::getrlimit(resource, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return 0;
    return qint64(std::min<rlim_t>(limit.rlim_cur, rlim_t(1) << 62));
}

} // namespace

qint64 controlGroupLimit(const QByteArray& cgroupList, const QString& root) {
    qint64 limit = 0;
    for (const QByteArray& line : cgroupList.split('\n')) {
        // "hierarchy-ID:controllers:path"; v2's single hierarchy is "0::path".
        const QList<QByteArray> fields = line.split(':');
        if (fields.size() < 3)
            continue;
        const QString group = QString::fromUtf8(line.mid(fields[0].size() + fields[1].size() + 2));
        if (fields[0] == "0" && fields[1].isEmpty())
            limit = smaller(limit, limitAlong(root, group, QStringLiteral("memory.max")));
        else if (fields[1].split(',').contains("memory"))
            limit = smaller(limit, limitAlong(root + QStringLiteral("/memory"), group,
                                              QStringLiteral("memory.limit_in_bytes")));
    }
    return limit;
}

MemoryLimits systemMemoryLimits() {
    MemoryLimits limits;
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    limits.physical = pages > 0 && pageSize > 0 ? qint64(pages) * pageSize : 0;
    QFile list(QStringLiteral("/proc/self/cgroup"));
    if (list.open(QIODevice::ReadOnly))
        limits.group = controlGroupLimit(list.readAll(), QStringLiteral("/sys/fs/cgroup"));
    limits.addressSpace = resourceLimit(RLIMIT_AS);
    limits.data = resourceLimit(RLIMIT_DATA);
    return limits;
}

qint64 memoryBudgetFor(const MemoryLimits& limits) {
    qint64 smallest = 0;
    for (const qint64 limit : {limits.physical, limits.group, limits.addressSpace, limits.data})
        smallest = smaller(smallest, limit);
    return std::max(smallest / 2, qint64(64) << 20);
}

qint64 defaultMemoryBudget() {
    return memoryBudgetFor(systemMemoryLimits());
}

} // namespace kadrix::cli
