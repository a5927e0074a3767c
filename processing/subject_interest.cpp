#include "subject_interest.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace kadrix {
namespace {

constexpr int Channels = 3; // blue, green, red

int lumaOf(const std::uint8_t* p) {
    return (p[2] * 77 + p[1] * 150 + p[0] * 29 + 128) >> 8;
}

// How close a colour's direction is to skin's (0..255): the normalised
// colour's distance from a typical skin tone, near 255 at the tone and 0
// from SkinReach on; dark pixels never count.
int skinOf(const std::uint8_t* p) {
    constexpr double Tone[3] = {0.78, 0.57, 0.44}; // red, green, blue
    constexpr double SkinReach = 0.12;
    // Where green or blue is at least red, the normalised green or blue is
    // at least 0.707, farther than SkinReach from the tone: no sqrt needed.
    if (p[2] <= p[1] || p[2] <= p[0])
        return 0;
    const double r = p[2], g = p[1], b = p[0];
    const double squared = r * r + g * g + b * b;
    if (squared < 60.0 * 60.0)
        return 0;
    const double length = std::sqrt(squared);
    const double dr = r / length - Tone[0], dg = g / length - Tone[1], db = b / length - Tone[2];
    const double distance = std::sqrt(dr * dr + dg * dg + db * db);
    return distance >= SkinReach ? 0 : int(std::lround(255 * (1 - distance / SkinReach)));
}

// The summed-area table of a map: (w + 1) x (h + 1), a zero row and column first.
std::vector<std::int64_t> summedArea(const std::vector<std::uint16_t>& map, int w, int h) {
    std::vector<std::int64_t> sums(std::size_t(w + 1) * std::size_t(h + 1), 0);
    for (int y = 0; y < h; ++y) {
        std::int64_t row = 0;
        for (int x = 0; x < w; ++x) {
            row += map[std::size_t(y) * std::size_t(w) + std::size_t(x)];
            sums[std::size_t(y + 1) * std::size_t(w + 1) + std::size_t(x + 1)] =
                sums[std::size_t(y) * std::size_t(w + 1) + std::size_t(x + 1)] + row;
        }
    }
    return sums;
}

// One axis of the search: the picture's room (picture - result, 0 or less
// when it is not larger), the centred offset, and how the reduced picture
// maps onto it.
struct Axis {
    int room;     // candidate offsets 0..room in picture pixels
    int centre;   // the centre anchor's offset
    int reduced;  // the reduced picture's length
    int window;   // the result's length on the reduced picture
    double scale; // reduced pixels per picture pixel

    Axis(int picture, int result, int reducedLength)
        : room(picture - result), centre((picture - result) / 2), reduced(reducedLength),
          window(std::clamp(int(std::lround(double(std::min(result, picture)) * reducedLength /
                                            std::max(picture, 1))),
                            1, reducedLength)),
          scale(double(reducedLength) / std::max(picture, 1)) {}

    bool searched() const { return room > 0; }
    // The candidates: a picture offset per reduced position, the centre too.
    std::vector<int> candidates() const {
        if (!searched())
            return {centre};
        std::vector<int> offsets{centre};
        for (int u = 0; u <= reduced - window; ++u)
            offsets.push_back(std::clamp(int(std::lround(u / scale)), 0, room));
        std::sort(offsets.begin(), offsets.end());
        offsets.erase(std::unique(offsets.begin(), offsets.end()), offsets.end());
        return offsets;
    }
    // Where a picture offset's window starts on the reduced picture.
    int reducedStart(int offset) const {
        if (!searched())
            return 0;
        return std::clamp(int(std::lround(offset * scale)), 0, reduced - window);
    }
    int reducedLength() const { return searched() ? window : reduced; }
    // The distance from the centre as a share of the room on that side.
    double share(int offset) const {
        if (!searched() || offset == centre)
            return 0;
        const int side = offset < centre ? centre : room - centre;
        return double(std::abs(offset - centre)) / std::max(side, 1);
    }
};

} // namespace

