#pragma once

#include <QString>

#include <cstdio>
#include <mutex>

namespace kadrix::cli {

// The run's output, safe to use from every worker: plain lines on one
// stream, problems on the other, and a progress bar kept on the last line of
// the problem stream when it is a terminal.
class Reporter {
public:
    Reporter(std::FILE* out, std::FILE* err, bool progressBar);

    void setTotal(int total);
    void line(const QString& text);       // on the output stream
    void record(const QByteArray& bytes); // on the output stream, as they are
    void problem(const QString& text);    // on the error stream
    void advance();                       // one more source done
    void finish();                        // removes the progress bar

private:
    void drawBar();
    void clearBar();

    std::mutex mutex_;
    std::FILE* out_;
    std::FILE* err_;
    bool bar_;
    int total_ = 0;
    int done_ = 0;
};

} // namespace kadrix::cli
