#pragma once
// Font family names as the forms ask for them, mapped to installed families.
#include <string>

namespace platform::gdi {

// The family to ask fontconfig for. The forms were laid out for narrow sans fonts; fontconfig's
// own choice for "MS Sans Serif" and "Arial Cyr" is much wider, so those names and their kin map
// to Liberation (metric-compatible with Arial, Times New Roman and Courier New, with Cyrillic).
std::string ResolveFontFamily(const std::string& name);

} // namespace platform::gdi
