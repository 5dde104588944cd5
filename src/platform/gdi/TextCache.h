#pragma once
// Private to src/platform/gdi: pango contexts, realised fonts and laid-out texts kept between
// drawing calls and between device contexts.
//
// Shaping a label costs far more than drawing it, and a chart or a calendar draws the same few
// texts in the same few fonts at every paint. A laid-out text depends on the pango context it was
// made in (font options, resolution, matrix), the font and the text, and on nothing else, so it is
// kept under exactly that key: contexts are shared only by targets whose options agree in full, so
// a layout made for a hinted image is never reused on an unhinted printer page.
#include <cairo.h>
#include <pango/pangocairo.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/gdi/GdiTypes.h"
#include "platform/gdi/TextCacheCounts.h"

namespace platform::gdi {

// A pango context made as pango_cairo_create_layout makes one on a target (the surface's font
// options decide, among others, whether glyph positions are rounded), then given our own font
// options and 72 dpi so that sizes are in device pixels.
struct TextSetup {
    TextSetup() = default;
    ~TextSetup();
    TextSetup(const TextSetup&) = delete;
    TextSetup& operator=(const TextSetup&) = delete;

    std::uint64_t id = 0;
    PangoContext* context = nullptr;
    cairo_font_options_t* surfaceOptions = nullptr; // the target surface's, at creation
    cairo_font_options_t* drawingOptions = nullptr; // the cairo context's, at creation
    bool hinted = false;
};

// A font realised in one setup: its description at the pixel size, its metrics and the
// attributes (underline, strike-out) every layout in it carries.
struct TextFont {
    TextFont() = default;
    ~TextFont();
    TextFont(const TextFont&) = delete;
    TextFont& operator=(const TextFont&) = delete;

    std::uint64_t id = 0;
    std::shared_ptr<const TextSetup> setup;
    PangoFontDescription* description = nullptr;
    PangoAttrList* attributes = nullptr;
    bool plain = true; // no underline or strike-out: `attributes` is empty
    TextMetrics metrics;
};

// The glyphs of a one-line text without attributes, as pango's cairo renderer hands them to
// cairo_show_glyphs: drawing a label on an image then skips the renderer's walk over lines, runs
// and attributes, which costs more than the glyphs themselves. Positions are pango units.
class GlyphRuns {
public:
    struct Glyph {
        unsigned long index;
        int x; // from the run's origin: the glyphs before it and its own offset
        int y; // its own vertical offset
    };
    struct Run {
        cairo_scaled_font_t* font; // referenced
        int x, y;                  // origin from the layout's: the line's left and baseline
        std::vector<Glyph> glyphs;
    };
    GlyphRuns() = default;
    ~GlyphRuns();
    GlyphRuns(const GlyphRuns&) = delete;
    GlyphRuns& operator=(const GlyphRuns&) = delete;

    // The runs of `layout`, or null when it needs pango's renderer (more than one line,
    // attributes, glyphs a font lacks, fonts that are not cairo's).
    static std::shared_ptr<const GlyphRuns> Of(PangoLayout* layout, bool plainFont);
    // Shows the glyphs with the current point as the layout's top left, exactly where
    // pango_cairo_show_layout puts them.
    void Show(cairo_t* cr) const;

private:
    std::vector<Run> m_runs;
};

// A text laid out in one font. Holds its own reference to the layout, so an entry the cache drops
// meanwhile stays valid for the holder.
class ShapedText {
public:
    ShapedText() = default;
    ShapedText(PangoLayout* layout, int width, double baseline,
               std::shared_ptr<const GlyphRuns> runs = nullptr);
    ~ShapedText();
    ShapedText(ShapedText&& other) noexcept;
    ShapedText& operator=(ShapedText&& other) noexcept;
    ShapedText(const ShapedText&) = delete;
    ShapedText& operator=(const ShapedText&) = delete;

    PangoLayout* Layout() const { return m_layout; }
    int Width() const { return m_width; }          // logical width, whole pixels
    double Baseline() const { return m_baseline; } // from the layout's top, pixels
    // The layout's glyphs ready for cairo, or null (draw the layout through pango).
    const GlyphRuns* Runs() const { return m_runs.get(); }
    const std::shared_ptr<const GlyphRuns>& RunsShared() const { return m_runs; }

private:
    PangoLayout* m_layout = nullptr;
    int m_width = 0;
    double m_baseline = 0;
    std::shared_ptr<const GlyphRuns> m_runs;
};

// The setup for drawing text through `cr` (whose target surface is asked for its options), with
// hinted metrics (screen, bitmaps, metafiles) or the outlines' own (printer pages).
std::shared_ptr<const TextSetup> TextSetupFor(cairo_t* cr, bool hinted);
// `spec` realised in `setup` at `ppi` pixels per inch.
std::shared_ptr<const TextFont> RealizeTextFont(const std::shared_ptr<const TextSetup>& setup,
                                                const FontSpec& spec, int ppi);
// `text` laid out in `font`; short texts come from (and go to) a bounded most-recently-used cache.
ShapedText ShapeText(const TextFont& font, std::string_view text);

} // namespace platform::gdi
