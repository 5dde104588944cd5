#pragma once
// TWinControl: a control with a window of its own, made when first needed. It contains child
// controls (windowed ones have child windows; windowless ones it paints and hit-tests itself),
// keeps their tab order, takes the keyboard focus, and is the place where the window manager's
// messages meet the frame. A windowed control either has a window of the frame's own class (its
// default handler is the plain default procedure) or wraps a standard window (BUTTON, EDIT ...),
// whose own procedure becomes the default handler.
#include <string>
#include <vector>

#include "frame/controls/TControl.h"
#include "platform/display/WindowApi.h"

namespace frame {

// What CreateParams fills in before the window is made.
struct TCreateParams {
    std::string caption;
    platform::DWORD style = 0;
    platform::DWORD exStyle = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    HWND wndParent = nullptr;
    // The window class: the frame registers it on first use with FrameWindowProc, unless it is
    // a standard class wrapped with CreateSubClass.
    std::string winClassName;
    UINT classStyle = platform::CS_DBLCLKS;
    bool subclassed = false;
};

class TWinControl : public TControl {
public:
    ZORVANE_CLASS(TWinControl)

    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    // --- Children ---
    int ControlCount() const { return static_cast<int>(m_controls.size()); }
    TControl* Controls(int index) const { return m_controls.at(static_cast<size_t>(index)); }
    bool ContainsControl(const TControl* control) const;
    // The child under a point of the client area (topmost first); windowless children only
    // unless `allowWinControls`.
    TControl* ControlAtPos(TPoint pos, bool allowDisabled, bool allowWinControls = false) const;
    // Sends the message to each child until one answers (result non-zero).
    void Broadcast(TMessage& message);
    void NotifyControls(UINT msg);
    // Stream children: the controls this one is parent of.
    void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;
    void SetChildPosition(TComponent* child, int position) override;

    // --- The window ---
    HWND Handle(); // made on demand (with the parents' windows)
    bool HandleAllocated() const { return m_handle != nullptr; }
    void HandleNeeded() { Handle(); }
    // Destroys the window (with the children's); it is made again when needed.
    void DestroyHandle();
    void RecreateWnd();
    bool Showing() const override { return m_showing; }
    // Makes the window's visibility follow Visible (creating the window when it shows, with the
    // windows of the children that are visible).
    void UpdateShowing();
    // UpdateShowing, but only when every parent shows up to a top-level window: controls of a
    // form that is not shown get no windows yet.
    void UpdateControlState();
    TRect ClientRect() const override;
    TPoint ClientOrigin() const override;
    void SetBounds(int left, int top, int width, int height) override;
    void Invalidate() override;
    void Update() override;
    // Paints this control and its children into `dc` at x, y, without using its window.
    void PaintTo(platform::HDC dc, int x, int y);
    // Paints the windowless children that meet the context's clip box.
    void PaintControls(platform::HDC dc);

    // --- Focus and tab order ---
    bool TabStop() const { return m_tabStop; }
    void SetTabStop(bool value);
    int32_t TabOrder() const;
    void SetTabOrder(int32_t value);
    // Visible and enabled together with every parent, and the top-level window shows.
    virtual bool CanFocus() const;
    bool Focused() const;
    virtual void SetFocus();
    // The windowed descendants in tab order (depth first).
    void GetTabOrderList(std::vector<TWinControl*>& list) const;
    // The control after (or before) `current` in tab order among this one's descendants.
    TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop,
                                 bool checkParent) const;
    void SelectNext(TWinControl* current, bool goForward, bool checkTabStop);
    // The keys the control keeps for itself (DLGC_*); the rest serve the form's navigation,
    // default and cancel buttons and accelerators.
    virtual unsigned DialogCode() const { return 0; }
    // Whether a form's KeyPreview sends key events to it first (forms answer).
    virtual bool KeyPreviewing() const { return false; }

    // For a top-level container (a form): the control that has or gets the focus in it.
    TWinControl* ActiveControl() const { return m_activeControl; }
    void SetActiveControl(TWinControl* control);
    // Called on the top-level container when one of its controls receives the focus: runs
    // OnExit/OnEnter along the way and sends CM_FOCUSCHANGED to every control.
    virtual bool SetFocusedControl(TWinControl* control);
    // The control with the keyboard focus in this container, or null.
    TWinControl* FocusedControl() const { return m_focusedControl; }
    // Sends CM_FOCUSCHANGED again (a button that becomes the default calls it on its form).
    void FocusChangedBroadcast();
    // A child goes away: drops references to it and its descendants.
    virtual void ControlRemoving(TControl* control);

