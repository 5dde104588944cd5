#pragma once
// The per-point mark labels of a series. Their settings are stored and copied; no chart of the
// program shows marks, so they are not drawn.
#include <memory>

#include "chart/TChartPen.h"
#include "frame/graphics/TFont.h"

namespace chart {

enum TSeriesMarksStyle {
    smsValue,
    smsPercent,
    smsLabel,
    smsLabelPercent,
    smsLabelValue,
    smsLegend,
    smsPercentTotal,
    smsLabelPercentTotal,
    smsXValue
};
ZORVANE_ENUM_TYPE(TSeriesMarksStyle, "smsValue", "smsPercent", "smsLabel", "smsLabelPercent",
                  "smsLabelValue", "smsLegend", "smsPercentTotal", "smsLabelPercentTotal",
                  "smsXValue")

class TSeriesMarks : public frame::TPersistent {
public:
    ZORVANE_CLASS(TSeriesMarks)
    TSeriesMarks();
    ~TSeriesMarks() override;

    TChartPen* Arrow() const { return m_arrow.get(); }
    void SetArrow(TChartPen* v) { m_arrow->Assign(v); }
    int32_t ArrowLength() const { return m_arrowLength; }
    void SetArrowLength(int32_t v);
    TColor BackColor() const { return m_backColor; }
    void SetBackColor(TColor v);
    bool Clip() const { return m_clip; }
    void SetClip(bool v);
    frame::TFont* Font() const { return m_font.get(); }
    void SetFont(frame::TFont* v) { m_font->Assign(v); }
    TChartPen* Frame() const { return m_frame.get(); }
    void SetFrame(TChartPen* v) { m_frame->Assign(v); }
    TSeriesMarksStyle Style() const { return m_style; }
    void SetStyle(TSeriesMarksStyle v);
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool v);
    bool Visible() const { return m_visible; }
    void SetVisible(bool v);
    void Assign(const frame::TPersistent* source) override;

    frame::TNotifyEvent OnChange;

private:
    void PartChanged(frame::TObject*) { OnChange(this); }
    std::unique_ptr<TChartPen> m_arrow;
    int32_t m_arrowLength = 8;
    TColor m_backColor = TColor(0x80FFFF);
    bool m_clip = false;
    std::unique_ptr<frame::TFont> m_font;
    std::unique_ptr<TChartPen> m_frame;
    TSeriesMarksStyle m_style = smsLabel;
    bool m_transparent = false;
    bool m_visible = true;
};

} // namespace chart
