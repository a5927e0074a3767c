#include "frame_rows.h"

#include "margin_fill.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <set>
#include <vector>

namespace kadrix {
namespace {

constexpr int Channels = 3;

// Where the source meets the canvas: columns x0..x1 and rows y0..y1, ends
// exclusive (empty when it does not).
struct Covered {
    int x0 = 0, x1 = 0, y0 = 0, y1 = 0;
    bool empty() const { return x0 >= x1 || y0 >= y1; }
};

Covered coveredBy(int sw, int sh, const RowLayout& l) {
    const auto [dx, dy] = l.placement;
    const auto clamp = [](qint64 v, int limit) {
        return int(std::clamp(v, qint64(0), qint64(limit)));
    };
    return {clamp(dx, l.width), clamp(qint64(dx) + sw, l.width), clamp(dy, l.height),
            clamp(qint64(dy) + sh, l.height)};
}

bool repeatsPicture(Fill fill) {
    return fill == Fill::Edge || fill == Fill::Mirror;
}

// The source row each margin row repeats: -1 for a row the picture covers,
// and for every row of the other fills. Worked out row by row, so that
// nothing grows with the canvas's height.
class MarginRows {
public:
    MarginRows(int sh, const Covered& c, const RowLayout& l)
        : sh_(sh), c_(c), height_(std::max(l.height, 0)), dy_(l.placement.dy),
          mapped_(l.fill == Fill::Edge ? edgeIndex : mirrorIndex),
          repeats_(repeatsPicture(l.fill) && sh > 0 && !c.empty()) {}

    int sourceOf(int y) const {
        if (!repeats_ || (y >= c_.y0 && y < c_.y1))
            return -1;
        // Only the rows the canvas shows can be repeated; on an axis with
        // margins that is every row of the source.
        return std::clamp(mapped_(y - dy_, sh_), c_.y0 - dy_, c_.y1 - 1 - dy_);
    }

    // Calls `use` with the source row of margin rows above the picture, or
    // below it. Those rows repeat with a period of at most twice the
    // source's height, so only that many next to the picture are looked at.
    template <typename Use> void forEachRepeated(bool above, Use use) const {
        if (!repeats_)
            return;
        const qint64 period = 2 * qint64(sh_);
        const int from = above ? int(std::max<qint64>(0, c_.y0 - period)) : c_.y1;
        const int to = above ? c_.y0 : int(std::min<qint64>(height_, c_.y1 + period));
        for (int y = from; y < to; ++y)
            use(sourceOf(y));
    }

private:
    int sh_;
    Covered c_;
    int height_;
    int dy_;
    int (*mapped_)(int, int);
    bool repeats_;
};

// Paints canvas rows from source rows: the picture's part copied, the
// margin columns as the fill says.
class RowPainter {
public:
    RowPainter(int sw, const Covered& c, const RowLayout& l) : c_(c), l_(l) {
        wipeRow_.resize(std::size_t(std::max(l.width, 0)) * Channels);
        for (std::size_t i = 0; i < wipeRow_.size(); i += Channels) {
            wipeRow_[i] = std::uint8_t(blueOf(l.wipe));
            wipeRow_[i + 1] = std::uint8_t(greenOf(l.wipe));
            wipeRow_[i + 2] = std::uint8_t(redOf(l.wipe));
        }
        fill_ = l.fill;
        if (fill_ == Fill::Blur && l.background == nullptr)
            fill_ = Fill::WipeColour;
        if (fill_ == Fill::Blur)
            background_.emplace(*l.background, l.width, l.height);
        if (repeatsPicture(fill_) && sw > 0) {
            // The source column of every margin column, left then right.
            const auto mapped = fill_ == Fill::Edge ? edgeIndex : mirrorIndex;
            for (int x = 0; x < c.x0; ++x)
                columns_.push_back(mapped(x - l.placement.dx, sw));
            for (int x = c.x1; x < l.width; ++x)
                columns_.push_back(mapped(x - l.placement.dx, sw));
        }
    }

    // Canvas row y, which the picture covers, from source row `from`.
    void pictureRow(std::uint8_t* row, int y, const std::uint8_t* from) {
        std::memcpy(row + std::size_t(c_.x0) * Channels,
                    from + std::size_t(c_.x0 - l_.placement.dx) * Channels,
                    std::size_t(c_.x1 - c_.x0) * Channels);
        if (c_.x0 == 0 && c_.x1 == l_.width)
            return;
        switch (fill_) {
        case Fill::Edge:
        case Fill::Mirror: {
            std::size_t k = 0;
            const auto put = [&](int x) {
                std::memcpy(row + x * Channels, from + columns_[k++] * Channels, Channels);
            };
            for (int x = 0; x < c_.x0; ++x)
                put(x);
            for (int x = c_.x1; x < l_.width; ++x)
                put(x);
            return;
        }
        case Fill::Blur:
            background_->paint(row, y, c_.x0, c_.x1);
            return;
        case Fill::WipeColour:
            std::memcpy(row, wipeRow_.data(), std::size_t(c_.x0) * Channels);
            std::memcpy(row + std::size_t(c_.x1) * Channels,
                        wipeRow_.data() + std::size_t(c_.x1) * Channels,
                        std::size_t(l_.width - c_.x1) * Channels);
            return;
        }
    }

