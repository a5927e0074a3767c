#pragma once

#include <QString>

#include <memory>

namespace kadrix {

class Bitmap;

// A picture type of the loader: it loads a file, reports its size and turns
// itself into a bitmap. Sizes are known after loading; decoding may wait
// until a bitmap is asked for.
class Picture {
public:
    virtual ~Picture() = default;
    virtual void loadFromFile(const QString& path) = 0;
    virtual int width() const = 0;
    virtual int height() const = 0;
    // Copies the picture into `target` (8 or 24 bits); throws when it cannot.
    virtual void assignTo(Bitmap& target) const = 0;
};

} // namespace kadrix
