#include "platform/gdi/TextCache.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <list>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/FontMetrics.h"
#include "platform/gdi/FontNames.h"
#include "platform/gdi/FontSetUp.h"

namespace platform::gdi {

TextSetup::~TextSetup() {
    if (context)
        g_object_unref(context);
    if (surfaceOptions)
        cairo_font_options_destroy(surfaceOptions);
    if (drawingOptions)
        cairo_font_options_destroy(drawingOptions);
}

TextFont::~TextFont() {
    if (description)
        pango_font_description_free(description);
    if (attributes)
        pango_attr_list_unref(attributes);
}

ShapedText::ShapedText(PangoLayout* layout, int width, double baseline,
                       std::shared_ptr<const GlyphRuns> runs)
    : m_layout(layout), m_width(width), m_baseline(baseline), m_runs(std::move(runs)) {}

ShapedText::~ShapedText() {
    if (m_layout)
        g_object_unref(m_layout);
}

ShapedText::ShapedText(ShapedText&& other) noexcept
    : m_layout(std::exchange(other.m_layout, nullptr)), m_width(other.m_width),
      m_baseline(other.m_baseline), m_runs(std::move(other.m_runs)) {}

ShapedText& ShapedText::operator=(ShapedText&& other) noexcept {
    if (this != &other) {
        if (m_layout)
            g_object_unref(m_layout);
        m_layout = std::exchange(other.m_layout, nullptr);
        m_width = other.m_width;
        m_baseline = other.m_baseline;
        m_runs = std::move(other.m_runs);
    }
    return *this;
}

GlyphRuns::~GlyphRuns() {
    for (Run& run : m_runs)
        cairo_scaled_font_destroy(run.font);
}

std::shared_ptr<const GlyphRuns> GlyphRuns::Of(PangoLayout* layout, bool plainFont) {
    if (!plainFont || pango_layout_get_line_count(layout) != 1)
        return nullptr;
    // The line's place as pango_renderer_draw_layout finds it.
    PangoLayoutIter* iter = pango_layout_get_iter(layout);
    PangoRectangle logical;
    pango_layout_iter_get_line_extents(iter, nullptr, &logical);
    int baseline = pango_layout_iter_get_baseline(iter);
    pango_layout_iter_free(iter);
    auto runs = std::make_shared<GlyphRuns>();
    int runX = logical.x;
    for (GSList* l = pango_layout_get_line_readonly(layout, 0)->runs; l; l = l->next) {
        const auto* item = static_cast<const PangoGlyphItem*>(l->data);
        PangoFont* font = item->item->analysis.font;
        if (item->y_offset != 0 || item->start_x_offset != 0 || item->end_x_offset != 0 ||
            !PANGO_IS_CAIRO_FONT(font))
            return nullptr;
        cairo_scaled_font_t* scaled = pango_cairo_font_get_scaled_font(PANGO_CAIRO_FONT(font));
        if (!scaled || cairo_scaled_font_status(scaled) != CAIRO_STATUS_SUCCESS)
            return nullptr;
        Run& run =
            runs->m_runs.emplace_back(Run{cairo_scaled_font_reference(scaled), runX, baseline, {}});
        const PangoGlyphString* glyphs = item->glyphs;
        int x = 0;
        for (int i = 0; i < glyphs->num_glyphs; ++i) {
            const PangoGlyphInfo& g = glyphs->glyphs[i];
            if (g.glyph & PANGO_GLYPH_UNKNOWN_FLAG)
                return nullptr; // pango draws a box with the code in it
            if (g.glyph != PANGO_GLYPH_EMPTY)
                run.glyphs.push_back(Glyph{g.glyph, x + g.geometry.x_offset, g.geometry.y_offset});
            x += g.geometry.width;
        }
        runX += x;
    }
    return runs;
}

void GlyphRuns::Show(cairo_t* cr) const {
    // The same arithmetic as pango's renderer, from the same current point, so that the glyphs
    // land on the same pixels.
    double originX = 0, originY = 0;
    cairo_get_current_point(cr, &originX, &originY);
    std::vector<cairo_glyph_t> out;
    for (const Run& run : m_runs) {
        double baseX = originX + double(run.x) / PANGO_SCALE;
        double baseY = originY + double(run.y) / PANGO_SCALE;
        out.clear();
        for (const Glyph& g : run.glyphs)
            out.push_back(cairo_glyph_t{g.index, baseX + double(g.x) / PANGO_SCALE,
                                        g.y == 0 ? baseY : baseY + double(g.y) / PANGO_SCALE});
        cairo_set_scaled_font(cr, run.font);
        cairo_show_glyphs(cr, out.data(), int(out.size()));
    }
}

namespace {

// What a realised font depends on besides its setup.
struct FontKey {
    std::uint64_t setup = 0;
    std::string name;
    int height = 0;
    int pointSize = 0;
    int ppi = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    bool operator==(const FontKey&) const = default;
};

struct FontKeyHash {
    std::size_t operator()(const FontKey& k) const {
        std::size_t h = std::hash<std::string>()(k.name);
        for (std::size_t v :
             {std::size_t(k.setup), std::size_t(unsigned(k.height)),
              std::size_t(unsigned(k.pointSize)), std::size_t(unsigned(k.ppi)),
              std::size_t(k.bold | k.italic << 1 | k.underline << 2 | k.strikeOut << 3)})
            h = h * 1000003u ^ v;
        return h;
    }
};

struct TextEntry {
    std::string key; // the font's id, then the text
    PangoLayout* layout = nullptr;
    int width = 0;
    double baseline = 0;
    std::shared_ptr<const GlyphRuns> runs;
};

// One per thread, as pango's default font map is.
class TextCache {
public:
    TextCache() { Alive() = true; }
    ~TextCache() {
        Alive() = false;
        for (TextEntry& e : m_texts)
            g_object_unref(e.layout);
    }
    TextCache(const TextCache&) = delete;
    TextCache& operator=(const TextCache&) = delete;

