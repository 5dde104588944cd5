#include "frame/controls/ControlBridge.h"

#include <cstdio>
#include <exception>
#include <unordered_map>
#include <vector>

#include "frame/controls/TWinControl.h"
#include "platform/display/WindowApi.h"
#include "rtl/Exception.h"
#include "rtl/ScopeExit.h"

namespace frame {

using namespace platform;

namespace {

std::unordered_map<HWND, TWinControl*>& Bound() {
    static std::unordered_map<HWND, TWinControl*> map;
    return map;
}

// The control whose frame-class window is being made: its first messages bind it.
TWinControl* g_creating = nullptr;
TControl* g_capture = nullptr;
int g_depth = 0;

TExceptionHandler& Handler() {
    static TExceptionHandler handler;
    return handler;
}

struct CachedDC {
    const void* owner;
    std::function<void()> release;
};
std::vector<CachedDC>& CachedDCs() {
    static std::vector<CachedDC> list;
    return list;
}

void WriteException() {
    try {
        throw;
    } catch (const rtl::Exception& e) {
        std::fprintf(stderr, "%s: %s\n", e.ClassName(), e.Message().c_str());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "Exception: %s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "Unknown exception\n");
    }
}

// The deepest visible window at a screen point, disabled ones included when asked.
HWND WindowAt(TPoint screen, bool allowDisabled) {
    for (HWND top = GetTopWindow(nullptr); top; top = GetWindow(top, GW_HWNDNEXT)) {
        TRect r;
        if (!IsWindowVisible(top) || !GetWindowRect(top, r) || !r.Contains(screen))
            continue;
        if (!allowDisabled && !IsWindowEnabled(top))
            return nullptr;
        HWND w = top;
        for (bool descended = true; descended;) {
            descended = false;
            for (HWND c = GetWindow(w, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
                TRect cr;
                if (!(GetWindowLongPtr(c, GWL_STYLE) & WS_VISIBLE) || !GetWindowRect(c, cr) ||
                    !cr.Contains(screen))
                    continue;
                if (!allowDisabled && !IsWindowEnabled(c))
                    break;
                w = c;
                descended = true;
                break;
            }
        }
        return w;
    }
    return nullptr;
}

// The bound control of a window or of the nearest parent window that has one.
TWinControl* OwningControl(HWND h) {
    for (; h; h = GetAncestor(h, GA_PARENT)) {
        if (TWinControl* c = FindControl(h))
            return c;
    }
    return nullptr;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Windows and controls

TWinControl* FindControl(HWND hwnd) {
    auto& map = Bound();
    auto it = map.find(hwnd);
    return it == map.end() ? nullptr : it->second;
}

void BindWindow(HWND hwnd, TWinControl* control) {
    Bound()[hwnd] = control;
    control->m_handle = hwnd;
}

void UnbindWindow(HWND hwnd) {
    Bound().erase(hwnd);
}

void WindowDestroyed(TWinControl* control) {
    if (control->m_handle)
        UnbindWindow(control->m_handle);
    control->m_handle = nullptr;
    control->m_showing = false;
    control->m_defWndProc = nullptr;
}

HWND CreateFrameWindow(TWinControl* control, const TCreateParams& params) {
    rtl::ValueRestore creating(g_creating, params.subclassed ? nullptr : control);
    return CreateWindowEx(params.exStyle, params.winClassName, params.caption,
                          params.style & ~DWORD(WS_VISIBLE), params.x, params.y, params.width,
                          params.height, params.wndParent);
}

TControl* FindControlAtPos(TPoint screen, bool allowDisabled) {
    TWinControl* c = OwningControl(WindowAt(screen, allowDisabled));
    if (!c)
        return nullptr;
    if (TControl* child = c->ControlAtPos(c->ScreenToClient(screen), allowDisabled))
        return child;
    return c;
}

LRESULT FrameWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    TWinControl* control = FindControl(hwnd);
    if (!control && g_creating) {
        control = g_creating;
        g_creating = nullptr;
        BindWindow(hwnd, control);
    }
    if (!control)
        return DefWindowProc(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        WNDPROC def = control->m_defWndProc ? control->m_defWndProc : &DefWindowProc;
        WindowDestroyed(control);
        return CallWindowProc(def, hwnd, msg, wParam, lParam);
    }
    TMessage m{msg, wParam, lParam, 0};
    TControl::TAlive alive(control);
    ++g_depth;
    try {
        control->WindowProc(m);
    } catch (...) {
        HandleException(alive ? control : nullptr);
    }
    if (--g_depth == 0)
        ReleaseCachedDeviceContexts();
    return m.result;
}

// ---------------------------------------------------------------------------------------------
// Capture

TControl* CaptureControl() {
    return g_capture;
}

void SetCaptureControl(TControl* control) {
    if (!control) {
        g_capture = nullptr;
        HWND cap = GetCapture();
        if (cap && FindControl(cap))
            ReleaseCapture();
        return;
    }
    TWinControl* window =
        control->IsWinControl() ? static_cast<TWinControl*>(control) : control->Parent();
    if (!window)
        return;
    HWND h = window->Handle();
    g_capture = nullptr;
    SetCapture(h);
    g_capture = control;
}

// ---------------------------------------------------------------------------------------------
// Loops

bool PreviewKeyMessage(const MSG& msg) {
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST)
        return false;
    HWND target = GetCapture();
    if (!target)
        target = msg.hwnd;
    // Only windows of the frame's controls (or the inner windows of one, like a combo box's
    // edit field) are offered the key; a pop-up list holding the capture keeps its keys.
    if (!target || !OwningControl(target))
        return false;
    TWinControl* control = OwningControl(target);
    TMessage m{CN_BASE + msg.message, msg.wParam, msg.lParam, 0};
    TControl::TAlive alive(control);
    try {
        control->WindowProc(m);
    } catch (...) {
        HandleException(alive ? control : nullptr);
        return true;
    }
    return m.result != 0;
}

void DispatchFrameMessage(const MSG& msg) {
    if (!PreviewKeyMessage(msg)) {
        TranslateMessage(msg);
        DispatchMessage(msg);
    }
    ReleaseCachedDeviceContexts();
}

void ProcessPendingMessages() {
    MSG msg;
    for (int i = 0; i < 200000 && PeekMessage(msg, nullptr, 0, 0, PM_REMOVE); ++i) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(int(msg.wParam)); // left for the caller's loop
            break;
        }
        DispatchFrameMessage(msg);
    }
}

// ---------------------------------------------------------------------------------------------
// Exceptions and hooks

void HandleException(TObject* sender) noexcept {
    try {
        if (Handler())
            Handler()(sender);
        else
            WriteException();
    } catch (...) {
        try {
            WriteException();
        } catch (...) {
        }
    }
}

void SetExceptionHandler(TExceptionHandler handler) {
    Handler() = std::move(handler);
}

TControlHooks& ControlHooks() {
    static TControlHooks hooks;
    return hooks;
}

void ReleaseCachedDeviceContexts() {
    auto& list = CachedDCs();
    while (!list.empty()) {
        CachedDC dc = std::move(list.back());
        list.pop_back();
        dc.release();
    }
}

void RegisterCachedDeviceContext(std::function<void()> release, const void* owner) {
    CachedDCs().push_back(CachedDC{owner, std::move(release)});
}

void UnregisterCachedDeviceContext(const void* owner) {
    std::erase_if(CachedDCs(), [&](const CachedDC& d) { return d.owner == owner; });
}

} // namespace frame