    // Multiplies the children too.
    void ChangeScale(int M, int D) override;
    void AfterLoad() override;
    void ReadComponentState(TReader& reader) override;

    // Published events of windowed controls.
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyUp;

    // --- Typed handlers ---
    void WindowProc(TMessage& message) override;
    void DefaultHandler(TMessage& message) override;
    void WMPaint(TWMPaint& m) override;
    void WMEraseBkgnd(TWMEraseBkgnd& m) override;
    void WMSize(TWMSize& m) override;
    void WMMove(TWMMove& m) override;
    void WMActivate(TWMActivate& m) override;
    void WMSetFocus(TWMFocus& m) override;
    void WMKillFocus(TWMFocus& m) override;
    void WMKeyDown(TWMKey& m) override;
    void WMKeyUp(TWMKey& m) override;
    void WMChar(TWMChar& m) override;
    void CNKeyDown(TWMKey& m) override;
    void CNChar(TWMChar& m) override;
    void WMCommand(TWMCommand& m) override;
    void WMNotify(TWMNotify& m) override;
    void WMDrawItem(TWMDrawItem& m) override;
    void WMHScroll(TWMScroll& m) override;
    void WMVScroll(TWMScroll& m) override;
    void CMEnabledChanged(TMessage& m) override;
    void CMVisibleChanged(TMessage& m) override;
    void CMColorChanged(TMessage& m) override;
    void CMFontChanged(TMessage& m) override;
    void CMShowHintChanged(TMessage& m) override;
    void CMCtl3DChanged(TMessage& m) override;
    void CMShowingChanged(TMessage& m) override;
    void CMDialogKey(TCMDialogKey& m) override;
    void CMDialogChar(TCMDialogChar& m) override;
    void CMFocusChanged(TCMFocusChanged& m) override;
    void CMEnter(TMessage& m) override;
    void CMExit(TMessage& m) override;

    // Fills `params` for a standard window class: its procedure becomes the default handler.
    static void CreateSubClass(TCreateParams& params, const std::string& className);

protected:
    std::string GetText() const override;
    void SetTextValue(const std::string& value) override;

    // What the window is made with; override to add styles or wrap a standard class.
    virtual void CreateParams(TCreateParams& params);
    // Makes the window (CreateParams, class registration, CreateWindowHandle, binding) and then
    // hands it the text and the font.
    virtual void CreateWnd();
    virtual void CreateWindowHandle(const TCreateParams& params);
    virtual void DestroyWnd();
    // Makes this window, then the windows of the children that show.
    virtual void CreateHandle();
    // Paints the control's own content (TCustomControl: its canvas and Paint).
    virtual void PaintWindow(platform::HDC dc);
    // Gives a wrapped standard window the control's font.
    void SendFontToWindow();

    // Key events; each returns true when a handler swallowed the key.
    virtual void KeyDown(uint16_t& key, TShiftState shift);
    virtual void KeyUp(uint16_t& key, TShiftState shift);
    virtual void KeyPress(char32_t& key);
    bool DoKeyDown(TWMKey& m);
    bool DoKeyUp(TWMKey& m);
    bool DoKeyPress(TWMChar& m);

    // Keeps the windowless-child mouse messages away from the window (routes them to the child).
    bool RouteMouseToChild(TMessage& message);
    // WM_COMMAND, WM_NOTIFY, WM_DRAWITEM, WM_HSCROLL, WM_VSCROLL from `child`: to the child's
    // control as the matching CN_* message, when it has one.
    void ReflectToChild(TMessage& message, HWND child);
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    void UpdateBounds();
    void FixupTabList();

    HWND m_handle = nullptr;
    platform::WNDPROC m_defWndProc = nullptr;
    bool m_showing = false;
    bool m_subclassed = false; // wraps a standard window class

private:
    friend class TControl;
    friend void BindWindow(HWND hwnd, TWinControl* control);
    friend void WindowDestroyed(TWinControl* control);
    friend LRESULT FrameWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    template <typename Raise, typename Swallowed> bool OfferKey(Raise raise, Swallowed swallowed);

    std::vector<TControl*> m_controls; // children, back to front
    std::vector<TWinControl*> m_tabList;
    int32_t m_pendingTabOrder = -1;
    bool m_tabStop = false;
    TWinControl* m_activeControl = nullptr;
    TWinControl* m_focusedControl = nullptr;
};

} // namespace frame
