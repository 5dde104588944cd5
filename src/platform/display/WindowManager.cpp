#include "platform/display/WindowManager.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/display/WindowApi.h"
#include "platform/display/WindowDC.h"
#include "platform/gdi/SysColors.h"
#include "platform/stdwin/StandardWindows.h"

namespace platform {

namespace {

std::unique_ptr<WindowManager>& Slot() {
    static std::unique_ptr<WindowManager> instance;
    return instance;
}

// Calls stay balanced even when a window procedure throws.
struct DepthGuard {
    int& depth;
    explicit DepthGuard(int& d) : depth(d) { ++depth; }
    ~DepthGuard() { --depth; }
};

bool HasCaption(DWORD style) {
    return (style & WS_CAPTION) == WS_CAPTION;
}

// Width of the frame we draw ourselves: every child's, and that of top-level windows the host
// does not decorate (pop-ups without a caption).
int FrameWidth(const Window* w) {
    if (!w->IsChild() && HasCaption(w->style))
        return 0;
    int t = 0;
    if (w->exStyle & WS_EX_CLIENTEDGE)
        t += 2;
    if (w->exStyle & WS_EX_STATICEDGE)
        t += 1;
    if ((w->exStyle & WS_EX_DLGMODALFRAME) || (w->style & WS_DLGFRAME))
        t += 3;
    else if (w->style & WS_BORDER)
        t += 1;
    return t;
}

bool InRange(UINT msg, UINT first, UINT last) {
    if (first == 0 && last == 0)
        return true;
    return msg >= first && msg <= last;
}

} // namespace

WindowManager::WindowManager(std::unique_ptr<DisplayBackend> backend)
    : m_backend(std::move(backend)) {
    m_backend->Attach(this);
    m_cursor = m_backend->CursorPos();
    RegisterStandardClasses();
}

WindowManager::~WindowManager() {
    // Top-level windows first in reverse so owned windows go with their owners.
    while (!m_topLevels.empty()) {
        Window* last = m_topLevels.back();
        if (!Destroy(last->handle))
            Unlink(last); // half destroyed already: at least leave no node behind
    }
    FlushGraveyard();
}

WindowManager& WindowManager::Instance() {
    auto& slot = Slot();
    if (!slot)
        slot = std::make_unique<WindowManager>(MakeDisplayBackend());
    return *slot;
}

void WindowManager::Reset(std::unique_ptr<DisplayBackend> backend) {
    auto& slot = Slot();
    slot.reset();
    if (backend)
        slot = std::make_unique<WindowManager>(std::move(backend));
}

void WindowManager::RegisterStandardClasses() {
    RegisterStandardWindowClasses(*this);
}

bool WindowManager::Exists() {
    return Slot() != nullptr;
}

Window* WindowManager::Get(HWND hwnd) const {
    auto it = m_windows.find(reinterpret_cast<std::uintptr_t>(hwnd));
    return it == m_windows.end() ? nullptr : it->second.get();
}

bool WindowManager::RegisterClass(const WNDCLASS& cls) {
    if (cls.className.empty() || !cls.lpfnWndProc || m_classes.count(cls.className))
        return false;
    m_classes[cls.className] = std::make_unique<WNDCLASS>(cls);
    return true;
}

const WNDCLASS* WindowManager::FindClass(const std::string& name) const {
    auto it = m_classes.find(name);
    return it == m_classes.end() ? nullptr : it->second.get();
}

// ---------------------------------------------------------------------------------------------
// Window life

HWND WindowManager::Create(DWORD exStyle, const std::string& className, const std::string& text,
                           DWORD style, int x, int y, int width, int height, HWND parent,
                           std::intptr_t id, void* createParam) {
    const WNDCLASS* cls = FindClass(className);
    if (!cls)
        return nullptr;
    Window* parentWindow = parent ? Get(parent) : nullptr;
    if (parent && !parentWindow)
        return nullptr;
    if ((style & WS_CHILD) && !parentWindow)
        return nullptr;

    auto node = std::make_unique<Window>();
    Window* w = node.get();
    w->handle = reinterpret_cast<HWND>(m_nextHandle);
    m_nextHandle += 4;
    w->cls = cls;
    w->proc = cls->lpfnWndProc;
    w->style = style & ~WS_VISIBLE;
    w->exStyle = exStyle;
    w->id = id;
    w->text = text;
    w->rect = Rect{x, y, x + std::max(width, 0), y + std::max(height, 0)};
    if (style & WS_CHILD) {
        w->parent = parentWindow;
        parentWindow->children.insert(parentWindow->children.begin(), w);
    } else {
        w->owner = parentWindow ? TopLevelOf(parentWindow) : nullptr;
        auto pos = m_topLevels.begin();
        if (!(exStyle & WS_EX_TOPMOST))
            while (pos != m_topLevels.end() && ((*pos)->exStyle & WS_EX_TOPMOST))
                ++pos;
        m_topLevels.insert(pos, w);
        ResizeBuffer(w);
        m_backend->CreateHost(w->handle, HostInfo(w));
    }
    HWND hwnd = w->handle;
    m_windows[reinterpret_cast<std::uintptr_t>(hwnd)] = std::move(node);

    CREATESTRUCT cs;
    cs.lpCreateParams = createParam;
    cs.hwndParent = parent;
    cs.hMenu = id;
    cs.x = x;
    cs.y = y;
    cs.cx = width;
    cs.cy = height;
    cs.style = style;
    cs.dwExStyle = exStyle;
    cs.lpszName = text.c_str();
    cs.lpszClass = className.c_str();
    if (!Send(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs)) ||
        Send(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        Destroy(hwnd);
        return nullptr;
    }
    w = Get(hwnd);
    if (!w)
        return nullptr;
    w->created = true;
    Rect client = ClientRectInWindow(w);
    Send(hwnd, WM_SIZE, 0, MAKELPARAM(client.Width(), client.Height()));
    if ((w = Get(hwnd)) == nullptr)
        return nullptr;
    Point origin{w->rect.left + client.left, w->rect.top + client.top};
    Send(hwnd, WM_MOVE, 0, MAKELPARAM(origin.x, origin.y));
    if (Get(hwnd) && (style & WS_VISIBLE))
        Show(hwnd, (style & WS_CHILD) ? SW_SHOWNA : SW_SHOW);
    return Get(hwnd) ? hwnd : nullptr;
}

bool WindowManager::Destroy(HWND hwnd) {
    Window* w = Get(hwnd);
    if (!w || w->destroyed)
        return false;
    // Owned top-level windows go first, as their owner's lifetime bounds theirs.
    if (!w->IsChild()) {
        std::vector<HWND> owned;
        for (Window* t : m_topLevels)
            if (t->owner == w)
                owned.push_back(t->handle);
        for (HWND o : owned)
            Destroy(o);
        if (!(w = Get(hwnd)) || w->destroyed)
            return false;
    }
    if (w->style & WS_VISIBLE) {
        w->style &= ~WS_VISIBLE;
        AfterHide(w);
        if (!(w = Get(hwnd)) || w->destroyed)
            return false;
    }
    DestroyTree(w);
    Unlink(w);
    if (m_depth == 0)
        FlushGraveyard();
    return true;
}

void WindowManager::DestroyTree(Window* w) {
    w->destroyed = true;
    HWND hwnd = w->handle;
    if (m_capture == hwnd)
        ReleaseCapture();
    if (m_focus == hwnd)
        m_focus = nullptr;
    if (m_active == hwnd)
        m_active = nullptr;
    Send(hwnd, WM_DESTROY, 0, 0);
    std::vector<HWND> kids;
    for (Window* c : w->children)
        kids.push_back(c->handle);
    for (HWND k : kids)
        if (Window* c = Get(k); c && !c->destroyed)
            DestroyTree(c);
    Send(hwnd, WM_NCDESTROY, 0, 0);
    std::erase_if(m_timers, [&](const Timer& t) { return t.hwnd == hwnd; });
    std::erase_if(m_queue, [&](const MSG& m) { return m.hwnd == hwnd; });
    if (m_focus == hwnd)
        m_focus = nullptr;
    if (m_capture == hwnd)
        m_capture = nullptr;
    if (m_lastClickWindow == hwnd)
        m_lastClickWindow = nullptr;
}

void WindowManager::Unlink(Window* w) {
    // Children are unlinked with their parent; they leave the handle table too.
    std::vector<Window*> kids = w->children;
    for (Window* c : kids)
        Unlink(c);
    if (w->parent) {
        std::erase(w->parent->children, w);
    } else {
        std::erase(m_topLevels, w);
        for (Window* t : m_topLevels)
            if (t->owner == w)
                t->owner = nullptr;
        m_backend->DestroyHost(w->handle);
    }
    w->children.clear();
    auto it = m_windows.find(reinterpret_cast<std::uintptr_t>(w->handle));
    if (it != m_windows.end()) {
        m_graveyard.push_back(std::move(it->second));
        m_windows.erase(it);
    }
}

void WindowManager::FlushGraveyard() {
    m_graveyard.clear();
}

HostWindowInfo WindowManager::HostInfo(const Window* w) const {
    HostWindowInfo info;
    info.style = w->style;
    info.exStyle = w->exStyle;
    info.owner = w->owner ? w->owner->handle : nullptr;
    info.rect = w->rect;
    info.title = w->text;
    return info;
}

void WindowManager::ResizeBuffer(Window* w) {
    int width = std::max(w->Width(), 1);
    int height = std::max(w->Height(), 1);
    if (w->buffer.Width() == width && w->buffer.Height() == height)
        return;
    // Keep what was drawn so a resize shows the old pixels until the repaint arrives.
    gdi::Bitmap fresh(width, height, gdi::ColorToWord(gdi::GetSysColor(gdi::COLOR_BTNFACE)));
    int cw = std::min(width, w->buffer.Width());
    int ch = std::min(height, w->buffer.Height());
    for (int y = 0; y < ch; ++y)
        std::memcpy(fresh.Row(y), w->buffer.Row(y), std::size_t(cw) * 4);
    w->buffer = std::move(fresh);
}

bool WindowManager::Show(HWND hwnd, int command) {
    Window* w = Get(hwnd);
    if (!w || w->destroyed)
        return false;
    bool wasVisible = (w->style & WS_VISIBLE) != 0;
    bool show = command != SW_HIDE;
    bool activate = show && command != SW_SHOWNA && command != SW_SHOWNOACTIVATE &&
                    command != SW_SHOWMINNOACTIVE && !w->IsChild() &&
                    !(w->exStyle & WS_EX_NOACTIVATE);
    bool wasMinimized = (w->style & WS_MINIMIZE) != 0;
    bool minimize =
        command == SW_MINIMIZE || command == SW_SHOWMINIMIZED || command == SW_SHOWMINNOACTIVE;
    if (minimize) {
        w->style |= WS_MINIMIZE;
        activate = activate && command == SW_SHOWMINIMIZED;
    } else if (show) {
        w->style &= ~WS_MINIMIZE;
    }
    bool minimizedNow = (w->style & WS_MINIMIZE) != 0;
    if (!w->IsChild() && wasMinimized != minimizedNow) {
        m_backend->MinimizeHost(hwnd, minimizedNow);
        // A minimised window gives the activation away.
        if (minimizedNow && m_active == hwnd && command != SW_SHOWMINIMIZED)
            Activate(NextToActivate(w));
        if ((w = Get(hwnd)) == nullptr)
            return wasVisible;
    }
    if (show == wasVisible) {
        if (activate)
            Activate(hwnd);
        return wasVisible;
    }
    Send(hwnd, WM_SHOWWINDOW, show ? 1 : 0, 0);
    if (!(w = Get(hwnd)) || w->destroyed)
        return wasVisible;
    if (show) {
        w->style |= WS_VISIBLE;
        Invalidate(hwnd, nullptr, true);
        if (!w->IsChild())
            m_backend->ShowHost(hwnd, true, activate);
        if (activate)
            Activate(hwnd);
    } else {
        w->style &= ~WS_VISIBLE;
        AfterHide(w);
    }
    return wasVisible;
}

void WindowManager::AfterHide(Window* w) {
    HWND hwnd = w->handle;
    if (m_capture && Contains(w, Get(m_capture)))
        ReleaseCapture();
    if ((w = Get(hwnd)) == nullptr)
        return;
    if (m_focus && Contains(w, Get(m_focus)) && w->IsChild())
        SetFocus(nullptr);
    if ((w = Get(hwnd)) == nullptr)
        return;
    if (w->IsChild()) {
        Window* p = w->parent;
        Rect r = w->rect;
        // The parent and the siblings the window covered show again.
        Invalidate(p->handle, &r, true);
        for (Window* s : p->children)
            if (s != w && (s->style & WS_VISIBLE) && !Intersection(s->rect, r).IsEmpty())
                Invalidate(s->handle, nullptr, true);
    } else {
        m_backend->ShowHost(hwnd, false, false);
        if (m_active == hwnd)
            Activate(NextToActivate(w));
    }
}

HWND WindowManager::NextToActivate(Window* leaving) const {
    auto usable = [&](const Window* t) {
        return t && t != leaving && (t->style & WS_VISIBLE) && !(t->style & WS_DISABLED) &&
               !(t->exStyle & WS_EX_NOACTIVATE) && !t->destroyed;
    };
    if (usable(leaving->owner))
        return leaving->owner->handle;
    for (Window* t : m_topLevels)
        if (usable(t))
            return t->handle;
    return nullptr;
}

bool WindowManager::SetPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    Window* w = Get(hwnd);
    if (!w || w->destroyed)
        return false;
    WINDOWPOS wp;
    wp.hwnd = hwnd;
    wp.hwndInsertAfter = insertAfter;
    wp.x = (flags & SWP_NOMOVE) ? w->rect.left : x;
    wp.y = (flags & SWP_NOMOVE) ? w->rect.top : y;
    wp.cx = (flags & SWP_NOSIZE) ? w->Width() : std::max(cx, 0);
    wp.cy = (flags & SWP_NOSIZE) ? w->Height() : std::max(cy, 0);
    wp.flags = flags;
    Send(hwnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&wp));
    if (!(w = Get(hwnd)) || w->destroyed)
        return false;

    Rect old = w->rect;
    Rect now{wp.x, wp.y, wp.x + wp.cx, wp.y + wp.cy};
    bool geometry = !(old == now);
    bool restack = !(flags & SWP_NOZORDER);
    if (geometry) {
        if ((w->style & WS_VISIBLE) && w->IsChild()) {
            Invalidate(w->parent->handle, &old, true);
            for (Window* s : w->parent->children)
                if (s != w && (s->style & WS_VISIBLE) && !Intersection(s->rect, old).IsEmpty())
                    Invalidate(s->handle, nullptr, true);
        }
        w->rect = now;
        if (!w->IsChild()) {
            ResizeBuffer(w);
            m_backend->MoveHost(hwnd, now);
        }
    }
    if (restack) {
        std::vector<Window*>& list = w->IsChild() ? w->parent->children : m_topLevels;
        if (insertAfter == HWND_TOPMOST && !w->IsChild())
            w->exStyle |= WS_EX_TOPMOST;
        else if (insertAfter == HWND_NOTOPMOST && !w->IsChild())
            w->exStyle &= ~WS_EX_TOPMOST;
        std::erase(list, w);
        auto pos = list.begin();
        if (insertAfter == HWND_BOTTOM) {
            pos = list.end();
        } else if (Window* after = (insertAfter == HWND_TOP || insertAfter == HWND_TOPMOST ||
                                    insertAfter == HWND_NOTOPMOST)
                                       ? nullptr
                                       : Get(insertAfter);
                   after) {
            auto it = std::find(list.begin(), list.end(), after);
            pos = it == list.end() ? list.begin() : it + 1;
        }
        if (!w->IsChild()) {
            // Top-most windows stay in front of the others.
            auto firstNormal = std::find_if(
                list.begin(), list.end(), [](Window* t) { return !(t->exStyle & WS_EX_TOPMOST); });
            if (w->exStyle & WS_EX_TOPMOST)
                pos = std::min(pos, firstNormal);
            else
                pos = std::max(pos, firstNormal);
        }
        list.insert(pos, w);
        if (!w->IsChild()) {
            m_backend->StyleChanged(hwnd, HostInfo(w));
            m_backend->RaiseHost(hwnd);
        }
    }
    if ((geometry || restack) && (w->style & WS_VISIBLE) && !(flags & SWP_NOREDRAW))
        Invalidate(hwnd, nullptr, true);
    if (flags & SWP_FRAMECHANGED)
        InvalidateFrame(w);
    if (geometry || restack)
        Send(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&wp));
    if (!Get(hwnd))
        return true;
    if (flags & SWP_SHOWWINDOW)
        Show(hwnd, (flags & SWP_NOACTIVATE) ? SW_SHOWNA : SW_SHOW);
    else if (flags & SWP_HIDEWINDOW)
        Show(hwnd, SW_HIDE);
    return true;
}