    // False once this thread's cache is gone (a drawing call from a late destructor).
    static bool& Alive() {
        thread_local bool alive = false;
        return alive;
    }

    std::uint64_t NewId() { return m_nextId++; }

    std::shared_ptr<const TextSetup> FindSetup(const cairo_font_options_t* surface,
                                               const cairo_font_options_t* drawing, bool hinted) {
        for (const auto& s : m_setups)
            if (s->hinted == hinted && cairo_font_options_equal(s->surfaceOptions, surface) &&
                cairo_font_options_equal(s->drawingOptions, drawing))
                return s;
        return nullptr;
    }
    void AddSetup(std::shared_ptr<const TextSetup> setup) {
        // Targets come in a handful of kinds; a long list would mean options nobody repeats.
        constexpr std::size_t maxSetups = 16;
        if (m_setups.size() >= maxSetups)
            m_setups.erase(m_setups.begin());
        m_setups.push_back(std::move(setup));
    }

    std::shared_ptr<const TextFont> FindFont(const FontKey& key) const {
        auto it = m_fonts.find(key);
        return it == m_fonts.end() ? nullptr : it->second;
    }
    void AddFont(FontKey key, std::shared_ptr<const TextFont> font) {
        // Contexts keep the fonts they use; a dropped entry only costs its realisation again.
        if (m_fonts.size() >= MaxCachedFonts)
            m_fonts.clear();
        m_fonts.emplace(std::move(key), std::move(font));
    }

