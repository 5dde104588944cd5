// Window life and geometry: creation, destruction, showing, moving, sizing, the z-order, and
// where windows are on the screen.
#include "platform/display/WindowManager.h"

#include <algorithm>
#include <cstring>

#include "platform/display/WindowApi.h"
#include "platform/display/WindowManagerInternal.h"
#include "platform/gdi/SysColors.h"

namespace platform {

using namespace detail;

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
        m_backend->CreateHost(w->handle, HostInfo(w));
        SendDefaultIcon(w);
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
    ReleasePrimary(hwnd);
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
    info.modal = w->modal;
    info.transientFor = w->modalFor && Get(w->modalFor) ? w->modalFor : info.owner;
    return info;
}

void WindowManager::ResizeBuffer(Window* w) {
    if (!w->buffer.Empty())
        SizeBuffer(w);
}

gdi::Bitmap& WindowManager::BufferOf(Window* top) {
    if (top->buffer.Empty())
        SizeBuffer(top);
    return top->buffer;
}

void WindowManager::SizeBuffer(Window* w) {
    int width = std::max(w->Width(), 1) * DeviceScale();
    int height = std::max(w->Height(), 1) * DeviceScale();
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

    Rect now{wp.x, wp.y, wp.x + wp.cx, wp.y + wp.cy};
    bool geometry = !(w->rect == now);
    bool restack = !(flags & SWP_NOZORDER);
    if (geometry)
        MoveTo(w, now);
    // Whether the window really changed place: raising the window already in front (a form
    // brought to the front again) uncovers nothing and repaints nothing.
    bool moved = restack && Restack(w, insertAfter);
    if ((geometry || moved) && (w->style & WS_VISIBLE) && !(flags & SWP_NOREDRAW))
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
    else if (!(flags & SWP_NOACTIVATE) && !w->IsChild() && (w->style & WS_VISIBLE) &&
             !(w->exStyle & WS_EX_NOACTIVATE))
        // A window brought forward without SWP_NOACTIVATE is activated too: a form raised to the
        // front (an already visible result form on "Next") takes the keyboard with it.
        Activate(hwnd);
    return true;
}

// A child's old place is repainted in its parent and the siblings it covered; a top-level
// window's buffer and host window follow it.
void WindowManager::MoveTo(Window* w, const Rect& now) {
    Rect old = w->rect;
    if ((w->style & WS_VISIBLE) && w->IsChild()) {
        Invalidate(w->parent->handle, &old, true);
        for (Window* s : w->parent->children)
            if (s != w && (s->style & WS_VISIBLE) && !Intersection(s->rect, old).IsEmpty())
                Invalidate(s->handle, nullptr, true);
    }
    w->rect = now;
    if (!w->IsChild()) {
        ResizeBuffer(w);
        m_backend->MoveHost(w->handle, now);
    }
}

bool WindowManager::Restack(Window* w, HWND insertAfter) {
    std::vector<Window*>& list = w->IsChild() ? w->parent->children : m_topLevels;
    std::size_t wasAt = std::size_t(std::find(list.begin(), list.end(), w) - list.begin());
    DWORD wasTopmost = w->exStyle & WS_EX_TOPMOST;
    if (insertAfter == HWND_TOPMOST && !w->IsChild())
        w->exStyle |= WS_EX_TOPMOST;
    else if (insertAfter == HWND_NOTOPMOST && !w->IsChild())
        w->exStyle &= ~WS_EX_TOPMOST;
    std::erase(list, w);
    auto pos = StackPosition(list, w, insertAfter);
    bool moved = std::size_t(list.insert(pos, w) - list.begin()) != wasAt ||
                 (w->exStyle & WS_EX_TOPMOST) != wasTopmost;
    if (!w->IsChild()) {
        m_backend->StyleChanged(w->handle, HostInfo(w));
        m_backend->RaiseHost(w->handle);
    }
    return moved;
}

std::vector<Window*>::iterator WindowManager::StackPosition(std::vector<Window*>& list,
                                                            const Window* w, HWND insertAfter) {
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
        auto firstNormal = std::find_if(list.begin(), list.end(),
                                        [](Window* t) { return !(t->exStyle & WS_EX_TOPMOST); });
        if (w->exStyle & WS_EX_TOPMOST)
            pos = std::min(pos, firstNormal);
        else
            pos = std::max(pos, firstNormal);
    }
    return pos;
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

} // namespace platform
