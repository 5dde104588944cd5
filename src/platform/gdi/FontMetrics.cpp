#include "platform/gdi/FontMetrics.h"

#include <dlfcn.h>
#include <pango/pangocairo.h>
#include <pango/pangofc-font.h>

namespace platform::gdi {

namespace {

// The font's own metrics before pango adds the average widths: what pango's metrics start from.
// Exported by pangoft2 but declared in none of its headers, so it is looked up; without it
// pango's full metrics serve.
using BaseMetricsFn = PangoFontMetrics* (*)(PangoFcFont*, PangoContext*);
BaseMetricsFn BaseMetrics() {
    static const auto fn = reinterpret_cast<BaseMetricsFn>(
        dlsym(RTLD_DEFAULT, "pango_fc_font_create_base_metrics_for_context"));
    return fn;
}

gboolean TakeFirst(PangoFontset*, PangoFont* font, gpointer data) {
    *static_cast<PangoFont**>(data) = PANGO_FONT(g_object_ref(font));
    return TRUE; // stops at the first, as pango's metrics do
}

FontCell FromPango(PangoFontMetrics* m) {
    FontCell cell{pango_font_metrics_get_ascent(m), pango_font_metrics_get_descent(m)};
    pango_font_metrics_unref(m);
    return cell;
}

// Whether pango lays the font out with hinted metrics: then its metrics are whole pixels,
// rounded up.
bool HintedMetrics(PangoFont* font) {
    if (!PANGO_IS_CAIRO_FONT(font))
        return false;
    cairo_scaled_font_t* scaled = pango_cairo_font_get_scaled_font(PANGO_CAIRO_FONT(font));
    if (!scaled)
        return false;
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_scaled_font_get_font_options(scaled, options);
    bool hinted = cairo_font_options_get_hint_metrics(options) != CAIRO_HINT_METRICS_OFF;
    cairo_font_options_destroy(options);
    return hinted;
}

// Pango adjusts a font's base metrics for a transformed context or a gravity other than south;
// our contexts have neither, and anything else takes pango's own way.
bool PlainContext(PangoContext* context) {
    const PangoMatrix* matrix = pango_context_get_matrix(context);
    bool identity = !matrix || (matrix->xx == 1 && matrix->xy == 0 && matrix->yx == 0 &&
                                matrix->yy == 1 && matrix->x0 == 0 && matrix->y0 == 0);
    return identity && pango_context_get_gravity(context) == PANGO_GRAVITY_SOUTH;
}

} // namespace

FontCell LoadFontCell(PangoContext* context, const PangoFontDescription* desc) {
    if (!PlainContext(context) || !BaseMetrics())
        return FromPango(pango_context_get_metrics(context, desc, nullptr));
    PangoFontset* fontset = pango_font_map_load_fontset(
        pango_context_get_font_map(context), context, desc, pango_context_get_language(context));
    PangoFont* first = nullptr;
    if (fontset) {
        pango_fontset_foreach(fontset, TakeFirst, &first);
        g_object_unref(fontset);
    }
    if (!first)
        return FromPango(pango_context_get_metrics(context, desc, nullptr));
    FontCell cell;
    if (!PANGO_IS_FC_FONT(first)) {
        cell = FromPango(pango_context_get_metrics(context, desc, nullptr));
    } else {
        cell = FromPango(BaseMetrics()(PANGO_FC_FONT(first), context));
        if (HintedMetrics(first))
            cell = FontCell{PANGO_UNITS_CEIL(cell.ascent), PANGO_UNITS_CEIL(cell.descent)};
    }
    g_object_unref(first);
    return cell;
}

} // namespace platform::gdi
