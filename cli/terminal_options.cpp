#include "terminal_options.h"

#include <QDir>

#include <utility>

namespace kadrix::cli {

void TerminalOptions::addTo(QCommandLineParser& parser) const {
    parser.addOptions({version_, quiet_, verbose_, progress_, force_, output_});
}

QString TerminalOptions::read(const QCommandLineParser& parser, BatchOptions& options) const {
    if (parser.isSet(quiet_) && parser.isSet(verbose_))
        return QCoreApplication::translate("kadrix-batch",
                                           "--quiet and --verbose do not go together");
    options.verbosity = parser.isSet(quiet_)     ? Verbosity::Quiet
                        : parser.isSet(verbose_) ? Verbosity::Verbose
                                                 : Verbosity::Normal;
    const QString progress = parser.value(progress_);
    if (progress == QStringLiteral("auto"))
        options.progress = ProgressMode::Auto;
    else if (progress == QStringLiteral("always"))
        options.progress = ProgressMode::Always;
    else if (progress == QStringLiteral("never"))
        options.progress = ProgressMode::Never;
    else
        return QCoreApplication::translate("kadrix-batch",
                                           "--progress wants auto, always or never: \"%1\"")
            .arg(progress);

    options.force = parser.isSet(force_);
    const QStringList outputs = parser.values(output_);
    if (outputs.size() > 1)
        return QCoreApplication::translate(
                   "kadrix-batch", "--output names the one result of a single source; it is given "
                                   "%1 times")
            .arg(outputs.size());
    if (!outputs.isEmpty()) {
        options.output = outputs.front();
        if (options.output.isEmpty())
            return QCoreApplication::translate("kadrix-batch",
                                               "--output wants a file, or - for standard output");
        // The links to the program's own streams are its streams, never files to replace.
        for (const auto& [name, stream] : {std::pair{"/dev/stdout", 1},
                                           {"/dev/fd/1", 1},
                                           {"/proc/self/fd/1", 1},
                                           {"/dev/stderr", 2},
                                           {"/dev/fd/2", 2},
                                           {"/proc/self/fd/2", 2}}) {
            if (QDir::cleanPath(options.output) == QLatin1StringView(name)) {
                options.output = QStringLiteral("-");
                options.outputStream = stream;
            }
        }
        if (options.inputs.size() != 1 || !options.filesFrom.isEmpty())
            return QCoreApplication::translate("kadrix-batch",
                                               "--output names the one result of a single source");
        if (options.output == QStringLiteral("-") && options.outputStream == 1 && options.json)
            return QCoreApplication::translate("kadrix-batch",
                                               "--json and --output - both want standard output");
        if (options.recursive || options.shard.kind != ShardRequest::Kind::Whole)
            return QCoreApplication::translate(
                "kadrix-batch", "--output goes with neither --recursive nor --shard");
    }
    return {};
}

QString versionText() {
    return QStringLiteral("kadrix-batch " KADRIX_VERSION);
}

} // namespace kadrix::cli
