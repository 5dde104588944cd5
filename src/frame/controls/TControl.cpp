#include "frame/controls/TControl.h"

#include "frame/ClassBuilder.h"
#include "frame/TReader.h"
#include "frame/controls/ControlBridge.h"
#include "frame/controls/TControlAccessible.h"
#include "frame/controls/TWinControl.h"
#include "platform/gdi/DeviceContext.h"
#include "rtl/Exception.h"
#include "rtl/ScopeExit.h"

namespace frame {

using platform::gdi::MulDiv;

const TClassInfo* TControl::StaticClass() {
    static const auto info =
        TClassBuilder<TControl>("TControl", TComponent::StaticClass())
            .Property("Left", &TControl::Left, &TControl::SetLeft, NoDefault())
            .Property("Top", &TControl::Top, &TControl::SetTop, NoDefault())
            .Property("Width", &TControl::Width, &TControl::SetWidth, NoDefault())
            .Property("Height", &TControl::Height, &TControl::SetHeight, NoDefault())
            .Property("Align", &TControl::Align, &TControl::SetAlign, Default(alNone))
            .Property("Anchors", &TControl::Anchors, &TControl::SetAnchors,
                      Default(TAnchors{akLeft, akTop}.Mask()))
            .Property("Color", ColorType(), &TControl::Color, &TControl::SetColor, NoDefault(),
                      StoredIf(&TControl::IsColorStored))
            .Property("Constraints", &TControl::Constraints, &TControl::SetConstraints)
            .Property("Ctl3D", &TControl::Ctl3D, &TControl::SetCtl3D, NoDefault(),
                      StoredIf(&TControl::IsCtl3DStored))
            .Property("Cursor", CursorType(), &TControl::Cursor, &TControl::SetCursor,
                      Default(crDefault))
            .Property("DragCursor", CursorType(), &TControl::DragCursor, &TControl::SetDragCursor,
                      Default(crDrag))
            .Property("DragKind", &TControl::DragKind, &TControl::SetDragKind, Default(dkDrag))
            .Property("DragMode", &TControl::DragMode, &TControl::SetDragMode, Default(dmManual))
            .Property("Enabled", &TControl::Enabled, &TControl::SetEnabled, Default(1))
            .Property("Font", &TControl::Font, &TControl::SetFont,
                      StoredIf(&TControl::IsFontStored))
            .Property("HelpContext", &TControl::HelpContext, &TControl::SetHelpContext, Default(0))
            .Property("Hint", &TControl::Hint, &TControl::SetHint)
            .Property("ParentColor", &TControl::ParentColor, &TControl::SetParentColor, Default(1))
            .Property("ParentCtl3D", &TControl::ParentCtl3D, &TControl::SetParentCtl3D, Default(1))
            .Property("ParentFont", &TControl::ParentFont, &TControl::SetParentFont, Default(1))
            .Property("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint,
                      Default(1))
            .Property("PopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu)
            .Property("ShowHint", &TControl::ShowHint, &TControl::SetShowHint, NoDefault(),
                      StoredIf(&TControl::IsShowHintStored))
            .Property("Visible", &TControl::Visible, &TControl::SetVisible, Default(1))
            .Property("OnClick", &TControl::OnClick)
            .Property("OnDblClick", &TControl::OnDblClick)
            .Property("OnMouseDown", &TControl::OnMouseDown)
            .Property("OnMouseMove", &TControl::OnMouseMove)
            .Property("OnMouseUp", &TControl::OnMouseUp)
            .Property("OnDragDrop", &TControl::OnDragDrop)
            .Property("OnDragOver", &TControl::OnDragOver)
            .Property("OnStartDrag", &TControl::OnStartDrag)
            .Property("OnEndDrag", &TControl::OnEndDrag)
            .Property("OnStartDock", &TControl::OnStartDock)
            .Property("OnEndDock", &TControl::OnEndDock)
            .Build();
    return info.get();
}

TControl::TControl(TComponent* owner)
    : TComponent(owner), m_font(std::make_unique<TFont>()),
      m_constraints(std::make_unique<TSizeConstraints>()) {
    m_font->OnChange = TNotifyEvent::Of<&TControl::FontChanged>(this);
}

TControl::~TControl() {
    *m_alive = false;
    // Screen readers still holding the node see it gone before the control's parts go.
    m_accessible.reset();
    // A windowed control did this at the start of its own destructor, while it still was one.
    if (!m_isWinControl)
        ForgetEverywhere();
    if (m_parent)
        m_parent->RemoveControl(this);
    m_font->OnChange = TNotifyEvent();
}

void TControl::ForgetEverywhere() {
    if (CaptureControl() == this)
        SetCaptureControl(nullptr);
    if (ControlHooks().destroying)
        ControlHooks().destroying(this);
}

// ---------------------------------------------------------------------------------------------
// Parent

void TControl::SetParent(TWinControl* parent) {
    if (m_parent == parent)
        return;
    for (TWinControl* p = parent; p; p = p->m_parent) {
        if (p == this)
            throw rtl::EInvalidOperation(std::string("A control cannot have itself as its parent"));
    }
    if (m_parent)
        m_parent->RemoveControl(this);
    if (parent)
        parent->InsertControl(this);
}

TComponent* TControl::GetParentComponent() const {
    return m_parent;
}

void TControl::SetParentComponent(TComponent* parent) {
    if (auto* p = As<TWinControl>(parent))
        SetParent(p);
}

TWinControl* TControl::RootParent() const {
    const TControl* c = this;
    while (c->m_parent)
        c = c->m_parent;
    return c->m_isWinControl ? static_cast<TWinControl*>(const_cast<TControl*>(c)) : nullptr;
}

// ---------------------------------------------------------------------------------------------
// Bounds

void TControl::SetBounds(int left, int top, int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (left == m_left && top == m_top && width == m_width && height == m_height)
        return;
    InvalidateControl(m_visible, false);
    m_left = left;
    m_top = top;
    m_width = width;
    m_height = height;
    InvalidateControl(false, m_visible);
    if (!IsLoading())
        Resize();
}

void TControl::UpdateBoundsFields(int left, int top, int width, int height) {
    m_left = left;
    m_top = top;
    m_width = width;
    m_height = height;
}

void TControl::SetClientWidth(int32_t v) {
    SetWidth(m_width - ClientWidth() + v);
}

void TControl::SetClientHeight(int32_t v) {
    SetHeight(m_height - ClientHeight() + v);
}

TPoint TControl::ClientOrigin() const {
    if (!m_parent)
        return TPoint{m_left, m_top};
    TPoint o = m_parent->ClientOrigin();
    return TPoint{o.x + m_left, o.y + m_top};
}

TPoint TControl::ClientToScreen(TPoint p) const {
    TPoint o = ClientOrigin();
    return TPoint{p.x + o.x, p.y + o.y};
}

TPoint TControl::ScreenToClient(TPoint p) const {
    TPoint o = ClientOrigin();
    return TPoint{p.x - o.x, p.y - o.y};
}

void TControl::Resize() {
    OnResize(this);
}

// ---------------------------------------------------------------------------------------------
// State

void TControl::SetVisible(bool value) {
    if (m_visible == value)
        return;
    VisibleChanging();
    m_visible = value;
    Perform(CM_VISIBLECHANGED, value ? 1 : 0);
    AccessibleStateChanged(*this, platform::a11y::State::Visible, value);
}

bool TControl::Showing() const {
    return m_visible && m_parent && m_parent->Showing();
}

void TControl::SetEnabled(bool value) {
    if (m_enabled == value)
        return;
    m_enabled = value;
    Perform(CM_ENABLEDCHANGED);
    AccessibleStateChanged(*this, platform::a11y::State::Enabled, value);
    AccessibleStateChanged(*this, platform::a11y::State::Sensitive, value);
}

void TControl::SetText(const std::string& value) {
    if (GetText() == value)
        return;
    SetTextValue(value);
    Perform(CM_TEXTCHANGED);
    AccessibleNameChanged(*this);
    AccessibleTextChanged(*this);
}

platform::a11y::AccessibleNode* TControl::Accessible() {
    if (!m_accessible && !HasState(csDestroying))
        m_accessible = CreateAccessible();
    return m_accessible.get();
}

std::unique_ptr<platform::a11y::AccessibleNode> TControl::CreateAccessible() {
    if (!m_isWinControl)
        return nullptr;
    return std::make_unique<TControlAccessible>(*this, platform::a11y::Role::Panel);
}

void TControl::SetTextValue(const std::string& value) {
    m_text = value;
}

void TControl::SetColor(TColor value) {
    if (m_color == value)
        return;
    m_color = value;
    m_parentColor = false;
    Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool value) {
    if (m_parentColor == value)
        return;
    m_parentColor = value;
    if (value && m_parent && !HasControlState(csReadingState))
        Perform(CM_PARENTCOLORCHANGED);
}

void TControl::FontChanged(TObject*) {
    if (!m_takingParentFont)
        m_parentFont = false;
    Perform(CM_FONTCHANGED);
}

void TControl::SetParentFont(bool value) {
    if (m_parentFont == value)
        return;
    m_parentFont = value;
    if (value && m_parent && !HasControlState(csReadingState))
        Perform(CM_PARENTFONTCHANGED);
}

void TControl::SetShowHint(bool value) {
    if (m_showHint == value)
        return;
    m_showHint = value;
    m_parentShowHint = false;
    Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetParentShowHint(bool value) {
    if (m_parentShowHint == value)
        return;
    m_parentShowHint = value;
    if (value && m_parent && !HasControlState(csReadingState))
        Perform(CM_PARENTSHOWHINTCHANGED);
}

void TControl::SetCtl3D(bool value) {
    if (m_ctl3D == value)
        return;
    m_ctl3D = value;
    m_parentCtl3D = false;
    Perform(CM_CTL3DCHANGED);
}

void TControl::SetParentCtl3D(bool value) {
    if (m_parentCtl3D == value)
        return;
    m_parentCtl3D = value;
    if (value && m_parent && !HasControlState(csReadingState))
        Perform(CM_PARENTCTL3DCHANGED);
}

void TControl::SetPopupMenu(TComponent* value) {
    if (m_popupMenu == value)
        return;
    if (m_popupMenu)
        RemoveFreeNotification(m_popupMenu);
    m_popupMenu = value;
    if (value)
        FreeNotification(value);
}

void TControl::Notification(TComponent* component, TOperation operation) {
    if (operation == opRemove && component == m_popupMenu)
        m_popupMenu = nullptr;
    TComponent::Notification(component, operation);
}

void TControl::SetControlStateFlag(TControlStateFlag f, bool on) {
    if (on)
        m_controlState.Include(f);
    else
        m_controlState.Exclude(f);
}

bool TControl::IsLoading() const {
    return HasState(csLoading) || HasControlState(csReadingState) || HasState(csDestroying);
}

// ---------------------------------------------------------------------------------------------
// Painting

void TControl::InvalidateControl(bool wasVisible, bool isVisible) {
    if (!(wasVisible || isVisible) || IsLoading() || !m_parent || !m_parent->HandleAllocated())
        return;
    // The parent erases the rectangle unless the control, still there and opaque, paints every
    // pixel of it itself: bounds it leaves (moved, shrunk, hidden) are the parent's background.
    TRect r = BoundsRect();
    platform::InvalidateRect(m_parent->m_handle, &r,
                             !(isVisible && m_controlStyle.Contains(csOpaque)));
}

void TControl::Invalidate() {
    InvalidateControl(m_visible, m_visible);
}

void TControl::Update() {
    if (m_parent)
        m_parent->Update();
}

void TControl::Repaint() {
    Invalidate();
    Update();
}

// ---------------------------------------------------------------------------------------------
// Messages

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
    TMessage m{msg, wParam, lParam, 0};
    WindowProc(m);
    return m.result;
}

void TControl::WindowProc(TMessage& message) {
    Dispatch(message);
}

void TControl::DefaultHandler(TMessage&) {}

bool TControl::MouseCapture() const {
    return CaptureControl() == this;
}

void TControl::SetMouseCapture(bool value) {
    if (MouseCapture() == value)
        return;
    SetCaptureControl(value ? this : nullptr);
}

void TControl::Click() {
    OnClick(this);
}

void TControl::DblClick() {
    OnDblClick(this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (!m_controlStyle.Contains(csNoStdEvents))
        OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (!m_controlStyle.Contains(csNoStdEvents))
        OnMouseUp(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
    if (!m_controlStyle.Contains(csNoStdEvents))
        OnMouseMove(this, shift, x, y);
}

void TControl::WMMouseDown(TWMMouse& m) {
    TAlive alive(this);
    DefaultHandler(m.message);
    if (!alive)
        return;
    TShiftState shift = m.shift;
    if (m.button == mbLeft) {
        if (m_controlStyle.Contains(csCaptureMouse))
            SetMouseCapture(true);
        if (m.doubleClick) {
            DblClick();
            if (!alive)
                return;
        } else if (m_controlStyle.Contains(csClickEvents)) {
            m_controlState.Include(csClicked);
        }
    }
    if (m.doubleClick)
        shift.Include(ssDouble);
    MouseDown(m.button, shift, m.pos.x, m.pos.y);
}

void TControl::WMMouseUp(TWMMouse& m) {
    TAlive alive(this);
    DefaultHandler(m.message);
    if (!alive)
        return;
    if (m.button == mbLeft) {
        if (m_controlStyle.Contains(csCaptureMouse))
            SetMouseCapture(false);
        if (m_controlState.Contains(csClicked)) {
            m_controlState.Exclude(csClicked);
            if (ClientRect().Contains(m.pos)) {
                Click();
                if (!alive)
                    return;
            }
        }
    }
    MouseUp(m.button, m.shift, m.pos.x, m.pos.y);
}

void TControl::WMMouseMove(TWMMouse& m) {
    TAlive alive(this);
    DefaultHandler(m.message);
    if (!alive)
        return;
    if (ControlHooks().mouseMoved) {
        ControlHooks().mouseMoved(this, m.pos);
        if (!alive)
            return;
    }
    MouseMove(m.shift, m.pos.x, m.pos.y);
}

void TControl::WMMouseWheel(TWMMouseWheel& m) {
    DefaultHandler(m.message);
}

void TControl::WMCancelMode(TMessage& m) {
    m_controlState.Exclude(csClicked);
    if (MouseCapture())
        SetMouseCapture(false);
    DefaultHandler(m);
}

void TControl::CMCancelMode(TMessage& m) {
    m_controlState.Exclude(csClicked);
    if (MouseCapture())
        SetMouseCapture(false);
    DefaultHandler(m);
}

void TControl::WMCaptureChanged(TMessage& m) {
    // Our own release keeps a press in progress (the release that follows decides the click);
    // the capture taken by another window drops it.
    bool stolen = m.lParam != 0;
    TControl* cap = CaptureControl();
    if (cap && (cap == this || cap->m_parent == this)) {
        if (stolen)
            cap->m_controlState.Exclude(csClicked);
        SetCaptureControl(nullptr);
    }
    if (stolen)
        m_controlState.Exclude(csClicked);
    DefaultHandler(m);
}

void TControl::CMEnabledChanged(TMessage& m) {
    Invalidate();
    DefaultHandler(m);
}

void TControl::CMVisibleChanged(TMessage& m) {
    InvalidateControl(true, true);
    DefaultHandler(m);
}

void TControl::CMTextChanged(TMessage& m) {
    Invalidate();
    DefaultHandler(m);
}

void TControl::CMColorChanged(TMessage& m) {
    Invalidate();
    DefaultHandler(m);
}

void TControl::CMFontChanged(TMessage& m) {
    Invalidate();
    DefaultHandler(m);
}

void TControl::CMParentColorChanged(TMessage& m) {
    if (m_parentColor && m_parent) {
        SetColor(m_parent->Color());
        m_parentColor = true;
    }
    DefaultHandler(m);
}

void TControl::CMParentFontChanged(TMessage& m) {
    if (m_parentFont && m_parent) {
        rtl::ValueRestore taking(m_takingParentFont, true);
        m_font->Assign(m_parent->Font());
    }
    DefaultHandler(m);
}

void TControl::CMShowHintChanged(TMessage& m) {
    DefaultHandler(m);
}

void TControl::CMParentShowHintChanged(TMessage& m) {
    if (m_parentShowHint && m_parent) {
        SetShowHint(m_parent->ShowHint());
        m_parentShowHint = true;
    }
    DefaultHandler(m);
}

void TControl::CMCtl3DChanged(TMessage& m) {
    Invalidate();
    DefaultHandler(m);
}

void TControl::CMParentCtl3DChanged(TMessage& m) {
    if (m_parentCtl3D && m_parent) {
        SetCtl3D(m_parent->Ctl3D());
        m_parentCtl3D = true;
    }
    DefaultHandler(m);
}

void TControl::CMMouseEnter(TCMMouse& m) {
    // A parent hears that the mouse came over one of its children.
    if (m_parent)
        m_parent->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(m.control));
    DefaultHandler(m.message);
}

void TControl::CMMouseLeave(TCMMouse& m) {
    if (m_parent)
        m_parent->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(m.control));
    DefaultHandler(m.message);
}

// ---------------------------------------------------------------------------------------------
// Scaling and streaming

void TControl::ChangeScale(int M, int D) {
    if (M == D || D == 0)
        return;
    int left = MulDiv(m_left, M, D);
    int top = MulDiv(m_top, M, D);
    int width = m_controlStyle.Contains(csFixedWidth) ? m_width : MulDiv(m_width, M, D);
    int height = m_controlStyle.Contains(csFixedHeight) ? m_height : MulDiv(m_height, M, D);
    if (!m_parentFont) {
        bool saved = m_parentFont;
        m_font->SetHeight(MulDiv(m_font->Height(), M, D));
        m_parentFont = saved;
    }
    SetBounds(left, top, width, height);
}

void TControl::ReadComponentState(TReader& reader) {
    m_controlState.Include(csReadingState);
    rtl::ScopeExit done([this] { m_controlState.Exclude(csReadingState); });
    TComponent::ReadComponentState(reader);
}

void TControl::AfterLoad() {
    TComponent::AfterLoad();
    // Values taken from the parent follow it now that both are read.
    if (m_parent) {
        if (m_parentColor)
            Perform(CM_PARENTCOLORCHANGED);
        if (m_parentFont)
            Perform(CM_PARENTFONTCHANGED);
        if (m_parentShowHint)
            Perform(CM_PARENTSHOWHINTCHANGED);
        if (m_parentCtl3D)
            Perform(CM_PARENTCTL3DCHANGED);
    }
}

} // namespace frame
