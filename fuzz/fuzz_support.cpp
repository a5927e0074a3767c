#include "fuzz_support.h"

#include "application.h"

#include <cstdio>
#include <cstdlib>

namespace kadrix::fuzz {

void ensureApplication() {
    // Never destroyed: libFuzzer ends the process through exit(), when Qt's
    // own globals may already be gone, and destroying the application then
    // faults. The process ends right after anyway.
    static Application* application = nullptr;
    if (application != nullptr)
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The picture readers warn about every damaged input; the fuzzer's own
    // output is what matters.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    static int argc = 1;
    static char name[] = "kadrix-fuzz";
    static char* argv[] = {name, nullptr};
    application = new Application(argc, argv); // NOLINT: deliberately immortal
}

void check(bool condition, const char* what) {
    if (condition)
        return;
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

QString textFrom(const std::uint8_t* data, std::size_t size, bool latin1) {
    if (latin1)
        return QString::fromLatin1(reinterpret_cast<const char*>(data), qsizetype(size));
    QString text;
    text.reserve(qsizetype(size / 2));
    for (std::size_t i = 0; i + 1 < size; i += 2)
        text.append(QChar(char16_t(data[i] | (data[i + 1] << 8))));
    return text;
}

} // namespace kadrix::fuzz
