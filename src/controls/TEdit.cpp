#include "controls/TEdit.h"

#include "frame/controls/TControlAccessible.h"
#include "platform/display/WindowApi.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/stdwin/EditWindow.h"
#include "rtl/ScopeExit.h"

namespace controls {

using namespace frame;
namespace gdi = platform::gdi;
using platform::stdwin::EditWindow;

const TClassInfo* TCustomEdit::StaticClass() {
    static const auto info =
        TClassBuilder<TCustomEdit>("TCustomEdit", TWinControl::StaticClass()).Build();
    return info.get();
}

const TClassInfo* TEdit::StaticClass() {
    static const auto info =
        TClassBuilder<TEdit>("TEdit", TCustomEdit::StaticClass())
            .Property("Text", &TControl::Text, &TControl::SetText)
            .Property("MaxLength", &TEdit::MaxLength, &TEdit::SetMaxLength, Default(0))
            .Property("AutoSize", &TEdit::AutoSize, &TEdit::SetAutoSize, Default(1))
            .Property("AutoSelect", &TEdit::AutoSelect, &TEdit::SetAutoSelect, Default(1))
            .Property("HideSelection", &TEdit::HideSelection, &TEdit::SetHideSelection, Default(1))
            .Property("ReadOnly", &TEdit::ReadOnly, &TEdit::SetReadOnly, Default(0))
            .Property("BorderStyle", &TEdit::BorderStyle, &TEdit::SetBorderStyle, Default(bsSingle))
            .Property("Color", ColorType(), &TEdit::Color, &TEdit::SetColor, Default(clWindow),
                      StoredIf(&TEdit::IsColorStored))
            .Property("ParentColor", &TEdit::ParentColor, &TEdit::SetParentColor, Default(0))
            .Property("TabStop", &TEdit::TabStop, &TEdit::SetTabStop, Default(1))
            .Property("OnChange", &TEdit::OnChange)
            .Build();
    return info.get();
}

int SystemBorderHeight() {
    // Measuring must not open a display (form tools read forms without one).
    return platform::DisplayOpened() ? platform::GetSystemMetrics(platform::SM_CYBORDER) : 1;
}

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
    // The window captures the mouse and handles its clicks itself.
    SetControlStyle(TControlStyle{csSetCaption, csDoubleClicks, csFixedHeight});
    SetBounds(0, 0, 121, 25);
    SetColor(clWindow);
    SetParentColor(false);
    SetTabStop(true);
}

TCustomEdit::~TCustomEdit() = default;

void TCustomEdit::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, platform::WC_EDIT);
    params.style |= platform::ES_AUTOHSCROLL;
    if (m_readOnly)
        params.style |= platform::ES_READONLY;
    if (m_borderStyle == bsSingle) {
        if (Ctl3D())
            params.exStyle |= platform::WS_EX_CLIENTEDGE;
        else
            params.style |= platform::WS_BORDER;
    }
}

void TCustomEdit::CreateWnd() {
    rtl::ValueRestore creating(m_creating, true);
    TWinControl::CreateWnd();
    EditWindow(Handle()).SetLimit(m_maxLength);
}

void TCustomEdit::DestroyWnd() {
    if (HandleAllocated())
        m_text = platform::GetWindowText(Handle());
    TWinControl::DestroyWnd();
}

void TCustomEdit::WindowProc(TMessage& message) {
    // The window may go with its parent's; what was typed into it stays for the next one.
    if (message.msg == platform::WM_DESTROY && HandleAllocated())
        m_text = platform::GetWindowText(Handle());
    TWinControl::WindowProc(message);
}

void TCustomEdit::Change() {
    frame::AccessibleTextChanged(*this); // typed, pasted or set
    OnChange(this);
}

void TCustomEdit::CNCommand(TWMCommand& m) {
    if (m.notifyCode == platform::EN_CHANGE && !m_creating)
        Change();
}

void TCustomEdit::CMTextChanged(TMessage& m) {
    TWinControl::CMTextChanged(m);
    // With a window, the window reports the change itself.
    if (!HandleAllocated())
        Change();
}

void TCustomEdit::SetMaxLength(int32_t value) {
    if (value == m_maxLength)
        return;
    m_maxLength = value;
    if (HandleAllocated())
        EditWindow(Handle()).SetLimit(value);
}

void TCustomEdit::SetReadOnly(bool value) {
    if (value == m_readOnly)
        return;
    m_readOnly = value;
    if (HandleAllocated())
        EditWindow(Handle()).SetReadOnly(value);
}

void TCustomEdit::SetBorderStyle(TBorderStyle value) {
    if (value == m_borderStyle)
        return;
    m_borderStyle = value;
    RecreateWnd();
    AdjustHeight();
}

void TCustomEdit::SetAutoSize(bool value) {
    if (value == m_autoSize)
        return;
    m_autoSize = value;
    SetControlStyle(value ? ControlStyle() + csFixedHeight : ControlStyle() - csFixedHeight);
    AdjustHeight();
}

void TCustomEdit::AdjustHeight() {
    if (!m_autoSize || m_borderStyle != bsSingle || IsLoading())
        return;
    auto dc = gdi::DeviceContext::ForMeasure();
    dc->SetFont(Font()->Spec());
    int allowance = (Ctl3D() ? 8 : 6) * SystemBorderHeight();
    SetHeight(dc->GetTextMetrics().height + allowance);
}

void TCustomEdit::CMFontChanged(TMessage& m) {
    TWinControl::CMFontChanged(m);
    AdjustHeight();
}

void TCustomEdit::CMCtl3DChanged(TMessage& m) {
    if (m_borderStyle == bsSingle) {
        RecreateWnd();
        AdjustHeight();
    }
    TWinControl::CMCtl3DChanged(m);
}

void TCustomEdit::AfterLoad() {
    TWinControl::AfterLoad();
    AdjustHeight();
}

void TCustomEdit::CMEnter(TMessage& m) {
    if (m_autoSelect)
        SelectAll();
    TWinControl::CMEnter(m);
}

void TCustomEdit::SelectAll() {
    if (HandleAllocated())
        EditWindow(Handle()).SelectAll();
}

int TCustomEdit::SelStart() const {
    return EditWindow(m_handle).Selection().start;
}

int TCustomEdit::SelLength() const {
    platform::stdwin::TextSelection selection = EditWindow(m_handle).Selection();
    return selection.end - selection.start;
}

void TCustomEdit::SetSelection(int start, int length) {
    if (HandleAllocated())
        EditWindow(Handle()).SetSelection(start, start + length);
}

} // namespace controls
