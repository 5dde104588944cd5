#pragma once
// Private to src/platform/gdi: the font files text is drawn in (TextCache.h).
#include <fontconfig/fontconfig.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/TextCache.h"

namespace platform::gdi {

// One font file as fontconfig prepared it for a request (the request's options, antialiasing
// and hinting among them, are in the pattern): cairo's face for it and HarfBuzz's.
class FontFace {
public:
    explicit FontFace(FcPattern* prepared); // takes the pattern
    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    bool Has(char32_t c) const;
    bool Scalable() const { return m_scalable; }
    cairo_font_face_t* Drawing() const { return m_drawing; }
    hb_face_t* Shaping() const { return m_shaping; }

private:
    FcPattern* m_pattern;
    FcCharSet* m_charset = nullptr; // the pattern's
    bool m_scalable = true;
    cairo_font_face_t* m_drawing = nullptr;
    hb_face_t* m_shaping = nullptr;
};

// A family and style as requested: the face fontconfig matched, and on demand its sorted list of
// the others, for characters the first lacks.
class FontChoice {
public:
    FontChoice(FcPattern* request, std::shared_ptr<const FontFace> first); // takes the request
    ~FontChoice();
    FontChoice(const FontChoice&) = delete;
    FontChoice& operator=(const FontChoice&) = delete;

    const std::shared_ptr<const FontFace>& First() const { return m_first; }
    // The first face in fontconfig's order that has `c`, or null.
    std::shared_ptr<const FontFace> FirstWith(char32_t c) const;

private:
    FcPattern* m_request;
    std::shared_ptr<const FontFace> m_first;
    mutable bool m_sortDone = false;
    mutable FcFontSet* m_sorted = nullptr;
    mutable std::vector<std::shared_ptr<const FontFace>> m_others; // by place in m_sorted
};

struct FontCell {
    int ascent = 0;  // text units
    int descent = 0; // text units
};

// `spec` realised in `setup` at `ppi` pixels per inch; null when no font at all is installed.
std::shared_ptr<TextFont> MakeTextFont(const std::shared_ptr<const TextSetup>& setup,
                                       const FontSpec& spec, int ppi);

} // namespace platform::gdi
