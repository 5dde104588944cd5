#pragma once
// The host side of the window manager: what a backend must do for top-level windows, and how it
// hands input back. Two backends exist: X11 (a real display) and headless (memory only, for
// tests). Only top-level windows reach a backend; child windows are the window manager's own.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/display/WindowTypes.h"
#include "platform/gdi/Bitmap.h"

namespace platform {

class WindowManager;

struct HostWindowInfo {
    DWORD style = 0;
    DWORD exStyle = 0;
    HWND owner = nullptr;
    Rect rect; // screen coordinates of the client area
    std::string title;
    // The window a dialog belongs to (its owner, or the form a modal one blocks) and whether it
    // is modal: window managers keep such a dialog above that window.
    HWND transientFor = nullptr;
    bool modal = false;
};

// Input as the backend saw it, in screen coordinates. `topLevel` is the window the host says the
// event happened in (null when unknown); the window manager still routes by capture and position.
struct InputEvent {
    enum Kind { MouseMove, ButtonDown, ButtonUp, Wheel, KeyDown, KeyUp };
    Kind kind = MouseMove;
    HWND topLevel = nullptr;
    Point screen;
    int button = 0;     // 1 left, 2 middle, 3 right
    int wheelDelta = 0; // multiples of WHEEL_DELTA, positive away from the user
    int vk = 0;
    std::u32string text; // characters the keyboard layout produced for a key-down
    // With Alt held, what the key types in the keyboard's other layouts (at most three).
    std::u32string otherLayouts;
};

class DisplayBackend {
public:
    virtual ~DisplayBackend() = default;
    virtual const char* Name() const = 0;
    void Attach(WindowManager* wm) { m_wm = wm; }

    // Device pixels per logical pixel, each way (DeviceScale.h). Everything a backend takes and
    // reports is in logical pixels but the back buffers Present gets, which are at this scale.
    virtual int DeviceScale() const { return 1; }
    virtual Size ScreenSize() = 0;
    // The desktop less panels and docks.
    virtual Rect WorkArea() = 0;
    // What a window centred on the screen is centred in (MonitorChoice.h): the whole screen
    // unless the host knows of several monitors.
    virtual Rect CentringArea() {
        Size s = ScreenSize();
        return Rect{0, 0, s.cx, s.cy};
    }

    virtual void CreateHost(HWND hwnd, const HostWindowInfo& info) = 0;
    virtual void DestroyHost(HWND hwnd) = 0;
    virtual void ShowHost(HWND hwnd, bool show, bool activate) = 0;
    virtual void MoveHost(HWND hwnd, const Rect& screenRect) = 0;
    // Iconifies the window (true) or gives it back its normal state.
    virtual void MinimizeHost(HWND hwnd, bool minimized) = 0;
    virtual void SetHostTitle(HWND hwnd, const std::string& title) = 0;
    // ARGB pixels, row after row.
    virtual void SetHostIcon(HWND hwnd, int width, int height, const std::uint32_t* argb) = 0;
    virtual void StyleChanged(HWND hwnd, const HostWindowInfo& info) = 0;
    // Puts the window on top of its stacking layer.
    virtual void RaiseHost(HWND hwnd) = 0;
    virtual void ActivateHost(HWND hwnd) = 0;
    // Shows the dirty part (logical pixels) of the window's back buffer.
    virtual void Present(HWND hwnd, const gdi::Bitmap& buffer, const Rect& dirty) = 0;
    virtual void GrabPointer(HWND topLevel) = 0;
    virtual void UngrabPointer() = 0;
    virtual void SetClipboardText(const std::string& text) = 0;
    virtual std::string ClipboardText() = 0;
    // Whether the clipboard holds anything, without fetching it (another program's answer may
    // be slow).
    virtual bool HasClipboardText() = 0;
    // PRIMARY, the selection a middle click pastes. The window manager claims it for one of its
    // windows (true: ours now) or gives it up; while it is ours, another program that asks for it
    // gets WindowManager::RenderPrimary(), and one that takes it over calls
    // WindowManager::HostPrimaryLost().
    virtual bool OwnPrimary(bool own) = 0;
    // Another program's PRIMARY text; empty when nobody else has one.
    virtual std::string PrimaryText() = 0;
    virtual Point CursorPos() = 0;
    virtual void SetCursorPos(Point p) = 0;
    virtual void Beep() {}

    // Reads what the host has for us and hands it to the window manager. Waits up to timeoutMs
    // (-1: without limit, 0: not at all) when nothing is there. Returns true when anything arrived.
    virtual bool Poll(int timeoutMs) = 0;
    // False for a display that only tests feed: waiting on it for input would wait for ever.
    virtual bool InputCanArrive() const { return true; }
    // Milliseconds on the backend's clock (the headless one is a clock tests move by hand).
    virtual std::uint64_t NowMs() = 0;

protected:
    WindowManager* m_wm = nullptr;
};

// The backend chosen by ZORVANE_DISPLAY ("x11" or "headless"); X11 when unset and DISPLAY is set,
// else headless.
std::unique_ptr<DisplayBackend> MakeDisplayBackend();
std::unique_ptr<DisplayBackend> MakeHeadlessBackend();
// Null when the display cannot be opened.
std::unique_ptr<DisplayBackend> MakeX11Backend();
// What MakeDisplayBackend opens an X display with: none until UseX11Display (WindowApi.h) is
// called, so that a program that never shows a window links no X library.
using DisplayBackendFactory = std::unique_ptr<DisplayBackend> (*)();
void SetX11BackendFactory(DisplayBackendFactory factory);

} // namespace platform
