#include "margin_fill.h"

#include "picture.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace kadrix {
namespace {

constexpr int Channels = 3;

// One axis of the smooth scaling: for every canvas position, the two
// neighbouring background positions and the weight of the second, in 256ths.
struct Tap {
    int first;
    int second;
    int weight;
};

std::vector<Tap> taps(int canvasLength, double origin, double coverLength, int backgroundLength) {
    std::vector<Tap> result(std::size_t(std::max(canvasLength, 0)));
    const double step = backgroundLength / coverLength;
    for (int i = 0; i < canvasLength; ++i) {
        const double at =
            std::clamp((i + 0.5 - origin) * step - 0.5, 0.0, double(backgroundLength - 1));
        const int first = int(at);
        result[std::size_t(i)] = {first, std::min(first + 1, backgroundLength - 1),
                                  int(std::lround((at - first) * 256))};
    }
    return result;
}

// One pass of a box blur of radius `r` along rows (`step` 3) or columns
// (`step` a row's bytes), `count` lines of `length` pixels; the edges are
// repeated outwards.
void boxPass(std::uint8_t* pixels, int length, int count, qsizetype step, qsizetype lineStep,
             int r) {
    std::vector<int> line(std::size_t(length) * Channels);
    const int span = 2 * r + 1;
    for (int l = 0; l < count; ++l) {
        std::uint8_t* base = pixels + l * lineStep;
        for (int i = 0; i < length; ++i)
            for (int c = 0; c < Channels; ++c)
                line[std::size_t(i * Channels + c)] = base[i * step + c];
        for (int c = 0; c < Channels; ++c) {
            const auto at = [&](int i) {
                return line[std::size_t(std::clamp(i, 0, length - 1) * Channels + c)];
            };
            int sum = 0;
            for (int i = -r; i <= r; ++i)
                sum += at(i);
            for (int i = 0; i < length; ++i) {
                base[i * step + c] = std::uint8_t((sum + span / 2) / span);
                sum += at(i + r + 1) - at(i - r);
            }
        }
    }
}

} // namespace

int edgeIndex(int u, int length) {
    return std::clamp(u, 0, length - 1);
}

int mirrorIndex(int u, int length) {
    // Reflected copies repeat every 2 * length pixels: a b c | c b a | a b c.
    const qint64 period = 2 * qint64(length);
    const qint64 m = ((u % period) + period) % period;
    return int(m < length ? m : period - 1 - m);
}

void extendMargins(Bitmap& canvas, const Bitmap& source, Placement placement, Fill fill) {
    if (fill != Fill::Edge && fill != Fill::Mirror)
        return;
    const int W = canvas.width();
    const int H = canvas.height();
    const int sw = source.width();
    const int sh = source.height();
    const auto [dx, dy] = placement;
    const int x0 = std::clamp(dx, 0, W);
    const int x1 = int(std::clamp(qint64(dx) + sw, qint64(0), qint64(W)));
    const int y0 = std::clamp(dy, 0, H);
    const int y1 = int(std::clamp(qint64(dy) + sh, qint64(0), qint64(H)));
    if (sw <= 0 || sh <= 0 || x0 >= x1 || y0 >= y1)
        return;
    const auto mapped = fill == Fill::Edge ? edgeIndex : mirrorIndex;

    // The rows the picture covers: their margin columns, pixel by pixel.
    std::vector<int> columns; // the source column of every margin column, left then right
    columns.reserve(std::size_t(W - (x1 - x0)));
    for (int x = 0; x < x0; ++x)
        columns.push_back(mapped(x - dx, sw));
    for (int x = x1; x < W; ++x)
        columns.push_back(mapped(x - dx, sw));
    if (!columns.empty()) {
        for (int y = y0; y < y1; ++y) {
            std::uint8_t* row = canvas.scanLine(y);
            const std::uint8_t* from = source.scanLine(y - dy);
            std::size_t k = 0;
            const auto put = [&](int x) {
                std::memcpy(row + x * Channels, from + columns[k++] * Channels, Channels);
            };
            for (int x = 0; x < x0; ++x)
                put(x);
            for (int x = x1; x < W; ++x)
                put(x);
        }
    }
    // Margin rows are whole copies of the canvas rows of their source rows,
    // which the picture covers (an axis with margins holds the whole picture).
    const std::size_t rowBytes = std::size_t(W) * Channels;
    for (int y = 0; y < H; ++y)
        if (y < y0 || y >= y1)
            std::memcpy(canvas.scanLine(y), canvas.scanLine(mapped(y - dy, sh) + dy), rowBytes);
}

