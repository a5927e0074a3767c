#pragma once

#include "source_collection.h"

#include <QByteArray>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <vector>

namespace kadrix::cli {

// One source placed by hand: the source by its exact bytes, and where its
// result's top-left corner lies in the upright picture (negative where a
// margin lies left of or above the picture).
struct PlacementLine {
    QByteArray source;
    QPoint topLeft;
    int line = 0; // 1 for the file's first line
};

struct PlacementsRead {
    std::vector<PlacementLine> lines; // each source once, in the order first named
    QString error;                    // the first bad line, "" when none
    QStringList warnings;             // sources named twice: the later line wins
};

// Reads a placements file: JSON lines, each an object with "source" (the
// source as the run names it, or a path relative to the working directory)
// or "source_base64" (its exact bytes, which win when both are given), and
// whole numbers "x" and "y". Other fields are left alone, so that the --json
// lines of a run read as they are; a line whose "x" and "y" are both null
// (a source the run did not frame) places nothing, and blank lines are
// skipped. Messages name `file` and the line.
PlacementsRead parsePlacements(const QByteArray& bytes, const QString& file);

// Gives each source of the list the placement of its line. Returns the
// message of the first line naming no source of the list, "" when none.
QString assignPlacements(const std::vector<PlacementLine>& lines, std::vector<SourceFile>& sources,
                         const QString& file);

} // namespace kadrix::cli
