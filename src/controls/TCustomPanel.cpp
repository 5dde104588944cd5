#include "controls/TCustomPanel.h"

#include <algorithm>

#include "frame/ClassBuilder.h"
#include "platform/display/WindowApi.h"
#include "platform/gdi/DeviceContext.h"

namespace controls {

using namespace frame;
namespace gdi = platform::gdi;

const TClassInfo* TCustomPanel::StaticClass() {
    static const auto info =
        TClassBuilder<TCustomPanel>("TCustomPanel", TCustomControl::StaticClass())
            .Property("Alignment", &TCustomPanel::Alignment, &TCustomPanel::SetAlignment,
                      Default(taCenter))
            .Property("BevelInner", &TCustomPanel::BevelInner, &TCustomPanel::SetBevelInner,
                      Default(bvNone))
            .Property("BevelOuter", &TCustomPanel::BevelOuter, &TCustomPanel::SetBevelOuter,
                      Default(bvRaised))
            .Property("BevelWidth", &TCustomPanel::BevelWidth, &TCustomPanel::SetBevelWidth,
                      Default(1))
            .Property("BorderWidth", &TCustomPanel::BorderWidth, &TCustomPanel::SetBorderWidth,
                      Default(0))
            .Property("BorderStyle", &TCustomPanel::BorderStyle, &TCustomPanel::SetBorderStyle,
                      Default(bsNone))
            .Property("Caption", &TControl::Caption, &TControl::SetCaption)
            .Property("Color", ColorType(), &TControl::Color, &TControl::SetColor,
                      Default(clBtnFace), StoredIf(&TCustomPanel::IsPanelColorStored))
            .Property("FullRepaint", &TCustomPanel::FullRepaint, &TCustomPanel::SetFullRepaint,
                      Default(1))
            .Property("ParentColor", &TControl::ParentColor, &TControl::SetParentColor, Default(0))
            .Build();
    return info.get();
}

const TClassInfo* TPanel::StaticClass() {
    static const auto info = TClassBuilder<TPanel>("TPanel", TCustomPanel::StaticClass()).Build();
    return info.get();
}

void Frame3D(TCanvas& canvas, TRect& rect, TColor top, TColor bottom, int width) {
    canvas.Pen()->SetWidth(1);
    canvas.Pen()->SetStyle(psSolid);
    --rect.bottom;
    --rect.right;
    for (int i = 0; i < width; ++i) {
        canvas.Pen()->SetColor(top);
        canvas.Polyline({Point(rect.left, rect.bottom), Point(rect.left, rect.top),
                         Point(rect.right, rect.top)});
        canvas.Pen()->SetColor(bottom);
        canvas.Polyline({Point(rect.right, rect.top), Point(rect.right, rect.bottom),
                         Point(rect.left - 1, rect.bottom)});
        rect = Rect(rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1);
    }
    ++rect.bottom;
    ++rect.right;
}

namespace {

// Top and bottom colours of a bevel.
void BevelColors(TBevelCut cut, TColor& top, TColor& bottom) {
    top = cut == bvLowered ? clBtnShadow : clBtnHighlight;
    bottom = cut == bvLowered ? clBtnHighlight : clBtnShadow;
}

} // namespace

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) {
    SetControlStyle(TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption,
                                  csOpaque, csDoubleClicks, csReplicatable});
    SetBounds(0, 0, 185, 41);
    SetColor(clBtnFace);
}

void TCustomPanel::SetBevelOuter(TBevelCut value) {
    if (m_bevelOuter == value)
        return;
    m_bevelOuter = value;
    Realign();
    Invalidate();
}

void TCustomPanel::SetBevelInner(TBevelCut value) {
    if (m_bevelInner == value)
        return;
    m_bevelInner = value;
    Realign();
    Invalidate();
}

void TCustomPanel::SetBevelWidth(int32_t value) {
    value = std::max(value, 1);
    if (m_bevelWidth == value)
        return;
    m_bevelWidth = value;
    Realign();
    Invalidate();
}

void TCustomPanel::SetBorderWidth(int32_t value) {
    value = std::max(value, 0);
    if (m_borderWidth == value)
        return;
    m_borderWidth = value;
    Realign();
    Invalidate();
}

void TCustomPanel::SetBorderStyle(TBorderStyle value) {
    if (m_borderStyle == value)
        return;
    m_borderStyle = value;
    RecreateWnd();
}

void TCustomPanel::SetAlignment(TAlignment value) {
    if (m_alignment == value)
        return;
    m_alignment = value;
    Invalidate();
}

// Children keep the places their stream gives them; aligned children would be laid out in
// InnerRect here.
void TCustomPanel::Realign() {}

int TCustomPanel::FrameInset() const {
    int inset = m_borderWidth;
    if (m_bevelOuter != bvNone)
        inset += m_bevelWidth;
    if (m_bevelInner != bvNone)
        inset += m_bevelWidth;
    return inset;
}

void TCustomPanel::AdjustClientRect(TRect& rect) const {
    int inset = FrameInset();
    rect = Rect(rect.left + inset, rect.top + inset, rect.right - inset, rect.bottom - inset);
}

TRect TCustomPanel::InnerRect() const {
    TRect r = ClientRect();
    AdjustClientRect(r);
    return r;
}

void TCustomPanel::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    if (m_borderStyle == bsSingle) {
        if (Ctl3D())
            params.exStyle |= platform::WS_EX_CLIENTEDGE;
        else
            params.style |= platform::WS_BORDER;
    }
}

void TCustomPanel::WMSize(TWMSize& m) {
    TCustomControl::WMSize(m);
    if (!HandleAllocated())
        return;
    if (m_fullRepaint || !Caption().empty()) {
        Invalidate();
        return;
    }
    // Only the frame along the right and bottom edges moved.
    TRect client = ClientRect();
    int inset = FrameInset();
    TRect right = Rect(client.right - inset, 0, client.right, client.bottom);
    TRect bottom = Rect(0, client.bottom - inset, client.right, client.bottom);
    platform::InvalidateRect(Handle(), &right, false);
    platform::InvalidateRect(Handle(), &bottom, false);
}

void TCustomPanel::Paint() {
    TCanvas& canvas = *Canvas();
    TRect r = ClientRect();
    TColor top = clBtnHighlight, bottom = clBtnShadow;
    if (m_bevelOuter != bvNone) {
        BevelColors(m_bevelOuter, top, bottom);
        Frame3D(canvas, r, top, bottom, m_bevelWidth);
    }
    Frame3D(canvas, r, Color(), Color(), m_borderWidth);
    if (m_bevelInner != bvNone) {
        BevelColors(m_bevelInner, top, bottom);
        Frame3D(canvas, r, top, bottom, m_bevelWidth);
    }
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(Color());
    canvas.FillRect(r);
    std::string caption = Caption();
    if (caption.empty())
        return;
    canvas.Brush()->SetStyle(bsClear);
    int h = canvas.TextHeight("W");
    r.top = (r.top + r.bottom - h) / 2;
    r.bottom = r.top + h;
    gdi::DeviceContext& dc = *canvas.Handle();
    dc.SetFont(canvas.Font()->Spec());
    dc.SetTextColor(ColorToRGB(canvas.Font()->Color()));
    dc.SetBkMode(gdi::TRANSPARENT);
    dc.DrawText(caption, r,
                gdi::DT_EXPANDTABS | gdi::DT_VCENTER | gdi::DT_SINGLELINE |
                    AlignmentTextFlag(m_alignment));
}

} // namespace controls
