#pragma once
// Writes an image as a PNG file (screenshots of windows for tests and tools).
#include <string>

#include "platform/gdi/Bitmap.h"

namespace platform {

bool SavePng(const gdi::Bitmap& image, const std::string& path);

} // namespace platform
