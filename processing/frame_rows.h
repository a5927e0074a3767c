#pragma once

#include "colour.h"
#include "compositor.h"
#include "framing_options.h"
#include "rows.h"

#include <QtGlobal>

namespace kadrix {

struct BlurredBackground;

// A canvas as the compositor paints it: its size, where the picture's rows
// land on it, the fill of the margins the picture leaves, and the wipe
// colour under everything.
struct RowLayout {
    int width = 0;
    int height = 0;
    Placement placement{0, 0}; // of the source's top-left pixel
    Fill fill = Fill::WipeColour;
    Colour wipe = 0;
    // The Blur fill's background; without one the Blur fill's margins stay
    // the wipe colour.
    const BlurredBackground* background = nullptr;
};

// Composes the canvas from the top down into `sink`, reading `source`'s rows
// once, in order, and only down to the last one the canvas shows: canvas
// pixel (x, y) is source pixel (x - dx, y - dy) where that exists, and the
// margins are painted as the fill says (see margin_fill.h). Margin rows that
// repeat picture rows (Edge, Mirror) keep copies of just those rows, so that
// nothing of the size of the canvas or the picture is held between the two.
// On an axis with margins the source must span the whole picture. Returns
// false, every row the wipe colour, for an empty source.
bool composeRows(RowSource& source, const RowLayout& layout, RowSink& sink);

// The bytes composeRows() keeps for margin rows at most, for a source of
// that size.
qint64 heldRowBytes(int sourceWidth, int sourceHeight, const RowLayout& layout);

} // namespace kadrix
