#include "platform/display/WindowApi.h"

#include <algorithm>

#include "platform/display/WindowManager.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/SysColors.h"

namespace platform {

namespace {

WindowManager& Wm() {
    return WindowManager::Instance();
}

void DrawFrame(HWND hwnd) {
    Window* w = Wm().Get(hwnd);
    if (!w)
        return;
    HDC dc = Wm().GetDC(hwnd, true, true); // the edges below stay on the frame
    if (!dc)
        return;
    Rect r{0, 0, w->Width(), w->Height()};
    if ((w->exStyle & WS_EX_DLGMODALFRAME) || (w->style & WS_DLGFRAME)) {
        dc->DrawEdge(r, gdi::EDGE_RAISED, gdi::BF_RECT);
        r = Rect{r.left + 2, r.top + 2, r.right - 2, r.bottom - 2};
        dc->FrameRect(r,
                      gdi::BrushSpec{gdi::BrushStyle::Solid, gdi::GetSysColor(gdi::COLOR_BTNFACE)});
        r = Rect{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    } else if (w->style & WS_BORDER) {
        dc->FrameRect(
            r, gdi::BrushSpec{gdi::BrushStyle::Solid, gdi::GetSysColor(gdi::COLOR_WINDOWFRAME)});
        r = Rect{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    }
    if (w->exStyle & WS_EX_STATICEDGE) {
        dc->DrawEdge(r, gdi::BDR_SUNKENOUTER, gdi::BF_RECT);
        r = Rect{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    }
    if (w->exStyle & WS_EX_CLIENTEDGE)
        dc->DrawEdge(r, gdi::EDGE_SUNKEN, gdi::BF_RECT);
    ReleaseDC(hwnd, dc);
}

} // namespace

bool RegisterClass(const WNDCLASS& cls) {
    return Wm().RegisterClass(cls);
}

bool ClassRegistered(const std::string& className) {
    return Wm().FindClass(className) != nullptr;
}

HWND CreateWindowEx(DWORD exStyle, const std::string& className, const std::string& text,
                    DWORD style, int x, int y, int width, int height, HWND parent, std::intptr_t id,
                    void* createParam) {
    return Wm().Create(exStyle, className, text, style, x, y, width, height, parent, id,
                       createParam);
}

bool DestroyWindow(HWND hwnd) {
    return Wm().Destroy(hwnd);
}

bool IsWindow(HWND hwnd) {
    Window* w = Wm().Get(hwnd);
    return w != nullptr;
}

std::string GetClassName(HWND hwnd) {
    Window* w = Wm().Get(hwnd);
    return w ? w->cls->className : std::string();
}

LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    WindowManager& wm = Wm();
    Window* w = wm.Get(hwnd);
    if (!w)
        return 0;
    switch (msg) {
    case WM_NCCREATE:
        return 1;
    case WM_SETTEXT:
        wm.SetText(w, lParam ? reinterpret_cast<const char*>(lParam) : "");
        return 1;
    case WM_GETTEXT:
        if (lParam)
            *reinterpret_cast<std::string*>(lParam) = w->text;
        return LRESULT(w->text.size());
    case WM_GETTEXTLENGTH:
        return LRESULT(w->text.size());
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(hwnd, ps);
        EndPaint(hwnd, ps);
        return 0;
    }
    case WM_ERASEBKGND:
        if (w->cls->background >= 0 && wParam) {
            Rect r;
            GetClientRect(hwnd, r);
            reinterpret_cast<HDC>(wParam)->FillRect(
                r, gdi::BrushSpec{gdi::BrushStyle::Solid, ColorRef(w->cls->background)});
            return 1;
        }
        return 0;
    case WM_NCPAINT:
        DrawFrame(hwnd);
        return 0;
    case WM_NCACTIVATE:
        return 1;
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == 0xF060)
            SendMessage(hwnd, WM_CLOSE);
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam)) {
            HWND focus = wm.Focus();
            if (!focus || !IsChild(hwnd, focus))
                wm.SetFocus(hwnd);
        }
        return 0;
    case WM_WINDOWPOSCHANGED: {
        Rect c = wm.ClientRectInWindow(w);
        Point o{w->rect.left + c.left, w->rect.top + c.top};
        SendMessage(hwnd, WM_MOVE, 0, MAKELPARAM(o.x, o.y));
        if (IsWindow(hwnd))
            SendMessage(hwnd, WM_SIZE, 0, MAKELPARAM(c.Width(), c.Height()));
        return 0;
    }
    case WM_MOUSEWHEEL:
    case WM_CONTEXTMENU:
        // Unanswered wheel turns, and the wish for a context menu, go up to the parent.
        if (w->IsChild())
            return SendMessage(w->parent->handle, msg, wParam, lParam);
        return 0;
    case WM_RBUTTONUP: {
        // Letting go of the right button asks for a context menu, at the point on the screen.
        Point p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ClientToScreen(hwnd, p);
        SendMessage(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(p.x, p.y));
        return 0;
    }
    case WM_CANCELMODE:
        if (wm.Capture() == hwnd)
            wm.ReleaseCapture();
        return 0;
    case WM_MOUSEACTIVATE:
        return 1; // MA_ACTIVATE
    default:
        return 0;
    }
}

LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return proc ? proc(hwnd, msg, wParam, lParam) : 0;
}

std::intptr_t GetWindowLongPtr(HWND hwnd, int index) {
    Window* w = Wm().Get(hwnd);
    if (!w)
        return 0;
    switch (index) {
    case GWLP_WNDPROC:
        return reinterpret_cast<std::intptr_t>(w->proc);
    case GWLP_ID:
        return w->id;
    case GWL_STYLE:
        return std::intptr_t(w->style);
    case GWL_EXSTYLE:
        return std::intptr_t(w->exStyle);
    case GWLP_USERDATA:
        return w->userData;
    default:
        return 0;
    }
}

std::intptr_t SetWindowLongPtr(HWND hwnd, int index, std::intptr_t value) {
    WindowManager& wm = Wm();
    Window* w = wm.Get(hwnd);
    if (!w)
        return 0;
    std::intptr_t old = GetWindowLongPtr(hwnd, index);
    switch (index) {
    case GWLP_WNDPROC:
        if (value)
            w->proc = reinterpret_cast<WNDPROC>(value);
        break;
    case GWLP_ID:
        w->id = value;
        break;
    case GWL_STYLE:
        wm.SetStyle(hwnd, DWORD(value));
        break;
    case GWL_EXSTYLE:
        wm.SetExStyle(hwnd, DWORD(value));
        break;
    case GWLP_USERDATA:
        w->userData = value;
        break;
    default:
        return 0;
    }
    return old;
}

HWND GetParent(HWND hwnd) {
    Window* w = Wm().Get(hwnd);
    if (!w)
        return nullptr;
    if (w->parent)
        return w->parent->handle;
    return w->owner ? w->owner->handle : nullptr;
}

HWND GetAncestor(HWND hwnd, UINT flags) {
    WindowManager& wm = Wm();
    Window* w = wm.Get(hwnd);
    if (!w)
        return nullptr;
    switch (flags) {
    case GA_PARENT:
        return w->parent ? w->parent->handle : nullptr;
    case GA_ROOT:
        return wm.TopLevelOf(w)->handle;
    case GA_ROOTOWNER: {
        Window* t = wm.TopLevelOf(w);
        while (t->owner)
            t = t->owner;
        return t->handle;
    }
    default:
        return nullptr;
    }
}

HWND GetWindow(HWND hwnd, UINT relation) {
    WindowManager& wm = Wm();
    Window* w = wm.Get(hwnd);
    if (!w)
        return nullptr;
    if (relation == GW_CHILD)
        return w->children.empty() ? nullptr : w->children.front()->handle;
    if (relation == GW_OWNER)
        return w->owner ? w->owner->handle : nullptr;
    const std::vector<Window*>& list = w->parent ? w->parent->children : wm.TopLevels();
    auto it = std::find(list.begin(), list.end(), w);
    if (it == list.end())
        return nullptr;
    switch (relation) {
    case GW_HWNDFIRST:
        return list.front()->handle;
    case GW_HWNDLAST:
        return list.back()->handle;
    case GW_HWNDNEXT:
        return it + 1 == list.end() ? nullptr : (*(it + 1))->handle;
    case GW_HWNDPREV:
        return it == list.begin() ? nullptr : (*(it - 1))->handle;
    default:
        return nullptr;
    }
}

