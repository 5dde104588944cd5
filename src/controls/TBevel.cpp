#include "controls/TBevel.h"

#include <utility>

#include "frame/ClassBuilder.h"

namespace controls {

using namespace frame;

const TClassInfo* TBevel::StaticClass() {
    static const auto info =
        TClassBuilder<TBevel>("TBevel", TGraphicControl::StaticClass())
            .Property("Shape", &TBevel::Shape, &TBevel::SetShape, Default(bsBox))
            .Property("Style", &TBevel::Style, &TBevel::SetStyle, Default(bsLowered))
            .Build();
    return info.get();
}

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner) {
    SetControlStyle(ControlStyle() + csReplicatable);
    SetBounds(0, 0, 50, 50);
}

void TBevel::SetShape(TBevelShape value) {
    if (m_shape == value)
        return;
    m_shape = value;
    Invalidate();
}

void TBevel::SetStyle(TBevelStyle value) {
    if (m_style == value)
        return;
    m_style = value;
    Invalidate();
}

void TBevel::Paint() {
    TCanvas& canvas = *Canvas();
    if (HasState(csDesigning) && m_shape == bsSpacer) {
        canvas.Pen()->SetStyle(psDot);
        canvas.Pen()->SetColor(clBlack);
        canvas.Brush()->SetStyle(bsClear);
        canvas.Rectangle(0, 0, Width(), Height());
        return;
    }
    canvas.Pen()->SetWidth(1);
    canvas.Pen()->SetStyle(psSolid);
    TColor c1 = m_style == bsLowered ? clBtnShadow : clBtnHighlight;
    TColor c2 = m_style == bsLowered ? clBtnHighlight : clBtnShadow;
    const int w = Width(), h = Height();
    auto box = [&](TColor top, TColor bottom, int l, int t, int r, int b) {
        canvas.Pen()->SetColor(top);
        canvas.Polyline({Point(l, b), Point(l, t), Point(r, t)});
        canvas.Pen()->SetColor(bottom);
        canvas.Polyline({Point(r, t), Point(r, b), Point(l, b)});
    };
    auto line = [&](TColor color, int x1, int y1, int x2, int y2) {
        canvas.Pen()->SetColor(color);
        canvas.MoveTo(x1, y1);
        canvas.LineTo(x2, y2);
    };
    switch (m_shape) {
    case bsBox:
        box(c1, c2, 0, 0, w - 1, h - 1);
        break;
    case bsFrame:
        box(c2, c2, 1, 1, w - 1, h - 1);
        box(c1, c1, 0, 0, w - 2, h - 2);
        break;
    case bsTopLine:
        line(c1, 0, 0, w, 0);
        line(c2, 0, 1, w, 1);
        break;
    case bsBottomLine:
        line(c1, 0, h - 2, w, h - 2);
        line(c2, 0, h - 1, w, h - 1);
        break;
    case bsLeftLine:
        line(c1, 0, 0, 0, h);
        line(c2, 1, 0, 1, h);
        break;
    case bsRightLine:
        line(c1, w - 2, 0, w - 2, h);
        line(c2, w - 1, 0, w - 1, h);
        break;
    case bsSpacer:
        break;
    }
}

} // namespace controls
