#include "frame/controls/TWinControl.h"

#include <algorithm>

#include "frame/ClassBuilder.h"
#include "frame/TReader.h"
#include "frame/controls/ControlBridge.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/SavedDC.h"
#include "rtl/ScopeExit.h"

namespace frame {

using namespace platform;

const TClassInfo* TWinControl::StaticClass() {
    static const auto info =
        TClassBuilder<TWinControl>("TWinControl", TControl::StaticClass())
            .Property("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder, Default(-1))
            .Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop, Default(0))
            .Property("OnEnter", &TWinControl::OnEnter)
            .Property("OnExit", &TWinControl::OnExit)
            .Property("OnKeyDown", &TWinControl::OnKeyDown)
            .Property("OnKeyPress", &TWinControl::OnKeyPress)
            .Property("OnKeyUp", &TWinControl::OnKeyUp)
            .Build();
    return info.get();
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {
    m_isWinControl = true;
}

TWinControl::~TWinControl() {
    SetStateFlag(csDestroying, true);
    *m_alive = false;
    ForgetEverywhere();
    if (m_parent)
        m_parent->RemoveControl(this);
    // One sweep takes the children's windows with ours; then the children themselves go.
    DestroyHandle();
    while (!m_controls.empty()) {
        TControl* child = m_controls.back();
        RemoveControl(child);
        delete child;
    }
}

// ---------------------------------------------------------------------------------------------
// Children

bool TWinControl::ContainsControl(const TControl* control) const {
    for (const TControl* c = control; c; c = c->m_parent) {
        if (c == this)
            return true;
    }
    return false;
}

void TWinControl::InsertControl(TControl* control) {
    control->m_parent = this;
    m_controls.push_back(control);
    if (control->m_isWinControl)
        m_tabList.push_back(static_cast<TWinControl*>(control));
    TAlive alive(control);
    // Values that follow the parent's.
    control->Perform(CM_PARENTCOLORCHANGED);
    control->Perform(CM_PARENTFONTCHANGED);
    control->Perform(CM_PARENTSHOWHINTCHANGED);
    control->Perform(CM_PARENTCTL3DCHANGED);
    if (!alive)
        return;
    if (control->m_isWinControl)
        static_cast<TWinControl*>(control)->UpdateControlState();
    else
        control->InvalidateControl(control->m_visible, control->m_visible);
    Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(control), 1);
}

void TWinControl::RemoveControl(TControl* control) {
    if (control->m_parent != this)
        return;
    if (TWinControl* root = RootParent())
        root->ControlRemoving(control);
    if (control->m_isWinControl) {
        auto* win = static_cast<TWinControl*>(control);
        // A child window cannot move to another parent: it is made again under the new one.
        win->DestroyHandle();
        std::erase(m_tabList, win);
    } else {
        control->InvalidateControl(control->m_visible, false);
    }
    std::erase(m_controls, control);
    control->m_parent = nullptr;
    Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(control), 0);
}

void TWinControl::ControlRemoving(TControl* control) {
    if (CaptureControl() && control->m_isWinControl &&
        static_cast<TWinControl*>(control)->ContainsControl(CaptureControl()))
        SetCaptureControl(nullptr);
    if (!control->m_isWinControl)
        return;
    auto* win = static_cast<TWinControl*>(control);
    if (m_activeControl && win->ContainsControl(m_activeControl))
        m_activeControl = nullptr;
    if (m_focusedControl && win->ContainsControl(m_focusedControl))
        m_focusedControl = nullptr;
}

TControl* TWinControl::ControlAtPos(TPoint pos, bool allowDisabled, bool allowWinControls) const {
    for (auto it = m_controls.rbegin(); it != m_controls.rend(); ++it) {
        TControl* c = *it;
        if (c->m_isWinControl && !allowWinControls)
            continue;
        if (!c->m_visible || (!c->m_enabled && !allowDisabled))
            continue;
        if (c->BoundsRect().Contains(pos))
            return c;
    }
    return nullptr;
}

void TWinControl::Broadcast(TMessage& message) {
    // By index: a handler may remove controls; none is visited twice and none after it went.
    for (size_t i = 0; i < m_controls.size(); ++i) {
        m_controls[i]->WindowProc(message);
        if (message.result != 0)
            return;
    }
}

void TWinControl::NotifyControls(UINT msg) {
    TMessage m{msg, 0, 0, 0};
    for (size_t i = 0; i < m_controls.size(); ++i) {
        m.result = 0;
        m_controls[i]->WindowProc(m);
    }
}