bool WindowManager::Enable(HWND hwnd, bool enable) {
    Window* w = Get(hwnd);
    if (!w)
        return false;
    bool wasDisabled = (w->style & WS_DISABLED) != 0;
    if (wasDisabled == !enable)
        return wasDisabled;
    if (enable) {
        w->style &= ~WS_DISABLED;
    } else {
        w->style |= WS_DISABLED;
        if (m_capture && Contains(w, Get(m_capture))) {
            Send(m_capture, WM_CANCELMODE, 0, 0);
            ReleaseCapture();
        }
        if (m_focus && Contains(w, Get(m_focus)))
            SetFocus(nullptr);
    }
    if ((w = Get(hwnd)) == nullptr)
        return wasDisabled;
    Invalidate(hwnd, nullptr, true);
    InvalidateFrame(w);
    Send(hwnd, WM_ENABLE, enable ? 1 : 0, 0);
    return wasDisabled;
}

void WindowManager::SetStyle(HWND hwnd, DWORD style) {
    Window* w = Get(hwnd);
    if (!w)
        return;
    // Visibility and the child/top-level kind change only through their own calls.
    DWORD fixed = WS_VISIBLE | WS_CHILD;
    w->style = (w->style & fixed) | (style & ~fixed);
    if (!w->IsChild())
        m_backend->StyleChanged(hwnd, HostInfo(w));
}

