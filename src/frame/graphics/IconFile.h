#pragma once
// ICO files: the header, the directory, the choice of one image, and its decoding into a 32-bit
// image with transparency from the 1-bit mask.
#include <cstdint>
#include <vector>

#include "platform/gdi/Bitmap.h"

namespace frame {

struct IconDirEntry {
    int width = 0;
    int height = 0;
    int colorCount = 0;
    int planes = 0;
    int bitCount = 0;
    std::uint32_t bytesInRes = 0;
    std::uint32_t offset = 0;
};

// The side of the system icon, which every icon is drawn at.
constexpr int kSystemIconSize = 32;

// Reads the 6-byte header and returns the type; types 2 and above (cursors) and files shorter
// than a header raise EInvalidGraphic "Icon image is not valid".
int ReadIconType(const std::uint8_t* data, std::size_t size);
// The directory of a type-1 file; entries that do not fit the file are invalid.
std::vector<IconDirEntry> ReadIconDirectory(const std::uint8_t* data, std::size_t size);
// The entry to show on a display of `displayColors` colours (0 for 24 bits and more): one whose
// colour count equals it; else the first not above it, replaced by later ones with more colours
// that still fit; else the first.
std::size_t ChooseIconEntry(const std::vector<IconDirEntry>& entries, int displayColors);
// Decodes one image of the file at the system icon size. Raises "Icon image is not valid".
platform::gdi::Bitmap DecodeIconImage(const std::uint8_t* data, std::size_t size,
                                      const IconDirEntry& entry);
// The whole pipeline for an icon file's bytes: type 0 gives the default application icon.
platform::gdi::Bitmap DecodeIconFile(const std::uint8_t* data, std::size_t size,
                                     int displayColors = 0);
// The system's default application icon.
platform::gdi::Bitmap DefaultApplicationIcon();

} // namespace frame
