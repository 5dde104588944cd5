#pragma once
// Pixel tests against stored reference images: a small PNG reader for the 8-bit RGB and RGBA
// files our encoder writes, and a comparison with a tolerance that saves the actual image beside
// the build on failure. ZORVANE_UPDATE_REFERENCES=1 writes the actual image as the new reference.
#include <string>

#include "platform/gdi/Bitmap.h"

namespace controlstest {

// Decodes a non-interlaced 8-bit RGB or RGBA PNG; false for anything else or damaged data.
bool DecodePng(const std::string& bytes, platform::gdi::Bitmap& image);

// Compares `actual` with tests/controls/reference/<name>.png: every channel of every pixel
// within `tolerance`, and at most `maxOff` pixels beyond it. Returns an empty text on success,
// else what differs (the actual image is then saved as <build>/<name>-actual.png).
std::string CompareWithReference(const platform::gdi::Bitmap& actual, const std::string& name,
                                 int tolerance, int maxOff);

} // namespace controlstest
