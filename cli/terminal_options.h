#pragma once

#include "batch_options.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>

namespace kadrix::cli {

// The options people expect of a Unix tool: the version, how much is said,
// the progress line, and one result named on its own (a pipe among them).
class TerminalOptions {
public:
    void addTo(QCommandLineParser& parser) const;
    bool versionAsked(const QCommandLineParser& parser) const { return parser.isSet(version_); }
    // Fills the fields these options set; returns the usage error, "" when none.
    QString read(const QCommandLineParser& parser, BatchOptions& options) const;

private:
    QCommandLineOption version_{
        {QStringLiteral("V"), QStringLiteral("version")},
        QCoreApplication::translate("kadrix-batch", "Shows the version and exits.")};
    QCommandLineOption quiet_{
        {QStringLiteral("q"), QStringLiteral("quiet")},
        QCoreApplication::translate("kadrix-batch", "Says nothing but errors.")};
    QCommandLineOption verbose_{
        {QStringLiteral("v"), QStringLiteral("verbose")},
        QCoreApplication::translate("kadrix-batch", "Says a line for each picture framed.")};
    QCommandLineOption progress_{
        QStringLiteral("progress"),
        QCoreApplication::translate(
            "kadrix-batch",
            "A one-line progress display on standard error (count, rate, time left): "
            "auto (default) shows it on a terminal, never with --json or --quiet."),
        QStringLiteral("auto|always|never"), QStringLiteral("auto")};
    QCommandLineOption force_{
        QStringLiteral("force"),
        QCoreApplication::translate(
            "kadrix-batch", "Writes a result to standard output even when it is a terminal.")};
    QCommandLineOption output_{QStringLiteral("output"),
                               QCoreApplication::translate(
                                   "kadrix-batch",
                                   "The path of the one result of a single source file; - (or "
                                   "/dev/stdout) writes it to standard output in the --format, "
                                   "/dev/stderr to standard error. A device, a FIFO or a socket is "
                                   "written into, never replaced. A source - is read from standard "
                                   "input."),
                               QStringLiteral("FILE")};
};

// "kadrix-batch 1.2.3", the version the package carries.
QString versionText();

} // namespace kadrix::cli
