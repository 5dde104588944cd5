#pragma once
// The shared cell cache of glyph buttons: image lists of one cell size each, whose slots hold the
// built state images of every button's glyph. Buttons with glyphs of one size share a list;
// freed slots are reused.
#include <memory>
#include <vector>

#include "platform/gdi/Bitmap.h"
#include "platform/gdi/DeviceContext.h"

namespace controls {

// A masked image list: cells of one size, each with the mask of its transparent pixels.
class TGlyphList {
public:
    TGlyphList(int width, int height) : m_width(width), m_height(height) {}

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // Adds a cell whose pixels of colour `maskColor` (0x00RRGGBB) are transparent; the slot.
    int AddMasked(const platform::gdi::Bitmap& image, std::uint32_t maskColor);
    void Delete(int index);
    int Count() const { return m_count; }
    // Draws a cell at (x, y): over `background` (a ColorRef), or leaving the destination where
    // the cell is transparent.
    void Draw(platform::gdi::DeviceContext& dc, int index, int x, int y, bool transparent,
              platform::gdi::ColorRef background) const;
    // The cell's pixels with its transparent pixels in `background` (0x00RRGGBB).
    platform::gdi::Bitmap Cell(int index, std::uint32_t background) const;

private:
    struct Slot {
        platform::gdi::Bitmap image;
        platform::gdi::Bitmap mask; // black: drawn, white: transparent
        bool used = false;
    };
    int m_width;
    int m_height;
    int m_count = 0;
    std::vector<Slot> m_slots;
};

class TGlyphCache {
public:
    // The list for cells of this size (made when there is none yet).
    TGlyphList* GetList(int width, int height);
    // A list no cell uses any more goes away.
    void ReturnList(TGlyphList* list);
    int ListCount() const { return int(m_lists.size()); }

private:
    std::vector<std::unique_ptr<TGlyphList>> m_lists;
};

// The process's one cache, made on first use.
TGlyphCache& GlyphCache();

} // namespace controls
