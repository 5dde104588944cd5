#pragma once
// The one window tree and message queue of the process. Windows are nodes named by handles;
// top-level nodes have a host window and a back buffer, child nodes live inside them and are
// clipped, hit-tested and painted here. The public face is WindowApi.h; this class is what the
// backends, the standard windows and the tests talk to.
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/display/DisplayBackend.h"
#include "platform/display/Messages.h"
#include "platform/gdi/Region.h"

namespace platform {

// State a window class keeps per window beyond the generic fields (the standard windows use it).
class WindowExtra {
public:
    virtual ~WindowExtra() = default;
};

struct Window {
    HWND handle = nullptr;
    const WNDCLASS* cls = nullptr;
    WNDPROC proc = nullptr;
    Window* parent = nullptr;      // child windows only
    Window* owner = nullptr;       // top-level windows only
    std::vector<Window*> children; // front (top of z-order) first
    Rect rect;                     // in the parent's client coordinates; screen for top-levels
    DWORD style = 0;
    DWORD exStyle = 0;
    std::intptr_t id = 0;
    std::intptr_t userData = 0;
    std::string text;
    Region update; // client coordinates
    bool erase = false;
    bool frameDirty = false;
    unsigned paintAnswers = 0; // BeginPaint and validations: the window answered a WM_PAINT
    bool destroyed = false;
    bool created = false;
    std::unique_ptr<WindowExtra> extra;
    // Top-level windows only.
    gdi::Bitmap buffer;
    Rect presentDirty; // back-buffer coordinates
    std::vector<std::uint32_t> icon;
    int iconWidth = 0;
    int iconHeight = 0;
    // A modal dialog, and the window it belongs to for the host (null: none named).
    bool modal = false;
    HWND modalFor = nullptr;

    bool IsChild() const { return (style & WS_CHILD) != 0; }
    int Width() const { return rect.Width(); }
    int Height() const { return rect.Height(); }
};

class WindowManager {
public:
    explicit WindowManager(std::unique_ptr<DisplayBackend> backend);
    ~WindowManager();
    WindowManager(const WindowManager&) = delete;
    WindowManager& operator=(const WindowManager&) = delete;

    // The process's window manager, made with the backend MakeDisplayBackend() picks on first use.
    static WindowManager& Instance();
    // Replaces the process's window manager (all windows are destroyed); tests use it to start
    // each case on a fresh headless display.
    static void Reset(std::unique_ptr<DisplayBackend> backend);
    static bool Exists();

    DisplayBackend& Backend() { return *m_backend; }
    // Back-buffer pixels per window pixel, each way: the host's device scale.
    int DeviceScale() const { return m_backend->DeviceScale(); }
    Window* Get(HWND hwnd) const;

    // Classes.
    bool RegisterClass(const WNDCLASS& cls);
    const WNDCLASS* FindClass(const std::string& name) const;

    // Window life.
    HWND Create(DWORD exStyle, const std::string& className, const std::string& text, DWORD style,
                int x, int y, int width, int height, HWND parent, std::intptr_t id,
                void* createParam);
    bool Destroy(HWND hwnd);
    bool Show(HWND hwnd, int command);
    bool SetPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
    bool Enable(HWND hwnd, bool enable);
    void SetStyle(HWND hwnd, DWORD style);
    void SetExStyle(HWND hwnd, DWORD exStyle);
    void SetText(Window* w, const std::string& text);
    void SetIcon(HWND hwnd, int width, int height, const std::uint32_t* argb);
    // The icon of top-level windows without one of their own (the application's).
    void SetDefaultIcon(int width, int height, const std::uint32_t* argb);
    // Marks a top-level window as a modal dialog belonging to `transientFor` (or clears that).
    void SetModal(HWND hwnd, bool modal, HWND transientFor);

    // Geometry.
    Rect ClientRectInWindow(const Window* w) const; // client area in window coordinates
    Point ClientOriginOnScreen(const Window* w) const;
    Rect WindowRectOnScreen(const Window* w) const;
    Window* TopLevelOf(Window* w) const;
    bool IsVisibleOnScreen(const Window* w) const; // the window and all its ancestors are visible
    bool IsEnabledTree(const Window* w) const;     // the window and all its ancestors are enabled
    HWND WindowFromPoint(Point screen, bool skipDisabled) const;
    HWND ChildFromPoint(HWND parent, Point client, bool skipHidden, bool skipDisabled) const;

