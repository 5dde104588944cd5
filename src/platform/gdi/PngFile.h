#pragma once
// PNG output of images (for tools and tests that show what was drawn or decoded).
#include <string>

#include "platform/gdi/Bitmap.h"

namespace platform::gdi {

// The image as PNG bytes; images with alpha keep it.
std::string EncodePng(const Bitmap& image);

} // namespace platform::gdi