void TWinControl::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) {
    for (TControl* c : m_controls) {
        if (c->Owner() == root)
            proc(c);
    }
    if (root == this)
        TComponent::GetChildren(proc, root);
}

void TWinControl::SetChildPosition(TComponent* child, int position) {
    auto* control = As<TControl>(child);
    if (!control || control->m_parent != this) {
        TComponent::SetChildPosition(child, position);
        return;
    }
    std::erase(m_controls, control);
    size_t at = std::min<size_t>(position < 0 ? 0 : size_t(position), m_controls.size());
    m_controls.insert(m_controls.begin() + std::ptrdiff_t(at), control);
}

// ---------------------------------------------------------------------------------------------
// Geometry and painting

void TWinControl::SetBounds(int left, int top, int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (left == m_left && top == m_top && width == m_width && height == m_height)
        return;
    UpdateBoundsFields(left, top, width, height);
    if (m_handle) {
        // WM_SIZE comes back and runs Resize.
        SetWindowPos(m_handle, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    } else if (!IsLoading()) {
        Resize();
    }
}

void TWinControl::UpdateBounds() {
    TRect r;
    if (!m_handle || !GetWindowRect(m_handle, r))
        return;
    if (m_parent && m_parent->m_handle) {
        TPoint p{r.left, r.top};
        platform::ScreenToClient(m_parent->m_handle, p);
        r = TRect{p.x, p.y, p.x + r.Width(), p.y + r.Height()};
    }
    UpdateBoundsFields(r.left, r.top, r.Width(), r.Height());
}

void TWinControl::WMSize(TWMSize& m) {
    TAlive alive(this);
    DefaultHandler(m.message);
    if (!alive)
        return;
    UpdateBounds();
    if (!IsLoading())
        Resize();
}

void TWinControl::WMMove(TWMMove& m) {
    DefaultHandler(m.message);
    UpdateBounds();
}

void TWinControl::Invalidate() {
    if (m_handle && !IsLoading())
        InvalidateRect(m_handle, nullptr, !m_controlStyle.Contains(csOpaque));
}

void TWinControl::Update() {
    if (m_handle)
        UpdateWindow(m_handle);
}

void TWinControl::PaintControls(HDC dc) {
    TRect clip = dc->GetClipBox();
    for (size_t i = 0; i < m_controls.size(); ++i) {
        TControl* c = m_controls[i];
        if (c->m_isWinControl || !c->m_visible)
            continue;
        TRect r = c->BoundsRect();
        if (gdi::IntersectRect(r, clip).IsEmpty())
            continue;
        gdi::SavedDC saved(*dc);
        TPoint org = dc->GetViewportOrg();
        dc->SetViewportOrg(TPoint{org.x + r.left, org.y + r.top});
        dc->IntersectClipRect(TRect{0, 0, r.Width(), r.Height()});
        c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc));
    }
}

void TWinControl::PaintWindow(HDC) {}

void TWinControl::WMPaint(TWMPaint& m) {
    if (m.dc) {
        PaintWindow(m.dc);
        PaintControls(m.dc);
        return;
    }
    if (m_subclassed || !m_handle) {
        DefaultHandler(m.message);
        return;
    }
    HWND window = m_handle;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, ps);
    rtl::ScopeExit endPaint([&] { EndPaint(window, ps); });
    if (!dc)
        return;
    PaintWindow(dc);
    PaintControls(dc);
}

void TWinControl::WMEraseBkgnd(TWMEraseBkgnd& m) {
    if (m_subclassed || !m.dc) {
        DefaultHandler(m.message);
        return;
    }
    m.dc->FillRect(ClientRect(), gdi::BrushSpec{gdi::BrushStyle::Solid, ColorToRGB(Color())});
    m.message.result = 1;
}

void TWinControl::PaintTo(HDC dc, int x, int y) {
    gdi::SavedDC saved(*dc);
    TPoint org = dc->GetViewportOrg();
    dc->SetViewportOrg(TPoint{org.x + x, org.y + y});
    dc->IntersectClipRect(TRect{0, 0, m_width, m_height});
    if (!m_controlStyle.Contains(csOpaque))
        Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc));
    Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc));
    for (size_t i = 0; i < m_controls.size(); ++i) {
        TControl* c = m_controls[i];
        if (c->m_isWinControl && c->m_visible)
            static_cast<TWinControl*>(c)->PaintTo(dc, c->m_left, c->m_top);
    }
}

// ---------------------------------------------------------------------------------------------
// Notices

