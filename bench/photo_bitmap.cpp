#include "photo_bitmap.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace kadrix::bench {

Bitmap photoBitmap(int width, int height, unsigned seed) {
    Bitmap bitmap(width, height);
    std::mt19937 noise(seed);
    std::uniform_int_distribution<int> grain(-6, 6);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = bitmap.scanLine(y);
        for (int x = 0; x < width; ++x) {
            const double u = double(x) / width, v = double(y) / height;
            const double base[3] = {128 + 100 * std::sin(6.0 * u + 2.0 * v),
                                    128 + 90 * std::cos(4.0 * v - 3.0 * u),
                                    128 + 80 * std::sin(9.0 * u * v + 1.0)};
            for (int k = 0; k < 3; ++k)
                row[x * 3 + k] = std::uint8_t(std::clamp(int(base[k]) + grain(noise), 0, 255));
        }
    }
    return bitmap;
}

} // namespace kadrix::bench
