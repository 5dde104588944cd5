#pragma once
// The chart panel: the drawing surface, margins, the chart bounds and the plot rectangle, the
// buffered display, and the entry points that paint the chart on the control, on any canvas,
// into a bitmap or into a metafile.
#include <memory>

#include "chart/ChartPanelBase.h"
#include "chart/TChartCanvas3D.h"
#include "frame/graphics/TMetafile.h"

namespace chart {

class TView3DOptions : public frame::TPersistent {
public:
    ZORVANE_CLASS(TView3DOptions)
    TView3DOptions() = default;

    int32_t Elevation() const { return m_elevation; }
    void SetElevation(int32_t v) { Set(m_elevation, v); }
    int32_t Rotation() const { return m_rotation; }
    void SetRotation(int32_t v) { Set(m_rotation, v); }
    int32_t Tilt() const { return m_tilt; }
    void SetTilt(int32_t v) { Set(m_tilt, v); }
    int32_t HorizOffset() const { return m_horizOffset; }
    void SetHorizOffset(int32_t v) { Set(m_horizOffset, v); }
    int32_t VertOffset() const { return m_vertOffset; }
    void SetVertOffset(int32_t v) { Set(m_vertOffset, v); }
    int32_t Zoom() const { return m_zoom; }
    void SetZoom(int32_t v) { Set(m_zoom, v); }
    bool Orthogonal() const { return m_orthogonal; }
    void SetOrthogonal(bool v);
    void Assign(const frame::TPersistent* source) override;

    frame::TNotifyEvent OnChange;

private:
    void Set(int32_t& field, int32_t v) {
        if (field != v) {
            field = v;
            OnChange(this);
        }
    }
    int32_t m_elevation = 345, m_rotation = 345, m_tilt = 0, m_horizOffset = 0, m_vertOffset = 0,
            m_zoom = 100;
    bool m_orthogonal = true;
};

class TCustomChartPanel : public TChartPanelBase {
public:
    ZORVANE_CLASS(TCustomChartPanel)
    explicit TCustomChartPanel(frame::TComponent* owner);
    ~TCustomChartPanel() override;

    int32_t MarginLeft() const { return m_marginLeft; }
    void SetMarginLeft(int32_t v) { SetInt(m_marginLeft, v); }
    int32_t MarginTop() const { return m_marginTop; }
    void SetMarginTop(int32_t v) { SetInt(m_marginTop, v); }
    int32_t MarginRight() const { return m_marginRight; }
    void SetMarginRight(int32_t v) { SetInt(m_marginRight, v); }
    int32_t MarginBottom() const { return m_marginBottom; }
    void SetMarginBottom(int32_t v) { SetInt(m_marginBottom, v); }
    bool View3D() const { return m_view3D; }
    void SetView3D(bool v);
    TView3DOptions* View3DOptions() const { return m_view3DOptions.get(); }
    void SetView3DOptions(TView3DOptions* v) { m_view3DOptions->Assign(v); }
    bool BufferedDisplay() const { return m_canvas3D->BufferedDisplay(); }
    void SetBufferedDisplay(bool v) { m_canvas3D->SetBufferedDisplay(v); }
    bool Monochrome() const { return m_canvas3D->Monochrome(); }
    void SetMonochrome(bool v);
    bool Printing() const { return m_printing; }
    void SetPrinting(bool v) { m_printing = v; }

    TChartCanvas3D* Canvas3D() const { return m_canvas3D.get(); }
    const TRect& ChartBounds() const { return m_chartBounds; }
    TRect ChartRect() const { return m_chartRect; }
    void SetChartRect(const TRect& r) { m_chartRect = r; }
    int32_t ChartWidth() const { return m_chartWidth; }
    int32_t ChartHeight() const { return m_chartHeight; }
    int32_t ChartXCenter() const { return m_chartXCenter; }
    int32_t ChartYCenter() const { return m_chartYCenter; }
    // Normalises the plot rectangle against the chart bounds and recomputes its measures.
    void RecalcWidthHeight();

    void Invalidate() override;
    // The window's paint: the off-screen image when it is up to date, else a full draw.
    void Paint() override;
    // The background is painted by Paint: erasing it first would only flicker.
    void WMEraseBkgnd(frame::TWMEraseBkgnd& m) override;
    // Paints the whole chart onto `canvas` inside `rect`.
    void Draw(frame::TCanvas* canvas, const TRect& rect);
    // A new metafile (owned by the caller) of the chart drawn in `rect`.
    frame::TMetafile* CreateMetafile(bool enhanced, const TRect& rect);
    // A new bitmap (owned by the caller) of the chart at its bounds' size.
    frame::TBitmap* CreateBitmap();
    virtual TRect GetChartBounds() const;
    void SetBounds(int left, int top, int width, int height) override;

    // True once construction has finished (invalidations before are ignored).
    bool Constructed() const { return m_constructed; }

protected:
    // A single border is a one-pixel line whatever the 3-D look: the chart's bounds and plot
    // rectangle are laid out for it.
    void CreateParams(frame::TCreateParams& params) override;
    // The painting sequence on the chart bounds.
    virtual void InternalDraw(const TRect& bounds) = 0;
    // Background, then the panel frame (bevels and border) unless printing.
    void PanelPaint(const TRect& rect);
    // The background: the panel colour (not while printing).
    virtual void PaintBackground(const TRect& rect);
    void FinishConstruction() { m_constructed = true; }
    void SetInt(int32_t& field, int32_t v) {
        if (field != v) {
            field = v;
            Invalidate();
        }
    }
    void PartChanged(frame::TObject*) { Invalidate(); }

private:
    int32_t m_marginLeft = 3, m_marginTop = 4, m_marginRight = 3, m_marginBottom = 4;
    bool m_view3D = true;
    std::unique_ptr<TView3DOptions> m_view3DOptions;
    std::unique_ptr<TChartCanvas3D> m_canvas3D;
    bool m_printing = false;
    bool m_constructed = false;
    // A repaint has been asked for and not yet done: adding a million points asks once.
    bool m_repaintPending = false;
    TRect m_chartBounds, m_chartRect;
    int32_t m_chartWidth = 0, m_chartHeight = 0, m_chartXCenter = 0, m_chartYCenter = 0;
};

} // namespace chart
