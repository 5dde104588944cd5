#pragma once
// The windowed base of the chart panels. The framework's panel control has not arrived yet, so
// the panels stand on this component, which keeps what they need of a control: bounds, colour,
// bevels, border, tab order, visibility, and the canvas the control paints on. When the panel
// control lands, TChartPanelBase becomes an alias of it and this class goes away.
#include "chart/ChartTypes.h"
#include "frame/TComponent.h"
#include "frame/graphics/TCanvas.h"

namespace chart {

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
ZORVANE_ENUM_TYPE(TBevelCut, "bvNone", "bvLowered", "bvRaised", "bvSpace")
enum TBorderStyle { bsNone, bsSingle };
ZORVANE_ENUM_TYPE(TBorderStyle, "bsNone", "bsSingle")

class TChartPanelBase : public frame::TComponent {
public:
    ZORVANE_CLASS(TChartPanelBase)
    explicit TChartPanelBase(frame::TComponent* owner);

    int32_t Left() const { return m_left; }
    void SetLeft(int32_t v) { SetBounds(v, m_top, m_width, m_height); }
    int32_t Top() const { return m_top; }
    void SetTop(int32_t v) { SetBounds(m_left, v, m_width, m_height); }
    int32_t Width() const { return m_width; }
    void SetWidth(int32_t v) { SetBounds(m_left, m_top, v, m_height); }
    int32_t Height() const { return m_height; }
    void SetHeight(int32_t v) { SetBounds(m_left, m_top, m_width, v); }
    virtual void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height);

    TColor Color() const { return m_color; }
    void SetColor(TColor v);
    TBevelCut BevelOuter() const { return m_bevelOuter; }
    void SetBevelOuter(TBevelCut v);
    TBevelCut BevelInner() const { return m_bevelInner; }
    void SetBevelInner(TBevelCut v);
    int32_t BevelWidth() const { return m_bevelWidth; }
    void SetBevelWidth(int32_t v);
    int32_t BorderWidth() const { return m_borderWidth; }
    void SetBorderWidth(int32_t v);
    TBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TBorderStyle v);
    int32_t TabOrder() const { return m_tabOrder; }
    void SetTabOrder(int32_t v) { m_tabOrder = v; }
    bool Visible() const { return m_visible; }
    void SetVisible(bool v);

    // The client area: the bounds less the single-line border.
    TRect ClientRect() const;
    int32_t ClientWidth() const { return ClientRect().Width(); }
    int32_t ClientHeight() const { return ClientRect().Height(); }

    // The canvas of the control's client area, or null while it has none.
    frame::TCanvas* Canvas() const { return m_canvas; }
    void SetCanvas(frame::TCanvas* canvas) { m_canvas = canvas; }

    // Asks for a repaint.
    virtual void Invalidate() {}
    virtual void Paint() {}

    void ListDefinedProperties(frame::TFiler& filer) override;

private:
    int32_t m_left = 0, m_top = 0, m_width = 185, m_height = 41;
    TColor m_color = frame::clBtnFace;
    TBevelCut m_bevelOuter = bvRaised, m_bevelInner = bvNone;
    int32_t m_bevelWidth = 1, m_borderWidth = 0;
    TBorderStyle m_borderStyle = bsNone;
    int32_t m_tabOrder = -1;
    bool m_visible = true;
    frame::TCanvas* m_canvas = nullptr;
};

} // namespace chart
