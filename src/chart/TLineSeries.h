#pragma once
// The line series family: the point marker (stored; drawn as a rectangle or circle when
// visible), the line pen, stairs and area settings, and the line series itself, which colours
// each segment with the colour of its end point.
#include <memory>

#include "chart/TChartPen.h"
#include "chart/TChartSeries.h"

namespace chart {

enum TSeriesPointerStyle {
    psRectangle,
    psCircle,
    psTriangle,
    psDownTriangle,
    psCross,
    psDiagCross,
    psStar,
    psDiamond,
    psSmallDot
};
ZORVANE_ENUM_TYPE(TSeriesPointerStyle, "psRectangle", "psCircle", "psTriangle", "psDownTriangle",
                  "psCross", "psDiagCross", "psStar", "psDiamond", "psSmallDot")

class TSeriesPointer : public frame::TPersistent {
public:
    ZORVANE_CLASS(TSeriesPointer)
    TSeriesPointer();
    ~TSeriesPointer() override;

    TChartBrush* Brush() const { return m_brush.get(); }
    void SetBrush(TChartBrush* v) { m_brush->Assign(v); }
    bool Dark3D() const { return m_dark3D; }
    void SetDark3D(bool v) { Set(m_dark3D, v); }
    bool Draw3D() const { return m_draw3D; }
    void SetDraw3D(bool v) { Set(m_draw3D, v); }
    int32_t HorizSize() const { return m_horizSize; }
    void SetHorizSize(int32_t v) { Set(m_horizSize, v); }
    int32_t VertSize() const { return m_vertSize; }
    void SetVertSize(int32_t v) { Set(m_vertSize, v); }
    bool InflateMargins() const { return m_inflateMargins; }
    void SetInflateMargins(bool v) { Set(m_inflateMargins, v); }
    TChartPen* Pen() const { return m_pen.get(); }
    void SetPen(TChartPen* v) { m_pen->Assign(v); }
    TSeriesPointerStyle Style() const { return m_style; }
    void SetStyle(TSeriesPointerStyle v) { Set(m_style, v); }
    bool Visible() const { return m_visible; }
    void SetVisible(bool v) { Set(m_visible, v); }
    void Assign(const frame::TPersistent* source) override;

    frame::TNotifyEvent OnChange;

private:
    template <typename T> void Set(T& field, T v) {
        if (field != v) {
            field = v;
            OnChange(this);
        }
    }
    void PartChanged(frame::TObject*) { OnChange(this); }
    std::unique_ptr<TChartBrush> m_brush;
    bool m_dark3D = true, m_draw3D = true;
    int32_t m_horizSize = 4, m_vertSize = 4;
    bool m_inflateMargins = true;
    std::unique_ptr<TChartPen> m_pen;
    TSeriesPointerStyle m_style = psRectangle;
    bool m_visible = true;
};

class TCustomSeries : public TChartSeries {
public:
    ZORVANE_CLASS(TCustomSeries)
    explicit TCustomSeries(frame::TComponent* owner);
    ~TCustomSeries() override;

    TSeriesPointer* Pointer() const { return m_pointer.get(); }
    void SetPointer(TSeriesPointer* v) { m_pointer->Assign(v); }
    TChartPen* LinePen() const { return m_linePen.get(); }
    void SetLinePen(TChartPen* v) { m_linePen->Assign(v); }
    TChartPen* AreaLinesPen() const { return m_areaLinesPen.get(); }
    void SetAreaLinesPen(TChartPen* v) { m_areaLinesPen->Assign(v); }
    frame::TBrushStyle LineBrush() const { return m_lineBrush; }
    void SetLineBrush(frame::TBrushStyle v);
    frame::TBrushStyle AreaBrush() const { return m_areaBrush; }
    void SetAreaBrush(frame::TBrushStyle v);
    TColor AreaColor() const { return m_areaColor; }
    void SetAreaColor(TColor v);
    bool Stairs() const { return m_stairs; }
    void SetStairs(bool v);
    bool InvertedStairs() const { return m_invertedStairs; }
    void SetInvertedStairs(bool v);
    bool Dark3D() const { return m_dark3D; }
    void SetDark3D(bool v);
    bool DrawLines() const { return m_drawLines; }
    bool DrawArea() const { return m_drawArea; }

    void Assign(const frame::TPersistent* source) override;
    void CalcHorizMargins(int& left, int& right) const override;
    void CalcVerticalMargins(int& top, int& bottom) const override;

protected:
    void SetDrawLines(bool v) { m_drawLines = v; }
    void SetDrawArea(bool v) { m_drawArea = v; }
    void DrawAllValues() override;

private:
    std::unique_ptr<TSeriesPointer> m_pointer;
    std::unique_ptr<TChartPen> m_linePen;
    std::unique_ptr<TChartPen> m_areaLinesPen;
    frame::TBrushStyle m_lineBrush = frame::bsSolid;
    frame::TBrushStyle m_areaBrush = frame::bsSolid;
    TColor m_areaColor = clAutoColor;
    bool m_stairs = false, m_invertedStairs = false, m_dark3D = true;
    bool m_drawLines = true, m_drawArea = false;
};

class TLineSeries : public TCustomSeries {
public:
    ZORVANE_CLASS(TLineSeries)
    explicit TLineSeries(frame::TComponent* owner);
    void Assign(const frame::TPersistent* source) override;
};

} // namespace chart
