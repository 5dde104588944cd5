// A font's ascent and descent, read from its first font alone, are pango's own metrics for the
// description, on hinted (screen) and unhinted (printer) contexts alike: every text placement
// and label height depends on them.
#include <gtest/gtest.h>

#include <pango/pangocairo.h>

#include "platform/gdi/FontMetrics.h"

using namespace platform::gdi;

namespace {

PangoContext* MakeContext(cairo_t* cr, bool hinted) {
    PangoContext* context = pango_cairo_create_context(cr);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_style(options,
                                      hinted ? CAIRO_HINT_STYLE_SLIGHT : CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options,
                                        hinted ? CAIRO_HINT_METRICS_ON : CAIRO_HINT_METRICS_OFF);
    pango_cairo_context_set_font_options(context, options);
    pango_cairo_context_set_resolution(context, 72.0);
    cairo_font_options_destroy(options);
    return context;
}

} // namespace

TEST(FontMetrics, FirstFontCellIsPangosMetrics) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 4, 4);
    cairo_t* cr = cairo_create(surface);
    for (bool hinted : {true, false}) {
        PangoContext* context = MakeContext(cr, hinted);
        for (const char* family : {"Liberation Sans", "DejaVu Sans", "Liberation Serif", "Nope"})
            for (double size : {9.0, 11.0, 13.0, 29.0, 37.5, 1000.0})
                for (PangoWeight weight : {PANGO_WEIGHT_NORMAL, PANGO_WEIGHT_BOLD}) {
                    PangoFontDescription* desc = pango_font_description_new();
                    pango_font_description_set_family(desc, family);
                    pango_font_description_set_weight(desc, weight);
                    pango_font_description_set_absolute_size(desc, size * PANGO_SCALE);
                    PangoFontMetrics* want = pango_context_get_metrics(context, desc, nullptr);
                    FontCell got = LoadFontCell(context, desc);
                    EXPECT_EQ(got.ascent, pango_font_metrics_get_ascent(want))
                        << family << " " << size << " " << weight << " hinted " << hinted;
                    EXPECT_EQ(got.descent, pango_font_metrics_get_descent(want))
                        << family << " " << size << " " << weight << " hinted " << hinted;
                    pango_font_metrics_unref(want);
                    pango_font_description_free(desc);
                }
        g_object_unref(context);
    }
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}
