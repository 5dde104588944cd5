#include "controls/TButtonControl.h"

#include "frame/ClassBuilder.h"
#include "platform/display/WindowApi.h"
#include "platform/stdwin/ButtonWindow.h"

namespace controls {

using namespace frame;
namespace pf = platform;

const TClassInfo* TButtonControl::StaticClass() {
    static const auto info =
        TClassBuilder<TButtonControl>("TButtonControl", TWinControl::StaticClass()).Build();
    return info.get();
}

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner) {}

const TClassInfo* TButton::StaticClass() {
    static const auto info =
        TClassBuilder<TButton>("TButton", TButtonControl::StaticClass())
            .Property("Cancel", &TButton::Cancel, &TButton::SetCancel, frame::Default(0))
            .Property("Caption", &TControl::Caption, &TControl::SetCaption)
            .Property("Default", &TButton::Default, &TButton::SetDefault, frame::Default(0))
            .Property("ModalResult", &TButton::ModalResult, &TButton::SetModalResult,
                      frame::Default(0))
            .Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop, frame::Default(1))
            .Build();
    return info.get();
}

TButton::TButton(TComponent* owner) : TButtonControl(owner) {
    // The standard window captures the mouse and reports its clicks itself.
    SetControlStyle(TControlStyle{csSetCaption, csDoubleClicks});
    SetBounds(0, 0, 75, 25);
    SetTabStop(true);
}

void TButton::SetDefault(bool value) {
    m_default = value;
    m_active = value;
    if (TWinControl* root = RootParent(); root && root->HandleAllocated())
        root->FocusChangedBroadcast();
    else
        SetButtonStyle(m_active);
}

void TButton::Click() {
    // Also 0, and also on a form that is not modal, where it has no further effect.
    if (TCustomForm* form = GetParentForm(this))
        form->SetModalResult(m_modalResult);
    TButtonControl::Click();
}

void TButton::CreateParams(TCreateParams& params) {
    TButtonControl::CreateParams(params);
    CreateSubClass(params, pf::WC_BUTTON);
    params.style |= m_active ? pf::DWORD(pf::BS_DEFPUSHBUTTON) : pf::DWORD(pf::BS_PUSHBUTTON);
}

void TButton::CreateWnd() {
    m_active = m_default;
    TButtonControl::CreateWnd();
}

void TButton::SetButtonStyle(bool isDefault) {
    if (!HandleAllocated())
        return;
    auto style = isDefault ? pf::BS_DEFPUSHBUTTON : pf::BS_PUSHBUTTON;
    auto current = pf::GetWindowLongPtr(Handle(), pf::GWL_STYLE) & pf::BS_TYPEMASK;
    if (current != style)
        pf::stdwin::ButtonWindow(Handle()).SetStyle(style);
}

void TButton::CNCommand(TWMCommand& m) {
    if (m.notifyCode == pf::BN_CLICKED)
        Click();
}

void TButton::CMDialogKey(TCMDialogKey& m) {
    if (((m.key == pf::VK_RETURN && m_active) || (m.key == pf::VK_ESCAPE && m_cancel)) &&
        m.shift.Empty() && CanFocus()) {
        Click();
        m.message.result = 1;
        return;
    }
    TButtonControl::CMDialogKey(m);
}

void TButton::CMDialogChar(TCMDialogChar& m) {
    if (IsAccel(m.ch, Caption()) && CanFocus()) {
        Click();
        m.message.result = 1;
        return;
    }
    TButtonControl::CMDialogChar(m);
}

void TButton::CMFocusChanged(TCMFocusChanged& m) {
    // A focused push button takes the role; otherwise the Default one holds it.
    m_active = As<TButton>(m.focused) ? m.focused == this : m_default;
    SetButtonStyle(m_active);
    TButtonControl::CMFocusChanged(m);
}

} // namespace controls
