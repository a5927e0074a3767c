#pragma once

#include "bitmap.h"

#include <cstdint>

namespace kadrix {

// Rows of 24-bit pixels (blue, green, red) handed on one at a time from top
// to bottom, so that a picture can go from its decoder to its encoder
// without a buffer of the whole picture in between.

// Where rows come from: a decoder, or a bitmap already in memory.
class RowSource {
public:
    virtual ~RowSource() = default;
    virtual int width() const = 0;
    virtual int height() const = 0;
    // The next row (width() pixels), valid until the next call. Called at
    // most height() times. Throws the decoder's errors.
    virtual const std::uint8_t* next() = 0;
};

// Where rows go: a bitmap, or a result file's encoder.
class RowSink {
public:
    virtual ~RowSink() = default;
    // Called once, before the first row.
    virtual void start(int width, int height) = 0;
    // Memory for the next row (width pixels), which put() then takes.
    virtual std::uint8_t* row() = 0;
    virtual void put() = 0;
};

// The rows of a 24-bit bitmap, read in place.
class BitmapRowSource final : public RowSource {
public:
    explicit BitmapRowSource(const Bitmap& bitmap) : bitmap_(bitmap) {}
    int width() const override { return bitmap_.width(); }
    int height() const override { return bitmap_.height(); }
    const std::uint8_t* next() override { return bitmap_.scanLine(y_++); }

private:
    const Bitmap& bitmap_;
    int y_ = 0;
};

// Rows written in place into a 24-bit bitmap of the sink's size, which must
// exist before start().
class BitmapRowSink final : public RowSink {
public:
    explicit BitmapRowSink(Bitmap& bitmap) : bitmap_(bitmap) {}
    void start(int, int) override { y_ = 0; }
    std::uint8_t* row() override { return bitmap_.scanLine(y_); }
    void put() override { ++y_; }

private:
    Bitmap& bitmap_;
    int y_ = 0;
};

} // namespace kadrix
