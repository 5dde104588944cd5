#pragma once
// A font's ascent and descent as pango_context_get_metrics gives them, without what that call
// also does: shaping its language's sample sentence (twice) to find an average character width
// nobody reads. That work was the larger part of realising a font, once per font and size.
#include <pango/pango.h>

namespace platform::gdi {

struct FontCell {
    int ascent = 0;  // pango units
    int descent = 0; // pango units
};

// The first font of the fontset `desc` loads in `context` decides, as in pango's own metrics.
FontCell LoadFontCell(PangoContext* context, const PangoFontDescription* desc);

} // namespace platform::gdi