void WindowManager::SetExStyle(HWND hwnd, DWORD exStyle) {
    Window* w = Get(hwnd);
    if (!w)
        return;
    w->exStyle = exStyle;
    if (!w->IsChild())
        m_backend->StyleChanged(hwnd, HostInfo(w));
}

void WindowManager::SetText(Window* w, const std::string& text) {
    w->text = text;
    if (!w->IsChild())
        m_backend->SetHostTitle(w->handle, text);
    else
        InvalidateFrame(w);
}

void WindowManager::SetIcon(HWND hwnd, int width, int height, const std::uint32_t* argb) {
    Window* w = Get(hwnd);
    if (!w || w->IsChild() || width <= 0 || height <= 0 || !argb)
        return;
    w->icon.assign(argb, argb + std::size_t(width) * height);
    w->iconWidth = width;
    w->iconHeight = height;
    m_backend->SetHostIcon(hwnd, width, height, argb);
}

// ---------------------------------------------------------------------------------------------
// Geometry

Rect WindowManager::ClientRectInWindow(const Window* w) const {
    int t = FrameWidth(w);
    Rect r{t, t, w->Width() - t, w->Height() - t};
    if (r.right < r.left)
        r.right = r.left;
    if (r.bottom < r.top)
        r.bottom = r.top;
    return r;
}

