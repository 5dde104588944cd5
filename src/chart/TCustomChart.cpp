#include "chart/TCustomChart.h"

#include <cmath>

#include "chart/ChartMath.h"

namespace chart {

using frame::Default;

const frame::TClassInfo* TCustomChart::StaticClass() {
    using C = TCustomChart;
    static const auto info =
        frame::TClassBuilder<C>("TCustomChart", TCustomAxisPanel::StaticClass())
            .Property("AllowPanning", &C::AllowPanning, &C::SetAllowPanning, Default(pmBoth))
            .Property("AllowZoom", &C::AllowZoom, &C::SetAllowZoom, Default(1))
            .Property("AnimatedZoom", &C::AnimatedZoom, &C::SetAnimatedZoom, Default(0))
            .Property("AnimatedZoomSteps", &C::AnimatedZoomSteps, &C::SetAnimatedZoomSteps,
                      Default(8))
            .Property("BackImage", &C::BackImage, &C::SetBackImage)
            .Property("BackImageInside", &C::BackImageInside, &C::SetBackImageInside, Default(0))
            .Property("BackImageMode", &C::BackImageMode, &C::SetBackImageMode, Default(pbmStretch))
            .Property("BackWall", &C::BackWall, &C::SetBackWall)
            .Property("BottomWall", &C::BottomWall, &C::SetBottomWall)
            .Property("Foot", &C::Foot, &C::SetFoot)
            .Property("Frame", &C::Frame, &C::SetFrame, frame::NotStored())
            .Property("Gradient", &C::Gradient, &C::SetGradient)
            .Property("LeftWall", &C::LeftWall, &C::SetLeftWall)
            .Property("Legend", &C::Legend, &C::SetLegend)
            .Property("Title", &C::Title, &C::SetTitle)
            .Build();
    return info.get();
}

TCustomChart::TCustomChart(frame::TComponent* owner)
    : TCustomAxisPanel(owner), m_title(std::make_unique<TChartTitle>()),
      m_foot(std::make_unique<TChartTitle>()), m_gradient(std::make_unique<TChartGradient>()),
      m_backWall(std::make_unique<TChartWall>()), m_leftWall(std::make_unique<TChartWall>()),
      m_legend(std::make_unique<TChartLegend>()), m_bottomWall(std::make_unique<TChartWall>()),
      m_backImage(std::make_unique<frame::TPicture>()) {
    m_backWall->Brush()->SetStyle(frame::bsClear);
    m_leftWall->SetColor(TColor(0x80FFFF));
    m_bottomWall->SetColor(frame::clWhite);
    m_backImage->SetOwner(this);
    auto changed = frame::TNotifyEvent::Of<&TCustomChart::PartChanged>(this);
    for (TChartTitle* t : {m_title.get(), m_foot.get()})
        t->OnChange = changed;
    m_gradient->OnChange = changed;
    for (TChartWall* w : {m_backWall.get(), m_leftWall.get(), m_bottomWall.get()})
        w->OnChange = changed;
    m_legend->OnChange = changed;
    m_backImage->OnChange = changed;
    FinishConstruction();
}

TCustomChart::~TCustomChart() = default;

void TCustomChart::SetBackImageMode(TTeeBackImageMode v) {
    if (v != m_backImageMode) {
        m_backImageMode = v;
        Invalidate();
    }
}

void TCustomChart::SetBackImageInside(bool v) {
    if (v != m_backImageInside) {
        m_backImageInside = v;
        Invalidate();
    }
}

void TCustomChart::PaintBackground(const TRect& rect) {
    TChartCanvas3D* surface = Canvas3D();
    if (m_gradient->Visible()) {
        TGradientDirection d = m_gradient->Direction();
        bool startFirst = d == gdTopBottom || d == gdLeftRight;
        TColor a = startFirst ? m_gradient->StartColor() : m_gradient->EndColor();
        TColor z = startFirst ? m_gradient->EndColor() : m_gradient->StartColor();
        surface->FillBands(GradientBands(rect, frame::ColorToRGB(a) & 0xFFFFFF,
                                         frame::ColorToRGB(z) & 0xFFFFFF, d));
    } else {
        TCustomAxisPanel::PaintBackground(rect);
    }
    frame::TGraphic* image = m_backImage->Graphic();
    if (image && !image->Empty() && !m_backImageInside) {
        frame::TCanvas* canvas = surface->Canvas();
        switch (m_backImageMode) {
        case pbmStretch:
            canvas->StretchDraw(rect, image);
            break;
        case pbmTile:
            for (int y = rect.top; y < rect.bottom; y += std::max(1, image->Height()))
                for (int x = rect.left; x < rect.right; x += std::max(1, image->Width()))
                    canvas->Draw(x, y, image);
            break;
        case pbmCenter:
            canvas->Draw((rect.left + rect.right - image->Width()) / 2,
                         (rect.top + rect.bottom - image->Height()) / 2, image);
            break;
        }
    }
}

void TCustomChart::DrawTitlesAndLegend() {
    if (m_title->Visible())
        DrawTitle(m_title.get(), true);
    if (m_foot->Visible())
        DrawTitle(m_foot.get(), false);
}

void TCustomChart::DrawTitle(TChartTitle* title, bool onTop) {
    TChartCanvas3D* surface = Canvas3D();
    surface->Font()->Assign(title->Font());
    int h = surface->FontHeight();
    frame::TBrush* brush = surface->Brush();
    brush->Assign(title->Brush());
    if (title->Brush()->Color() == clAutoColor)
        brush->SetStyle(frame::bsClear);
    TChartHiddenPen* framePen = title->Frame();
    bool framed = framePen->Visible() && framePen->Color() != clAutoColor;
    int f = framed ? framePen->Width() : 0;
    frame::TStrings* lines = title->Text();
    int n = lines->Count();
    TRect cr = ChartRect();
    TRect r = onTop ? TRect{cr.left + f, cr.top + f, cr.right - f, cr.top + f + n * h}
                    : TRect{cr.left + f, cr.bottom - f - n * h, cr.right - f, cr.bottom - f};
    r = TRect{r.left - f, r.top - f, r.right + f, r.bottom + f};
    if (framed && title->AdjustFrame()) {
        int widest = 0;
        for (int i = 0; i < n; ++i)
            widest = std::max(widest, surface->TextWidth(lines->Get(i)));
        int w = widest + 2 * f;
        switch (title->Alignment()) {
        case taLeftJustify:
            r.right = r.left + w;
            break;
        case taRightJustify:
            r.left = r.right - w;
            break;
        case taCenter: {
            int centre = (r.left + r.right) / 2;
            r.left = centre - w / 2;
            r.right = r.left + w;
            break;
        }
        }
    }
    if (framed) {
        surface->AssignPen(*framePen, framePen->Color(), Printing());
        surface->Rectangle(r);
    }
    surface->ClearBrush();
    // Lines from the top down for the title, from the bottom up for the foot; the running
    // position starts 5 pixels short of the edge so an empty, unframed title takes no room.
    int y = onTop ? cr.top + f : cr.bottom - f - h;
    auto writeLine = [&](int i, int atY) {
        const std::string& text = lines->Get(i);
        int w = surface->TextWidth(text);
        int x = r.left;
        if (title->Alignment() == taRightJustify)
            x = r.right - w;
        else if (title->Alignment() == taCenter)
            x = (r.left + r.right) / 2 - w / 2;
        surface->TextOut(x, atY, text);
    };
    if (onTop) {
        for (int i = 0; i < n; ++i, y += h)
            writeLine(i, y);
        int edge = n > 0 ? y + (framed ? 2 * f : 0) + 5 : cr.top;
        cr.top = edge;
    } else {
        for (int i = n - 1; i >= 0; --i, y -= h)
            writeLine(i, y);
        int edge = n > 0 ? y + h - 5 - (framed ? 2 * f : 0) : cr.bottom;
        cr.bottom = edge;
    }
    SetChartRect(cr);
    RecalcWidthHeight();
}

void TCustomChart::DrawWalls() {
    TChartCanvas3D* surface = Canvas3D();
    const TChartWall* wall = m_backWall.get();
    surface->AssignPen(*wall->Pen(), wall->Pen()->Color(), Printing());
    frame::TBrush* brush = surface->Brush();
    if (wall->Brush()->Bitmap()) {
        brush->Assign(wall->Brush());
    } else if (wall->Color() == clAutoColor && wall->Brush()->Style() == frame::bsSolid) {
        brush->SetStyle(frame::bsClear);
    } else {
        brush->SetColor(wall->Color() == clAutoColor ? Color() : wall->Color());
        brush->SetStyle(wall->Brush()->Style());
    }
    TRect r = ChartRect();
    surface->Rectangle(TRect{r.left, r.top, r.right + 1, r.bottom});
}

// --- report chart ---

const frame::TClassInfo* TChart::StaticClass() {
    static const auto info =
        frame::TClassBuilder<TChart>("TChart", TCustomChart::StaticClass()).Build();
    return info.get();
}

const frame::TClassInfo* TCustomDBChart::StaticClass() {
    static const auto info =
        frame::TClassBuilder<TCustomDBChart>("TCustomDBChart", TCustomChart::StaticClass()).Build();
    return info.get();
}

const frame::TClassInfo* TRepDBChart::StaticClass() {
    static const auto info =
        frame::TClassBuilder<TRepDBChart>("TRepDBChart", TCustomDBChart::StaticClass()).Build();
    return info.get();
}

TRepDBChart::TRepDBChart(frame::TComponent* owner) : TCustomDBChart(owner) {
    SetColor(frame::clWhite);
    SetBevelOuter(bvNone);
    SetBufferedDisplay(false);
    SetBounds(-1, -1, 1, 1);
    SetVisible(false);
}

TRect TRepDBChart::GetChartBounds() const {
    if (!HostSize)
        return TCustomDBChart::GetChartBounds();
    THostSize host = HostSize();
    // The report's rounding: the product first, then the division, halves to the even pixel.
    long double zoom = host.zoom > 0 ? host.zoom : 100;
    return TRect{0, 0, RoundPixel(host.width * 100.0L / zoom),
                 RoundPixel(host.height * 100.0L / zoom)};
}

void TRepDBChart::Invalidate() {
    TCustomDBChart::Invalidate();
    if (Constructed() && OnHostInvalidate)
        OnHostInvalidate();
}

} // namespace chart