HWND GetTopWindow(HWND hwnd) {
    if (!hwnd) {
        const auto& tops = Wm().TopLevels();
        return tops.empty() ? nullptr : tops.front()->handle;
    }
    return GetWindow(hwnd, GW_CHILD);
}

bool IsChild(HWND parent, HWND hwnd) {
    WindowManager& wm = Wm();
    Window* p = wm.Get(parent);
    Window* w = wm.Get(hwnd);
    if (!p || !w || p == w)
        return false;
    for (w = w->parent; w; w = w->parent)
        if (w == p)
            return true;
    return false;
}

HWND GetDlgItem(HWND parent, int id) {
    Window* p = Wm().Get(parent);
    if (!p)
        return nullptr;
    for (Window* c : p->children)
        if (c->id == id)
            return c->handle;
    return nullptr;
}

int GetDlgCtrlID(HWND hwnd) {
    Window* w = Wm().Get(hwnd);
    return w ? int(w->id) : 0;
}

bool ShowWindow(HWND hwnd, int command) {
    return Wm().Show(hwnd, command);
}

bool IsWindowVisible(HWND hwnd) {
    Window* w = Wm().Get(hwnd);
    return w && Wm().IsVisibleOnScreen(w);
}

bool IsIconic(HWND hwnd) {
    Window* w = Wm().Get(hwnd);
    return w && (w->style & WS_MINIMIZE);
}

bool EnableWindow(HWND hwnd, bool enable) {
    return Wm().Enable(hwnd, enable);
}

bool IsWindowEnabled(HWND hwnd) {
    Window* w = Wm().Get(hwnd);
    return w && !(w->style & WS_DISABLED);
}

bool SetWindowText(HWND hwnd, const std::string& text) {
    if (!IsWindow(hwnd))
        return false;
    return SendMessage(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())) != 0;
}

std::string GetWindowText(HWND hwnd) {
    std::string text;
    SendMessage(hwnd, WM_GETTEXT, 0, reinterpret_cast<LPARAM>(&text));
    return text;
}

int GetWindowTextLength(HWND hwnd) {
    return int(SendMessage(hwnd, WM_GETTEXTLENGTH));
}

void SetWindowIcon(HWND hwnd, int width, int height, const std::uint32_t* argb) {
    Wm().SetIcon(hwnd, width, height, argb);
}

void SetDefaultWindowIcon(int width, int height, const std::uint32_t* argb) {
    Wm().SetDefaultIcon(width, height, argb);
}

void SetWindowModal(HWND hwnd, bool modal, HWND transientFor) {
    Wm().SetModal(hwnd, modal, transientFor);
}

bool SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    return Wm().SetPos(hwnd, insertAfter, x, y, cx, cy, flags);
}

bool MoveWindow(HWND hwnd, int x, int y, int width, int height, bool repaint) {
    return Wm().SetPos(hwnd, nullptr, x, y, width, height,
                       SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0u : UINT(SWP_NOREDRAW)));
}

bool BringWindowToTop(HWND hwnd) {
    return Wm().SetPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

bool GetWindowRect(HWND hwnd, Rect& rect) {
    Window* w = Wm().Get(hwnd);
    if (!w)
        return false;
    rect = Wm().WindowRectOnScreen(w);
    return true;
}

bool GetClientRect(HWND hwnd, Rect& rect) {
    Window* w = Wm().Get(hwnd);
    if (!w)
        return false;
    Rect c = Wm().ClientRectInWindow(w);
    rect = Rect{0, 0, c.Width(), c.Height()};
    return true;
}

bool ClientToScreen(HWND hwnd, Point& p) {
    Window* w = Wm().Get(hwnd);
    if (!w)
        return false;
    Point o = Wm().ClientOriginOnScreen(w);
    p.x += o.x;
    p.y += o.y;
    return true;
}

bool ScreenToClient(HWND hwnd, Point& p) {
    Window* w = Wm().Get(hwnd);
    if (!w)
        return false;
    Point o = Wm().ClientOriginOnScreen(w);
    p.x -= o.x;
    p.y -= o.y;
    return true;
}

void MapWindowPoints(HWND from, HWND to, Point* points, int count) {
    for (int i = 0; i < count; ++i) {
        if (from)
            ClientToScreen(from, points[i]);
        if (to)
            ScreenToClient(to, points[i]);
    }
}

HWND WindowFromPoint(Point screen) {
    return Wm().WindowFromPoint(screen, true);
}

HWND ChildWindowFromPoint(HWND parent, Point client) {
    Window* p = Wm().Get(parent);
    if (!p)
        return nullptr;
    Rect c;
    GetClientRect(parent, c);
    if (!c.Contains(client))
        return nullptr;
    return Wm().ChildFromPoint(parent, client, false, false);
}

LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return Wm().Send(hwnd, msg, wParam, lParam);
}