Point WindowManager::ClientOriginOnScreen(const Window* w) const {
    Rect wr = WindowRectOnScreen(w);
    Rect c = ClientRectInWindow(w);
    return Point{wr.left + c.left, wr.top + c.top};
}

Rect WindowManager::WindowRectOnScreen(const Window* w) const {
    if (!w->IsChild())
        return w->rect;
    Point o = ClientOriginOnScreen(w->parent);
    return Offset(w->rect, o.x, o.y);
}

Window* WindowManager::TopLevelOf(Window* w) const {
    while (w && w->IsChild())
        w = w->parent;
    return w;
}

bool WindowManager::IsVisibleOnScreen(const Window* w) const {
    for (; w; w = w->parent)
        if (!(w->style & WS_VISIBLE))
            return false;
    return true;
}

bool WindowManager::IsEnabledTree(const Window* w) const {
    for (; w; w = w->parent)
        if (w->style & WS_DISABLED)
            return false;
    return true;
}

bool WindowManager::Contains(const Window* ancestor, const Window* w) const {
    for (; w; w = w->parent)
        if (w == ancestor)
            return true;
    return false;
}

HWND WindowManager::ChildFromPoint(HWND parent, Point client, bool skipHidden,
                                   bool skipDisabled) const {
    Window* p = Get(parent);
    if (!p)
        return nullptr;
    for (Window* c : p->children) {
        if (skipHidden && !(c->style & WS_VISIBLE))
            continue;
        if (skipDisabled && (c->style & WS_DISABLED))
            continue;
        if (c->exStyle & WS_EX_TRANSPARENT)
            continue;
        if (c->rect.Contains(client))
            return c->handle;
    }
    return parent;
}

HWND WindowManager::WindowFromPoint(Point screen, bool skipDisabled) const {
    for (Window* t : m_topLevels) {
        if (!(t->style & WS_VISIBLE) || !t->rect.Contains(screen))
            continue;
        if (skipDisabled && (t->style & WS_DISABLED))
            return nullptr;
        Window* w = t;
        for (;;) {
            Point o = ClientOriginOnScreen(w);
            HWND c = ChildFromPoint(w->handle, Point{screen.x - o.x, screen.y - o.y}, true,
                                    skipDisabled);
            if (c == w->handle)
                break;
            w = Get(c);
        }
        return w->handle;
    }
    return nullptr;
}

// ---------------------------------------------------------------------------------------------
// Messages

LRESULT WindowManager::Send(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Window* w = Get(hwnd);
    if (!w || !w->proc)
        return 0;
    WNDPROC proc = w->proc;
    LRESULT result;
    {
        DepthGuard guard(m_depth);
        result = proc(hwnd, msg, wParam, lParam);
    }
    if (m_depth == 0 && !m_graveyard.empty())
        FlushGraveyard();
    return result;
}

bool WindowManager::Post(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (hwnd && !Get(hwnd))
        return false;
    MSG m;
    m.hwnd = hwnd;
    m.message = msg;
    m.wParam = wParam;
    m.lParam = lParam;
    m.time = DWORD(Now());
    m.pt = m_cursor;
    Enqueue(m);
    return true;
}

void WindowManager::Enqueue(const MSG& msg) {
    m_queue.push_back(msg);
}

void WindowManager::PostQuit(int exitCode) {
    m_quit = true;
    m_exitCode = exitCode;
}

bool WindowManager::TakePosted(MSG& msg, HWND filter, UINT first, UINT last, bool remove) {
    Window* f = filter ? Get(filter) : nullptr;
    for (auto it = m_queue.begin(); it != m_queue.end(); ++it) {
        if (!InRange(it->message, first, last))
            continue;
        if (filter && !(it->hwnd == filter || (f && Contains(f, Get(it->hwnd)))))
            continue;
        msg = *it;
        if (remove)
            m_queue.erase(it);
        return true;
    }
    return false;
}

Window* WindowManager::FindPaint(Window* w) const {
    if (!(w->style & WS_VISIBLE))
        return nullptr;
    if (!w->update.IsEmpty() || w->frameDirty)
        return w;
    // Back to front, so that what lies underneath is painted first.
    for (auto it = w->children.rbegin(); it != w->children.rend(); ++it)
        if (Window* p = FindPaint(*it))
            return p;
    return nullptr;
}

Window* WindowManager::FindPaintWindow() const {
    for (auto it = m_topLevels.rbegin(); it != m_topLevels.rend(); ++it)
        if (Window* p = FindPaint(*it))
            return p;
    return nullptr;
}

bool WindowManager::HasPaint() const {
    return FindPaintWindow() != nullptr;
}

bool WindowManager::NextTimer(MSG& msg, HWND filter, bool remove) {
    std::uint64_t now = Now();
    // A filtered look neither sees nor spends the timers of other windows.
    Window* f = filter ? Get(filter) : nullptr;
    Timer* best = nullptr;
    for (Timer& t : m_timers)
        if (t.due <= now && (!best || t.due < best->due) &&
            (!filter || t.hwnd == filter || (f && t.hwnd && Contains(f, Get(t.hwnd)))))
            best = &t;
    if (!best)
        return false;
    msg = MSG{};
    msg.hwnd = best->hwnd;
    msg.message = WM_TIMER;
    msg.wParam = best->id;
    msg.lParam = reinterpret_cast<LPARAM>(best->proc);
    msg.time = DWORD(now);
    msg.pt = m_cursor;
    if (remove)
        best->due = now + best->interval;
    return true;
}

