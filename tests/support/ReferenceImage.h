#pragma once
// Pixel tests of every layer: a drawn image compared with a stored reference PNG under
// tests/AREA/reference, with a tolerance (text rasterisation varies a little between font
// builds); the actual image is saved under the build's test-artifacts/AREA when they differ.
// ZORVANE_UPDATE_REFERENCES=1 rewrites the references instead.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "platform/gdi/Bitmap.h"
#include "platform/gdi/PngFile.h"

namespace testimage {

// test-artifacts/AREA under the build folder, made when missing.
inline std::string ArtifactDir(const std::string& area) {
    std::string dir = std::string(ZORVANE_BINARY_DIR) + "/test-artifacts/" + area;
    std::filesystem::create_directories(dir);
    return dir;
}

inline void SavePng(const platform::gdi::Bitmap& image, const std::string& path) {
    std::string png = platform::gdi::EncodePng(image);
    std::ofstream(path, std::ios::binary).write(png.data(), std::streamsize(png.size()));
}

// The RGB bytes of a PNG file, decoded by ImageMagick (not by our own decoders, which are under
// test elsewhere); empty when it cannot be read.
inline std::string DecodePngRgb(const std::string& path, int& width, int& height) {
    auto run = [](const std::string& command) {
        std::string out;
        if (FILE* p = popen((command + " 2>/dev/null").c_str(), "r")) {
            char buf[65536];
            while (std::size_t n = fread(buf, 1, sizeof buf, p))
                out.append(buf, n);
            pclose(p);
        }
        return out;
    };
    width = height = 0;
    if (std::sscanf(run("identify -format '%w %h' '" + path + "'").c_str(), "%d %d", &width,
                    &height) != 2)
        return {};
    return run("convert '" + path + "' -depth 8 rgb:-");
}

// The share of pixels of `image` that differ from the PNG at `path` by more than `tolerance` in
// a channel; 1 when the file cannot be read or differs in size.
inline double DifferingShare(const platform::gdi::Bitmap& image, const std::string& path,
                             int tolerance) {
    int w = 0, h = 0;
    std::string rgb = DecodePngRgb(path, w, h);
    if (rgb.empty() || w != image.Width() || h != image.Height() ||
        rgb.size() != std::size_t(w) * std::size_t(h) * 3)
        return 1;
    long bad = 0;
    const auto* p = reinterpret_cast<const std::uint8_t*>(rgb.data());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x, p += 3) {
            std::uint32_t word = image.Word(x, y);
            int d = std::max({std::abs(int((word >> 16) & 0xFF) - p[0]),
                              std::abs(int((word >> 8) & 0xFF) - p[1]),
                              std::abs(int(word & 0xFF) - p[2])});
            bad += d > tolerance;
        }
    return double(bad) / (double(w) * h);
}

// Compares `image` with tests/AREA/reference/NAME.png: at most `maxBadShare` of the pixels may
// differ by more than `tolerance` in a channel.
inline void ExpectMatchesReference(const platform::gdi::Bitmap& image, const std::string& area,
                                   const std::string& name, int tolerance, double maxBadShare) {
    std::string ref =
        std::string(ZORVANE_SOURCE_DIR) + "/tests/" + area + "/reference/" + name + ".png";
    if (const char* update = std::getenv("ZORVANE_UPDATE_REFERENCES"); update && *update == '1') {
        SavePng(image, ref);
        return;
    }
    double share = DifferingShare(image, ref, tolerance);
    if (share > maxBadShare) {
        std::string actual = ArtifactDir(area) + "/" + name + ".actual.png";
        SavePng(image, actual);
        ADD_FAILURE() << share * 100 << "% of the pixels differ from " << ref << " ("
                      << image.Width() << " x " << image.Height()
                      << ", 100% when it cannot be read or differs in size); actual image: "
                      << actual;
    }
}

} // namespace testimage
