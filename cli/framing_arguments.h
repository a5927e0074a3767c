#pragma once

#include "framing_options.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>

namespace kadrix::cli {

// The options that choose how each source is framed besides its size and
// wipe colour: the anchor, the fill of the margins, the results' dates.
class FramingArguments {
public:
    void addTo(QCommandLineParser& parser) const;
    // Fills `framing`; returns the usage error, "" when none.
    QString read(const QCommandLineParser& parser, FramingOptions& framing) const;

private:
    QCommandLineOption gravity_{
        QStringLiteral("gravity"),
        QCoreApplication::translate(
            "kadrix-batch", "Where the result sits on the picture: centre (default), north, "
                            "north-east, east, south-east, south, south-west, west or north-west "
                            "(ImageMagick's NorthEast, Center... too). A larger picture keeps that "
                            "side, a smaller one sits against it. subject (or attention): where "
                            "the picture's interest (edges, colour, skin) lies."),
        QStringLiteral("DIRECTION"), QStringLiteral("centre")};
    QCommandLineOption fill_{
        QStringLiteral("fill"),
        QCoreApplication::translate(
            "kadrix-batch",
            "What fills the margins: colour (the wipe colour, default), edge (the "
            "picture's outermost pixels repeated), mirror (the picture reflected at "
            "its edges) or blur (the picture scaled to cover the result and blurred)."),
        QStringLiteral("colour|edge|mirror|blur"), QStringLiteral("colour")};
    QCommandLineOption keepDates_{
        QStringLiteral("keep-dates"),
        QCoreApplication::translate("kadrix-batch",
                                    "Gives each result its source's modification time.")};
};

} // namespace kadrix::cli
