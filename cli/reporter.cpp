#include "reporter.h"

#include "native_name.h"

#include <cerrno>

namespace kadrix::cli {
namespace {

constexpr int BarWidth = 20;

void put(std::FILE* stream, const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
}

// "1:05" or "1:02:05".
QString duration(qint64 seconds) {
    const auto two = [](qint64 n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); };
    if (seconds >= 3600)
        return QString::number(seconds / 3600) + u':' + two(seconds / 60 % 60) + u':' +
               two(seconds % 60);
    return QString::number(seconds / 60) + u':' + two(seconds % 60);
}

} // namespace

QString escapedForTerminal(const QString& text) {
    QString shown;
    shown.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (const auto byte = escapedByte(c)) {
            shown += QStringLiteral("\\x%1").arg(uint(*byte), 2, 16, QLatin1Char('0'));
        } else if (u == u'\n') {
            shown += QStringLiteral("\\n");
        } else if (u == u'\r') {
            shown += QStringLiteral("\\r");
        } else if (u == u'\t') {
            shown += QStringLiteral("\\t");
        } else if (u < 0x20 || (u >= 0x7F && u < 0xA0)) {
            shown += QStringLiteral("\\x%1").arg(uint(u), 2, 16, QLatin1Char('0'));
        } else {
            shown += c;
        }
    }
    return shown;
}

Reporter::Reporter(std::FILE* out, std::FILE* err, ReporterMode mode)
    : out_(out), err_(err), mode_(mode) {
    clock_.start();
}

void Reporter::setMode(ReporterMode mode) {
    const std::lock_guard lock(mutex_);
    mode_ = mode;
}

void Reporter::setTotal(int total) {
    const std::lock_guard lock(mutex_);
    total_ = total;
    done_ = 0;
    clock_.restart();
    drawBar();
}

void Reporter::text(const QString& text) {
    const std::lock_guard lock(mutex_);
    put(out_, text + u'\n');
    flushed(out_);
}

// Flushes the stream, and remembers why the output stream's bytes were lost.
void Reporter::flushed(std::FILE* stream) {
    // A write that failed while the stream filled its buffer left its errno.
    const int earlier = std::ferror(stream) != 0 ? errno : 0;
    errno = 0;
    const bool failed = std::fflush(stream) != 0 || std::ferror(stream) != 0;
    if (failed && stream == out_ && outError_ == 0)
        outError_ = errno != 0 ? errno : earlier != 0 ? earlier : EIO;
}

int Reporter::flushOutput() {
    const std::lock_guard lock(mutex_);
    flushed(out_);
    return outError_;
}

void Reporter::line(const QString& text) {
    say(out_, text);
}

void Reporter::record(const QByteArray& bytes) {
    const std::lock_guard lock(mutex_);
    clearBar();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), out_);
    flushed(out_);
    drawBar();
}

void Reporter::problem(const QString& text) {
    say(err_, text);
}

void Reporter::notice(const QString& text) {
    if (!mode_.quiet)
        say(err_, text);
}

void Reporter::detail(const QString& text) {
    if (mode_.verbose)
        say(err_, text);
}

void Reporter::say(std::FILE* stream, const QString& text) {
    const std::lock_guard lock(mutex_);
    clearBar();
    put(stream, escapedForTerminal(text) + u'\n');
    flushed(stream);
    drawBar();
}

void Reporter::advance() {
    const std::lock_guard lock(mutex_);
    ++done_;
    drawBar();
}

void Reporter::finish() {
    const std::lock_guard lock(mutex_);
    clearBar();
    mode_.progress = false;
}

void Reporter::drawBar() {
    if (!mode_.progress || total_ <= 0)
        return;
    const int filled = int(qint64(done_) * BarWidth / total_);
    const double seconds = double(clock_.elapsed()) / 1000.0;
    QString line = QStringLiteral("\r[") + QString(filled, u'#') +
                   QString(BarWidth - filled, u' ') +
                   QStringLiteral("] %1/%2").arg(done_).arg(total_);
    if (done_ > 0 && seconds > 0.0) {
        const double rate = done_ / seconds;
        line += QStringLiteral(", %1/s, %2 left")
                    .arg(rate, 0, 'f', 1)
                    .arg(duration(qint64((total_ - done_) / rate + 0.5)));
    }
    put(err_, line);
    std::fflush(err_);
}

void Reporter::clearBar() {
    if (mode_.progress && total_ > 0)
        put(err_, QStringLiteral("\r\033[K"));
}

} // namespace kadrix::cli
