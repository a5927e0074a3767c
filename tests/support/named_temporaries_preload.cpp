// Preloaded into kadrix-batch by tests: makes O_TMPFILE unavailable, as it is
// on NFS, so that results are written under named temporaries beside them.
// With KADRIX_KILL_AT_RENAME=N the process kills itself in place of its N-th
// rename (or link), as a run killed after writing a temporary and before
// committing it; with KADRIX_MOVE_AFTER_RENAME=N:FROM:TO the folder FROM is
// moved to TO right after the N-th, as a destination moved away mid-run.
#undef _FORTIFY_SOURCE
#include <dlfcn.h>
#include <fcntl.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace {

bool refused(int flags) {
    if ((flags & O_TMPFILE) != O_TMPFILE)
        return false;
    errno = EOPNOTSUPP;
    return true;
}

mode_t modeOf(int flags, va_list arguments) {
    return (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE ? mode_t(va_arg(arguments, int))
                                                                 : mode_t(0);
}

template <typename Function> Function next(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

std::atomic<int> renames{0};
std::atomic<int> commits{0};

} // namespace

extern "C" {

int open(const char* path, int flags, ...) {
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = modeOf(flags, arguments);
    va_end(arguments);
    if (refused(flags))
        return -1;
    return next<int (*)(const char*, int, ...)>("open")(path, flags, mode);
}

int open64(const char* path, int flags, ...) {
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = modeOf(flags, arguments);
    va_end(arguments);
    if (refused(flags))
        return -1;
    return next<int (*)(const char*, int, ...)>("open64")(path, flags, mode);
}

int openat(int folder, const char* path, int flags, ...) {
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = modeOf(flags, arguments);
    va_end(arguments);
    if (refused(flags))
        return -1;
    return next<int (*)(int, const char*, int, ...)>("openat")(folder, path, flags, mode);
}

int openat64(int folder, const char* path, int flags, ...) {
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = modeOf(flags, arguments);
    va_end(arguments);
    if (refused(flags))
        return -1;
    return next<int (*)(int, const char*, int, ...)>("openat64")(folder, path, flags, mode);
}
}

namespace {

void killWhenDue() {
    const char* killAt = std::getenv("KADRIX_KILL_AT_RENAME");
    if (killAt && ++renames == std::atoi(killAt))
        std::raise(SIGKILL);
}

int moveWhenDue(int result) {
    int after = 0;
    char from[4096], to[4096];
    const char* move = std::getenv("KADRIX_MOVE_AFTER_RENAME");
    if (move && std::sscanf(move, "%d:%4095[^:]:%4095[^\n]", &after, from, to) == 3 &&
        ++commits == after)
        next<int (*)(const char*, const char*)>("rename")(from, to);
    return result;
}

} // namespace

extern "C" {

int rename(const char* from, const char* to) {
    killWhenDue();
    return moveWhenDue(next<int (*)(const char*, const char*)>("rename")(from, to));
}

int renameat(int fromFolder, const char* from, int toFolder, const char* to) {
    killWhenDue();
    return moveWhenDue(next<int (*)(int, const char*, int, const char*)>("renameat")(
        fromFolder, from, toFolder, to));
}

int renameat2(int fromFolder, const char* from, int toFolder, const char* to, unsigned flags) {
    killWhenDue();
    return moveWhenDue(next<int (*)(int, const char*, int, const char*, unsigned)>("renameat2")(
        fromFolder, from, toFolder, to, flags));
}

int linkat(int fromFolder, const char* from, int toFolder, const char* to, int flags) {
    killWhenDue();
    return moveWhenDue(next<int (*)(int, const char*, int, const char*, int)>("linkat")(
        fromFolder, from, toFolder, to, flags));
}

} // extern "C"
