#pragma once

#include <QElapsedTimer>
#include <QString>

#include <cstdio>
#include <mutex>

namespace kadrix::cli {

// How much a run says.
struct ReporterMode {
    bool progress = false; // the one-line progress display on the problem stream
    bool quiet = false;    // errors only
    bool verbose = false;  // a line for each picture as well
};

// The run's output, safe to use from every worker: plain lines on one
// stream, problems on the other, and a progress line (count, rate, time
// left) kept on the last line of the problem stream. Control characters of
// names (a newline, an escape) are printed escaped, never raw.
class Reporter {
public:
    Reporter(std::FILE* out, std::FILE* err, ReporterMode mode);

    void setMode(ReporterMode mode);
    void setTotal(int total);
    void text(const QString& text);       // on the output stream, as it is (the help)
    void line(const QString& text);       // on the output stream
    void record(const QByteArray& bytes); // on the output stream, as they are
    void problem(const QString& text);    // on the error stream, always
    void notice(const QString& text);     // on the error stream, unless quiet
    void detail(const QString& text);     // on the error stream, when verbose
    void advance();                       // one more source done
    void finish();                        // removes the progress line
    // Writes out what the output stream holds; the system's error of the
    // first write to it that failed (a full disk, a closed pipe), 0 when none.
    int flushOutput();

private:
    void say(std::FILE* stream, const QString& text);
    void flushed(std::FILE* stream);
    void drawBar();
    void clearBar();

    std::mutex mutex_;
    std::FILE* out_;
    std::FILE* err_;
    ReporterMode mode_;
    int total_ = 0;
    int done_ = 0;
    int outError_ = 0;
    QElapsedTimer clock_;
};

// The text with every control character written as an escape ("\n", "\t",
// "\x1b"), and each byte of a file name that is not UTF-8 as "\xHH".
QString escapedForTerminal(const QString& text);

} // namespace kadrix::cli
