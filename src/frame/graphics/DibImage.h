#pragma once
// A device-independent bitmap as a BMP file stores it: the information header (kept as read, so
// an OS/2 or a larger header is written back unchanged), the colour masks, the colour table and
// the pixel bytes, possibly run-length compressed. Reading and writing BMP files, and turning the
// stored pixels into a 32-bit image for drawing.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/gdi/Bitmap.h"

namespace frame {

struct DibImage {
    // Fields of the information header, widened to the 40-byte form.
    int width = 0;
    int height = 0; // negative: rows stored top-down
    int planes = 1;
    int bitCount = 0;
    std::uint32_t compression = 0; // 0 none, 1 run-length 8, 2 run-length 4, 3 bit fields
    std::uint32_t imageSize = 0;
    std::int32_t xPelsPerMeter = 0;
    std::int32_t yPelsPerMeter = 0;
    std::uint32_t clrUsed = 0;
    std::uint32_t clrImportant = 0;
    bool os2 = false;                 // read from a 12-byte core header; written back as one
    std::vector<std::uint8_t> header; // the information header bytes as read (empty: made anew)
    bool hasMaskBlock = false;        // three masks stored after a 40-byte header
    std::uint32_t masks[3] = {0, 0, 0};
    std::vector<std::uint32_t> colors; // 0x00RRGGBB
    std::vector<std::uint8_t> pixels;

    bool Empty() const { return width == 0 || height == 0; }
    int AbsHeight() const { return height < 0 ? -height : height; }
    // Bytes per stored row of uncompressed data, rounded up to 4.
    std::size_t RowBytes() const;
};

enum : std::uint32_t { BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3 };

// Reads a BMP file (file header, information header, masks, colour table, pixels). Raises
// EInvalidGraphic "Bitmap image is not valid" for a bad signature, planes other than 1 or an
// impossible header.
DibImage ReadBmpFile(const std::uint8_t* data, std::size_t size);
// Writes the image as a BMP file in the form it was read.
std::vector<std::uint8_t> WriteBmpFile(const DibImage& dib);

// The pixels as a 32-bit image (top-down). Data missing from the file reads as colour 0.
platform::gdi::Bitmap DibToBitmap(const DibImage& dib);
// A 24-bit (or, with a palette, 8-bit) image holding `bitmap`'s pixels.
DibImage BitmapToDib(const platform::gdi::Bitmap& bitmap);

} // namespace frame
