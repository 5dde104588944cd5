// Sending, posting and taking messages, the order of the queue, and timers.
#include "platform/display/WindowManager.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/display/WindowApi.h"
#include "platform/display/WindowManagerInternal.h"

namespace platform {

using namespace detail;

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
        if (remove) {
            m_queue.erase(it);
            TookInput(msg);
        }
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
    Window* target = Get(msg.hwnd);
    unsigned answers = target ? target->paintAnswers : 0;
    LRESULT r = Send(msg.hwnd, msg.message, msg.wParam, msg.lParam);
    if (msg.message == WM_PAINT) {
        // A window procedure that neither paints nor calls the default one would be asked again
        // forever; treat the message as answered. One that did paint keeps what became invalid
        // meanwhile (a window that resized itself while painting is painted again).
        Window* w = Get(msg.hwnd);
        if (w && w->paintAnswers == answers) {
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

} // namespace platform
