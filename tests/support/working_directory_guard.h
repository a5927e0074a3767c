#pragma once

#include <QDir>
#include <QString>

namespace kadrix::test {

// Puts the process's working directory back as it was (scans change it).
class WorkingDirectoryGuard {
public:
    WorkingDirectoryGuard() : saved_(QDir::currentPath()) {}
    ~WorkingDirectoryGuard() { QDir::setCurrent(saved_); }
    WorkingDirectoryGuard(const WorkingDirectoryGuard&) = delete;
    WorkingDirectoryGuard& operator=(const WorkingDirectoryGuard&) = delete;

private:
    QString saved_;
};

} // namespace kadrix::test
