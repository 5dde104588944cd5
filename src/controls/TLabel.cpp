#include "controls/TLabel.h"

#include <algorithm>

#include "frame/graphics/GraphicsTypes.h"
#include "platform/gdi/DeviceContext.h"

namespace controls {

using namespace frame;
namespace gdi = platform::gdi;

const TClassInfo* TCustomLabel::StaticClass() {
    static const auto info =
        TClassBuilder<TCustomLabel>("TCustomLabel", TGraphicControl::StaticClass()).Build();
    return info.get();
}

const TClassInfo* TLabel::StaticClass() {
    static const auto info =
        TClassBuilder<TLabel>("TLabel", TCustomLabel::StaticClass())
            .Property("Caption", &TControl::Caption, &TControl::SetCaption)
            .Property("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize, Default(1))
            .Property("WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap, Default(0))
            .Property("Alignment", &TLabel::Alignment, &TLabel::SetAlignment,
                      Default(taLeftJustify))
            .Property("Layout", &TLabel::Layout, &TLabel::SetLayout, Default(tlTop))
            .Property("Transparent", &TLabel::Transparent, &TLabel::SetTransparent, Default(0))
            .Property("ShowAccelChar", &TLabel::ShowAccelChar, &TLabel::SetShowAccelChar,
                      Default(1))
            .Property("FocusControl", &TLabel::FocusControl, &TLabel::SetFocusControl)
            .Build();
    return info.get();
}

TCustomLabel::TCustomLabel(TComponent* owner) : TGraphicControl(owner) {
    SetControlStyle(ControlStyle() + csReplicatable + csOpaque);
    SetBounds(0, 0, 65, 17);
}

TCustomLabel::~TCustomLabel() = default;

TRect MeasureText(const TFont& font, const std::string& text, unsigned flags, int width) {
    auto dc = gdi::DeviceContext::ForMeasure();
    dc->SetFont(font.Spec());
    TRect r{0, 0, std::max(width, 0), 0};
    dc->DrawText(text.empty() ? std::string(" ") : text, r, flags | gdi::DT_CALCRECT);
    // Text that breaks into several lines keeps the width it was given (a word wider than it
    // is cut at the edge rather than widening the label).
    if ((flags & gdi::DT_WORDBREAK) && r.Height() > dc->GetTextMetrics().height)
        r.right = width;
    return r;
}

unsigned TCustomLabel::TextFlags() const {
    unsigned flags = gdi::DT_EXPANDTABS;
    if (m_wordWrap)
        flags |= gdi::DT_WORDBREAK;
    if (!m_showAccelChar)
        flags |= gdi::DT_NOPREFIX;
    return flags;
}

std::string TCustomLabel::MeasuredText() const {
    std::string text = Caption();
    if (text.empty() || (m_showAccelChar && text == "&"))
        return " ";
    return text;
}

void TCustomLabel::AdjustBounds() {
    if (!m_autoSize || IsLoading())
        return;
    TRect r = MeasureText(*Font(), MeasuredText(), TextFlags(), ClientWidth());
    int left = Left();
    if (m_alignment == taRightJustify)
        left += Width() - r.Width();
    SetBounds(left, Top(), r.Width(), r.Height());
}

void TCustomLabel::SetAutoSize(bool value) {
    if (m_autoSize == value)
        return;
    m_autoSize = value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetWordWrap(bool value) {
    if (m_wordWrap == value)
        return;
    m_wordWrap = value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetAlignment(TAlignment value) {
    if (m_alignment == value)
        return;
    m_alignment = value;
    Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout value) {
    if (m_layout == value)
        return;
    m_layout = value;
    Invalidate();
}

void TCustomLabel::SetTransparent(bool value) {
    if (m_transparent == value)
        return;
    m_transparent = value;
    // A transparent label leaves its parent's pixels showing, so the parent paints beneath it.
    SetControlStyle(value ? ControlStyle() - csOpaque : ControlStyle() + csOpaque);
    Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool value) {
    if (m_showAccelChar == value)
        return;
    m_showAccelChar = value;
    Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* value) {
    if (m_focusControl == value)
        return;
    if (m_focusControl)
        RemoveFreeNotification(m_focusControl);
    m_focusControl = value;
    if (value)
        FreeNotification(value);
}

void TCustomLabel::Notification(TComponent* component, TOperation operation) {
    if (operation == opRemove && component == m_focusControl)
        m_focusControl = nullptr;
    TGraphicControl::Notification(component, operation);
}

void TCustomLabel::AfterLoad() {
    TGraphicControl::AfterLoad();
    AdjustBounds();
}

void TCustomLabel::CMTextChanged(TMessage& m) {
    AdjustBounds();
    TGraphicControl::CMTextChanged(m);
}

void TCustomLabel::CMFontChanged(TMessage& m) {
    AdjustBounds();
    TGraphicControl::CMFontChanged(m);
}

void TCustomLabel::CMDialogChar(TCMDialogChar& m) {
    if (m_focusControl && Enabled() && m_showAccelChar && IsAccel(m.ch, Caption()) &&
        m_focusControl->CanFocus()) {
        m_focusControl->SetFocus();
        m.message.result = 1;
        return;
    }
    TGraphicControl::CMDialogChar(m);
}

void TCustomLabel::Paint() {
    gdi::DeviceContext* dc = Canvas()->Handle();
    TRect client = ClientRect();
    if (!m_transparent)
        dc->FillRect(client, gdi::BrushSpec{gdi::BrushStyle::Solid, ColorToRGB(Color())});
    std::string text = Caption();
    if (text.empty())
        return;
    unsigned flags = TextFlags() | AlignmentTextFlag(m_alignment);
    TRect r = client;
    if (m_layout != tlTop) {
        TRect need = MeasureText(*Font(), text, TextFlags(), client.Width());
        int free = client.Height() - need.Height();
        int down = m_layout == tlCenter ? free / 2 : free;
        r.top += down;
        r.bottom += down;
    }
    dc->SetFont(Font()->Spec());
    dc->SetBkMode(gdi::TRANSPARENT);
    if (!Enabled()) {
        TRect raised{r.left + 1, r.top + 1, r.right + 1, r.bottom + 1};
        dc->SetTextColor(ColorToRGB(clBtnHighlight));
        dc->DrawText(text, raised, flags);
        dc->SetTextColor(ColorToRGB(clBtnShadow));
    } else {
        dc->SetTextColor(ColorToRGB(Font()->Color()));
    }
    dc->DrawText(text, r, flags);
}

} // namespace controls
