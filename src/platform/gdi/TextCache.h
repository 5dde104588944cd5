#pragma once
// Private to src/platform/gdi: fonts as fontconfig chooses them, shaped by HarfBuzz and drawn by
// cairo, kept between drawing calls and between device contexts.
//
// Every text the program draws is one line in one font (DrawText breaks lines itself), so a text
// is its runs of glyphs: one per font it needs (a character the chosen font lacks takes the
// first of fontconfig's other fonts for the family that has it) and per script. Shaping a label
// costs far more than drawing it, and a chart or a calendar draws the same few texts in the same
// few fonts at every paint, so shaped texts are kept under (font, text), and fonts under the
// setup they were made for: a setup is the font options of one kind of target, so a text shaped
// for a hinted image is never reused on an unhinted printer page.
#include <cairo.h>
#include <hb.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gdi/GdiTypes.h"
#include "platform/gdi/TextCacheCounts.h"

namespace platform::gdi {

// Sizes, advances and offsets in 1/1024 pixel, as the shaper is asked for them.
constexpr int kTextUnits = 1024;

// The font options of one kind of target: the target surface's, overridden by ours (hinted
// metrics on screens, bitmaps and metafiles; the outlines' own on printer pages).
struct TextSetup {
    TextSetup() = default;
    ~TextSetup();
    TextSetup(const TextSetup&) = delete;
    TextSetup& operator=(const TextSetup&) = delete;

    std::uint64_t id = 0;
    cairo_font_options_t* surfaceOptions = nullptr; // the target surface's, at creation
    cairo_font_options_t* drawingOptions = nullptr; // the cairo context's, at creation
    cairo_font_options_t* fontOptions = nullptr;    // what fonts are made with
    bool hinted = false;
};

class FontFace;   // one font file as fontconfig chose it (TextFonts.cpp)
class FontChoice; // a family and style: the chosen face and the others in fontconfig's order

// A face at one size: what cairo draws it with and what HarfBuzz shapes it with.
struct SizedFace {
    SizedFace(std::shared_ptr<const FontFace> face, const TextSetup& setup, int size);
    ~SizedFace();
    SizedFace(const SizedFace&) = delete;
    SizedFace& operator=(const SizedFace&) = delete;

    std::shared_ptr<const FontFace> face;
    cairo_scaled_font_t* scaled = nullptr;
    hb_font_t* shaper = nullptr;
};

// A font realised in one setup: its faces at the size, its metrics and its lines (underline,
// strike-out), whose places are in pixels from the baseline, downwards.
struct TextFont {
    TextFont() = default;
    ~TextFont();
    TextFont(const TextFont&) = delete;
    TextFont& operator=(const TextFont&) = delete;

    // The face to draw `c` with: the first of the choice's faces that has it, or the first face.
    const SizedFace& FaceFor(char32_t c) const;

    std::uint64_t id = 0;
    std::shared_ptr<const TextSetup> setup;
    std::shared_ptr<const FontChoice> choice;
    int size = 0; // the em, in text units
    std::shared_ptr<const SizedFace> primary;
    TextMetrics metrics;
    bool underline = false;
    bool strikeOut = false;
    double underlineTop = 0, underlineHeight = 0;
    double strikeOutTop = 0, strikeOutHeight = 0;

private:
    mutable std::vector<std::shared_ptr<const SizedFace>> m_others; // made as characters need
};

// The glyphs of a shaped text, ready for cairo, with the text they stand for (pages and
// recordings keep it, so that it can be searched and copied).
class GlyphRuns {
public:
    struct Glyph {
        unsigned long index;
        int x; // from the run's origin: the glyphs before it and its own offset (text units)
        int y; // its own vertical offset, downwards (text units)
    };
    struct Run {
        cairo_scaled_font_t* font; // referenced
        int x;                     // origin from the text's start (text units)
        std::size_t textStart, textLength;
        std::vector<Glyph> glyphs;
        std::vector<cairo_text_cluster_t> clusters;
    };
    struct Line {
        double top, height; // from the baseline, pixels
    };

    GlyphRuns() = default;
    ~GlyphRuns();
    GlyphRuns(const GlyphRuns&) = delete;
    GlyphRuns& operator=(const GlyphRuns&) = delete;

    // Shows the glyphs with the current point at the text's baseline start; with `keepText` the
    // characters go with them. Lines (underline, strike-out) are `width` pixels long.
    void Show(cairo_t* cr, bool keepText, double width) const;

    std::string text;
    std::vector<Run> runs;
    std::vector<Line> lines;
};

// A text shaped in one font. Shares its glyphs with the cache, so an entry the cache drops
// meanwhile stays valid for the holder.
class ShapedText {
public:
    ShapedText() = default;
    ShapedText(int width, std::shared_ptr<const GlyphRuns> runs)
        : m_width(width), m_runs(std::move(runs)) {}

    int Width() const { return m_width; } // logical width, whole pixels
    // Shows the text with the current point at the start of its baseline (the font's ascent
    // below the line's top).
    void Show(cairo_t* cr, bool keepText) const;
    const GlyphRuns* Runs() const { return m_runs.get(); }

private:
    int m_width = 0;
    std::shared_ptr<const GlyphRuns> m_runs;
};

// The setup for drawing text through `cr` (whose target surface is asked for its options), with
// hinted metrics (screen, bitmaps, metafiles) or the outlines' own (printer pages).
std::shared_ptr<const TextSetup> TextSetupFor(cairo_t* cr, bool hinted);
// `spec` realised in `setup` at `ppi` pixels per inch.
std::shared_ptr<const TextFont> RealizeTextFont(const std::shared_ptr<const TextSetup>& setup,
                                                const FontSpec& spec, int ppi);
// `text` shaped in `font`; short texts come from (and go to) a bounded most-recently-used cache.
ShapedText ShapeText(const TextFont& font, std::string_view text);

} // namespace platform::gdi
