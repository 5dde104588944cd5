#pragma once
// Helpers for comparing our decoders with ImageMagick's.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/gdi/Bitmap.h"

namespace imagetest {

// Per process, so test runs of two builds at once cannot overwrite each other's files.
inline std::string TempPath(const std::string& name) {
    return ::testing::TempDir() + "/zorvane_img_" + std::to_string(getpid()) + "_" + name;
}

// Removes this process's temporary files when the test program ends.
struct TempFileSweeper {
    ~TempFileSweeper() {
        std::string prefix = "zorvane_img_" + std::to_string(getpid()) + "_";
        std::error_code ec;
        for (const auto& e : std::filesystem::directory_iterator(::testing::TempDir(), ec))
            if (e.path().filename().string().rfind(prefix, 0) == 0)
                std::filesystem::remove(e.path(), ec);
    }
};
inline TempFileSweeper tempFileSweeper;

inline std::string RunCommand(const std::string& cmd) {
    std::string out;
    FILE* p = popen((cmd + " 2>/dev/null").c_str(), "r");
    if (!p)
        return out;
    char buf[4096];
    while (std::size_t n = fread(buf, 1, sizeof buf, p))
        out.append(buf, n);
    pclose(p);
    return out;
}

inline std::vector<std::uint8_t> ReadFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(f), {});
}

inline void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// Makes a file with `convert rose: OPTIONS FORMAT:path` and returns its bytes.
inline std::vector<std::uint8_t> MakeWithConvert(const std::string& options,
                                                 const std::string& target) {
    std::string path = TempPath(target.substr(target.find(':') + 1));
    RunCommand("convert rose: " + options + " " + target.substr(0, target.find(':') + 1) + path);
    return ReadFile(path);
}

// ImageMagick's RGBA decode of a file's bytes (first frame).
inline std::string ImDecodeRgba(const std::vector<std::uint8_t>& bytes, const std::string& ext,
                                const std::string& defines = "") {
    std::string path = TempPath("decode." + ext);
    WriteFile(path, bytes);
    return RunCommand("convert " + defines + " '" + path + "[0]' -depth 8 rgba:-");
}

// Largest channel difference between our image and ImageMagick's RGBA bytes; alpha compared
// only as transparent (0) or not. -1 when the sizes differ.
inline int MaxDifference(const platform::gdi::Bitmap& ours, const std::string& rgba,
                         bool compareAlpha = false) {
    if (rgba.size() != std::size_t(ours.Width()) * std::size_t(ours.Height()) * 4)
        return -1;
    int worst = 0;
    for (int y = 0; y < ours.Height(); ++y)
        for (int x = 0; x < ours.Width(); ++x) {
            std::uint32_t w = ours.Word(x, y);
            const auto* p = reinterpret_cast<const std::uint8_t*>(rgba.data()) +
                            (std::size_t(y) * std::size_t(ours.Width()) + std::size_t(x)) * 4;
            if (compareAlpha) {
                bool ourClear = (w >> 24) == 0, theirClear = p[3] == 0;
                if (ourClear != theirClear)
                    return 255;
                if (ourClear)
                    continue;
            }
            int r = int((w >> 16) & 0xFF), g = int((w >> 8) & 0xFF), b = int(w & 0xFF);
            worst = std::max({worst, std::abs(r - p[0]), std::abs(g - p[1]), std::abs(b - p[2])});
        }
    return worst;
}

} // namespace imagetest
