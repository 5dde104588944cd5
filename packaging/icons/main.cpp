// zorvane-icons ICON.ico PICTURE.bmp OUTDIR — the desktop icons of the program, made from its own
// pictures: OUTDIR/<n>x<n>/apps/zorvane.png for n = 32, 48, 64 and 128. The 32-pixel icon is the
// program's window icon as the frame shows it (its mask made transparent); the larger ones are
// the 144 x 144 picture of the result form and about box, reduced by area averaging so the thin
// curves stay smooth at every size.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "frame/graphics/TBitmap.h"
#include "frame/graphics/TIcon.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/PngFile.h"

using platform::gdi::Bitmap;

namespace {

constexpr int kWindowIconSize = 32;
const int kPictureSizes[] = {48, 64, 128};

// How much of each source pixel falls into each destination pixel along one axis: for every
// destination index, the (source index, weight) pairs, the weights adding up to 1.
struct Coverage {
    int source;
    double weight;
};
std::vector<std::vector<Coverage>> AxisCoverage(int from, int to) {
    std::vector<std::vector<Coverage>> out(static_cast<std::size_t>(to));
    double scale = double(from) / double(to);
    for (int d = 0; d < to; ++d) {
        double lo = d * scale, hi = (d + 1) * scale;
        for (int s = int(lo); s < from && s < hi; ++s) {
            double part = std::min(hi, s + 1.0) - std::max(lo, double(s));
            if (part > 0)
                out[std::size_t(d)].push_back({s, part / scale});
        }
    }
    return out;
}

// Area-averaging reduction of an image that carries premultiplied alpha, or none.
Bitmap Reduce(const Bitmap& src, int width, int height) {
    auto xs = AxisCoverage(src.Width(), width), ys = AxisCoverage(src.Height(), height);
    Bitmap out(width, height, 0, src.HasAlpha());
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            double sum[4] = {0, 0, 0, 0};
            for (const Coverage& cy : ys[std::size_t(y)])
                for (const Coverage& cx : xs[std::size_t(x)]) {
                    std::uint32_t w = src.Word(cx.source, cy.source);
                    if (!src.HasAlpha())
                        w |= 0xFF000000u;
                    for (int c = 0; c < 4; ++c)
                        sum[c] += double((w >> (8 * c)) & 0xFF) * cx.weight * cy.weight;
                }
            std::uint32_t word = 0;
            for (int c = 0; c < 4; ++c)
                word |= std::uint32_t(std::clamp(sum[c] + 0.5, 0.0, 255.0)) << (8 * c);
            out.Row(y)[x] = word;
        }
    return out;
}

void WritePng(const std::filesystem::path& dir, int size, const Bitmap& image) {
    if (image.Width() != size || image.Height() != size)
        throw std::runtime_error("icon of " + std::to_string(image.Width()) + " x " +
                                 std::to_string(image.Height()) + " pixels where " +
                                 std::to_string(size) + " were wanted");
    std::filesystem::path folder =
        dir / (std::to_string(size) + "x" + std::to_string(size)) / "apps";
    std::filesystem::create_directories(folder);
    std::filesystem::path file = folder / "zorvane.png";
    std::string png = platform::gdi::EncodePng(image);
    std::ofstream f(file, std::ios::binary | std::ios::trunc);
    f.write(png.data(), std::streamsize(png.size()));
    f.close();
    if (!f)
        throw std::runtime_error("cannot write " + file.string());
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: zorvane-icons ICON.ico PICTURE.bmp OUTDIR\n");
        return 2;
    }
    try {
        std::filesystem::path out = argv[3];
        frame::TIcon icon;
        icon.LoadFromFile(argv[1]);
        WritePng(out, kWindowIconSize, icon.Handle());

        frame::TBitmap picture;
        picture.LoadFromFile(argv[2]);
        for (int size : kPictureSizes)
            WritePng(out, size, Reduce(picture.Image(), size, size));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zorvane-icons: %s\n", e.what());
        return 1;
    }
    return 0;
}