int WindowManager::MsUntilNextTimer() const {
    if (m_timers.empty())
        return -1;
    std::uint64_t now = Now();
    std::uint64_t due = m_timers.front().due;
    for (const Timer& t : m_timers)
        due = std::min(due, t.due);
    return due <= now ? 0 : int(std::min<std::uint64_t>(due - now, 1u << 30));
}

void WindowManager::PollHost(int timeoutMs) {
    m_backend->Poll(timeoutMs);
}

bool WindowManager::Peek(MSG& msg, HWND filter, UINT first, UINT last, UINT remove) {
    PollHost(0);
    bool take = (remove & PM_REMOVE) != 0;
    if (TakePosted(msg, filter, first, last, take))
        return true;
    if (m_quit && !filter && InRange(WM_QUIT, first, last)) {
        msg = MSG{};
        msg.message = WM_QUIT;
        msg.wParam = WPARAM(m_exitCode);
        msg.time = DWORD(Now());
        if (take)
            m_quit = false;
        return true;
    }
    if (InRange(WM_PAINT, first, last)) {
        if (Window* p = FindPaintWindow(); p && (!filter || Contains(Get(filter), p))) {
            msg = MSG{};
            msg.hwnd = p->handle;
            msg.message = WM_PAINT;
            msg.time = DWORD(Now());
            msg.pt = m_cursor;
            return true;
        }
    }
    PresentAll();
    if (InRange(WM_TIMER, first, last) && NextTimer(msg, filter, take))
        return true;
    return false;
}

bool WindowManager::Get(MSG& msg, HWND filter, UINT first, UINT last) {
    while (!Peek(msg, filter, first, last, PM_REMOVE)) {
        // On the headless display nothing comes unless a timer is set: blocking would hang for
        // ever, which is a fault of the caller, reported rather than hung.
        if (!m_backend->InputCanArrive() && m_timers.empty()) {
            std::fprintf(stderr, "headless display: GetMessage waits for input that can never "
                                 "come (post WM_QUIT or set a timer first)\n");
            std::abort();
        }
        Wait();
    }
    return msg.message != WM_QUIT;
}

void WindowManager::Wait() {
    PresentAll();
    if (!m_queue.empty() || m_quit || HasPaint())
        return;
    int timeout = MsUntilNextTimer();
    if (timeout == 0)
        return;
    PollHost(timeout);
}

LRESULT WindowManager::Dispatch(const MSG& msg) {
    if (msg.message == WM_TIMER && msg.lParam) {
        auto proc = reinterpret_cast<TIMERPROC>(msg.lParam);
        DepthGuard guard(m_depth);
        proc(msg.hwnd, WM_TIMER, msg.wParam, msg.time);
        return 0;
    }
    if (!msg.hwnd)
        return 0;
    LRESULT r = Send(msg.hwnd, msg.message, msg.wParam, msg.lParam);
    if (msg.message == WM_PAINT) {
        // A window procedure that neither paints nor calls the default one would be asked again
        // forever; treat the message as answered.
        if (Window* w = Get(msg.hwnd)) {
            w->update.Clear();
            w->frameDirty = false;
        }
    }
    return r;
}

bool WindowManager::Translate(const MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN)
        return false;
    char32_t c = msg.character;
    bool ctrl = KeyState(VK_CONTROL) < 0;
    bool shift = KeyState(VK_SHIFT) < 0;
    int vk = int(msg.wParam);
    if (c == 0) {
        if (vk == VK_BACK)
            c = 8;
        else if (vk == VK_TAB)
            c = 9;
        else if (vk == VK_RETURN)
            c = 13;
        else if (vk == VK_ESCAPE)
            c = 27;
        else if (vk == VK_SPACE)
            c = ' ';
        else if (vk >= 'A' && vk <= 'Z')
            c = ctrl ? char32_t(vk - 'A' + 1) : char32_t(shift ? vk : vk + 32);
        else if (vk >= '0' && vk <= '9' && !ctrl)
            c = char32_t(vk);
    } else if (ctrl && vk >= 'A' && vk <= 'Z') {
        c = char32_t(vk - 'A' + 1);
    }
    if (c == 0)
        return false;
    MSG ch = msg;
    ch.message = msg.message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
    ch.wParam = WPARAM(c);
    ch.character = 0;
    // The character comes next, before anything else that waits.
    m_queue.push_front(ch);
    return true;
}

void WindowManager::PumpUntilIdle() {
    MSG msg;
    // A bound keeps a window that re-invalidates itself on every paint from hanging a test.
    for (int i = 0; i < 200000; ++i) {
        if (!Peek(msg, nullptr, 0, 0, PM_REMOVE))
            break;
        if (msg.message == WM_QUIT) {
            m_quit = true; // left for the caller's loop to see
            break;
        }
        Translate(msg);
        Dispatch(msg);
    }
    PresentAll();
}

// ---------------------------------------------------------------------------------------------
// Timers

UINT_PTR WindowManager::SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
    if (hwnd && !Get(hwnd))
        return 0;
    if (!hwnd)
        id = m_nextTimerId++;
    elapse = std::max<UINT>(elapse, 1);
    for (Timer& t : m_timers) {
        if (t.hwnd == hwnd && t.id == id) {
            t.interval = elapse;
            t.due = Now() + elapse;
            t.proc = proc;
            return id ? id : 1;
        }
    }
    m_timers.push_back(Timer{hwnd, id, elapse, Now() + elapse, proc});
    return id ? id : 1;
}

