#include "report/TRepFrame.h"

#include <algorithm>
#include <cstdlib>

#include "frame/ClassBuilder.h"
#include "frame/graphics/TCanvas.h"
#include "report/ReportTypes.h"

namespace report {

using frame::Default;

namespace {
constexpr long double kPointsPerInch = 72.0L;
constexpr int32_t kHairline = -1;
} // namespace

const frame::TClassInfo* TRepFrame::StaticClass() {
    static const auto info =
        frame::TClassBuilder<TRepFrame>("TRepFrame", frame::TPersistent::StaticClass())
            .Property("Color", frame::ColorType(), &TRepFrame::Color, &TRepFrame::SetColor,
                      Default(frame::clBlack))
            .Property("DrawTop", &TRepFrame::DrawTop, &TRepFrame::SetDrawTop, Default(0))
            .Property("DrawBottom", &TRepFrame::DrawBottom, &TRepFrame::SetDrawBottom, Default(0))
            .Property("DrawLeft", &TRepFrame::DrawLeft, &TRepFrame::SetDrawLeft, Default(0))
            .Property("DrawRight", &TRepFrame::DrawRight, &TRepFrame::SetDrawRight, Default(0))
            .Property("Style", &TRepFrame::Style, &TRepFrame::SetStyle, Default(frame::psSolid))
            .Property("Width", &TRepFrame::Width, &TRepFrame::SetWidth, Default(1))
            .Build();
    return info.get();
}

int TRepFrame::Thickness(long double factor) const {
    int n = RoundEven(factor / kPointsPerInch * kTenthsPerInch * m_width);
    if (m_width == kHairline || (n <= 0 && m_width > 0))
        n = 1;
    return n;
}

void TRepFrame::PaintIt(frame::TCanvas& canvas, const frame::TRect& rect, long double fx,
                        long double fy) const {
    if (!AnyFrame())
        return;
    // A line never needs to be thicker than the rectangle: a hostile width cannot make
    // millions of lines.
    int nv = std::min(Thickness(fx), std::abs(rect.Width()) + 1);
    int nh = std::min(Thickness(fy), std::abs(rect.Height()) + 1);
    canvas.Brush()->SetStyle(frame::bsSolid);
    canvas.Brush()->SetColor(m_color);
    canvas.Pen()->SetWidth(1);
    canvas.Pen()->SetStyle(m_style);
    canvas.Pen()->SetColor(m_color);
    auto line = [&](int x1, int y1, int x2, int y2) {
        canvas.MoveTo(x1, y1);
        canvas.LineTo(x2, y2);
    };
    for (int k = 0; m_drawTop && k < nh; ++k)
        line(rect.left, rect.top + k, rect.right, rect.top + k);
    for (int k = 0; m_drawBottom && k < nh; ++k)
        line(rect.left, rect.bottom - k, rect.right, rect.bottom - k);
    for (int k = 0; m_drawLeft && k < nv; ++k)
        line(rect.left + k, rect.top, rect.left + k, rect.bottom);
    for (int k = 0; m_drawRight && k < nv; ++k)
        line(rect.right - k, rect.top, rect.right - k, rect.bottom);
    canvas.Brush()->SetStyle(frame::bsClear);
}

void TRepFrame::Assign(const frame::TPersistent* source) {
    if (auto* other = dynamic_cast<const TRepFrame*>(source)) {
        bool changed = m_color != other->m_color || m_drawTop != other->m_drawTop ||
                       m_drawBottom != other->m_drawBottom || m_drawLeft != other->m_drawLeft ||
                       m_drawRight != other->m_drawRight || m_style != other->m_style ||
                       m_width != other->m_width;
        m_color = other->m_color;
        m_drawTop = other->m_drawTop;
        m_drawBottom = other->m_drawBottom;
        m_drawLeft = other->m_drawLeft;
        m_drawRight = other->m_drawRight;
        m_style = other->m_style;
        m_width = other->m_width;
        if (changed)
            OnChange(this);
        return;
    }
    frame::TPersistent::Assign(source);
}

} // namespace report
