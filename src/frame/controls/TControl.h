#pragma once
// TControl: a component with a place on the screen — bounds inside its parent, visibility,
// enabled state, caption, colour and font (each with a flag to take the parent's), hints, help
// context, mouse events. Messages reach a control through WindowProc, which Dispatch decodes once
// into typed records for the virtual handlers below. Windowless controls (TGraphicControl) are
// painted and hit-tested by their parent; windowed ones are TWinControl.
#include <functional>
#include <memory>
#include <string>

#include "frame/TComponent.h"
#include "frame/controls/ControlMessages.h"
#include "frame/controls/ControlTypes.h"
#include "frame/controls/TSizeConstraints.h"
#include "frame/graphics/TFont.h"

namespace platform::a11y {
class AccessibleNode;
}

namespace frame {

class TWinControl;

class TControl : public TComponent {
public:
    ZORVANE_CLASS(TControl)

    explicit TControl(TComponent* owner);
    ~TControl() override;

    // Answers whether a control still exists after a call that may have destroyed it (an event
    // handler that frees its own form):  TAlive alive(this); OnClick(this); if (!alive) return;
    class TAlive {
    public:
        explicit TAlive(const TControl* control) : m_flag(control->m_alive) {}
        explicit operator bool() const { return *m_flag; }

    private:
        std::shared_ptr<bool> m_flag;
    };

    // --- Parent ---
    TWinControl* Parent() const { return m_parent; }
    virtual void SetParent(TWinControl* parent);
    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* parent) override;
    // The top-most windowed parent (the form, for a control on a form); the control itself when
    // it is a parentless windowed control; null otherwise.
    TWinControl* RootParent() const;

    // --- Bounds (in the parent's client coordinates; a top-level window's are on the screen) ---
    int32_t Left() const { return m_left; }
    void SetLeft(int32_t v) { SetBounds(v, m_top, m_width, m_height); }
    int32_t Top() const { return m_top; }
    void SetTop(int32_t v) { SetBounds(m_left, v, m_width, m_height); }
    int32_t Width() const { return m_width; }
    void SetWidth(int32_t v) { SetBounds(m_left, m_top, v, m_height); }
    int32_t Height() const { return m_height; }
    void SetHeight(int32_t v) { SetBounds(m_left, m_top, m_width, v); }
    virtual void SetBounds(int left, int top, int width, int height);
    TRect BoundsRect() const { return TRect{m_left, m_top, m_left + m_width, m_top + m_height}; }
    void SetBoundsRect(const TRect& r) { SetBounds(r.left, r.top, r.Width(), r.Height()); }
    // The client area in client coordinates (0, 0 at its top-left).
    virtual TRect ClientRect() const { return TRect{0, 0, m_width, m_height}; }
    int ClientWidth() const { return ClientRect().Width(); }
    int ClientHeight() const { return ClientRect().Height(); }
    void SetClientWidth(int32_t v);
    void SetClientHeight(int32_t v);
    // Screen position of the client area's top-left corner.
    virtual TPoint ClientOrigin() const;
    TPoint ClientToScreen(TPoint p) const;
    TPoint ScreenToClient(TPoint p) const;

    // --- State ---
    bool Visible() const { return m_visible; }
    virtual void SetVisible(bool value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible with every parent up to a shown top-level window.
    virtual bool Showing() const;
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool value);
    // Caption and Text are one string (labels, buttons and forms publish Caption, edit boxes
    // Text). A windowed control whose window exists reads its window's text.
    std::string Caption() const { return GetText(); }
    void SetCaption(const std::string& value) { SetText(value); }
    std::string Text() const { return GetText(); }
    void SetText(const std::string& value);

    TColor Color() const { return m_color; }
    void SetColor(TColor value);
    bool ParentColor() const { return m_parentColor; }
    void SetParentColor(bool value);
    TFont* Font() const { return m_font.get(); }
    void SetFont(TFont* value) { m_font->Assign(value); }
    bool ParentFont() const { return m_parentFont; }
    void SetParentFont(bool value);
    const std::string& Hint() const { return m_hint; }
    void SetHint(const std::string& value) { m_hint = value; }
    bool ShowHint() const { return m_showHint; }
    void SetShowHint(bool value);
    bool ParentShowHint() const { return m_parentShowHint; }
    void SetParentShowHint(bool value);
    bool Ctl3D() const { return m_ctl3D; }
    void SetCtl3D(bool value);
    bool ParentCtl3D() const { return m_parentCtl3D; }
    void SetParentCtl3D(bool value);
    int32_t HelpContext() const { return m_helpContext; }
    void SetHelpContext(int32_t value) { m_helpContext = value; }