std::vector<std::uint16_t> interestMap(const Bitmap& reduced) {
    const int w = reduced.width(), h = reduced.height();
    // The luma with a border of one pixel repeating the edge, so that the
    // Sobel filter reads every neighbour without a test.
    const int stride = w + 2;
    std::vector<int> luma(std::size_t(stride) * std::size_t(h + 2));
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* row = reduced.scanLine(y);
        int* out = luma.data() + std::size_t(y + 1) * std::size_t(stride);
        for (int x = 0; x < w; ++x)
            out[x + 1] = lumaOf(row + x * Channels);
        out[0] = out[1];
        out[w + 1] = out[w];
    }
    std::copy_n(luma.begin() + stride, stride, luma.begin());
    std::copy_n(luma.begin() + std::ptrdiff_t(h) * stride, stride,
                luma.begin() + std::ptrdiff_t(h + 1) * stride);

    std::vector<std::uint16_t> map(std::size_t(w) * std::size_t(h));
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* row = reduced.scanLine(y);
        const int* above = luma.data() + std::size_t(y) * std::size_t(stride) + 1;
        const int* here = above + stride;
        const int* below = here + stride;
        std::uint16_t* out = map.data() + std::size_t(y) * std::size_t(w);
        for (int x = 0; x < w; ++x) {
            // Sobel: each gradient is at most 4 * 255; their sum halved and
            // clamped gives 0..255, less the floor.
            const int gx = above[x + 1] + 2 * here[x + 1] + below[x + 1] - above[x - 1] -
                           2 * here[x - 1] - below[x - 1];
            const int gy = below[x - 1] + 2 * below[x] + below[x + 1] - above[x - 1] -
                           2 * above[x] - above[x + 1];
            const int edge =
                std::max(0, std::min(255, (std::abs(gx) + std::abs(gy)) / 2) - EdgeFloor);
            const std::uint8_t* p = row + x * Channels;
            const int saturation = std::max({p[0], p[1], p[2]}) - std::min({p[0], p[1], p[2]});
            out[x] = std::uint16_t(EdgeWeight * edge + SaturationWeight * saturation +
                                   SkinWeight * skinOf(p));
        }
    }
    return map;
}

QPoint subjectTopLeft(const Bitmap& reduced, QSize picture, QSize result) {
    const Axis across(picture.width(), result.width(), std::max(reduced.width(), 1));
    const Axis down(picture.height(), result.height(), std::max(reduced.height(), 1));
    if ((!across.searched() && !down.searched()) || reduced.isEmpty())
        return {across.centre, down.centre};

    const int w = reduced.width(), h = reduced.height();
    const std::vector<std::int64_t> sums = summedArea(interestMap(reduced), w, h);
    const auto sum = [&](int x, int y, int cw, int ch) {
        const auto s = [&](int sx, int sy) {
            return sums[std::size_t(sy) * std::size_t(w + 1) + std::size_t(sx)];
        };
        return s(x + cw, y + ch) - s(x, y + ch) - s(x + cw, y) + s(x, y);
    };

    // Weights in 1/4096ths keep the comparison exact.
    constexpr std::int64_t One = 4096;
    QPoint best(across.centre, down.centre);
    std::int64_t bestScore = -1;
    std::int64_t bestDistance = 0;
    // Per candidate on each axis: where its window starts on the reduced
    // picture, and its squared distance from the centre.
    struct Candidate {
        int offset, start;
        double share2;
    };
    const auto candidatesOf = [](const Axis& axis) {
        std::vector<Candidate> all;
        for (const int offset : axis.candidates()) {
            const double d = axis.share(offset);
            all.push_back({offset, axis.reducedStart(offset), d * d});
        }
        return all;
    };
    const std::vector<Candidate> xs = candidatesOf(across);
    const std::vector<Candidate> ys = candidatesOf(down);
    const int cw = across.reducedLength(), ch = down.reducedLength();
    for (const Candidate& ty : ys) {
        for (const Candidate& tx : xs) {
            const auto weight =
                One -
                std::int64_t(std::lround(CentrePreference * One * (tx.share2 + ty.share2) / 2));
            const std::int64_t score = sum(tx.start, ty.start, cw, ch) * weight;
            if (score < bestScore)
                continue;
            const std::int64_t distance =
                std::int64_t(tx.offset - across.centre) * (tx.offset - across.centre) +
                std::int64_t(ty.offset - down.centre) * (ty.offset - down.centre);
            if (score > bestScore || distance < bestDistance) {
                best = QPoint(tx.offset, ty.offset);
                bestScore = score;
                bestDistance = distance;
            }
        }
    }
    return best;
}

} // namespace kadrix
