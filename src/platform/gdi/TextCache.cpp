#include "platform/gdi/TextCache.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <list>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/gdi/TextFonts.h"
#include "rtl/Utf8.h"

namespace platform::gdi {

TextSetup::~TextSetup() {
    if (surfaceOptions)
        cairo_font_options_destroy(surfaceOptions);
    if (drawingOptions)
        cairo_font_options_destroy(drawingOptions);
    if (fontOptions)
        cairo_font_options_destroy(fontOptions);
}

GlyphRuns::~GlyphRuns() {
    for (Run& run : runs)
        cairo_scaled_font_destroy(run.font);
}

void GlyphRuns::Show(cairo_t* cr, bool keepText, double width) const {
    double originX = 0, originY = 0;
    cairo_get_current_point(cr, &originX, &originY);
    std::vector<cairo_glyph_t> out;
    for (const Run& run : runs) {
        double baseX = originX + double(run.x) / kTextUnits;
        out.clear();
        for (const Glyph& g : run.glyphs)
            out.push_back(cairo_glyph_t{g.index, baseX + double(g.x) / kTextUnits,
                                        g.y == 0 ? originY : originY + double(g.y) / kTextUnits});
        cairo_set_scaled_font(cr, run.font);
        if (keepText && !run.clusters.empty())
            cairo_show_text_glyphs(cr, text.data() + run.textStart, int(run.textLength), out.data(),
                                   int(out.size()), run.clusters.data(), int(run.clusters.size()),
                                   cairo_text_cluster_flags_t(0));
        else if (!out.empty())
            cairo_show_glyphs(cr, out.data(), int(out.size()));
    }
    for (const Line& line : lines) {
        cairo_new_path(cr);
        cairo_rectangle(cr, originX, originY + line.top, width, line.height);
        cairo_fill(cr);
    }
    cairo_move_to(cr, originX, originY);
}

void ShapedText::Show(cairo_t* cr, bool keepText) const {
    if (m_runs)
        m_runs->Show(cr, keepText, m_width);
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
    int width = 0;
    std::shared_ptr<const GlyphRuns> runs;
};

// One per thread: fonts and their faces are not shared between threads.
class TextCache {
public:
    TextCache() { Alive() = true; }
    ~TextCache() { Alive() = false; }
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
    // Keeps a new entry, dropping the least recently used beyond the bound.
    void AddText(std::uint64_t fontId, std::string_view text, const TextEntry& shaped) {
        MakeKey(fontId, text);
        m_texts.push_front(TextEntry{m_key, shaped.width, shaped.runs});
        m_index.emplace(std::string_view(m_texts.front().key), m_texts.begin());
        if (m_texts.size() > MaxCachedTexts) {
            m_index.erase(std::string_view(m_texts.back().key));
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

std::shared_ptr<TextSetup> MakeSetup(cairo_font_options_t* surface, cairo_font_options_t* drawing,
                                     bool hinted) {
    auto setup = std::make_shared<TextSetup>();
    setup->surfaceOptions = surface;
    setup->drawingOptions = drawing;
    setup->hinted = hinted;
    cairo_font_options_t* ours = cairo_font_options_create();
    // Screen text is hinted, and so is a metafile's: a recording is laid out (label widths,
    // wrapping, placement) with the screen's measurements, so that what was designed on screen
    // fits the same way when it is recorded for the printer. Only printer pages, at printer
    // resolution, use the outlines' own metrics.
    if (hinted) {
        cairo_font_options_set_antialias(ours, CAIRO_ANTIALIAS_GRAY);
        cairo_font_options_set_hint_style(ours, CAIRO_HINT_STYLE_SLIGHT);
        cairo_font_options_set_hint_metrics(ours, CAIRO_HINT_METRICS_ON);
    } else {
        cairo_font_options_set_hint_style(ours, CAIRO_HINT_STYLE_NONE);
        cairo_font_options_set_hint_metrics(ours, CAIRO_HINT_METRICS_OFF);
    }
    // The surface's options, then ours where we set one.
    setup->fontOptions = cairo_font_options_copy(surface);
    cairo_font_options_merge(setup->fontOptions, ours);
    cairo_font_options_destroy(ours);
    return setup;
}

// Characters that never choose a font of their own: spaces, controls and the invisible
// formatting characters keep the font of the characters around them.
bool KeepsFont(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0xA0) || c == 0x1680 || (c >= 0x2000 && c <= 0x200F) ||
           (c >= 0x2028 && c <= 0x202F) || (c >= 0x205F && c <= 0x2064) || c == 0x3000 ||
           (c >= 0xFE00 && c <= 0xFE0F) || c == 0xFEFF || (c >= 0xE0100 && c <= 0xE01EF);
}

bool SharesScript(hb_script_t s) {
    return s == HB_SCRIPT_COMMON || s == HB_SCRIPT_INHERITED || s == HB_SCRIPT_UNKNOWN;
}

// A stretch of the text in one face and one script.
struct Item {
    const SizedFace* face;
    hb_script_t script;
    std::size_t start, end; // bytes
};

// Splits the text where its script or its face changes. Characters every script uses (digits,
// punctuation, spaces) go with the script before them, or the first one after them at the start.
std::vector<Item> Itemize(const TextFont& font, std::string_view text) {
    std::vector<Item> items;
    hb_unicode_funcs_t* unicode = hb_unicode_funcs_get_default();
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t start = pos;
        char32_t c = rtl::NextUtf8(text, pos);
        hb_script_t script = hb_unicode_script(unicode, hb_codepoint_t(c));
        const SizedFace* face =
            items.empty() || !KeepsFont(c) ? &font.FaceFor(c) : items.back().face;
        if (!items.empty()) {
            Item& last = items.back();
            bool sameScript = SharesScript(script) || script == last.script;
            if (SharesScript(last.script) && !SharesScript(script)) {
                // The first real script names the stretch of shared characters before it.
                last.script = script;
                sameScript = true;
            }
            if (sameScript && face == last.face) {
                last.end = pos;
                continue;
            }
            if (SharesScript(script))
                script = last.script;
        }
        items.push_back(Item{face, script, start, pos});
    }
    return items;
}

bool WellFormed(std::string_view text) {
    for (std::size_t pos = 0; pos < text.size();) {
        std::size_t start = pos;
        if (rtl::NextUtf8(text, pos) == rtl::kReplacementCharacter && pos - start == 1)
            return false; // a malformed byte (the character itself takes three)
    }
    return true;
}

// The glyphs of one item, appended to `runs` as a run starting `x` units from the text's start;
// returns the item's advance.
int ShapeItem(const Item& item, std::string_view text, int x, hb_buffer_t* buffer,
              GlyphRuns& runs) {
    hb_buffer_clear_contents(buffer);
    hb_buffer_set_direction(buffer, HB_DIRECTION_LTR);
    hb_buffer_set_script(buffer, item.script);
    static const hb_language_t undetermined = hb_language_from_string("und", -1);
    hb_buffer_set_language(buffer, undetermined);
    hb_buffer_set_cluster_level(buffer, HB_BUFFER_CLUSTER_LEVEL_MONOTONE_CHARACTERS);
    unsigned flags = HB_BUFFER_FLAG_DEFAULT;
    if (item.start == 0)
        flags |= HB_BUFFER_FLAG_BOT;
    if (item.end == text.size())
        flags |= HB_BUFFER_FLAG_EOT;
    hb_buffer_set_flags(buffer, hb_buffer_flags_t(flags));
    constexpr hb_codepoint_t invisible = 0x0FFFFFFF; // kept for its advance, never drawn
    hb_buffer_set_invisible_glyph(buffer, invisible);
    hb_buffer_add_utf8(buffer, text.data(), int(text.size()), unsigned(item.start),
                       int(item.end - item.start));
    hb_shape(item.face->shaper, buffer, nullptr, 0);
    unsigned count = 0;
    const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buffer, &count);
    const hb_glyph_position_t* position = hb_buffer_get_glyph_positions(buffer, &count);
    GlyphRuns::Run run{cairo_scaled_font_reference(item.face->scaled),
                       x,
                       item.start,
                       item.end - item.start,
                       {},
                       {}};
    // Positions in whole pixels, as every target lays text out.
    auto round = [](int units) { return (units + kTextUnits / 2) & ~(kTextUnits - 1); };
    int advance = 0;
    for (unsigned i = 0; i < count; ++i) {
        if (info[i].codepoint != invisible)
            run.glyphs.push_back(GlyphRuns::Glyph{info[i].codepoint,
                                                  advance + round(position[i].x_offset),
                                                  round(-position[i].y_offset)});
        // A cluster's bytes run up to the next cluster's first (the last, to the item's end).
        if (i == 0 || info[i].cluster != info[i - 1].cluster) {
            if (!run.clusters.empty())
                run.clusters.back().num_bytes = int(info[i].cluster - info[i - 1].cluster);
            run.clusters.push_back(cairo_text_cluster_t{0, 0});
        }
        run.clusters.back().num_glyphs += info[i].codepoint != invisible;
        advance += round(position[i].x_advance);
    }
    if (!run.clusters.empty())
        run.clusters.back().num_bytes = int(item.end - info[count - 1].cluster);
    // cairo takes the characters only as well-formed UTF-8 with clusters of a glyph or a byte at
    // least, and refuses the whole drawing context otherwise; such a run goes without its text.
    bool keepable = WellFormed(text.substr(item.start, item.end - item.start));
    for (const cairo_text_cluster_t& cl : run.clusters)
        keepable = keepable && (cl.num_bytes > 0 || cl.num_glyphs > 0);
    if (!keepable)
        run.clusters.clear();
    runs.runs.push_back(std::move(run));
    return advance;
}

TextEntry Shape(const TextFont& font, std::string_view text) {
    auto runs = std::make_shared<GlyphRuns>();
    runs->text.assign(text);
    thread_local struct Buffer {
        hb_buffer_t* buffer = hb_buffer_create();
        ~Buffer() { hb_buffer_destroy(buffer); }
    } shaping;
    int x = 0;
    for (const Item& item : Itemize(font, runs->text))
        x += ShapeItem(item, runs->text, x, shaping.buffer, *runs);
    int width = int(std::lround(double(x) / kTextUnits));
    if (font.underline)
        runs->lines.push_back(GlyphRuns::Line{font.underlineTop, font.underlineHeight});
    if (font.strikeOut)
        runs->lines.push_back(GlyphRuns::Line{font.strikeOutTop, font.strikeOutHeight});
    return TextEntry{{}, width, std::move(runs)};
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
    std::shared_ptr<TextSetup> setup = MakeSetup(surface, drawing, hinted);
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
        return MakeTextFont(setup, spec, ppi);
    FontKey key{setup->id, spec.name,   spec.height,    spec.pointSize, ppi,
                spec.bold, spec.italic, spec.underline, spec.strikeOut};
    if (auto found = cache->FindFont(key))
        return found;
    std::shared_ptr<TextFont> font = MakeTextFont(setup, spec, ppi);
    if (!font)
        return nullptr;
    font->id = cache->NewId();
    cache->AddFont(std::move(key), font);
    return font;
}

ShapedText ShapeText(const TextFont& font, std::string_view text) {
    TextCache* cache = Cache();
    bool keep = cache && font.id != 0 && text.size() <= MaxCachedTextBytes;
    if (keep) {
        if (const TextEntry* e = cache->FindText(font.id, text))
            return ShapedText(e->width, e->runs);
    }
    TextEntry shaped = Shape(font, text);
    if (keep)
        cache->AddText(font.id, text, shaped);
    return ShapedText(shaped.width, std::move(shaped.runs));
}

TextCacheCounts CurrentTextCacheCounts() {
    TextCache* cache = Cache();
    return cache ? cache->Counts() : TextCacheCounts{};
}

} // namespace platform::gdi