    // Stored and streamed; the frame gives them no behaviour.
    TCursor Cursor() const { return m_cursor; }
    void SetCursor(TCursor value) { m_cursor = value; }
    TAlign Align() const { return m_align; }
    void SetAlign(TAlign value) { m_align = value; }
    TAnchors Anchors() const { return m_anchors; }
    void SetAnchors(TAnchors value) { m_anchors = value; }
    TSizeConstraints* Constraints() const { return m_constraints.get(); }
    void SetConstraints(TSizeConstraints* value) { m_constraints->Assign(value); }
    TCursor DragCursor() const { return m_dragCursor; }
    void SetDragCursor(TCursor value) { m_dragCursor = value; }
    TDragKind DragKind() const { return m_dragKind; }
    void SetDragKind(TDragKind value) { m_dragKind = value; }
    TDragMode DragMode() const { return m_dragMode; }
    void SetDragMode(TDragMode value) { m_dragMode = value; }
    TComponent* PopupMenu() const { return m_popupMenu; }
    void SetPopupMenu(TComponent* value);

    TControlStyle ControlStyle() const { return m_controlStyle; }
    void SetControlStyle(TControlStyle value) { m_controlStyle = value; }
    TControlState ControlState() const { return m_controlState; }
    bool HasControlState(TControlStateFlag f) const { return m_controlState.Contains(f); }
    void SetControlStateFlag(TControlStateFlag f, bool on);
    // Being read from a stream (or its form is): nothing is painted or sized to content now.
    bool IsLoading() const;

    // --- Painting ---
    // Asks for a repaint; does nothing while loading or before there is a window to paint in.
    virtual void Invalidate();
    // Paints what is invalid now.
    virtual void Update();
    void Repaint();

    // --- Messages ---
    LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    // Every message comes through here; the default decodes and dispatches it. Override to see
    // messages before the typed handlers (call the base for the rest).
    virtual void WindowProc(TMessage& message);
    // Decodes a message and calls its typed handler (unknown messages go to DefaultHandler).
    void Dispatch(TMessage& message);
    // What happens to a message no handler took: nothing for a windowless control; a windowed
    // control passes it to its window's original procedure.
    virtual void DefaultHandler(TMessage& message);

    // The mouse goes to this control until released (a windowless control's parent window
    // captures it on its behalf).
    bool MouseCapture() const;
    void SetMouseCapture(bool value);

    virtual void Click();
    virtual void DblClick();

    // Multiplies position, size and (unless taken from the parent) font height by M / D.
    virtual void ChangeScale(int M, int D);

    bool IsWinControl() const { return m_isWinControl; }

    // --- Screen readers (TControlAccessible.h) ---
    // The control's node, made on first request; null for a control they do not see (a bevel).
    platform::a11y::AccessibleNode* Accessible();
    // The node if it has been made: notices never make one.
    platform::a11y::AccessibleNode* AccessibleIfMade() const { return m_accessible.get(); }
    // A name where caption, label and hint give none (a picture that opens the about box).
    const std::string& AccessibleName() const { return m_accessibleName; }
    void SetAccessibleName(const std::string& name) { m_accessibleName = name; }
    // What the control shows, in words (a chart's description); asked afresh each time.
    std::function<std::string()> AccessibleDescription;
    // The control a label names (its FocusControl); null for every other control.
    virtual TControl* LabelledControl() const { return nullptr; }

    // --- Streaming ---
    void ReadComponentState(TReader& reader) override;
    void AfterLoad() override;

    // Published events.
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TNotifyEvent OnResize;
    TDragDropEvent OnDragDrop;
    TDragOverEvent OnDragOver;
    TStartDragEvent OnStartDrag;
    TEndDragEvent OnEndDrag;
    TStartDockEvent OnStartDock;
    TEndDockEvent OnEndDock;

