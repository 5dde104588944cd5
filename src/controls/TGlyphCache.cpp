#include "controls/TGlyphCache.h"

#include <algorithm>

namespace controls {

namespace gdi = platform::gdi;

int TGlyphList::AddMasked(const gdi::Bitmap& image, std::uint32_t maskColor) {
    size_t index = 0;
    while (index < m_slots.size() && m_slots[index].used)
        ++index;
    if (index == m_slots.size())
        m_slots.emplace_back();
    Slot& slot = m_slots[index];
    slot.image = gdi::Bitmap(m_width, m_height, 0);
    slot.mask = gdi::Bitmap(m_width, m_height, 0xFFFFFF);
    for (int y = 0; y < m_height && y < image.Height(); ++y)
        for (int x = 0; x < m_width && x < image.Width(); ++x) {
            std::uint32_t w = image.Word(x, y) & 0xFFFFFF;
            slot.image.Row(y)[x] = w;
            if (w != (maskColor & 0xFFFFFF))
                slot.mask.Row(y)[x] = 0;
        }
    slot.used = true;
    ++m_count;
    return int(index);
}

void TGlyphList::Delete(int index) {
    if (index < 0 || size_t(index) >= m_slots.size() || !m_slots[size_t(index)].used)
        return;
    m_slots[size_t(index)] = Slot{};
    --m_count;
}

void TGlyphList::Draw(gdi::DeviceContext& dc, int index, int x, int y, bool transparent,
                      gdi::ColorRef background) const {
    if (index < 0 || size_t(index) >= m_slots.size() || !m_slots[size_t(index)].used)
        return;
    const Slot& slot = m_slots[size_t(index)];
    gdi::Rect dest{x, y, x + m_width, y + m_height};
    if (!transparent)
        dc.FillRect(dest, gdi::BrushSpec{gdi::BrushStyle::Solid, background});
    dc.MaskBlt(dest, slot.image, slot.mask, gdi::Rect{0, 0, m_width, m_height});
}

gdi::Bitmap TGlyphList::Cell(int index, std::uint32_t background) const {
    gdi::Bitmap out(m_width, m_height, background);
    if (index < 0 || size_t(index) >= m_slots.size() || !m_slots[size_t(index)].used)
        return out;
    const Slot& slot = m_slots[size_t(index)];
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x)
            if ((slot.mask.Word(x, y) & 0xFFFFFF) == 0)
                out.Row(y)[x] = slot.image.Word(x, y);
    return out;
}

TGlyphList* TGlyphCache::GetList(int width, int height) {
    for (auto& list : m_lists)
        if (list->Width() == width && list->Height() == height)
            return list.get();
    m_lists.push_back(std::make_unique<TGlyphList>(width, height));
    return m_lists.back().get();
}

void TGlyphCache::ReturnList(TGlyphList* list) {
    if (list && list->Count() == 0)
        std::erase_if(m_lists, [list](const auto& l) { return l.get() == list; });
}

TGlyphCache& GlyphCache() {
    static TGlyphCache cache;
    return cache;
}

} // namespace controls