void TWinControl::CMEnabledChanged(TMessage& m) {
    if (m_handle)
        EnableWindow(m_handle, Enabled());
    TControl::CMEnabledChanged(m);
}

void TWinControl::CMVisibleChanged(TMessage& m) {
    if (!IsLoading())
        UpdateControlState();
    DefaultHandler(m);
}

void TWinControl::CMColorChanged(TMessage& m) {
    TControl::CMColorChanged(m);
    NotifyControls(CM_PARENTCOLORCHANGED);
}

void TWinControl::CMFontChanged(TMessage& m) {
    TControl::CMFontChanged(m);
    if (m_subclassed && m_handle)
        SendFontToWindow();
    NotifyControls(CM_PARENTFONTCHANGED);
}

void TWinControl::CMShowHintChanged(TMessage& m) {
    TControl::CMShowHintChanged(m);
    NotifyControls(CM_PARENTSHOWHINTCHANGED);
}

void TWinControl::CMCtl3DChanged(TMessage& m) {
    TControl::CMCtl3DChanged(m);
    NotifyControls(CM_PARENTCTL3DCHANGED);
}

// ---------------------------------------------------------------------------------------------
// Messages

void TWinControl::WindowProc(TMessage& message) {
    switch (message.msg) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
        if (RouteMouseToChild(message))
            return;
        break;
    default:
        break;
    }
    TControl::WindowProc(message);
}

bool TWinControl::RouteMouseToChild(TMessage& message) {
    TPoint pos{GET_X_LPARAM(message.lParam), GET_Y_LPARAM(message.lParam)};
    TControl* cap = CaptureControl();
    TControl* target = nullptr;
    if (cap) {
        if (cap->m_parent == this && !cap->m_isWinControl)
            target = cap;
    } else {
        target = ControlAtPos(pos, false);
    }
    if (!target)
        return false;
    TMessage child = message;
    child.lParam = MAKELPARAM(pos.x - target->m_left, pos.y - target->m_top);
    target->WindowProc(child);
    message.result = child.result;
    return true;
}

void TWinControl::DefaultHandler(TMessage& message) {
    // The frame's own notices mean nothing to a window procedure.
    if (!m_handle || (message.msg >= CM_BASE && message.msg < CN_BASE + 0x400))
        return;
    message.result = CallWindowProc(m_defWndProc ? m_defWndProc : &DefWindowProc, m_handle,
                                    message.msg, message.wParam, message.lParam);
}

void TWinControl::ReflectToChild(TMessage& message, HWND child) {
    // A notification from the window of a child control goes back to that control as CN_*; one
    // from any other window (or about this one) is the window procedure's.
    TWinControl* c = child ? FindControl(child) : nullptr;
    if (c && c != this) {
        message.result = c->Perform(CN_BASE + message.msg, message.wParam, message.lParam);
        return;
    }
    DefaultHandler(message);
}

void TWinControl::WMCommand(TWMCommand& m) {
    ReflectToChild(m.message, m.control);
}

void TWinControl::WMNotify(TWMNotify& m) {
    ReflectToChild(m.message, m.header ? m.header->hwndFrom : nullptr);
}

void TWinControl::WMDrawItem(TWMDrawItem& m) {
    ReflectToChild(m.message, m.item ? m.item->hwndItem : nullptr);
}

void TWinControl::WMHScroll(TWMScroll& m) {
    ReflectToChild(m.message, m.scrollBar);
}

void TWinControl::WMVScroll(TWMScroll& m) {
    ReflectToChild(m.message, m.scrollBar);
}

// ---------------------------------------------------------------------------------------------
// Text, scaling, streaming

std::string TWinControl::GetText() const {
    return m_handle ? GetWindowText(m_handle) : m_text;
}

void TWinControl::SetTextValue(const std::string& value) {
    m_text = value;
    if (m_handle)
        SetWindowText(m_handle, value);
}

void TWinControl::ChangeScale(int M, int D) {
    if (M == D || D == 0)
        return;
    for (size_t i = 0; i < m_controls.size(); ++i)
        m_controls[i]->ChangeScale(M, D);
    TControl::ChangeScale(M, D);
}

void TWinControl::ReadComponentState(TReader& reader) {
    TControl::ReadComponentState(reader);
    FixupTabList();
    UpdateControlState();
}

void TWinControl::AfterLoad() {
    TControl::AfterLoad();
    if (m_handle && m_subclassed)
        SendFontToWindow();
}

} // namespace frame
