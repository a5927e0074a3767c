#include "reporter.h"

namespace kadrix::cli {
namespace {

constexpr int BarWidth = 30;

void put(std::FILE* stream, const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
}

} // namespace

Reporter::Reporter(std::FILE* out, std::FILE* err, bool progressBar)
    : out_(out), err_(err), bar_(progressBar) {}

void Reporter::setTotal(int total) {
    const std::lock_guard lock(mutex_);
    total_ = total;
    done_ = 0;
    drawBar();
}

void Reporter::line(const QString& text) {
    const std::lock_guard lock(mutex_);
    clearBar();
    put(out_, text + u'\n');
    std::fflush(out_);
    drawBar();
}

void Reporter::record(const QByteArray& bytes) {
    const std::lock_guard lock(mutex_);
    clearBar();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), out_);
    std::fflush(out_);
    drawBar();
}

void Reporter::problem(const QString& text) {
    const std::lock_guard lock(mutex_);
    clearBar();
    put(err_, text + u'\n');
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
    bar_ = false;
}

void Reporter::drawBar() {
    if (!bar_ || total_ <= 0)
        return;
    const int filled = int(qint64(done_) * BarWidth / total_);
    put(err_, QStringLiteral("\r[") + QString(filled, u'#') + QString(BarWidth - filled, u' ') +
                  QStringLiteral("] %1/%2").arg(done_).arg(total_));
    std::fflush(err_);
}

void Reporter::clearBar() {
    if (bar_ && total_ > 0)
        put(err_, QStringLiteral("\r\033[K"));
}

} // namespace kadrix::cli
