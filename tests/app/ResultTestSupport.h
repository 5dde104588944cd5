#pragma once
// Pictures of the result form: comparison with the references in tests/app/reference (the chart
// tests' PNG reading), the actual picture saved under the build folder on failure.
#include <string>

#include "../chart/ChartTestTools.h"

namespace apptest {

// The share of pixels of `image` that differ from the PNG at `path` by more than `tolerance` in
// a channel; 1 when the file cannot be read or differs in size.
inline double DifferingShare(const platform::gdi::Bitmap& image, const std::string& path,
                             int tolerance) {
    int w = 0, h = 0;
    std::string rgb = charttest::DecodePngRgb(path, w, h);
    if (rgb.empty() || w != image.Width() || h != image.Height() ||
        rgb.size() != size_t(w) * size_t(h) * 3)
        return 1;
    long bad = 0;
    const auto* p = reinterpret_cast<const uint8_t*>(rgb.data());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x, p += 3) {
            uint32_t word = image.Word(x, y);
            int d = std::max({std::abs(int((word >> 16) & 0xFF) - p[0]),
                              std::abs(int((word >> 8) & 0xFF) - p[1]),
                              std::abs(int(word & 0xFF) - p[2])});
            bad += d > tolerance;
        }
    return double(bad) / (double(w) * h);
}

inline std::string AppArtifactDir() {
    std::string dir = std::string(ZORVANE_BINARY_DIR) + "/test-artifacts/app";
    std::filesystem::create_directories(dir);
    return dir;
}

// Compares with tests/app/reference/NAME.png (text rasterisation varies a little between font
// builds, hence the tolerance); ZORVANE_UPDATE_REFERENCES=1 rewrites the reference.
inline void ExpectMatchesAppReference(const platform::gdi::Bitmap& image, const std::string& name,
                                      int tolerance = 40, double maxBadShare = 0.004) {
    std::string ref = std::string(ZORVANE_SOURCE_DIR) + "/tests/app/reference/" + name + ".png";
    std::string actual = AppArtifactDir() + "/" + name + ".actual.png";
    if (const char* update = std::getenv("ZORVANE_UPDATE_REFERENCES"); update && *update == '1') {
        charttest::SavePng(image, ref);
        return;
    }
    double share = DifferingShare(image, ref, tolerance);
    if (share > maxBadShare) {
        charttest::SavePng(image, actual);
        ADD_FAILURE() << share * 100 << "% of the pixels differ from " << ref
                      << "; actual image: " << actual;
    }
}

} // namespace apptest
