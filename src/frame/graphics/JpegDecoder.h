#pragma once
// JPEG decoding through libjpeg with the settings of the picture objects. Library errors become
// EJPEG "JPEG error #%d" with the library's message code; the library never ends the process.
#include <cstdint>
#include <functional>

#include "frame/graphics/DibImage.h"

namespace frame {

struct JpegHeader {
    int width = 0;
    int height = 0;
    bool grayscale = false;
    bool progressive = false; // more than one scan
};

struct JpegDecodeSettings {
    bool grayscale = false;          // output in grey
    bool fastDecode = false;         // fast integer transform, one-pass quantising, ordered dither
    bool eightBit = false;           // quantise to 236 colours
    bool progressiveDisplay = false; // multi-scan files decoded scan by scan
    int scale = 0;                   // output 1 / 2^scale of full size (0..3)
    bool smoothing = true;           // block smoothing
};

JpegHeader ReadJpegHeader(const std::uint8_t* data, std::size_t size);

// Decodes into a top-down DIB: 24 bits (blue, green, red) or 8 bits with a palette from the
// library's colour map (grey ramp for grey output). `onScan` is called after each displayed scan
// of a progressive decode and may throw to stop it.
DibImage DecodeJpeg(const std::uint8_t* data, std::size_t size, const JpegDecodeSettings& settings,
                    const std::function<void()>& onScan = {});

} // namespace frame
