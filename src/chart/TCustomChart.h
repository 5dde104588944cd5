#pragma once
// The chart with its decorations: titles, gradient, walls, legend, back image and the zoom and
// panning settings; TChart is the class forms use; TCustomDBChart and TRepDBChart are the
// report's hidden chart, drawn only into the report's page.
#include <functional>
#include <memory>

#include "chart/TChartObjects.h"
#include "chart/TCustomAxisPanel.h"
#include "frame/graphics/TPicture.h"

namespace chart {

enum TTeeBackImageMode { pbmStretch, pbmTile, pbmCenter };
ZORVANE_ENUM_TYPE(TTeeBackImageMode, "pbmStretch", "pbmTile", "pbmCenter")
enum TPanningMode { pmNone, pmHorizontal, pmVertical, pmBoth };
ZORVANE_ENUM_TYPE(TPanningMode, "pmNone", "pmHorizontal", "pmVertical", "pmBoth")

class TCustomChart : public TCustomAxisPanel {
public:
    ZORVANE_CLASS(TCustomChart)
    explicit TCustomChart(frame::TComponent* owner);
    ~TCustomChart() override;

    TChartTitle* Title() const { return m_title.get(); }
    void SetTitle(TChartTitle* v) { m_title->Assign(v); }
    TChartTitle* Foot() const { return m_foot.get(); }
    void SetFoot(TChartTitle* v) { m_foot->Assign(v); }
    TChartGradient* Gradient() const { return m_gradient.get(); }
    void SetGradient(TChartGradient* v) { m_gradient->Assign(v); }
    TChartWall* BackWall() const { return m_backWall.get(); }
    void SetBackWall(TChartWall* v) { m_backWall->Assign(v); }
    TChartWall* LeftWall() const { return m_leftWall.get(); }
    void SetLeftWall(TChartWall* v) { m_leftWall->Assign(v); }
    TChartWall* BottomWall() const { return m_bottomWall.get(); }
    void SetBottomWall(TChartWall* v) { m_bottomWall->Assign(v); }
    TChartLegend* Legend() const { return m_legend.get(); }
    void SetLegend(TChartLegend* v) { m_legend->Assign(v); }
    // The plot frame is the back wall's pen.
    TChartPen* Frame() const { return m_backWall->Pen(); }
    void SetFrame(TChartPen* v) { m_backWall->SetPen(v); }
    frame::TPicture* BackImage() const { return m_backImage.get(); }
    void SetBackImage(frame::TPicture* v) { m_backImage->Assign(v); }
    TTeeBackImageMode BackImageMode() const { return m_backImageMode; }
    void SetBackImageMode(TTeeBackImageMode v);
    bool BackImageInside() const { return m_backImageInside; }
    void SetBackImageInside(bool v);
    int32_t AnimatedZoomSteps() const { return m_animatedZoomSteps; }
    void SetAnimatedZoomSteps(int32_t v) { m_animatedZoomSteps = v; }
    bool AnimatedZoom() const { return m_animatedZoom; }
    void SetAnimatedZoom(bool v) { m_animatedZoom = v; }
    bool AllowZoom() const { return m_allowZoom; }
    void SetAllowZoom(bool v) { m_allowZoom = v; }
    TPanningMode AllowPanning() const { return m_allowPanning; }
    void SetAllowPanning(TPanningMode v) { m_allowPanning = v; }

    // Draws a title (top or foot) and takes its room off the plot rectangle.
    void DrawTitle(TChartTitle* title, bool onTop);

protected:
    std::unique_ptr<platform::a11y::AccessibleNode> CreateAccessible() override;
    void PaintBackground(const TRect& rect) override;
    void DrawTitlesAndLegend() override;
    void DrawWalls() override;

private:
    std::unique_ptr<TChartTitle> m_title;
    std::unique_ptr<TChartTitle> m_foot;
    std::unique_ptr<TChartGradient> m_gradient;
    std::unique_ptr<TChartWall> m_backWall;
    std::unique_ptr<TChartWall> m_leftWall;
    std::unique_ptr<TChartLegend> m_legend;
    std::unique_ptr<TChartWall> m_bottomWall;
    std::unique_ptr<frame::TPicture> m_backImage;
    TTeeBackImageMode m_backImageMode = pbmStretch;
    bool m_backImageInside = false;
    int32_t m_animatedZoomSteps = 8;
    bool m_animatedZoom = false;
    bool m_allowZoom = true;
    TPanningMode m_allowPanning = pmBoth;
};

class TChart : public TCustomChart {
public:
    ZORVANE_CLASS(TChart)
    explicit TChart(frame::TComponent* owner) : TCustomChart(owner) {}
};

// The data-bound chart; this program binds nothing, so it adds no behaviour.
class TCustomDBChart : public TCustomChart {
public:
    ZORVANE_CLASS(TCustomDBChart)
    explicit TCustomDBChart(frame::TComponent* owner) : TCustomChart(owner) {}
    // Re-reads data-bound series (none here).
    void RefreshData() {}
};

// The report's chart: white, unbuffered, hidden, 1 × 1 at (-1, -1). Its chart bounds come from
// its host (the report's chart printable) at the report's zoom, and a repaint is passed on to
// the host.
class TRepDBChart : public TCustomDBChart {
public:
    ZORVANE_CLASS(TRepDBChart)
    explicit TRepDBChart(frame::TComponent* owner);

    // The host's client size and the report zoom in percent.
    struct THostSize {
        int width = 0, height = 0;
        double zoom = 100;
    };
    std::function<THostSize()> HostSize;
    std::function<void()> OnHostInvalidate;

    TRect GetChartBounds() const override;
    void Invalidate() override;
};

} // namespace chart
