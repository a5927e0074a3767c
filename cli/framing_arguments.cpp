#include "framing_arguments.h"

namespace kadrix::cli {

void FramingArguments::addTo(QCommandLineParser& parser) const {
    parser.addOptions({gravity_, fill_, keepDates_});
}

QString FramingArguments::read(const QCommandLineParser& parser, FramingOptions& framing) const {
    const QString direction = parser.value(gravity_);
    const std::optional<Anchor> anchor = parseAnchor(direction);
    if (!anchor)
        return QCoreApplication::translate("kadrix-batch", "--gravity wants %1: \"%2\"")
            .arg(anchorNames().join(QStringLiteral(", ")), direction);
    const QString fillText = parser.value(fill_);
    const std::optional<Fill> fill = parseFill(fillText);
    if (!fill)
        return QCoreApplication::translate("kadrix-batch", "--fill wants %1: \"%2\"")
            .arg(fillNames().join(QStringLiteral(", ")), fillText);
    framing.anchor = *anchor;
    framing.fill = *fill;
    framing.keepDates = parser.isSet(keepDates_);
    return {};
}

} // namespace kadrix::cli
