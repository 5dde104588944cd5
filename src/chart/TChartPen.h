#pragma once
// The engine's pens and brushes: a pen with a Visible switch (an invisible pen draws as
// psClear), the hidden variant, the axis, grid and tick pens with their own defaults, and a
// brush whose colour starts automatic.
#include "chart/ChartTypes.h"
#include "frame/graphics/TBrush.h"
#include "frame/graphics/TPen.h"

namespace chart {

class TChartPen : public frame::TPen {
public:
    ZORVANE_CLASS(TChartPen)
    TChartPen() = default;

    bool Visible() const { return m_visible; }
    void SetVisible(bool value);
    void Assign(const frame::TPersistent* source) override;

private:
    bool m_visible = true;
};

class TChartHiddenPen : public TChartPen {
public:
    ZORVANE_CLASS(TChartHiddenPen)
    TChartHiddenPen() { SetVisible(false); }
};

// The axis line: 2 pixels wide.
class TChartAxisPen : public TChartPen {
public:
    ZORVANE_CLASS(TChartAxisPen)
    TChartAxisPen() { SetWidth(2); }
};

// The default grid: grey dots.
class TDottedGrayPen : public TChartPen {
public:
    ZORVANE_CLASS(TDottedGrayPen)
    TDottedGrayPen() {
        SetColor(frame::clGray);
        SetStyle(frame::psDot);
    }
};

// Ticks: grey.
class TDarkGrayPen : public TChartPen {
public:
    ZORVANE_CLASS(TDarkGrayPen)
    TDarkGrayPen() { SetColor(frame::clGray); }
};

class TChartBrush : public frame::TBrush {
public:
    ZORVANE_CLASS(TChartBrush)
    TChartBrush() { SetColor(clAutoColor); }
};

} // namespace chart