    // The entry for (font, text), made the most recent; null when absent.
    const TextEntry* FindText(std::uint64_t fontId, std::string_view text) {
        MakeKey(fontId, text);
        auto it = m_index.find(std::string_view(m_key));
        if (it == m_index.end())
            return nullptr;
        m_texts.splice(m_texts.begin(), m_texts, it->second);
        return &*it->second;
    }
    // Keeps a new entry (the cache takes its own reference to the layout), dropping the least
    // recently used beyond the bound.
    void AddText(std::uint64_t fontId, std::string_view text, const ShapedText& shaped) {
        MakeKey(fontId, text);
        m_texts.push_front(TextEntry{m_key, PANGO_LAYOUT(g_object_ref(shaped.Layout())),
                                     shaped.Width(), shaped.Baseline(), shaped.RunsShared()});
        m_index.emplace(std::string_view(m_texts.front().key), m_texts.begin());
        if (m_texts.size() > MaxCachedTexts) {
            TextEntry& last = m_texts.back();
            m_index.erase(std::string_view(last.key));
            g_object_unref(last.layout);
            m_texts.pop_back();
        }
    }

    TextCacheCounts Counts() const { return {m_setups.size(), m_fonts.size(), m_texts.size()}; }

private:
    void MakeKey(std::uint64_t fontId, std::string_view text) {
        m_key.assign(reinterpret_cast<const char*>(&fontId), sizeof fontId);
        m_key.append(text);
    }

