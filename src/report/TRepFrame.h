#pragma once
// The frame of the report, a band or a printable: which sides are drawn, in what colour, pen
// style and width (points of 1/72 inch; -1 draws one-pixel lines).
#include "frame/TEvent.h"
#include "frame/TPersistent.h"
#include "frame/graphics/GraphicsTypes.h"

namespace frame {
class TCanvas;
}

namespace report {

class TRepFrame : public frame::TPersistent {
public:
    ZORVANE_CLASS(TRepFrame)
    TRepFrame() = default;

    frame::TColor Color() const { return m_color; }
    void SetColor(frame::TColor v) { Set(m_color, v); }
    bool DrawTop() const { return m_drawTop; }
    void SetDrawTop(bool v) { Set(m_drawTop, v); }
    bool DrawBottom() const { return m_drawBottom; }
    void SetDrawBottom(bool v) { Set(m_drawBottom, v); }
    bool DrawLeft() const { return m_drawLeft; }
    void SetDrawLeft(bool v) { Set(m_drawLeft, v); }
    bool DrawRight() const { return m_drawRight; }
    void SetDrawRight(bool v) { Set(m_drawRight, v); }
    frame::TPenStyle Style() const { return m_style; }
    void SetStyle(frame::TPenStyle v) { Set(m_style, v); }
    int32_t Width() const { return m_width; }
    void SetWidth(int32_t v) { Set(m_width, v); }

    // At least one side is drawn.
    bool AnyFrame() const { return m_drawTop || m_drawBottom || m_drawLeft || m_drawRight; }
    // The line thickness in device pixels for `factor` device pixels per tenth of mm.
    int Thickness(long double factor) const;
    // Draws the sides around `rect` (device pixels); fx and fy are device pixels per tenth of
    // a millimetre across and down.
    void PaintIt(frame::TCanvas& canvas, const frame::TRect& rect, long double fx,
                 long double fy) const;

    void Assign(const frame::TPersistent* source) override;

    frame::TNotifyEvent OnChange;

private:
    template <typename T> void Set(T& field, T value) {
        if (field == value)
            return;
        field = value;
        OnChange(this);
    }

    frame::TColor m_color = frame::clBlack;
    bool m_drawTop = false;
    bool m_drawBottom = false;
    bool m_drawLeft = false;
    bool m_drawRight = false;
    frame::TPenStyle m_style = frame::psSolid;
    int32_t m_width = 1;
};

} // namespace report
