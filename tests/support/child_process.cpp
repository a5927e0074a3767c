#include "child_process.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>

namespace kadrix::test {
namespace {

long peakResidentKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n <= 0)
            return;
        data += n;
        size -= std::size_t(n);
    }
}

} // namespace

ChildOutcome runInChild(const std::function<int(QByteArray& report)>& body) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return {};
    const pid_t child = fork();
    if (child < 0)
        return {};
    if (child == 0) {
        ::close(pipeFds[0]);
        const long before = peakResidentKb();
        QByteArray report;
        int code = 99;
        try {
            code = body(report);
        } catch (...) {
        }
        const long growth = peakResidentKb() - before;
        // The growth first, as 8 bytes, then the report.
        char header[sizeof growth];
        std::memcpy(header, &growth, sizeof growth);
        writeAll(pipeFds[1], header, sizeof header);
        writeAll(pipeFds[1], report.constData(), std::size_t(report.size()));
        ::close(pipeFds[1]);
        _exit(code); // no destructors, no test framework teardown in the child
    }
    ::close(pipeFds[1]);
    QByteArray received;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(pipeFds[0], buffer, sizeof buffer);
        if (n <= 0)
            break;
        received.append(buffer, n);
    }
    ::close(pipeFds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    ChildOutcome outcome;
    outcome.exited = WIFEXITED(status);
    outcome.exitCode = outcome.exited ? WEXITSTATUS(status) : -1;
    if (received.size() >= qsizetype(sizeof(long))) {
        std::memcpy(&outcome.peakGrowthKb, received.constData(), sizeof(long));
        outcome.report = received.mid(sizeof(long));
    }
    return outcome;
}

} // namespace kadrix::test