    std::uint64_t m_nextId = 1;
    std::vector<std::shared_ptr<const TextSetup>> m_setups;
    std::unordered_map<FontKey, std::shared_ptr<const TextFont>, FontKeyHash> m_fonts;
    std::list<TextEntry> m_texts; // most recently used first
    std::unordered_map<std::string_view, std::list<TextEntry>::iterator> m_index;
    std::string m_key; // reused for lookups
};

// This thread's cache, or null once it is gone.
TextCache* Cache() {
    thread_local TextCache cache;
    return TextCache::Alive() ? &cache : nullptr;
}

std::shared_ptr<TextSetup> MakeSetup(cairo_t* cr, cairo_font_options_t* surface,
                                     cairo_font_options_t* drawing, bool hinted) {
    auto setup = std::make_shared<TextSetup>();
    setup->surfaceOptions = surface;
    setup->drawingOptions = drawing;
    setup->hinted = hinted;
    AwaitFontSetUp(); // pango's font map must find fontconfig's set-up done, not start its own
    // Made without the page scale: metrics are then in device pixels, the unit every caller
    // works in.
    cairo_save(cr);
    cairo_identity_matrix(cr);
    setup->context = pango_cairo_create_context(cr);
    cairo_restore(cr);
    cairo_font_options_t* options = cairo_font_options_create();
    // Screen text is hinted, and so is a metafile's: a recording is laid out (label widths,
    // wrapping, placement) with the screen's measurements, so that what was designed on screen
    // fits the same way when it is recorded for the printer. Only printer pages, at printer
    // resolution, use the outlines' own metrics.
    if (hinted) {
        cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
        cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
        cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    } else {
        cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
        cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    }
    pango_cairo_context_set_font_options(setup->context, options);
    pango_cairo_context_set_resolution(setup->context, 72.0);
    // An undetermined language, which pango takes to include every script. With the locale's
    // (Russian) a Latin run of a label would be given a language of its own (English), and every
    // font would be found, sorted and loaded twice, once for each: a sorted font list and two
    // threads each time. Text is shaped the same; only the order of fallback fonts for
    // characters a font lacks no longer prefers the locale's language.
    pango_context_set_language(setup->context, pango_language_from_string("und"));
    cairo_font_options_destroy(options);
    return setup;
}

std::shared_ptr<TextFont> MakeFont(const std::shared_ptr<const TextSetup>& setup,
                                   const FontSpec& spec, int ppi) {
    auto font = std::make_shared<TextFont>();
    font->setup = setup;
    PangoFontDescription* desc = pango_font_description_new();
    pango_font_description_set_family(desc, ResolveFontFamily(spec.name).c_str());
    pango_font_description_set_weight(desc, spec.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(desc, spec.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    int height = spec.pointSize != 0 ? -MulDiv(spec.pointSize, ppi, 72) : spec.height;
    if (height == 0)
        height = -MulDiv(8, ppi, 72);
    PangoContext* context = setup->context;
    double em = std::abs(height);
    if (height > 0) {
        // A cell height: find the em size whose ascent + descent gives it.
        pango_font_description_set_absolute_size(desc, 1000.0 * PANGO_SCALE);
        FontCell m = LoadFontCell(context, desc);
        double cell = double(m.ascent + m.descent) / PANGO_SCALE;
        if (cell > 0)
            em = height * 1000.0 / cell;
    }
    pango_font_description_set_absolute_size(desc, std::max(1.0, em) * PANGO_SCALE);
    font->description = desc;
    FontCell m = LoadFontCell(context, desc);
    TextMetrics& metrics = font->metrics;
    metrics.ascent = int(std::lround(double(m.ascent) / PANGO_SCALE));
    metrics.descent = int(std::lround(double(m.descent) / PANGO_SCALE));
    metrics.height = metrics.ascent + metrics.descent;
    metrics.internalLeading = std::max(0, metrics.height - int(std::lround(em)));
    metrics.externalLeading = 0;
    metrics.maxCharWidth = int(std::lround(em));

    font->attributes = pango_attr_list_new();
    font->plain = !spec.underline && !spec.strikeOut;
    if (spec.underline)
        pango_attr_list_insert(font->attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    if (spec.strikeOut)
        pango_attr_list_insert(font->attributes, pango_attr_strikethrough_new(TRUE));
    return font;
}

} // namespace

std::shared_ptr<const TextSetup> TextSetupFor(cairo_t* cr, bool hinted) {
    cairo_font_options_t* surface = cairo_font_options_create();
    cairo_surface_get_font_options(cairo_get_target(cr), surface);
    cairo_font_options_t* drawing = cairo_font_options_create();
    cairo_get_font_options(cr, drawing);
    TextCache* cache = Cache();
    if (cache) {
        if (auto found = cache->FindSetup(surface, drawing, hinted)) {
            cairo_font_options_destroy(surface);
            cairo_font_options_destroy(drawing);
            return found;
        }
    }
    std::shared_ptr<TextSetup> setup = MakeSetup(cr, surface, drawing, hinted);
    if (cache) {
        setup->id = cache->NewId();
        cache->AddSetup(setup);
    }
    return setup;
}

std::shared_ptr<const TextFont> RealizeTextFont(const std::shared_ptr<const TextSetup>& setup,
                                                const FontSpec& spec, int ppi) {
    TextCache* cache = Cache();
    if (!cache)
        return MakeFont(setup, spec, ppi);
    FontKey key{setup->id, spec.name,   spec.height,    spec.pointSize, ppi,
                spec.bold, spec.italic, spec.underline, spec.strikeOut};
    if (auto found = cache->FindFont(key))
        return found;
    std::shared_ptr<TextFont> font = MakeFont(setup, spec, ppi);
    font->id = cache->NewId();
    cache->AddFont(std::move(key), font);
    return font;
}

ShapedText ShapeText(const TextFont& font, std::string_view text) {
    TextCache* cache = Cache();
    bool keep = cache && font.id != 0 && text.size() <= MaxCachedTextBytes;
    if (keep) {
        if (const TextEntry* e = cache->FindText(font.id, text))
            return ShapedText(PANGO_LAYOUT(g_object_ref(e->layout)), e->width, e->baseline,
                              e->runs);
    }
    PangoLayout* layout = pango_layout_new(font.setup->context);
    pango_layout_set_font_description(layout, font.description);
    pango_layout_set_attributes(layout, font.attributes);
    pango_layout_set_text(layout, text.data(), int(text.size()));
    PangoRectangle logical;
    pango_layout_get_extents(layout, nullptr, &logical);
    int width = int(std::lround(double(logical.width) / PANGO_SCALE));
    double baseline = double(pango_layout_get_baseline(layout)) / PANGO_SCALE;
    ShapedText shaped(layout, width, baseline, GlyphRuns::Of(layout, font.plain));
    if (keep)
        cache->AddText(font.id, text, shaped);
    return shaped;
}

TextCacheCounts CurrentTextCacheCounts() {
    TextCache* cache = Cache();
    return cache ? cache->Counts() : TextCacheCounts{};
}

} // namespace platform::gdi