    // Canvas row y, which the picture does not cover, when no picture row
    // is repeated there.
    void marginRow(std::uint8_t* row, int y) {
        if (fill_ == Fill::Blur)
            background_->paint(row, y, l_.width, l_.width);
        else
            std::memcpy(row, wipeRow_.data(), wipeRow_.size());
    }

private:
    Covered c_;
    const RowLayout& l_;
    Fill fill_;
    std::vector<std::uint8_t> wipeRow_;
    std::vector<int> columns_;
    std::optional<BackgroundRows> background_;
};

} // namespace

bool composeRows(RowSource& source, const RowLayout& layout, RowSink& sink) {
    const int W = layout.width;
    const int H = layout.height;
    const int sw = source.width();
    const int sh = source.height();
    const bool empty = sw <= 0 || sh <= 0;
    Covered c = empty ? Covered{} : coveredBy(sw, sh, layout);
    if (c.empty()) // nothing of the picture shows: every row is a margin row
        c = {W, W, H, H};
    RowLayout l = layout;
    if (empty)
        l.fill = Fill::WipeColour;
    // A writer refuses a size it cannot take before anything is made for
    // the rows.
    sink.start(W, H);
    if (W <= 0 || H <= 0)
        return !empty;
    RowPainter painter(sw, c, l);
    const MarginRows margins(sh, c, l);
    const std::size_t rowBytes = std::size_t(W) * Channels;

    // Picture rows that margin rows repeat, kept as whole canvas rows: those
    // above the picture before it is emitted, those below until the end.
    std::vector<std::vector<std::uint8_t>> kept(std::size_t(std::max(sh, 0)));
    std::vector<char> neededBelow(kept.size(), 0);
    int lastAbove = -1;
    margins.forEachRepeated(true, [&](int r) { lastAbove = std::max(lastAbove, r); });
    margins.forEachRepeated(false, [&](int r) {
        if (r >= 0)
            neededBelow[std::size_t(r)] = 1;
    });
    const int dy = layout.placement.dy;
    int read = 0; // source rows taken
    const auto nextSourceRow = [&] {
        const std::uint8_t* from = source.next();
        ++read;
        return from;
    };
    if (!c.empty()) {
        while (read < c.y0 - dy) // rows above the canvas
            nextSourceRow();
        while (read <= lastAbove) {
            const int r = read;
            std::vector<std::uint8_t>& row = kept[std::size_t(r)];
            row.resize(rowBytes);
            painter.pictureRow(row.data(), r + dy, nextSourceRow());
        }
    }
    const auto emitRepeated = [&](int r) {
        std::memcpy(sink.row(), kept[std::size_t(r)].data(), rowBytes);
        sink.put();
    };
    for (int y = 0; y < c.y0; ++y) {
        if (const int r = margins.sourceOf(y); r >= 0) {
            emitRepeated(r);
            continue;
        }
        painter.marginRow(sink.row(), y);
        sink.put();
    }
    for (int y = c.y0; y < c.y1; ++y) {
        const int r = y - dy;
        std::vector<std::uint8_t>& copy = kept[std::size_t(r)];
        std::uint8_t* row = sink.row();
        if (!copy.empty())
            std::memcpy(row, copy.data(), rowBytes);
        else
            painter.pictureRow(row, y, nextSourceRow());
        if (neededBelow[std::size_t(r)] && copy.empty())
            copy.assign(row, row + rowBytes);
        else if (!neededBelow[std::size_t(r)])
            std::vector<std::uint8_t>().swap(copy);
        sink.put();
    }
    for (int y = std::max(c.y1, c.y0); y < H; ++y) {
        if (const int r = margins.sourceOf(y); r >= 0) {
            emitRepeated(r);
            continue;
        }
        painter.marginRow(sink.row(), y);
        sink.put();
    }
    return !empty;
}

qint64 heldRowBytes(int sourceWidth, int sourceHeight, const RowLayout& layout) {
    if (sourceWidth <= 0 || sourceHeight <= 0)
        return 0;
    const MarginRows margins(sourceHeight, coveredBy(sourceWidth, sourceHeight, layout), layout);
    std::set<int> rows;
    for (const bool above : {true, false})
        margins.forEachRepeated(above, [&](int r) {
            if (r >= 0)
                rows.insert(r);
        });
    return qint64(rows.size()) * std::max(layout.width, 0) * Channels;
}

} // namespace kadrix
