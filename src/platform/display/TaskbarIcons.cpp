#include "platform/display/TaskbarIcons.h"

#include <algorithm>
#include <cmath>

namespace platform {

namespace {

constexpr int kSizes[] = {16, 32, 48};

// How much of each source pixel along one axis falls into each destination pixel.
struct Tap {
    int index;
    double weight;
};

std::vector<std::vector<Tap>> Taps(int from, int to) {
    auto taps = std::vector<std::vector<Tap>>(std::size_t(to));
    double scale = double(from) / to;
    for (int i = 0; i < to; ++i) {
        double a = i * scale, b = (i + 1) * scale;
        for (int s = int(a); s < from && s < b; ++s) {
            double w = std::min(b, s + 1.0) - std::max(a, double(s));
            if (w > 0)
                taps[std::size_t(i)].push_back(Tap{s, w / scale});
        }
    }
    return taps;
}

std::uint32_t Straight(const double c[4]) {
    double a = std::clamp(c[0], 0.0, 255.0);
    std::uint32_t out = std::uint32_t(std::lround(a)) << 24;
    if (a <= 0)
        return 0;
    for (int k = 1; k < 4; ++k) {
        double v = std::clamp(c[k] * 255.0 / a, 0.0, 255.0);
        out |= std::uint32_t(std::lround(v)) << (8 * (3 - k));
    }
    return out;
}

IconImage Scaled(int width, int height, const std::uint32_t* src, int toWidth, int toHeight) {
    IconImage image{toWidth, toHeight, {}};
    image.argb.reserve(std::size_t(toWidth) * toHeight);
    auto xs = Taps(width, toWidth);
    auto ys = Taps(height, toHeight);
    for (const auto& row : ys) {
        for (const auto& column : xs) {
            double sum[4] = {};
            for (const Tap& ty : row) {
                for (const Tap& tx : column) {
                    std::uint32_t p = src[std::size_t(ty.index) * width + tx.index];
                    double w = ty.weight * tx.weight;
                    for (int k = 0; k < 4; ++k)
                        sum[k] += w * double((p >> (8 * (3 - k))) & 0xFF);
                }
            }
            image.argb.push_back(Straight(sum));
        }
    }
    return image;
}

} // namespace

std::vector<IconImage> TaskbarIcons(int width, int height, const std::uint32_t* premultiplied) {
    std::vector<IconImage> images;
    if (width <= 0 || height <= 0 || !premultiplied)
        return images;
    images.push_back(Scaled(width, height, premultiplied, width, height));
    for (int size : kSizes)
        if (size != width || size != height)
            images.push_back(Scaled(width, height, premultiplied, size, size));
    std::sort(images.begin(), images.end(), [](const IconImage& a, const IconImage& b) {
        return a.width * a.height < b.width * b.height;
    });
    return images;
}

} // namespace platform
