#pragma once

#include "frame_geometry.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace kadrix {

// Where the canvas sits on the picture: the centre, one of the eight
// compass directions, or the picture's subject. Where the picture is larger, the crop keeps that
// side (North keeps the top rows, SouthEast the bottom-right corner); where it is smaller, the
// picture sits against that side of the canvas.
enum class Anchor : std::uint8_t {
    Centre,
    North,
    NorthEast,
    East,
    SouthEast,
    South,
    SouthWest,
    West,
    NorthWest,
    // Where the picture's interest lies (see subject_interest.h); centred on
    // an axis where the picture is smaller.
    Subject,
};

// What the canvas shows where the picture does not cover it.
enum class Fill : std::uint8_t {
    WipeColour, // the wipe colour
    Edge,       // the picture's outermost row or column repeated outwards
    Mirror,     // the picture reflected at its edges, again and again
    Blur,       // the picture scaled to cover the canvas and strongly blurred
};

// The framing choices every row of a run is framed and saved with.
struct FramingOptions {
    Anchor anchor = Anchor::Centre;
    Fill fill = Fill::WipeColour;
    bool keepDates = false; // results take their source's modification time
    // How TargetSize is read: pixels, or a ratio's terms; read with TargetSize
    // when a run starts.
    SizeMode sizeMode = SizeMode::Fixed;

    friend bool operator==(const FramingOptions&, const FramingOptions&) = default;
};

// Written by the framing options dialog, read for every row a run frames.
extern FramingOptions FramingDefaults;

// Where an anchor places the picture on one axis: -1 at the start (left or
// top), 0 centred, +1 at the end (right or bottom).
constexpr int horizontalSide(Anchor anchor) {
    switch (anchor) {
    case Anchor::NorthEast:
    case Anchor::East:
    case Anchor::SouthEast:
        return 1;
    case Anchor::NorthWest:
    case Anchor::West:
    case Anchor::SouthWest:
        return -1;
    default:
        return 0;
    }
}
constexpr int verticalSide(Anchor anchor) {
    switch (anchor) {
    case Anchor::SouthWest:
    case Anchor::South:
    case Anchor::SouthEast:
        return 1;
    case Anchor::NorthWest:
    case Anchor::North:
    case Anchor::NorthEast:
        return -1;
    default:
        return 0;
    }
}

// The offset of the picture on an axis whose canvas is `leftover` pixels
// longer than the picture (negative where the picture is longer): 0 at the
// start, the whole leftover at the end, and centred the leftover halved
// toward zero, so that an odd pixel goes to the right or bottom side.
constexpr int anchoredOffset(int leftover, int side) {
    return side < 0 ? 0 : side > 0 ? leftover : leftover / 2;
}

// "centre", "north", "north-east", ... "north-west", "subject"; "colour", "edge",
// "mirror", "blur".
QString anchorName(Anchor anchor);
QString fillName(Fill fill);
// The accepted names, in the order of the enums.
QStringList anchorNames();
QStringList fillNames();

// An anchor from its name or ImageMagick's spelling ("NorthEast",
// "Center"), in any letter case, with or without the hyphen; "attention"
// (vips's word) is the subject too.
std::optional<Anchor> parseAnchor(const QString& text);
// A fill from its name in any letter case ("color" too).
std::optional<Fill> parseFill(const QString& text);

} // namespace kadrix