bool WindowManager::KillTimer(HWND hwnd, UINT_PTR id) {
    auto n = std::erase_if(m_timers, [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
    // A WM_TIMER already waiting in the queue for this timer goes too.
    std::erase_if(m_queue, [&](const MSG& m) {
        return m.message == WM_TIMER && m.hwnd == hwnd && m.wParam == id;
    });
    return n > 0;
}

// ---------------------------------------------------------------------------------------------
// Focus, activation, capture

HWND WindowManager::SetFocus(HWND hwnd) {
    HWND old = m_focus;
    if (!hwnd) {
        if (old) {
            m_focus = nullptr;
            Send(old, WM_KILLFOCUS, 0, 0);
        }
        return old;
    }
    Window* w = Get(hwnd);
    if (!w || w->destroyed || !IsEnabledTree(w))
        return nullptr;
    Window* top = TopLevelOf(w);
    if (top->handle != m_active && !(top->exStyle & WS_EX_NOACTIVATE)) {
        Activate(top->handle);
        if (!Get(hwnd))
            return nullptr;
        old = m_focus;
    }
    if (old == hwnd)
        return old;
    if (old && Get(old))
        Send(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
    if (!Get(hwnd))
        return old;
    m_focus = hwnd;
    Send(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
    return old;
}

HWND WindowManager::Activate(HWND hwnd, bool fromHost, int how) {
    Window* w = nullptr;
    if (hwnd) {
        w = Get(hwnd);
        if (!w || w->destroyed)
            return nullptr;
        w = TopLevelOf(w);
        hwnd = w->handle;
        if (w->style & WS_DISABLED)
            return nullptr;
    }
    HWND old = m_active;
    if (old == hwnd) {
        if (hwnd && !m_appActive) {
            m_appActive = true;
            std::vector<HWND> tops;
            for (Window* t : m_topLevels)
                tops.push_back(t->handle);
            for (HWND t : tops)
                Send(t, WM_ACTIVATEAPP, 1, 0);
        }
        return old;
    }
    if (old && Get(old)) {
        Send(old, WM_NCACTIVATE, 0, 0);
        Send(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), reinterpret_cast<LPARAM>(hwnd));
    }
    if (hwnd && !Get(hwnd))
        hwnd = nullptr;
    m_active = hwnd;
    if (hwnd && !m_appActive) {
        m_appActive = true;
        std::vector<HWND> tops;
        for (Window* t : m_topLevels)
            tops.push_back(t->handle);
        for (HWND t : tops)
            Send(t, WM_ACTIVATEAPP, 1, 0);
    }
    if (hwnd && Get(hwnd)) {
        w = Get(hwnd);
        // Activation brings the window to the front of its layer.
        if (m_topLevels.front() != w) {
            std::erase(m_topLevels, w);
            auto pos = m_topLevels.begin();
            if (!(w->exStyle & WS_EX_TOPMOST))
                while (pos != m_topLevels.end() && ((*pos)->exStyle & WS_EX_TOPMOST))
                    ++pos;
            m_topLevels.insert(pos, w);
        }
        if (!fromHost)
            m_backend->ActivateHost(hwnd);
        Send(hwnd, WM_NCACTIVATE, 1, 0);
        bool minimized = (w->style & WS_MINIMIZE) != 0;
        Send(hwnd, WM_ACTIVATE, MAKEWPARAM(how, minimized ? 1 : 0), reinterpret_cast<LPARAM>(old));
    }
    // The keyboard focus lives inside the active window or nowhere.
    Window* active = Get(m_active);
    Window* focus = Get(m_focus);
    if (focus && (!active || TopLevelOf(focus) != active))
        SetFocus(nullptr);
    return old;
}

void WindowManager::DeactivateApp() {
    if (!m_appActive)
        return;
    HWND old = m_active;
    if (old && Get(old)) {
        Send(old, WM_NCACTIVATE, 0, 0);
        Send(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), 0);
    }
    m_active = nullptr;
    SetFocus(nullptr);
    m_appActive = false;
    std::vector<HWND> tops;
    for (Window* t : m_topLevels)
        tops.push_back(t->handle);
    for (HWND t : tops)
        Send(t, WM_ACTIVATEAPP, 0, 0);
}

HWND WindowManager::SetCapture(HWND hwnd) {
    HWND old = m_capture;
    Window* w = Get(hwnd);
    if (!w)
        return old;
    if (old == hwnd)
        return old;
    m_capture = hwnd;
    if (old && Get(old))
        Send(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
    if ((w = Get(hwnd)) != nullptr && m_capture == hwnd)
        m_backend->GrabPointer(TopLevelOf(w)->handle);
    return old;
}

bool WindowManager::ReleaseCapture() {
    HWND old = m_capture;
    if (!old)
        return true;
    m_capture = nullptr;
    m_backend->UngrabPointer();
    if (Get(old))
        Send(old, WM_CAPTURECHANGED, 0, 0);
    return true;
}

short WindowManager::KeyState(int vk) const {
    if (vk < 0 || vk > 255)
        return 0;
    return (m_keys[vk] & 0x80) ? short(-128) : 0;
}

void WindowManager::SetCursorPos(Point p) {
    m_cursor = p;
    m_backend->SetCursorPos(p);
}

// ---------------------------------------------------------------------------------------------
// Painting

void WindowManager::Invalidate(HWND hwnd, const Rect* rect, bool erase) {
    Window* w = Get(hwnd);
    if (!w)
        return;
    Rect client = ClientRectInWindow(w);
    Rect all{0, 0, client.Width(), client.Height()};
    if (!rect) {
        // A whole window: its frame and everything inside it.
        w->frameDirty = FrameWidth(w) > 0;
        for (Window* c : w->children)
            if (c->style & WS_VISIBLE)
                Invalidate(c->handle, nullptr, erase);
    }
    Rect r = rect ? Intersection(*rect, all) : all;
    if (r.IsEmpty())
        return;
    w->update.Add(r);
    w->erase = w->erase || erase;
}

void WindowManager::InvalidateFrame(Window* w) {
    if (FrameWidth(w) > 0)
        w->frameDirty = true;
}

void WindowManager::Validate(HWND hwnd, const Rect* rect) {
    Window* w = Get(hwnd);
    if (!w)
        return;
    if (rect)
        w->update.Subtract(*rect);
    else
        w->update.Clear();
    if (w->update.IsEmpty())
        w->erase = false;
}

bool WindowManager::GetUpdateRect(HWND hwnd, Rect& rect) {
    Window* w = Get(hwnd);
    if (!w)
        return false;
    rect = w->update.Bounds();
    return !w->update.IsEmpty();
}

Point WindowManager::OriginInBuffer(const Window* w, bool wholeWindow) const {
    Point o{0, 0};
    Rect c = ClientRectInWindow(w);
    if (!wholeWindow) {
        o.x = c.left;
        o.y = c.top;
    }
    for (const Window* p = w; p->IsChild(); p = p->parent) {
        Rect pc = ClientRectInWindow(p->parent);
        o.x += p->rect.left + pc.left;
        o.y += p->rect.top + pc.top;
    }
    return o;
}

Region WindowManager::VisibleRegion(const Window* w, bool wholeWindow) const {
    Point o = OriginInBuffer(w, wholeWindow);
    Rect c = ClientRectInWindow(w);
    Rect area =
        wholeWindow ? Rect{0, 0, w->Width(), w->Height()} : Rect{0, 0, c.Width(), c.Height()};
    Region region(Offset(area, o.x, o.y));
    // Children are painted by themselves.
    Point co = OriginInBuffer(w, false);
    for (const Window* child : w->children)
        if (child->style & WS_VISIBLE)
            region.Subtract(Offset(child->rect, co.x, co.y));
    // Each ancestor clips to its client area, and siblings above cover.
    for (const Window* p = w; p->IsChild(); p = p->parent) {
        Point po = OriginInBuffer(p->parent, false);
        Rect pc = ClientRectInWindow(p->parent);
        region.Intersect(Offset(Rect{0, 0, pc.Width(), pc.Height()}, po.x, po.y));
        for (const Window* s : p->parent->children) {
            if (s == p)
                break;
            if (s->style & WS_VISIBLE)
                region.Subtract(Offset(s->rect, po.x, po.y));
        }
    }
    return region;
}

HDC WindowManager::BeginPaint(HWND hwnd, PAINTSTRUCT& ps) {
    ps = PAINTSTRUCT{};
    Window* w = Get(hwnd);
    if (!w)
        return nullptr;
    if (w->frameDirty) {
        w->frameDirty = false;
        Send(hwnd, WM_NCPAINT, 1, 0);
        if ((w = Get(hwnd)) == nullptr)
            return nullptr;
    }
    Window* top = TopLevelOf(w);
    Point o = OriginInBuffer(w, false);
    Region clip = w->update;
    clip.Offset(o.x, o.y);
    Region visible = VisibleRegion(w, false);
    Region drawable = visible;
    drawable.Subtract(clip);
    Region paint = visible;
    paint.Subtract(drawable); // visible ∩ update
    ps.rcPaint = Offset(w->update.Bounds(), 0, 0);
    bool erase = w->erase;
    w->update.Clear();
    w->erase = false;
    ps.hdc = CreateWindowDC(top->buffer, o, paint);
    if (erase) {
        ps.fErase = Send(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(ps.hdc), 0) == 0;
    }
    return ps.hdc;
}

void WindowManager::EndPaint(HWND hwnd, const PAINTSTRUCT& ps) {
    Window* w = Get(hwnd);
    if (w && !ps.rcPaint.IsEmpty()) {
        Point o = OriginInBuffer(w, false);
        MarkPresent(TopLevelOf(w), Offset(ps.rcPaint, o.x, o.y));
    }
    if (ps.hdc)
        DeleteWindowDC(ps.hdc);
}

HDC WindowManager::GetDC(HWND hwnd, bool wholeWindow) {
    Window* w = Get(hwnd);
    if (!w)
        return nullptr;
    Window* top = TopLevelOf(w);
    Region visible = VisibleRegion(w, wholeWindow);
    if (wholeWindow) {
        // The frame only: the client area belongs to the window's paint.
        Point co = OriginInBuffer(w, false);
        Rect c = ClientRectInWindow(w);
        visible.Subtract(Offset(Rect{0, 0, c.Width(), c.Height()}, co.x, co.y));
    }
    MarkPresent(top, visible.Bounds());
    return CreateWindowDC(top->buffer, OriginInBuffer(w, wholeWindow), visible);
}

void WindowManager::ReleaseDC(HWND, HDC dc) {
    if (dc)
        DeleteWindowDC(dc);
}

void WindowManager::MarkPresent(Window* top, const Rect& bufferRect) {
    if (top)
        top->presentDirty = Union(top->presentDirty, bufferRect);
}

void WindowManager::PresentAll() {
    for (Window* t : m_topLevels) {
        if (t->presentDirty.IsEmpty() || !(t->style & WS_VISIBLE))
            continue;
        Rect dirty = Intersection(t->presentDirty, Rect{0, 0, t->Width(), t->Height()});
        t->presentDirty = Rect{};
        if (!dirty.IsEmpty())
            m_backend->Present(t->handle, t->buffer, dirty);
    }
}

void WindowManager::Update(HWND hwnd) {
    Window* w = Get(hwnd);
    if (!w)
        return;
    // Paint the window and its children now, outside the queue's order.
    for (int i = 0; i < 10000; ++i) {
        Window* p = FindPaint(w);
        if (!p)
            break;
        HWND ph = p->handle;
        MSG m;
        m.hwnd = ph;
        m.message = WM_PAINT;
        Dispatch(m);
        if (!Get(hwnd) || !(w = Get(hwnd)))
            return;
    }
    PresentAll();
}

// ---------------------------------------------------------------------------------------------
// Input from the host

WPARAM WindowManager::MouseKeys() const {
    WPARAM k = 0;
    if (KeyState(VK_LBUTTON) < 0)
        k |= MK_LBUTTON;
    if (KeyState(VK_RBUTTON) < 0)
        k |= MK_RBUTTON;
    if (KeyState(VK_MBUTTON) < 0)
        k |= MK_MBUTTON;
    if (KeyState(VK_SHIFT) < 0)
        k |= MK_SHIFT;
    if (KeyState(VK_CONTROL) < 0)
        k |= MK_CONTROL;
    return k;
}

void WindowManager::HostInput(const InputEvent& ev) {
    if (ev.kind == InputEvent::KeyDown || ev.kind == InputEvent::KeyUp)
        PostKey(ev);
    else
        PostMouse(ev);
}

void WindowManager::PostMouse(const InputEvent& ev) {
    m_cursor = ev.screen;
    static const int buttonVk[4] = {0, VK_LBUTTON, VK_MBUTTON, VK_RBUTTON};
    int vk = ev.button >= 1 && ev.button <= 3 ? buttonVk[ev.button] : 0;
    if (vk && ev.kind == InputEvent::ButtonDown)
        m_keys[vk] |= 0x80;
    else if (vk && ev.kind == InputEvent::ButtonUp)
        m_keys[vk] &= 0x7F;

    Window* target = nullptr;
    if (m_capture) {
        target = Get(m_capture);
    } else {
        Window* top = ev.topLevel ? Get(ev.topLevel) : nullptr;
        if (!top || !(top->style & WS_VISIBLE) || !top->rect.Contains(ev.screen)) {
            top = nullptr;
            for (Window* t : m_topLevels)
                if ((t->style & WS_VISIBLE) && t->rect.Contains(ev.screen)) {
                    top = t;
                    break;
                }
        }
        HWND hit = nullptr;
        if (top) {
            Window* w = top;
            for (;;) {
                Point o = ClientOriginOnScreen(w);
                HWND c = ChildFromPoint(w->handle, Point{ev.screen.x - o.x, ev.screen.y - o.y},
                                        true, true);
                if (c == w->handle)
                    break;
                w = Get(c);
            }
            hit = w->handle;
        }
        target = Get(hit);
        // Input to a disabled window (an owner behind a modal dialog) is dropped.
        if (target && !IsEnabledTree(target)) {
            if (ev.kind == InputEvent::ButtonDown)
                m_backend->Beep();
            return;
        }
    }
    if (!target)
        return;
    HWND hwnd = target->handle;

    if (ev.kind == InputEvent::ButtonDown) {
        Window* top = TopLevelOf(target);
        if (top->handle != m_active && !(top->exStyle & WS_EX_NOACTIVATE)) {
            Activate(top->handle, false, WA_CLICKACTIVE);
            if (!Get(hwnd))
                return;
            target = Get(hwnd);
        }
    }

    MSG m;
    m.hwnd = hwnd;
    m.time = DWORD(Now());
    m.pt = ev.screen;
    Point o = ClientOriginOnScreen(target);
    m.lParam = MAKELPARAM(ev.screen.x - o.x, ev.screen.y - o.y);
    m.wParam = MouseKeys();
    switch (ev.kind) {
    case InputEvent::MouseMove:
        m.message = WM_MOUSEMOVE;
        // Moves pile up while a window is busy; only the latest matters.
        if (!m_queue.empty() && m_queue.back().message == WM_MOUSEMOVE &&
            m_queue.back().hwnd == hwnd) {
            m_queue.back() = m;
            return;
        }
        break;
    case InputEvent::ButtonDown:
    case InputEvent::ButtonUp: {
        static const UINT downs[4] = {0, WM_LBUTTONDOWN, WM_MBUTTONDOWN, WM_RBUTTONDOWN};
        static const UINT ups[4] = {0, WM_LBUTTONUP, WM_MBUTTONUP, WM_RBUTTONUP};
        if (ev.button < 1 || ev.button > 3)
            return;
        m.message = ev.kind == InputEvent::ButtonDown ? downs[ev.button] : ups[ev.button];
        if (ev.kind == InputEvent::ButtonDown) {
            bool dbl = (target->cls->style & CS_DBLCLKS) && m_lastClickWindow == hwnd &&
                       m_lastClickMessage == m.message && Now() - m_lastClickTime <= 500 &&
                       std::abs(ev.screen.x - m_lastClickPoint.x) <= 2 &&
                       std::abs(ev.screen.y - m_lastClickPoint.y) <= 2;
            if (dbl) {
                m.message += 2; // WM_xBUTTONDBLCLK
                m_lastClickWindow = nullptr;
            } else {
                m_lastClickWindow = hwnd;
                m_lastClickMessage = m.message;
                m_lastClickTime = Now();
                m_lastClickPoint = ev.screen;
            }
        }
        break;
    }
    case InputEvent::Wheel: {
        m.message = WM_MOUSEWHEEL;
        if (m_focus && Get(m_focus))
            m.hwnd = m_focus;
        m.wParam = MAKEWPARAM(int(MouseKeys()), ev.wheelDelta);
        m.lParam = MAKELPARAM(ev.screen.x, ev.screen.y);
        break;
    }
    default:
        return;
    }
    Enqueue(m);
}

void WindowManager::PostKey(const InputEvent& ev) {
    bool down = ev.kind == InputEvent::KeyDown;
    if (ev.vk > 0 && ev.vk < 256) {
        if (down)
            m_keys[ev.vk] |= 0x80;
        else
            m_keys[ev.vk] &= 0x7F;
    }
    HWND target = m_focus ? m_focus : m_active;
    Window* w = Get(target);
    if (!w || !IsEnabledTree(w))
        return;
    bool alt = KeyState(VK_MENU) < 0;
    MSG m;
    m.hwnd = target;
    m.time = DWORD(Now());
    m.pt = m_cursor;
    m.wParam = WPARAM(ev.vk);
    m.lParam = down ? 1 : LPARAM(0xC0000001u);
    if (alt || ev.vk == VK_MENU || ev.vk == VK_F1 + 9)
        m.message = down ? WM_SYSKEYDOWN : WM_SYSKEYUP;
    else
        m.message = down ? WM_KEYDOWN : WM_KEYUP;
    if (down && !ev.text.empty())
        m.character = ev.text[0];
    Enqueue(m);
    // Text beyond one character (an input method's composed string) comes as plain characters.
    for (std::size_t i = 1; down && i < ev.text.size(); ++i) {
        MSG c = m;
        c.message = WM_CHAR;
        c.wParam = WPARAM(ev.text[i]);
        c.character = 0;
        Enqueue(c);
    }
}

void WindowManager::HostMoved(HWND topLevel, const Rect& screenRect) {
    Window* w = Get(topLevel);
    if (!w || w->IsChild())
        return;
    Rect old = w->rect;
    if (old == screenRect)
        return;
    w->rect = screenRect;
    bool resized = old.Width() != screenRect.Width() || old.Height() != screenRect.Height();
    if (resized) {
        ResizeBuffer(w);
        Invalidate(topLevel, nullptr, true);
    }
    WINDOWPOS wp;
    wp.hwnd = topLevel;
    wp.x = screenRect.left;
    wp.y = screenRect.top;
    wp.cx = screenRect.Width();
    wp.cy = screenRect.Height();
    wp.flags = SWP_NOZORDER | SWP_NOACTIVATE;
    Send(topLevel, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&wp));
}

void WindowManager::HostClose(HWND topLevel) {
    // A window behind a modal dialog does not close.
    if (Window* w = Get(topLevel); w && !w->IsChild() && !(w->style & WS_DISABLED))
        Post(topLevel, WM_SYSCOMMAND, 0xF060 /* SC_CLOSE */, 0);
}

void WindowManager::HostFocus(HWND topLevel, bool in) {
    if (in) {
        Window* w = Get(topLevel);
        if (w && !(w->style & WS_DISABLED))
            Activate(topLevel, true, WA_ACTIVE);
    } else {
        DeactivateApp();
    }
}

void WindowManager::HostExposed(HWND topLevel, const Rect& rect) {
    if (Window* w = Get(topLevel))
        MarkPresent(w, rect);
}

} // namespace platform
