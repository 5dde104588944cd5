// Update regions, paint contexts and presenting the back buffers.
#include "platform/display/WindowManager.h"

#include "platform/display/WindowApi.h"
#include "platform/display/WindowDC.h"
#include "platform/display/WindowManagerInternal.h"

namespace platform {

using namespace detail;

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
    ++w->paintAnswers;
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

bool WindowManager::AddPaintedWhole(const Window* w, Region& into) const {
    if (!w->erase || (FrameWidth(w) > 0 && !w->frameDirty))
        return false;
    Rect c = ClientRectInWindow(w);
    Region left(Rect{0, 0, c.Width(), c.Height()});
    left.Subtract(w->update);
    if (!left.IsEmpty())
        return false;
    Region whole = VisibleRegion(w, true);
    for (const Window* child : w->children)
        if ((child->style & WS_VISIBLE) && !AddPaintedWhole(child, whole))
            return false;
    into.Add(whole);
    return true;
}

Region WindowManager::RepaintedAfter(const Window* w) const {
    Region later;
    for (const Window* child : w->children)
        if (child->style & WS_VISIBLE)
            AddPaintedWhole(child, later);
    return later;
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
    ++w->paintAnswers;
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
    // Children painted whole after this window (a form shown again: everything is invalid)
    // would have their pixels saved and put back for nothing.
    ps.hdc = CreateWindowDC(BufferOf(top), o, paint, DeviceScale(), RepaintedAfter(w));
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

HDC WindowManager::GetDC(HWND hwnd, bool wholeWindow, bool frameOnly) {
    Window* w = Get(hwnd);
    if (!w)
        return nullptr;
    Window* top = TopLevelOf(w);
    Region visible = VisibleRegion(w, wholeWindow);
    Rect client;
    if (wholeWindow) {
        // The frame only: the client area belongs to the window's paint.
        Point co = OriginInBuffer(w, false);
        Rect c = ClientRectInWindow(w);
        client = Offset(Rect{0, 0, c.Width(), c.Height()}, co.x, co.y);
        visible.Subtract(client);
    }
    MarkPresent(top, visible.Bounds());
    return CreateWindowDC(BufferOf(top), OriginInBuffer(w, wholeWindow), visible, DeviceScale(),
                          frameOnly ? Region(client) : Region{});
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
            m_backend->Present(t->handle, BufferOf(t), dirty);
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

} // namespace platform
