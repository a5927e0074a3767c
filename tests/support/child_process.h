#pragma once

// Runs a piece of a test in a forked child, for limits (file size, memory)
// that must not touch the test runner, and reports what happened there.

#include <QByteArray>

#include <functional>

namespace kadrix::test {

struct ChildOutcome {
    bool exited = false;    // ended by _exit, not by a signal
    int exitCode = -1;      // the body's return value when it exited
    long peakGrowthKb = -1; // growth of the child's peak resident size
    QByteArray report;      // what the body wrote into `report`
};

// Forks, runs `body` in the child and returns its outcome. The body's
// return value becomes the exit code; whatever it appends to the report
// reaches the parent. Any exception escaping the body exits with 99.
ChildOutcome runInChild(const std::function<int(QByteArray& report)>& body);

} // namespace kadrix::test
