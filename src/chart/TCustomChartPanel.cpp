#include "chart/TCustomChartPanel.h"

#include "chart/ChartMath.h"
#include "rtl/ScopeExit.h"

namespace chart {

using frame::Default;

const frame::TClassInfo* TView3DOptions::StaticClass() {
    static const auto info =
        frame::TClassBuilder<TView3DOptions>("TView3DOptions", frame::TPersistent::StaticClass())
            .Property("Elevation", &TView3DOptions::Elevation, &TView3DOptions::SetElevation,
                      Default(345))
            .Property("HorizOffset", &TView3DOptions::HorizOffset, &TView3DOptions::SetHorizOffset,
                      Default(0))
            .Property("Orthogonal", &TView3DOptions::Orthogonal, &TView3DOptions::SetOrthogonal,
                      Default(1))
            .Property("Rotation", &TView3DOptions::Rotation, &TView3DOptions::SetRotation,
                      Default(345))
            .Property("Tilt", &TView3DOptions::Tilt, &TView3DOptions::SetTilt, Default(0))
            .Property("VertOffset", &TView3DOptions::VertOffset, &TView3DOptions::SetVertOffset,
                      Default(0))
            .Property("Zoom", &TView3DOptions::Zoom, &TView3DOptions::SetZoom, Default(100))
            .Build();
    return info.get();
}

void TView3DOptions::SetOrthogonal(bool v) {
    if (v != m_orthogonal) {
        m_orthogonal = v;
        OnChange(this);
    }
}

void TView3DOptions::Assign(const frame::TPersistent* source) {
    if (auto* o = dynamic_cast<const TView3DOptions*>(source)) {
        m_elevation = o->m_elevation;
        m_rotation = o->m_rotation;
        m_tilt = o->m_tilt;
        m_horizOffset = o->m_horizOffset;
        m_vertOffset = o->m_vertOffset;
        m_zoom = o->m_zoom;
        m_orthogonal = o->m_orthogonal;
        OnChange(this);
        return;
    }
    frame::TPersistent::Assign(source);
}

const frame::TClassInfo* TCustomChartPanel::StaticClass() {
    static const auto info =
        frame::TClassBuilder<TCustomChartPanel>("TCustomChartPanel", TChartPanelBase::StaticClass())
            .Property("BufferedDisplay", &TCustomChartPanel::BufferedDisplay,
                      &TCustomChartPanel::SetBufferedDisplay, Default(1))
            .Property("MarginBottom", &TCustomChartPanel::MarginBottom,
                      &TCustomChartPanel::SetMarginBottom, Default(4))
            .Property("MarginLeft", &TCustomChartPanel::MarginLeft,
                      &TCustomChartPanel::SetMarginLeft, Default(3))
            .Property("MarginRight", &TCustomChartPanel::MarginRight,
                      &TCustomChartPanel::SetMarginRight, Default(3))
            .Property("MarginTop", &TCustomChartPanel::MarginTop, &TCustomChartPanel::SetMarginTop,
                      Default(4))
            .Property("Monochrome", &TCustomChartPanel::Monochrome,
                      &TCustomChartPanel::SetMonochrome, Default(0))
            .Property("View3D", &TCustomChartPanel::View3D, &TCustomChartPanel::SetView3D,
                      Default(1))
            .Property("View3DOptions", &TCustomChartPanel::View3DOptions,
                      &TCustomChartPanel::SetView3DOptions)
            .Build();
    return info.get();
}

TCustomChartPanel::TCustomChartPanel(frame::TComponent* owner)
    : TChartPanelBase(owner), m_view3DOptions(std::make_unique<TView3DOptions>()),
      m_canvas3D(std::make_unique<TChartCanvas3D>()) {
    m_view3DOptions->OnChange = frame::TNotifyEvent::Of<&TCustomChartPanel::PartChanged>(this);
}

TCustomChartPanel::~TCustomChartPanel() = default;

void TCustomChartPanel::SetView3D(bool v) {
    if (v != m_view3D) {
        m_view3D = v;
        Invalidate();
    }
}

void TCustomChartPanel::SetMonochrome(bool v) {
    if (v != Monochrome()) {
        m_canvas3D->SetMonochrome(v);
        Invalidate();
    }
}

void TCustomChartPanel::Invalidate() {
    if (!m_constructed)
        return;
    m_canvas3D->Invalidate();
    if (m_repaintPending)
        return;
    m_repaintPending = true;
    TChartPanelBase::Invalidate();
}

void TCustomChartPanel::CreateParams(frame::TCreateParams& params) {
    TChartPanelBase::CreateParams(params);
    if (BorderStyle() == bsSingle) {
        params.exStyle &= ~platform::WS_EX_CLIENTEDGE;
        params.style |= platform::WS_BORDER;
    }
}

void TCustomChartPanel::WMEraseBkgnd(frame::TWMEraseBkgnd& m) {
    m.message.result = 1;
}

void TCustomChartPanel::SetBounds(int left, int top, int width, int height) {
    if (width != Width() || height != Height())
        m_canvas3D->FreeBitmap();
    TChartPanelBase::SetBounds(left, top, width, height);
}

TRect TCustomChartPanel::GetChartBounds() const {
    return ClientRect();
}

void TCustomChartPanel::Paint() {
    if (m_printing)
        return;
    frame::TCanvas* canvas = Canvas();
    if (!canvas)
        return;
    TRect client = ClientRect();
    if (m_canvas3D->ImageValidFor(canvas, client)) {
        m_canvas3D->CopyImage(canvas, client);
        return;
    }
    Draw(canvas, client);
}

void TCustomChartPanel::RecalcWidthHeight() {
    TRect& r = m_chartRect;
    if (r.left < m_chartBounds.left)
        r.left = m_chartBounds.left;
    if (r.top < m_chartBounds.top)
        r.top = m_chartBounds.top;
    if (r.right < r.left)
        r.right = r.left + 1;
    else if (r.right == r.left)
        r.right = r.left + Width();
    if (r.bottom < r.top)
        r.bottom = r.top + 1;
    else if (r.bottom == r.top)
        r.bottom = r.top + Height();
    m_chartWidth = r.right - r.left;
    m_chartHeight = r.bottom - r.top;
    // Halving towards zero, as integer division does.
    m_chartXCenter = int32_t((int64_t(r.left) + r.right) / 2);
    m_chartYCenter = int32_t((int64_t(r.top) + r.bottom) / 2);
}

void TCustomChartPanel::Draw(frame::TCanvas* canvas, const TRect& rect) {
    if (!canvas)
        return;
    m_repaintPending = false;
    // Ends the surface's draw on every path, so that a failing paint leaves no clip and no
    // half-made image marked fresh.
    rtl::ScopeExit abandonDraw([surface = m_canvas3D.get(), rect] {
        surface->ShowImage(nullptr, rect);
        surface->Invalidate();
    });
    m_chartBounds = m_canvas3D->InitWindow(canvas, rect);
    m_chartRect = MarginRect(m_chartBounds, BorderWidth(), m_marginLeft, m_marginTop, m_marginRight,
                             m_marginBottom);
    RecalcWidthHeight();
    InternalDraw(m_chartBounds);
    m_canvas3D->ShowImage(canvas, rect);
    abandonDraw.Release();
}

frame::TMetafile* TCustomChartPanel::CreateMetafile(bool enhanced, const TRect& rect) {
    auto metafile = std::make_unique<frame::TMetafile>();
    metafile->SetEnhanced(enhanced);
    metafile->SetWidth(std::max(1, rect.Width() - 1));
    metafile->SetHeight(std::max(1, rect.Height() - 1));
    {
        frame::TMetafileCanvas canvas(metafile.get());
        rtl::ScopeExit restore(
            [surface = m_canvas3D.get(), buffered = m_canvas3D->BufferedDisplay()] {
                surface->SetBufferedDisplay(buffered);
                surface->SetMetafiling(false);
            });
        m_canvas3D->SetMetafiling(true);
        m_canvas3D->SetBufferedDisplay(false);
        Draw(&canvas, rect);
    }
    return metafile.release();
}

frame::TBitmap* TCustomChartPanel::CreateBitmap() {
    TRect bounds = GetChartBounds();
    auto bitmap = std::make_unique<frame::TBitmap>();
    bitmap->SetSize(std::max(0, bounds.Width()), std::max(0, bounds.Height()));
    if (!bitmap->Empty())
        Draw(bitmap->Canvas(), bounds);
    return bitmap.release();
}

void TCustomChartPanel::PaintBackground(const TRect& rect) {
    if (!m_printing)
        m_canvas3D->FillRect(rect, Color());
}

void TCustomChartPanel::PanelPaint(const TRect& rect) {
    PaintBackground(rect);
    if (m_printing)
        return;
    // Bevels: highlight on the top and left edges, shadow on the bottom and right, for a raised
    // cut; the reverse for a lowered one.
    TRect r = rect;
    frame::TCanvas* canvas = m_canvas3D->Canvas();
    auto bevel = [&](TBevelCut cut) {
        if (cut == bvNone)
            return;
        TColor topLeft = cut == bvLowered ? frame::clBtnShadow : frame::clBtnHighlight;
        TColor bottomRight = cut == bvLowered ? frame::clBtnHighlight : frame::clBtnShadow;
        if (cut == bvSpace)
            topLeft = bottomRight = Color();
        canvas->Pen()->SetMode(frame::pmCopy);
        controls::Frame3D(*canvas, r, topLeft, bottomRight, BevelWidth());
    };
    bevel(BevelOuter());
    if (BorderWidth() > 0)
        controls::Frame3D(*canvas, r, Color(), Color(), BorderWidth());
    bevel(BevelInner());
}

} // namespace chart