    // --- Typed handlers (Dispatch calls them; the defaults do the frame's work) ---
    virtual void WMMouseDown(TWMMouse& m);
    virtual void WMMouseUp(TWMMouse& m);
    virtual void WMMouseMove(TWMMouse& m);
    virtual void WMMouseWheel(TWMMouseWheel& m);
    virtual void WMKeyDown(TWMKey& m) { DefaultHandler(m.message); }
    virtual void WMKeyUp(TWMKey& m) { DefaultHandler(m.message); }
    virtual void WMChar(TWMChar& m) { DefaultHandler(m.message); }
    virtual void CNKeyDown(TWMKey& m) { DefaultHandler(m.message); }
    virtual void CNKeyUp(TWMKey& m) { DefaultHandler(m.message); }
    virtual void CNChar(TWMChar& m) { DefaultHandler(m.message); }
    virtual void WMSetFocus(TWMFocus& m) { DefaultHandler(m.message); }
    virtual void WMKillFocus(TWMFocus& m) { DefaultHandler(m.message); }
    virtual void WMPaint(TWMPaint& m) { DefaultHandler(m.message); }
    virtual void WMEraseBkgnd(TWMEraseBkgnd& m) { DefaultHandler(m.message); }
    virtual void WMSize(TWMSize& m) { DefaultHandler(m.message); }
    virtual void WMMove(TWMMove& m) { DefaultHandler(m.message); }
    virtual void WMCommand(TWMCommand& m) { DefaultHandler(m.message); }
    virtual void WMNotify(TWMNotify& m) { DefaultHandler(m.message); }
    virtual void WMDrawItem(TWMDrawItem& m) { DefaultHandler(m.message); }
    virtual void WMHScroll(TWMScroll& m) { DefaultHandler(m.message); }
    virtual void WMVScroll(TWMScroll& m) { DefaultHandler(m.message); }
    virtual void CNCommand(TWMCommand& m) { DefaultHandler(m.message); }
    virtual void CNNotify(TWMNotify& m) { DefaultHandler(m.message); }
    virtual void CNDrawItem(TWMDrawItem& m) { DefaultHandler(m.message); }
    virtual void CNHScroll(TWMScroll& m) { DefaultHandler(m.message); }
    virtual void CNVScroll(TWMScroll& m) { DefaultHandler(m.message); }
    virtual void WMActivate(TWMActivate& m) { DefaultHandler(m.message); }
    virtual void WMActivateApp(TWMActivateApp& m) { DefaultHandler(m.message); }
    virtual void WMSysCommand(TWMSysCommand& m) { DefaultHandler(m.message); }
    virtual void WMClose(TMessage& m) { DefaultHandler(m); }
    virtual void WMTimer(TWMTimer& m) { DefaultHandler(m.message); }
    virtual void WMHelp(TWMHelp& m) { DefaultHandler(m.message); }
    virtual void WMCancelMode(TMessage& m);
    virtual void WMCaptureChanged(TMessage& m);
    virtual void CMEnabledChanged(TMessage& m);
    virtual void CMVisibleChanged(TMessage& m);
    virtual void CMTextChanged(TMessage& m);
    virtual void CMColorChanged(TMessage& m);
    virtual void CMFontChanged(TMessage& m);
    virtual void CMParentColorChanged(TMessage& m);
    virtual void CMParentFontChanged(TMessage& m);
    virtual void CMShowHintChanged(TMessage& m);
    virtual void CMParentShowHintChanged(TMessage& m);
    virtual void CMCtl3DChanged(TMessage& m);
    virtual void CMParentCtl3DChanged(TMessage& m);
    virtual void CMShowingChanged(TMessage& m) { DefaultHandler(m); }
    virtual void CMDialogKey(TCMDialogKey& m) { DefaultHandler(m.message); }
    virtual void CMDialogChar(TCMDialogChar& m) { DefaultHandler(m.message); }
    virtual void CMFocusChanged(TCMFocusChanged& m) { DefaultHandler(m.message); }
    virtual void CMEnter(TMessage& m) { DefaultHandler(m); }
    virtual void CMExit(TMessage& m) { DefaultHandler(m); }
    virtual void CMCancelMode(TMessage& m);
    virtual void CMMouseEnter(TCMMouse& m);
    virtual void CMMouseLeave(TCMMouse& m);
    virtual void CMHintShow(TCMHintShow& m) { DefaultHandler(m.message); }
    virtual void CMHintShowPause(TCMHintShowPause& m) { DefaultHandler(m.message); }
    virtual void CMActivate(TMessage& m) { DefaultHandler(m); }
    virtual void CMDeactivate(TMessage& m) { DefaultHandler(m); }
    virtual void CMRelease(TMessage& m) { DefaultHandler(m); }

protected:
    // The node of this kind of control; the default is a panel (windowed) or nothing.
    virtual std::unique_ptr<platform::a11y::AccessibleNode> CreateAccessible();

