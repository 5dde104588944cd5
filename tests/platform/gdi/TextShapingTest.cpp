// Text is chosen, shaped and measured as pango, the text library most of the desktop draws with,
// lays it out on the same target with the same font options: the same font, the same glyphs at
// the same places, the same ascent and descent. Forms were laid out against those numbers; every
// label's width and placement depends on them.
#include <gtest/gtest.h>

#include <cairo-pdf.h>
#include <pango/pangocairo.h>

#include <cmath>
#include <string>
#include <vector>

#include "platform/gdi/FontSetUp.h"
#include "platform/gdi/TextCache.h"

using namespace platform::gdi;

namespace {

PangoContext* MakeContext(cairo_t* cr, bool hinted) {
    PangoContext* context = pango_cairo_create_context(cr);
    cairo_font_options_t* options = cairo_font_options_create();
    if (hinted) {
        cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
        cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
        cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    } else {
        cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
        cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    }
    pango_cairo_context_set_font_options(context, options);
    pango_cairo_context_set_resolution(context, 72.0);
    pango_context_set_language(context, pango_language_from_string("und"));
    cairo_font_options_destroy(options);
    return context;
}

struct Placed {
    unsigned long glyph;
    int x; // text units from the line's start
    bool operator==(const Placed&) const = default;
};

std::vector<Placed> PangoGlyphs(PangoLayout* layout) {
    std::vector<Placed> out;
    int x = 0;
    for (GSList* l = pango_layout_get_line_readonly(layout, 0)->runs; l; l = l->next) {
        const auto* item = static_cast<const PangoGlyphItem*>(l->data);
        for (int i = 0; i < item->glyphs->num_glyphs; ++i) {
            const PangoGlyphInfo& g = item->glyphs->glyphs[i];
            if (g.glyph != PANGO_GLYPH_EMPTY)
                out.push_back(Placed{g.glyph, x + g.geometry.x_offset});
            x += g.geometry.width;
        }
    }
    return out;
}

std::vector<Placed> OurGlyphs(const ShapedText& shaped) {
    std::vector<Placed> out;
    for (const GlyphRuns::Run& run : shaped.Runs()->runs)
        for (const GlyphRuns::Glyph& g : run.glyphs)
            out.push_back(Placed{g.index, run.x + g.x});
    return out;
}

} // namespace

TEST(TextShaping, FontsGlyphsAndMetricsAreThoseOfPangosLayout) {
    AwaitFontSetUp(); // both sides with the program's font configuration
    cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 4, 4);
    cairo_surface_t* page = cairo_pdf_surface_create_for_stream(nullptr, nullptr, 595, 842);
    const char* texts[] = {"Физический цикл", "Опасные дни: нет. 1 3 4 13 18 20 24",
                           "0,55 Wg AVA To. Yo", "Zorvane: Март 2000 г.", "-1,1", "“ffi” — №5", "Да ✓ ☺ ∑ ⅓"};
    for (cairo_surface_t* surface : {image, page}) {
        bool hinted = surface == image;
        cairo_t* cr = cairo_create(surface);
        PangoContext* context = MakeContext(cr, hinted);
        auto setup = TextSetupFor(cr, hinted);
        for (const char* family : {"Liberation Sans", "DejaVu Sans", "Liberation Serif", "Nope"})
            for (int size : {9, 11, 13, 29, 37})
                for (bool bold : {false, true}) {
                    FontSpec spec;
                    spec.name = family;
                    spec.height = -size;
                    spec.bold = bold;
                    auto font = RealizeTextFont(setup, spec, 96);
                    ASSERT_TRUE(font);
                    PangoFontDescription* desc = pango_font_description_new();
                    pango_font_description_set_family(desc, family);
                    pango_font_description_set_weight(desc, bold ? PANGO_WEIGHT_BOLD
                                                                 : PANGO_WEIGHT_NORMAL);
                    pango_font_description_set_absolute_size(desc, size * PANGO_SCALE);
                    std::string what = std::string(family) + " " + std::to_string(size) +
                                       (bold ? " bold" : "") + (hinted ? " hinted" : " page");
                    PangoFontMetrics* m = pango_context_get_metrics(context, desc, nullptr);
                    auto pixels = [](int units) { return int(std::lround(units / 1024.0)); };
                    EXPECT_EQ(font->metrics.ascent, pixels(pango_font_metrics_get_ascent(m)))
                        << what;
                    EXPECT_EQ(font->metrics.descent, pixels(pango_font_metrics_get_descent(m)))
                        << what;
                    pango_font_metrics_unref(m);
                    for (const char* text : texts) {
                        PangoLayout* layout = pango_layout_new(context);
                        pango_layout_set_font_description(layout, desc);
                        pango_layout_set_text(layout, text, -1);
                        PangoRectangle logical;
                        pango_layout_get_extents(layout, nullptr, &logical);
                        ShapedText shaped = ShapeText(*font, text);
                        EXPECT_EQ(shaped.Width(), pixels(logical.width)) << what << " " << text;
                        EXPECT_EQ(OurGlyphs(shaped), PangoGlyphs(layout)) << what << " " << text;
                        g_object_unref(layout);
                    }
                    pango_font_description_free(desc);
                }
        g_object_unref(context);
        cairo_destroy(cr);
    }
    cairo_surface_destroy(page);
    cairo_surface_destroy(image);
}
