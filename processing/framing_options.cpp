#include "framing_options.h"

#include <array>

namespace kadrix {

FramingOptions FramingDefaults;

namespace {

constexpr std::array AnchorNames{"centre", "north",      "north-east", "east",       "south-east",
                                 "south",  "south-west", "west",       "north-west", "subject"};
constexpr std::array FillNames{"colour", "edge", "mirror", "blur"};

// Lower case without hyphens, blanks or underscores: "North-East", "NorthEast"
// and "north_east" all become "northeast".
QString folded(const QString& text) {
    QString out;
    for (const QChar c : text.trimmed())
        if (c != u'-' && c != u'_' && c != u' ')
            out += c.toLower();
    return out;
}

} // namespace

QString anchorName(Anchor anchor) {
    return QString::fromLatin1(AnchorNames[std::size_t(anchor)]);
}

QString fillName(Fill fill) {
    return QString::fromLatin1(FillNames[std::size_t(fill)]);
}

QStringList anchorNames() {
    QStringList names;
    for (const char* name : AnchorNames)
        names << QString::fromLatin1(name);
    return names;
}

QStringList fillNames() {
    QStringList names;
    for (const char* name : FillNames)
        names << QString::fromLatin1(name);
    return names;
}

std::optional<Anchor> parseAnchor(const QString& text) {
    const QString key = folded(text);
    if (key == QLatin1String("center"))
        return Anchor::Centre;
    if (key == QLatin1String("attention"))
        return Anchor::Subject;
    for (std::size_t i = 0; i < AnchorNames.size(); ++i)
        if (key == folded(QString::fromLatin1(AnchorNames[i])))
            return Anchor(i);
    return std::nullopt;
}

std::optional<Fill> parseFill(const QString& text) {
    const QString key = folded(text);
    if (key == QLatin1String("color"))
        return Fill::WipeColour;
    for (std::size_t i = 0; i < FillNames.size(); ++i)
        if (key == QLatin1String(FillNames[i]))
            return Fill(i);
    return std::nullopt;
}

} // namespace kadrix