QSize blurWorkSize(int pictureWidth, int pictureHeight) {
    const int longer = std::max(pictureWidth, pictureHeight);
    if (longer <= BlurWorkSide)
        return {std::max(pictureWidth, 1), std::max(pictureHeight, 1)};
    const double f = double(BlurWorkSide) / longer;
    return {std::max(1, int(std::lround(pictureWidth * f))),
            std::max(1, int(std::lround(pictureHeight * f)))};
}

BlurredBackground blurredBackground(const Bitmap& reduced, int pictureWidth, int pictureHeight,
                                    int W, int H, Anchor anchor) {
    const auto share = [](int side) { return side < 0 ? 0.0 : side > 0 ? 1.0 : 0.5; };
    return blurredBackground(reduced, pictureWidth, pictureHeight, W, H,
                             share(horizontalSide(anchor)), share(verticalSide(anchor)));
}

BlurredBackground blurredBackground(const Bitmap& reduced, int pictureWidth, int pictureHeight,
                                    int W, int H, double alongX, double alongY) {
    BlurredBackground background;
    const QSize work = blurWorkSize(pictureWidth, pictureHeight);
    QImage small = reduced.image();
    if (small.size() != work)
        small = small.convertToFormat(QImage::Format_RGB32)
                    .scaled(work, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    background.pixels = Bitmap(small.convertToFormat(QImage::Format_BGR888));

    // Three box passes each way come close to a Gaussian blur; the radius
    // follows the work size, so the blur is the same share of any picture.
    const int r =
        int(std::lround(double(BlurRadius) * std::max(work.width(), work.height()) / BlurWorkSide));
    Bitmap& b = background.pixels;
    for (int pass = 0; pass < 3 && r > 0; ++pass) {
        boxPass(b.scanLine(0), b.width(), b.height(), Channels, b.bytesPerLine(), r);
        boxPass(b.scanLine(0), b.height(), b.width(), b.bytesPerLine(), Channels, r);
    }

    // Scaled by the larger of the two ratios, the picture covers the canvas.
    const double scale =
        std::max(double(W) / std::max(pictureWidth, 1), double(H) / std::max(pictureHeight, 1));
    background.width = std::max(double(W), pictureWidth * scale);
    background.height = std::max(double(H), pictureHeight * scale);
    const auto offset = [](double leftover, double along) {
        return along <= 0 ? 0.0 : along >= 1 ? leftover : leftover * along;
    };
    background.left = offset(W - background.width, alongX);
    background.top = offset(H - background.height, alongY);
    return background;
}

void paintBackground(Bitmap& canvas, const BlurredBackground& background, const QRect& picture) {
    const Bitmap& b = background.pixels;
    const int W = canvas.width();
    const int H = canvas.height();
    if (b.isEmpty() || W <= 0 || H <= 0)
        return;
    const QRect covered = picture.intersected(QRect(0, 0, W, H));
    const std::vector<Tap> across = taps(W, background.left, background.width, b.width());
    const std::vector<Tap> down = taps(H, background.top, background.height, b.height());
    std::vector<int> blended(std::size_t(b.width()) * Channels);
    for (int y = 0; y < H; ++y) {
        const bool inside = y >= covered.top() && y <= covered.bottom() && !covered.isEmpty();
        const int from = inside ? covered.left() : W; // the picture's columns on this row
        const int to = inside ? covered.right() + 1 : W;
        if (inside && from == 0 && to == W)
            continue;
        const Tap t = down[std::size_t(y)];
        const std::uint8_t* upper = b.scanLine(t.first);
        const std::uint8_t* lower = b.scanLine(t.second);
        for (std::size_t i = 0; i < blended.size(); ++i)
            blended[i] = upper[i] * 256 + (lower[i] - upper[i]) * t.weight;
        std::uint8_t* row = canvas.scanLine(y);
        const auto paint = [&](int start, int end) {
            for (int x = start; x < end; ++x) {
                const Tap s = across[std::size_t(x)];
                const int* left = &blended[std::size_t(s.first) * Channels];
                const int* right = &blended[std::size_t(s.second) * Channels];
                for (int c = 0; c < Channels; ++c)
                    row[x * Channels + c] = std::uint8_t(
                        (left[c] * 256 + (right[c] - left[c]) * s.weight + (1 << 15)) >> 16);
            }
        };
        paint(0, inside ? from : W);
        if (inside)
            paint(to, W);
    }
}

Bitmap reducedPicture(const Picture& picture, const Bitmap& decoded) {
    const QSize work = blurWorkSize(picture.width(), picture.height());
    if (std::optional<Bitmap> reduced = picture.decodeReduced(work))
        return std::move(*reduced);
    if (decoded.width() == picture.width() && decoded.height() == picture.height())
        return decoded;
    Bitmap whole;
    picture.assignTo(whole);
    whole.convertTo24();
    return whole;
}

} // namespace kadrix