bool PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return Wm().Post(hwnd, msg, wParam, lParam);
}

void PostQuitMessage(int exitCode) {
    Wm().PostQuit(exitCode);
}

namespace {
DWORD g_messageTime = 0;
}

bool PeekMessage(MSG& msg, HWND hwnd, UINT first, UINT last, UINT remove) {
    bool got = Wm().Peek(msg, hwnd, first, last, remove);
    if (got && (remove & PM_REMOVE))
        g_messageTime = msg.time;
    return got;
}

bool GetMessage(MSG& msg, HWND hwnd, UINT first, UINT last) {
    bool r = Wm().Get(msg, hwnd, first, last);
    g_messageTime = msg.time;
    return r;
}

bool WaitMessage() {
    Wm().Wait();
    return true;
}

LRESULT DispatchMessage(const MSG& msg) {
    return Wm().Dispatch(msg);
}

bool TranslateMessage(const MSG& msg) {
    return Wm().Translate(msg);
}

DWORD GetMessageTime() {
    return g_messageTime;
}

DWORD GetTickCount() {
    return DWORD(Wm().Now());
}

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
    return Wm().SetTimer(hwnd, id, elapse, proc);
}

bool KillTimer(HWND hwnd, UINT_PTR id) {
    return Wm().KillTimer(hwnd, id);
}

HWND SetFocus(HWND hwnd) {
    return Wm().SetFocus(hwnd);
}
HWND GetFocus() {
    return Wm().Focus();
}
HWND SetActiveWindow(HWND hwnd) {
    return Wm().Activate(hwnd);
}
HWND GetActiveWindow() {
    return Wm().Active();
}

bool SetForegroundWindow(HWND hwnd) {
    if (!IsWindow(hwnd))
        return false;
    Wm().Activate(hwnd);
    return Wm().Active() == GetAncestor(hwnd, GA_ROOT);
}

HWND GetForegroundWindow() {
    return Wm().AppActive() ? Wm().Active() : nullptr;
}
HWND SetCapture(HWND hwnd) {
    return Wm().SetCapture(hwnd);
}
bool ReleaseCapture() {
    return Wm().ReleaseCapture();
}
HWND GetCapture() {
    return Wm().Capture();
}
short GetKeyState(int vk) {
    return Wm().KeyState(vk);
}

std::u32string GetKeyInOtherLayouts() {
    return Wm().KeyInOtherLayouts();
}

bool GetCursorPos(Point& p) {
    p = Wm().CursorPos();
    return true;
}

bool SetCursorPos(int x, int y) {
    Wm().SetCursorPos(Point{x, y});
    return true;
}

void MessageBeep(UINT) {
    Wm().Backend().Beep();
}

bool InvalidateRect(HWND hwnd, const Rect* rect, bool erase) {
    if (!IsWindow(hwnd))
        return false;
    Wm().Invalidate(hwnd, rect, erase);
    return true;
}

bool ValidateRect(HWND hwnd, const Rect* rect) {
    if (!IsWindow(hwnd))
        return false;
    Wm().Validate(hwnd, rect);
    return true;
}

bool GetUpdateRect(HWND hwnd, Rect& rect) {
    return Wm().GetUpdateRect(hwnd, rect);
}

bool UpdateWindow(HWND hwnd) {
    if (!IsWindow(hwnd))
        return false;
    Wm().Update(hwnd);
    return true;
}