    // The text as stored or, for a windowed control with a window, as its window has it.
    virtual std::string GetText() const { return m_text; }
    // Stores the text (a windowed control also hands it to its window).
    virtual void SetTextValue(const std::string& value);

    // The events' raisers; mouse events are not raised with csNoStdEvents.
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    // After the bounds changed.
    virtual void Resize();
    // The bounds were changed by the window (a host resize): store them without moving it again.
    void UpdateBoundsFields(int left, int top, int width, int height);
    // Invalidates the control's rectangle on its parent's window (windowless controls).
    void InvalidateControl(bool wasVisible, bool isVisible);
    virtual void VisibleChanging() {}
    bool IsColorStored() const { return !m_parentColor; }
    bool IsFontStored() const { return !m_parentFont; }
    bool IsShowHintStored() const { return !m_parentShowHint; }
    bool IsCtl3DStored() const { return !m_parentCtl3D; }
    void Notification(TComponent* component, TOperation operation) override;

    TWinControl* m_parent = nullptr;
    int32_t m_left = 0;
    int32_t m_top = 0;
    int32_t m_width = 0;
    int32_t m_height = 0;
    bool m_visible = true;
    bool m_enabled = true;
    std::string m_text;
    TControlStyle m_controlStyle{csCaptureMouse, csClickEvents, csDoubleClicks};
    TControlState m_controlState;
    bool m_isWinControl = false;

private:
    friend class TWinControl;
    void FontChanged(TObject*);
    void ForgetEverywhere();
    // Dispatch, one family of messages each: true when the message was one of theirs.
    bool DispatchMouse(TMessage& message);
    bool DispatchKey(TMessage& message);
    bool DispatchWindow(TMessage& message);
    bool DispatchActivation(TMessage& message);
    bool DispatchReflected(TMessage& message);
    bool DispatchNotice(TMessage& message);
    bool DispatchTypedNotice(TMessage& message);

    TColor m_color = clWindow;
    bool m_parentColor = true;
    std::unique_ptr<TFont> m_font;
    bool m_parentFont = true;
    bool m_takingParentFont = false;
    std::string m_hint;
    bool m_showHint = false;
    bool m_parentShowHint = true;
    bool m_ctl3D = true;
    bool m_parentCtl3D = true;
    int32_t m_helpContext = 0;
    TCursor m_cursor = crDefault;
    TAlign m_align = alNone;
    TAnchors m_anchors{akLeft, akTop};
    std::unique_ptr<TSizeConstraints> m_constraints;
    TCursor m_dragCursor = crDrag;
    TDragKind m_dragKind = dkDrag;
    TDragMode m_dragMode = dmManual;
    TComponent* m_popupMenu = nullptr;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
    std::string m_accessibleName;
    std::unique_ptr<platform::a11y::AccessibleNode> m_accessible;
};

// The short hint (before the first "|", or all) and the long hint (after it, or all).
std::string GetShortHint(const std::string& hint);
std::string GetLongHint(const std::string& hint);
// Whether `ch` is the accelerator of `caption` ("&x" marks it; "&&" is a plain "&"). Letters
// compare without regard to case, Cyrillic ones too.
bool IsAccel(char32_t ch, const std::string& caption);
// Lower case of a Latin or Cyrillic letter; other characters unchanged.
char32_t FoldCase(char32_t ch);

} // namespace frame