    // Messages.
    LRESULT Send(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    bool Post(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void PostQuit(int exitCode);
    bool Peek(MSG& msg, HWND filter, UINT first, UINT last, UINT remove);
    bool Get(MSG& msg, HWND filter, UINT first, UINT last); // false on WM_QUIT
    void Wait();
    LRESULT Dispatch(const MSG& msg);
    bool Translate(const MSG& msg);
    // Runs the queue until nothing is waiting (timers that are not due do not count).
    void PumpUntilIdle();
    int ExitCode() const { return m_exitCode; }

    // Timers.
    UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc);
    bool KillTimer(HWND hwnd, UINT_PTR id);

    // Focus, activation, capture.
    HWND Focus() const { return m_focus; }
    HWND SetFocus(HWND hwnd);
    HWND Active() const { return m_active; }
    HWND Activate(HWND hwnd, bool fromHost = false, int how = WA_ACTIVE);
    void DeactivateApp(); // the host gave the keyboard to another program
    bool AppActive() const { return m_appActive; }
    HWND Capture() const { return m_capture; }
    HWND SetCapture(HWND hwnd);
    bool ReleaseCapture();
    // A key's state as of the input message the program took last (GetKeyState): a key that
    // came and went while earlier messages waited does not show up early or go away too soon.
    short KeyState(int vk) const;
    // Where the pointer is now (asked of the host, which knows it even outside our windows).
    Point CursorPos() const { return m_backend->CursorPos(); }
    void SetCursorPos(Point p);

    // Painting.
    void Invalidate(HWND hwnd, const Rect* rect, bool erase);
    void InvalidateFrame(Window* w);
    void Validate(HWND hwnd, const Rect* rect);
    bool GetUpdateRect(HWND hwnd, Rect& rect);
    HDC BeginPaint(HWND hwnd, PAINTSTRUCT& ps);
    void EndPaint(HWND hwnd, const PAINTSTRUCT& ps);
    // With `frameOnly` the caller draws on the frame alone (the window's own border): the client
    // area inside it, which a border never reaches, is not saved and put back (a chart's frame
    // would otherwise copy the whole chart twice, four times its pixels on a scaled screen).
    HDC GetDC(HWND hwnd, bool wholeWindow, bool frameOnly = false);
    void ReleaseDC(HWND hwnd, HDC dc);
    void Update(HWND hwnd); // paints now what is invalid, then presents
    // The pixels a paint of the window may touch: its visible client (or whole window) area in
    // back-buffer coordinates, less its visible children and the siblings above it.
    Region VisibleRegion(const Window* w, bool wholeWindow) const;
    // The pixels of `w`'s visible children that this round of painting paints whole after `w`
    // (back-buffer coordinates): each child wholly invalid with its frame due and its background
    // to be erased, and the same for everything visible inside it. A parent's paint need not
    // keep those pixels.
    Region RepaintedAfter(const Window* w) const;
    Point OriginInBuffer(const Window* w, bool wholeWindow) const;
    // A top-level window's back buffer, made (in button face) when first drawn on or looked at:
    // a form that is made but never shown, or not yet, holds no pixels. It holds the window's
    // size times the device scale each way.
    gdi::Bitmap& BufferOf(Window* top);
    void PresentAll();

    // The primary selection (WindowSelection.cpp): which window of ours owns it, if any. A claim
    // tells the owner before (WM_SELECTIONLOST); a release by a window that is not the owner does
    // nothing; the owner's text is asked for only when someone pastes.
    bool ClaimPrimary(HWND owner);
    void ReleasePrimary(HWND owner);
    HWND PrimaryOwner() const { return m_primaryOwner; }
    std::string PrimaryText();
    // From the backend: the text to give another program, and another program took it over.
    std::string RenderPrimary();
    void HostPrimaryLost();

    // Input from the backend.
    void HostInput(const InputEvent& ev);
    void HostMoved(HWND topLevel, const Rect& screenRect);
    void HostClose(HWND topLevel);
    void HostFocus(HWND topLevel, bool in);
    void HostExposed(HWND topLevel, const Rect& rect);
    // What the key of the last keyboard message taken types in the other keyboard layouts.
    std::u32string KeyInOtherLayouts() const { return m_otherLayouts; }

    std::uint64_t Now() const { return m_backend->NowMs(); }
    const std::vector<Window*>& TopLevels() const { return m_topLevels; }
    // What the manager holds, for checks that nothing piles up: live windows (children too),
    // timers set, messages queued.
    std::size_t WindowCount() const { return m_windows.size(); }
    std::size_t TimerCount() const { return m_timers.size(); }
    std::size_t QueuedCount() const { return m_queue.size(); }

private:
    // Adds the pixels of `w` and everything visible inside it to `into` when all of them are
    // painted whole in this round (RepaintedAfter); false, adding nothing, when not.
    bool AddPaintedWhole(const Window* w, Region& into) const;
    struct Timer {
        HWND hwnd = nullptr;
        UINT_PTR id = 0;
        UINT interval = 0;
        std::uint64_t due = 0;
        TIMERPROC proc = nullptr;
    };

    void RegisterStandardClasses();
    void DestroyTree(Window* w);
    void Unlink(Window* w);
    HostWindowInfo HostInfo(const Window* w) const;
    void ResizeBuffer(Window* w); // keeps a made buffer the window's size
    void SizeBuffer(Window* w);
    // SetPos's steps: the new rectangle, and the place in the sibling order (true when the
    // window really moved in it).
    void MoveTo(Window* w, const Rect& now);
    bool Restack(Window* w, HWND insertAfter);
    std::vector<Window*>::iterator StackPosition(std::vector<Window*>& list, const Window* w,
                                                 HWND insertAfter);
    void AfterHide(Window* w);
    bool HasPaint() const;
    Window* FindPaint(Window* w) const;
    Window* FindPaintWindow() const;
    bool NextTimer(MSG& msg, HWND filter, bool remove);
    int MsUntilNextTimer() const;
    void Enqueue(const MSG& msg);
    bool TakePosted(MSG& msg, HWND filter, UINT first, UINT last, bool remove);
    void PollHost(int timeoutMs);
    void PostMouse(const InputEvent& ev);
    void TrackMouseButton(const InputEvent& ev);
    Window* WindowUnder(HWND topLevel, Point screen);
    // The message of a mouse event on `target`; false for an event that makes none.
    bool MakeMouseMessage(const InputEvent& ev, const Window& target, MSG& m);
    bool IsDoubleClick(const Window& target, UINT down, Point screen);
    void PostKey(const InputEvent& ev);
    WPARAM MouseKeys() const;
    // The modifiers and buttons now, for a message being queued; and taking them over from a
    // message being taken.
    std::uint8_t InputStateNow() const;
    void TookInput(const MSG& msg);
    void CatchUpKeyState();
    void MarkPresent(Window* top, const Rect& bufferRect);
    bool Contains(const Window* ancestor, const Window* w) const;
    void FlushGraveyard();
    HWND NextToActivate(Window* leaving) const;
    // The modal dialog in front (visible and enabled), if any: what a window it blocks gives
    // way to when the user turns to that window.
    Window* FrontModal() const;
    void BringModalForward();
    void SendDefaultIcon(Window* w);

    std::unique_ptr<DisplayBackend> m_backend;
    std::map<std::string, std::unique_ptr<WNDCLASS>> m_classes;
    std::unordered_map<std::uintptr_t, std::unique_ptr<Window>> m_windows;
    std::vector<std::unique_ptr<Window>> m_graveyard;
    std::vector<Window*> m_topLevels; // front first; top-most windows before the others
    std::uintptr_t m_nextHandle = 0x1000;
    std::deque<MSG> m_queue;
    std::vector<Timer> m_timers;
    UINT_PTR m_nextTimerId = 0x7F00;
    bool m_quit = false;
    int m_exitCode = 0;
    HWND m_focus = nullptr;
    HWND m_active = nullptr;
    HWND m_capture = nullptr;
    HWND m_primaryOwner = nullptr;
    bool m_appActive = false;
    Point m_cursor;
    unsigned char m_keys[256] = {};     // as the host reported keys and buttons, up to now
    unsigned char m_syncKeys[256] = {}; // as of the last input message taken (KeyState)
    std::u32string m_otherLayouts;      // of the last keyboard message taken
    std::vector<std::uint32_t> m_defaultIcon;
    int m_defaultIconWidth = 0;
    int m_defaultIconHeight = 0;
    int m_depth = 0; // nesting of window-procedure calls
    // Double-click detection.
    HWND m_lastClickWindow = nullptr;
    UINT m_lastClickMessage = 0;
    std::uint64_t m_lastClickTime = 0;
    Point m_lastClickPoint;
};

} // namespace platform
