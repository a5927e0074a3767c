#include "margin_fill.h"

#include "picture.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace kadrix {
namespace {

constexpr int Channels = 3;

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

QSize blurWorkSize(int pictureWidth, int pictureHeight) {
    const int longer = std::max(pictureWidth, pictureHeight);
    if (longer <= BlurWorkSide)
        return {std::max(pictureWidth, 1), std::max(pictureHeight, 1)};
    const double f = double(BlurWorkSide) / longer;
    return {std::max(1, int(std::lround(pictureWidth * f))),
            std::max(1, int(std::lround(pictureHeight * f)))};
}

double anchorShare(int side) {
    return side < 0 ? 0.0 : side > 0 ? 1.0 : 0.5;
}

BlurredBackground blurredBackground(const Bitmap& reduced, int pictureWidth, int pictureHeight,
                                    int W, int H, Anchor anchor) {
    return blurredBackground(reduced, pictureWidth, pictureHeight, W, H,
                             anchorShare(horizontalSide(anchor)),
                             anchorShare(verticalSide(anchor)));
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

// One axis of the smooth scaling: for every canvas position, the two
// neighbouring background positions and the weight of the second.
std::vector<BackgroundRows::Tap> BackgroundRows::taps(int canvasLength, double origin,
                                                      double coverLength, int backgroundLength) {
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

BackgroundRows::BackgroundRows(const BlurredBackground& background, int W, int H)
    : pixels_(background.pixels) {
    if (pixels_.isEmpty() || W <= 0 || H <= 0)
        return;
    across_ = taps(W, background.left, background.width, pixels_.width());
    down_ = taps(H, background.top, background.height, pixels_.height());
}

// Scaling across first and down second gives the same exact sums as the
// other order, and a background row scaled across serves the many canvas
// rows between two background rows: the canvas rows are then a plain blend
// of two rows.
void BackgroundRows::holdRows(int first, int second) {
    for (const int index : {first, second}) {
        if (upper_.index == index || lower_.index == index)
            continue;
        ScaledRow& row = upper_.index != first && upper_.index != second ? upper_ : lower_;
        row.index = index;
        row.values.resize(across_.size() * Channels);
        const std::uint8_t* pixels = pixels_.scanLine(index);
        for (std::size_t x = 0; x < across_.size(); ++x) {
            const Tap& s = across_[x];
            for (int c = 0; c < Channels; ++c) {
                const int left = pixels[s.first * Channels + c];
                const int right = pixels[s.second * Channels + c];
                row.values[x * Channels + std::size_t(c)] = left * 256 + (right - left) * s.weight;
            }
        }
    }
}

void BackgroundRows::paint(std::uint8_t* row, int y, int from, int to) {
    const int W = int(across_.size());
    if (down_.empty() || (from == 0 && to == W))
        return;
    const Tap& t = down_[std::size_t(y)];
    holdRows(t.first, t.second);
    if (from == to) {
        paintSpan(row, 0, W, t);
        return;
    }
    paintSpan(row, 0, from, t);
    paintSpan(row, to, W, t);
}

void BackgroundRows::paintSpan(std::uint8_t* row, int start, int end, const Tap& down) const {
    const ScaledRow& first = upper_.index == down.first ? upper_ : lower_;
    const ScaledRow& second = upper_.index == down.second ? upper_ : lower_;
    const int* above = first.values.data();
    const int* below = second.values.data();
    for (int i = start * Channels; i < end * Channels; ++i)
        row[i] =
            std::uint8_t((above[i] * 256 + (below[i] - above[i]) * down.weight + (1 << 15)) >> 16);
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
