#pragma once
// The X11 display's backend, shared by its files: X11Backend.cpp (the connection, host windows
// and their pictures), X11Events.cpp (what the server reports: exposure, geometry, focus,
// pointer and keys) and X11Selection.cpp (the clipboard and PRIMARY). Only these include it.
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/display/DeviceScale.h"
#include "platform/display/DisplayBackend.h"
#include "platform/display/Messages.h"
#include "platform/display/X11HostProperties.h"
#include "platform/display/X11Image.h"

// X headers last: their macros (None, True, Status ...) would upset ours.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace platform::x11 {

struct HostWindow {
    ::Window xid = 0;
    XIC ic = nullptr;
    bool mapped = false;
    bool shown = false; // mapped as far as we are concerned
    bool wantFocus = false;
    bool overrideRedirect = false;
    HostWindowInfo info;        // logical pixels, as the window manager has them
    std::deque<Rect> requested; // geometries asked of the server (its pixels), not yet confirmed
    X11Image picture;           // what Present puts on screen without shared memory
};

class X11Backend : public DisplayBackend {
public:
    explicit X11Backend(Display* d);
    ~X11Backend() override;

    const char* Name() const override { return "x11"; }
    int DeviceScale() const override { return m_scale; }
    Size ScreenSize() override;
    Rect WorkArea() override;
    Rect CentringArea() override;
    void CreateHost(HWND hwnd, const HostWindowInfo& info) override;
    void DestroyHost(HWND hwnd) override;
    void ShowHost(HWND hwnd, bool show, bool activate) override;
    void MoveHost(HWND hwnd, const Rect& r) override;
    void MinimizeHost(HWND hwnd, bool minimized) override;
    void SetHostTitle(HWND hwnd, const std::string& title) override;
    void SetHostIcon(HWND hwnd, int width, int height, const std::uint32_t* argb) override;
    void StyleChanged(HWND hwnd, const HostWindowInfo& info) override;
    void RaiseHost(HWND hwnd) override;
    void ActivateHost(HWND hwnd) override;
    void Present(HWND hwnd, const gdi::Bitmap& buffer, const Rect& dirty) override;
    void GrabPointer(HWND topLevel) override;
    void UngrabPointer() override;
    void SetClipboardText(const std::string& text) override;
    std::string ClipboardText() override;
    bool HasClipboardText() override;
    bool OwnPrimary(bool own) override;
    std::string PrimaryText() override;
    Point CursorPos() override;
    void SetCursorPos(Point p) override;
    void Beep() override;
    bool Poll(int timeoutMs) override;
    std::uint64_t NowMs() override;

private:
    enum AtomIndex {
        kProtocols,
        kDeleteWindow,
        kNetWmName,
        kUtf8,
        kNetWmIcon,
        kWindowType,
        kTypeNormal,
        kTypeDialog,
        kTypeTooltip,
        kTypeDropdown,
        kNetWmState,
        kStateAbove,
        kStateSkipTaskbar,
        kStateModal,
        kActiveWindow,
        kSupportingWmCheck,
        kWorkArea,
        kClipboard,
        kTargets,
        kSelection,
        kText,
        kPid,
        kMotifWmHints,
        kAtomCount
    };

    HostWindow* Find(HWND hwnd);
    bool MapArrived(const HostWindow& h);
    HWND FromXid(::Window xid) const;
    void FreeHost(HostWindow& h);
    void SetSizeHints(HostWindow& h);
    void ApplyStyle(HWND, HostWindow& h);
    bool HasWindowManager();
    // The desktop's scale: the environment's settings, else the Xft.dpi resource.
    int ReadDeviceScale();
    // Our logical pixels and the server's.
    Rect ToServer(const Rect& r) const { return ToDevice(r, m_scale); }
    Point FromServer(int x, int y) const { return ToLogical(Point{x, y}, m_scale); }
    void FocusNow(HostWindow& h);
    void WaitForConnection(int timeoutMs);
    // The work area the window manager publishes, if it does.
    bool PublishedWorkArea(Rect& area);
    // The monitors (X11Monitors.cpp): RandR's, else Xinerama's; empty when neither knows any.
    std::vector<Rect> Monitors();

    // Events (X11Events.cpp): each family of what the server reports has its function.
    bool Drain();
    void Handle(XEvent& e);
    void HandleWindowEvent(XEvent& e, HWND hwnd, HostWindow& h);
    void HandleConfigure(const XConfigureEvent& e, HWND hwnd, HostWindow& h);
    void HandleFocus(const XFocusChangeEvent& e, HWND hwnd, HostWindow& h);
    void HandlePointer(XEvent& e, HWND hwnd);
    void HandleKey(XEvent& e, HWND hwnd, HostWindow* h);
    // Shift, Ctrl and Alt as the windows know them, with their X modifier masks.
    static constexpr int kModifierVk[] = {VK_SHIFT, VK_CONTROL, VK_MENU};
    static constexpr unsigned kModifierMask[] = {ShiftMask, ControlMask, Mod1Mask};
    static int ModifierIndex(int vk);
    unsigned PointerModifiers();
    // A modifier pressed in our windows whose release went elsewhere — a window manager that
    // takes the keyboard for Alt+Tab keeps it — would stay held for the program: every later key
    // would come with Alt. X gives the modifiers held with each event (`state`); a modifier we
    // reported down that is no longer held is released first. `vk` is the event's own key.
    void ReleaseLostModifiers(HWND hwnd, unsigned state, int vk);

    // The clipboard and PRIMARY (X11Selection.cpp).
    std::string ReadSelection(Atom selection);
    std::string ReadProperty(::Window w, Atom property);
    bool HandleSelectionEvent(const XEvent& e);
    void AnswerSelection(const XSelectionRequestEvent& req);
    void LoseSelection(Atom selection);

    Display* m_dpy;
    int m_scale = 1;
    int m_screen = 0;
    ::Window m_root = 0;
    Visual* m_visual = nullptr;
    int m_depth = 24;
    GC m_gc = nullptr;
    Atom m_atoms[kAtomCount] = {};
    bool m_shmAvailable = false;
    // The shared-memory strip every window's picture goes through: one paint is presented at a
    // time, so one strip as wide as the widest window serves them all.
    X11Image m_strip;
    XIM m_im = nullptr;
    ::Window m_selectionWindow = 0;
    std::unique_ptr<X11HostProperties> m_properties;
    std::unordered_map<HWND, HostWindow> m_hosts;
    std::unordered_map<::Window, HWND> m_byXid;
    HWND m_grab = nullptr;
    HWND m_pendingGrab = nullptr;
    std::string m_clipboard;
    bool m_ownClipboard = false;
    bool m_ownPrimary = false;   // its text is the window manager's to give
    bool m_modifierDown[3] = {}; // Shift, Ctrl, Alt reported down and not yet up
};

} // namespace platform::x11
