#pragma once
// A window's icon at the sizes taskbars, switchers and title bars ask for: a desktop picks the
// image nearest its need and scales the rest itself, often roughly, so the common sizes are made
// here from the one image a form has.
#include <cstdint>
#include <vector>

namespace platform {

struct IconImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> argb; // straight (not premultiplied) 0xAARRGGBB, row after row
};

// The image itself and 16, 32 and 48 pixels square, each once, smallest first. `premultiplied`
// is width x height 0xAARRGGBB words with colour premultiplied by alpha (a drawing's pixels);
// the smaller and larger images average the source area each pixel covers.
std::vector<IconImage> TaskbarIcons(int width, int height, const std::uint32_t* premultiplied);

} // namespace platform
