#pragma once
// The chart's owned parts that are plain persistent objects: the background gradient, the walls,
// the titles (text objects with a font) and the legend. Each signals a real change through
// OnChange; the chart binds that to its repaint.
#include <memory>

#include "chart/ChartMath.h"
#include "chart/TChartPen.h"
#include "frame/TEvent.h"
#include "frame/TStrings.h"
#include "frame/graphics/TFont.h"

namespace chart {

class TChartGradient : public frame::TPersistent {
public:
    ZORVANE_CLASS(TChartGradient)
    TChartGradient() = default;

    TGradientDirection Direction() const { return m_direction; }
    void SetDirection(TGradientDirection v);
    TColor EndColor() const { return m_endColor; }
    void SetEndColor(TColor v);
    TColor StartColor() const { return m_startColor; }
    void SetStartColor(TColor v);
    bool Visible() const { return m_visible; }
    void SetVisible(bool v);
    void Assign(const frame::TPersistent* source) override;

    frame::TNotifyEvent OnChange;

private:
    void Changed() { OnChange(this); }
    TGradientDirection m_direction = gdTopBottom;
    TColor m_endColor = frame::clYellow;
    TColor m_startColor = frame::clWhite;
    bool m_visible = false;
};

class TChartWall : public frame::TPersistent {
public:
    ZORVANE_CLASS(TChartWall)
    TChartWall();
    ~TChartWall() override;

    TChartBrush* Brush() const { return m_brush.get(); }
    void SetBrush(TChartBrush* v) { m_brush->Assign(v); }
    TColor Color() const { return m_color; }
    void SetColor(TColor v);
    TChartPen* Pen() const { return m_pen.get(); }
    void SetPen(TChartPen* v) { m_pen->Assign(v); }
    int32_t Size() const { return m_size; }
    void SetSize(int32_t v);
    void Assign(const frame::TPersistent* source) override;

    frame::TNotifyEvent OnChange;

private:
    void PartChanged(frame::TObject*) { OnChange(this); }
    std::unique_ptr<TChartBrush> m_brush;
    std::unique_ptr<TChartPen> m_pen;
    TColor m_color = clAutoColor;
    int32_t m_size = 0;
};

// A text object of the chart with a font of its own (default: Arial 8 points, black).
class TChartFontObject : public frame::TPersistent {
public:
    ZORVANE_CLASS(TChartFontObject)
    TChartFontObject();
    ~TChartFontObject() override;

    frame::TFont* Font() const { return m_font.get(); }
    void SetFont(frame::TFont* v) { m_font->Assign(v); }
    void Assign(const frame::TPersistent* source) override;

    frame::TNotifyEvent OnChange;

protected:
    void PartChanged(frame::TObject*) { OnChange(this); }

private:
    std::unique_ptr<frame::TFont> m_font;
};

class TChartTitle : public TChartFontObject {
public:
    ZORVANE_CLASS(TChartTitle)
    TChartTitle();
    ~TChartTitle() override;

    bool AdjustFrame() const { return m_adjustFrame; }
    void SetAdjustFrame(bool v);
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment v);
    TChartBrush* Brush() const { return m_brush.get(); }
    void SetBrush(TChartBrush* v) { m_brush->Assign(v); }
    TChartHiddenPen* Frame() const { return m_frame.get(); }
    void SetFrame(TChartHiddenPen* v) { m_frame->Assign(v); }
    frame::TStringList* Text() const { return m_text.get(); }
    void SetText(frame::TStringList* v) { m_text->Assign(v); }
    bool Visible() const { return m_visible; }
    void SetVisible(bool v);
    void Assign(const frame::TPersistent* source) override;

private:
    bool m_adjustFrame = true;
    TAlignment m_alignment = taCenter;
    std::unique_ptr<TChartBrush> m_brush;
    std::unique_ptr<TChartHiddenPen> m_frame;
    std::unique_ptr<frame::TStringList> m_text;
    bool m_visible = true;
};

enum TLegendAlignment { laLeft, laRight, laTop, laBottom };
ZORVANE_ENUM_TYPE(TLegendAlignment, "laLeft", "laRight", "laTop", "laBottom")
enum TLegendStyle { lsAuto, lsSeries, lsValues, lsLastValues };
ZORVANE_ENUM_TYPE(TLegendStyle, "lsAuto", "lsSeries", "lsValues", "lsLastValues")

// The legend's settings are stored; no chart of the program shows a legend, so it is not drawn.
class TChartLegend : public TChartFontObject {
public:
    ZORVANE_CLASS(TChartLegend)
    TChartLegend();
    ~TChartLegend() override;

    TLegendAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TLegendAlignment v);
    TColor Color() const { return m_color; }
    void SetColor(TColor v);
    TChartPen* Frame() const { return m_frame.get(); }
    void SetFrame(TChartPen* v) { m_frame->Assign(v); }
    TLegendStyle LegendStyle() const { return m_legendStyle; }
    void SetLegendStyle(TLegendStyle v);
    int32_t MaxNumRows() const { return m_maxNumRows; }
    void SetMaxNumRows(int32_t v);
    int32_t ShadowSize() const { return m_shadowSize; }
    void SetShadowSize(int32_t v);
    int32_t TopPos() const { return m_topPos; }
    void SetTopPos(int32_t v);
    bool Visible() const { return m_visible; }
    void SetVisible(bool v);
    bool Inverted() const { return m_inverted; }
    void SetInverted(bool v);
    void Assign(const frame::TPersistent* source) override;

private:
    TLegendAlignment m_alignment = laRight;
    TColor m_color = frame::clWhite;
    std::unique_ptr<TChartPen> m_frame;
    TLegendStyle m_legendStyle = lsAuto;
    int32_t m_maxNumRows = 10;
    int32_t m_shadowSize = 3;
    int32_t m_topPos = 10;
    bool m_visible = true;
    bool m_inverted = false;
};

} // namespace chart
