#pragma once

#include "bitmap.h"
#include "compositor.h"
#include "framing_options.h"

#include <QSize>

#include <cstdint>
#include <vector>

namespace kadrix {

class Picture;

// The fills that continue the picture into the margins it leaves, as the
// row compositor (frame_rows.h) paints them: only the pixels the picture does
// not cover, so where the picture covers the canvas every fill gives the
// Colour fill's pixels.

// Edge and Mirror: canvas pixel (x, y) becomes source pixel (mapped(x - dx),
// mapped(y - dy)), the coordinate clamped to the picture (Edge) or reflected
// at its edges with the edge pixel repeated, over and over (Mirror), as vips
// extends an image with "copy" and "mirror". These map a coordinate outside
// 0..length-1 into the picture; length is 1 or more.
int edgeIndex(int u, int length);
int mirrorIndex(int u, int length);

// The Blur fill's background: the picture scaled to cover the whole canvas,
// its aspect kept and placed by the anchor, strongly blurred. It is made
// small (its longer side at most BlurWorkSide pixels), blurred there with
// three box passes, and scaled up smoothly only where the canvas shows it.
struct BlurredBackground {
    Bitmap pixels;     // the small blurred picture
    double left = 0;   // where the covering picture's left edge lands on the canvas
    double top = 0;    // and its top edge (0 or less)
    double width = 0;  // its size on the canvas: the canvas width or more
    double height = 0; // and the canvas height or more
};
inline constexpr int BlurWorkSide = 128;
inline constexpr int BlurRadius = 4; // of each box pass, at BlurWorkSide

// The size the picture is reduced to before blurring: its longer side
// BlurWorkSide, or the picture's own size when smaller. Never 0 on a side.
QSize blurWorkSize(int pictureWidth, int pictureHeight);

// Where an anchor's side (horizontalSide(), verticalSide()) puts the
// covering picture, as a share below: 0 at the start, 1 at the end, 0.5 centred.
double anchorShare(int side);

// Blurs `reduced` (any size of 24-bit picture, scaled to blurWorkSize() here)
// into the background of a pictureWidth x pictureHeight picture on a W x H
// canvas.
BlurredBackground blurredBackground(const Bitmap& reduced, int pictureWidth, int pictureHeight,
                                    int W, int H, Anchor anchor);
// The same with the covering picture placed by shares: 0 puts it against the
// canvas's left (top) side, 1 against its right (bottom) side, 0.5 centres it.
BlurredBackground blurredBackground(const Bitmap& reduced, int pictureWidth, int pictureHeight,
                                    int W, int H, double alongX, double alongY);

// The background scaled up to a W x H canvas one row at a time.
class BackgroundRows {
public:
    BackgroundRows(const BlurredBackground& background, int W, int H);
    // Paints canvas row `y` (W pixels at `row`) but for its columns from
    // `from` to `to` (exclusive), where the picture lies; from == to paints
    // the whole row.
    void paint(std::uint8_t* row, int y, int from, int to);

private:
    struct Tap {
        int first;
        int second;
        int weight; // of the second, in 256ths
    };
    static std::vector<Tap> taps(int canvasLength, double origin, double coverLength,
                                 int backgroundLength);
    // A background row scaled across the canvas, in 256ths, kept while
    // canvas rows still blend it.
    struct ScaledRow {
        int index = -1;
        std::vector<int> values;
    };
    // Keeps the two background rows a canvas row blends scaled across.
    void holdRows(int first, int second);
    void paintSpan(std::uint8_t* row, int start, int end, const Tap& down) const;

    const Bitmap& pixels_;
    std::vector<Tap> across_;
    std::vector<Tap> down_;
    ScaledRow upper_, lower_;
};

// The picture reduced for the Blur fill: the type's own reduced decode when
// it has one (a JPEG's scaled decode), otherwise `decoded` when it is the
// whole picture, otherwise the picture decoded whole.
Bitmap reducedPicture(const Picture& picture, const Bitmap& decoded);

} // namespace kadrix
