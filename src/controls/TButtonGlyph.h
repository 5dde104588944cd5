#pragma once
// The glyph of a glyph button: the source bitmap of one to four cells side by side (up,
// disabled, down, exclusive), the disabled image built when the bitmap has no cell for it, the
// built cells kept in the shared cache, and the layout of glyph and caption on the button.
#include <memory>
#include <string>

#include "frame/TEvent.h"
#include "frame/graphics/TBitmap.h"
#include "frame/graphics/TCanvas.h"

namespace controls {

class TGlyphList;

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
ZORVANE_ENUM_TYPE(TButtonLayout, "blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom")

enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };

// Where glyph and caption go on a button.
struct TButtonLayoutResult {
    frame::TPoint glyphPos;
    frame::TRect textBounds;
};

// Lays out a glyph of `glyphSize` and a caption of `textSize` in `client`, moved by `offset`.
// Margin −1 centres the group; spacing −1 centres the caption in the space the glyph leaves.
TButtonLayoutResult CalcButtonLayout(const frame::TRect& client, frame::TPoint offset,
                                     platform::gdi::Size glyphSize, platform::gdi::Size textSize,
                                     TButtonLayout layout, int margin, int spacing,
                                     bool rightToLeft);

class TButtonGlyph : public frame::TObject {
public:
    TButtonGlyph();
    ~TButtonGlyph() override;
    TButtonGlyph(const TButtonGlyph&) = delete;
    TButtonGlyph& operator=(const TButtonGlyph&) = delete;

    frame::TBitmap* Glyph() const { return m_original.get(); }
    // Copies the bitmap and, when its width is a whole number of cells below five, takes that
    // number of cells.
    void SetGlyph(frame::TBitmap* value);
    int NumGlyphs() const { return m_numGlyphs; }
    // Kept within 1 to 4.
    void SetNumGlyphs(int value);
    frame::TColor TransparentColor() const { return m_transparentColor; }
    // The cell size, (0, 0) when there is nothing to draw.
    platform::gdi::Size CellSize() const;
    // Drops the built cells (they are built again when drawn).
    void Invalidate();
    // The slot of the state's cell in the shared list, built on first use; −1 when empty.
    int CreateButtonGlyph(TButtonState state);
    // The built cell of a state, transparent pixels in `background` (for tests and tools).
    platform::gdi::Bitmap StateImage(TButtonState state, std::uint32_t background);

    // Draws glyph and caption on the canvas; returns the caption's rectangle.
    frame::TRect Draw(frame::TCanvas& canvas, const frame::TRect& client, frame::TPoint offset,
                      const std::string& caption, TButtonLayout layout, int margin, int spacing,
                      TButtonState state, bool transparent, unsigned textFlags);

    // Raised when the glyph or its number of cells changed.
    frame::TNotifyEvent OnChange;

private:
    void GlyphChanged(frame::TObject*);
    void DrawButtonGlyph(frame::TCanvas& canvas, frame::TPoint pos, TButtonState state,
                         bool transparent);
    void DrawButtonText(frame::TCanvas& canvas, const std::string& caption, frame::TRect bounds,
                        TButtonState state, unsigned textFlags);
    platform::gdi::Bitmap SourceCell(int cell) const;
    platform::gdi::Bitmap BuildDisabled(int sourceCell) const;

    std::unique_ptr<frame::TBitmap> m_original;
    int m_numGlyphs = 1;
    frame::TColor m_transparentColor = 0x008080;
    int m_indexes[4] = {-1, -1, -1, -1};
    TGlyphList* m_list = nullptr;
};

} // namespace controls