HDC BeginPaint(HWND hwnd, PAINTSTRUCT& ps) {
    return Wm().BeginPaint(hwnd, ps);
}

bool EndPaint(HWND hwnd, const PAINTSTRUCT& ps) {
    Wm().EndPaint(hwnd, ps);
    return true;
}

HDC GetDC(HWND hwnd) {
    return Wm().GetDC(hwnd, false);
}
HDC GetWindowDC(HWND hwnd) {
    return Wm().GetDC(hwnd, true);
}

int ReleaseDC(HWND hwnd, HDC dc) {
    Wm().ReleaseDC(hwnd, dc);
    return 1;
}

bool DisplayOpened() {
    return WindowManager::Exists();
}

std::string DisplayBackendName() {
    return Wm().Backend().Name();
}

int ScreenDeviceScale() {
    return WindowManager::Exists() ? Wm().DeviceScale() : 1;
}

int GetSystemMetrics(int index) {
    Size screen = Wm().Backend().ScreenSize();
    Rect work = Wm().Backend().WorkArea();
    switch (index) {
    case SM_CXSCREEN:
    case SM_CXVIRTUALSCREEN:
        return screen.cx;
    case SM_CYSCREEN:
    case SM_CYVIRTUALSCREEN:
        return screen.cy;
    case SM_XVIRTUALSCREEN:
    case SM_YVIRTUALSCREEN:
        return 0;
    case SM_CXFULLSCREEN:
        return work.Width();
    case SM_CYFULLSCREEN:
        return work.Height() - 18;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB:
        return 16;
    case SM_CYCAPTION:
        return 19;
    case SM_CYSMCAPTION:
        return 15;
    case SM_CXBORDER:
    case SM_CYBORDER:
        return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME:
        return 3;
    case SM_CXFRAME:
    case SM_CYFRAME:
        return 4;
    case SM_CXEDGE:
    case SM_CYEDGE:
        return 2;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR:
        return 32;
    case SM_CXSMICON:
    case SM_CYSMICON:
        return 16;
    case SM_CYMENU:
        return 19;
    case SM_CXSIZE:
    case SM_CYSIZE:
        return 18;
    case SM_CXMIN:
        return 112;
    case SM_CYMIN:
        return 27;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
        return 4;
    case SM_MOUSEPRESENT:
    case SM_CMONITORS:
        return 1;
    case SM_SWAPBUTTON:
        return 0;
    default:
        return 0;
    }
}

Rect GetWorkArea() {
    return Wm().Backend().WorkArea();
}

Rect GetCentringArea() {
    return Wm().Backend().CentringArea();
}

// One monitor: the whole screen.
HMONITOR MonitorFromWindow(HWND, DWORD) {
    return 1;
}
HMONITOR MonitorFromPoint(Point p, DWORD flags) {
    Size s = Wm().Backend().ScreenSize();
    bool inside = p.x >= 0 && p.y >= 0 && p.x < s.cx && p.y < s.cy;
    return inside || flags != MONITOR_DEFAULTTONULL ? 1 : 0;
}

bool GetMonitorInfo(HMONITOR monitor, MONITORINFO& info) {
    if (monitor != 1)
        return false;
    Size s = Wm().Backend().ScreenSize();
    info.rcMonitor = Rect{0, 0, s.cx, s.cy};
    info.rcWork = Wm().Backend().WorkArea();
    info.dwFlags = MONITORINFOF_PRIMARY;
    return true;
}

bool SetClipboardText(const std::string& text) {
    Wm().Backend().SetClipboardText(text);
    return true;
}

std::string GetClipboardText() {
    return Wm().Backend().ClipboardText();
}

bool IsClipboardTextAvailable() {
    return Wm().Backend().HasClipboardText();
}

bool ClaimPrimarySelection(HWND owner) {
    return Wm().ClaimPrimary(owner);
}

void ReleasePrimarySelection(HWND owner) {
    Wm().ReleasePrimary(owner);
}

HWND GetPrimarySelectionOwner() {
    return Wm().PrimaryOwner();
}

std::string GetPrimarySelectionText() {
    return Wm().PrimaryText();
}

} // namespace platform
