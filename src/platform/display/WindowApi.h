#pragma once
// The window manager's calls, shaped like the classic window API the frame was written against.
// Every call works on the process's window manager (WindowManager::Instance()). A handle that is
// not (or no longer) a window makes a call fail quietly: false, 0 or null.
#include <string>

#include "platform/display/Messages.h"
#include "platform/display/WindowTypes.h"

namespace platform {

// Classes and windows.
bool RegisterClass(const WNDCLASS& cls);
bool ClassRegistered(const std::string& className);
HWND CreateWindowEx(DWORD exStyle, const std::string& className, const std::string& text,
                    DWORD style, int x, int y, int width, int height, HWND parent,
                    std::intptr_t id = 0, void* createParam = nullptr);
bool DestroyWindow(HWND hwnd);
bool IsWindow(HWND hwnd);
std::string GetClassName(HWND hwnd);
LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
std::intptr_t GetWindowLongPtr(HWND hwnd, int index);
// GWLP_WNDPROC replaces the window procedure (subclassing); the old value is returned.
std::intptr_t SetWindowLongPtr(HWND hwnd, int index, std::intptr_t value);

// The tree.
HWND GetParent(HWND hwnd); // the parent of a child, the owner of a top-level window
HWND GetAncestor(HWND hwnd, UINT flags);
HWND GetWindow(HWND hwnd, UINT relation);
HWND GetTopWindow(HWND hwnd); // the first child (front), or the front top-level for null
bool IsChild(HWND parent, HWND hwnd);
HWND GetDlgItem(HWND parent, int id);
int GetDlgCtrlID(HWND hwnd);

// State.
bool ShowWindow(HWND hwnd, int command); // returns whether it was visible
bool IsWindowVisible(HWND hwnd);         // the window and its ancestors are visible
bool IsIconic(HWND hwnd);
bool EnableWindow(HWND hwnd, bool enable); // returns whether it was disabled
bool IsWindowEnabled(HWND hwnd);
bool SetWindowText(HWND hwnd, const std::string& text);
std::string GetWindowText(HWND hwnd);
int GetWindowTextLength(HWND hwnd);
// Sets a top-level window's icon from ARGB pixels.
void SetWindowIcon(HWND hwnd, int width, int height, const std::uint32_t* argb);
// The icon top-level windows without one of their own show (the application's).
void SetDefaultWindowIcon(int width, int height, const std::uint32_t* argb);
// Tells the desktop that a top-level window is a modal dialog belonging to `transientFor` (a
// window it blocks), or no longer one. While it is up, turning to a window it blocks (a click,
// the taskbar, the window manager's activation) brings the dialog forward instead.
void SetWindowModal(HWND hwnd, bool modal, HWND transientFor);

// Geometry. Window rectangles are in screen coordinates; client rectangles start at 0, 0.
bool SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
bool MoveWindow(HWND hwnd, int x, int y, int width, int height, bool repaint = true);
bool BringWindowToTop(HWND hwnd);
bool GetWindowRect(HWND hwnd, Rect& rect);
bool GetClientRect(HWND hwnd, Rect& rect);
bool ClientToScreen(HWND hwnd, Point& p);
bool ScreenToClient(HWND hwnd, Point& p);
// Maps points from one window's client coordinates to another's (null = the screen).
void MapWindowPoints(HWND from, HWND to, Point* points, int count);
HWND WindowFromPoint(Point screen);
HWND ChildWindowFromPoint(HWND parent, Point client);

// Messages.
LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
bool PostMessage(HWND hwnd, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
void PostQuitMessage(int exitCode);
bool PeekMessage(MSG& msg, HWND hwnd, UINT first, UINT last, UINT remove);
bool GetMessage(MSG& msg, HWND hwnd, UINT first, UINT last); // false for WM_QUIT
bool WaitMessage();
LRESULT DispatchMessage(const MSG& msg);
bool TranslateMessage(const MSG& msg);
DWORD GetMessageTime();
DWORD GetTickCount();

// Timers.
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc = nullptr);
bool KillTimer(HWND hwnd, UINT_PTR id);

// Focus, activation, capture, keyboard and mouse state.
HWND SetFocus(HWND hwnd);
HWND GetFocus();
HWND SetActiveWindow(HWND hwnd);
HWND GetActiveWindow();
bool SetForegroundWindow(HWND hwnd);
HWND GetForegroundWindow();
HWND SetCapture(HWND hwnd);
bool ReleaseCapture();
HWND GetCapture();
short GetKeyState(int vk);
// With Alt held: what the key of the keyboard message taken last types in the keyboard's other
// layouts (Alt+Д found with the Latin layout active). Empty for other messages.
std::u32string GetKeyInOtherLayouts();
bool GetCursorPos(Point& p);
bool SetCursorPos(int x, int y);
void MessageBeep(UINT type = 0);

// Painting.
bool InvalidateRect(HWND hwnd, const Rect* rect, bool erase);
bool ValidateRect(HWND hwnd, const Rect* rect);
bool GetUpdateRect(HWND hwnd, Rect& rect);
bool UpdateWindow(HWND hwnd);
HDC BeginPaint(HWND hwnd, PAINTSTRUCT& ps);
bool EndPaint(HWND hwnd, const PAINTSTRUCT& ps);
HDC GetDC(HWND hwnd);       // the client area, clipped to what is visible
HDC GetWindowDC(HWND hwnd); // the frame around the client area
int ReleaseDC(HWND hwnd, HDC dc);

// The display. Every other call opens it on first use; these two let a caller that must not
// open one (a form tool measuring without a display) ask first.
bool DisplayOpened();
// Lets the display be an X server (DISPLAY, or ZORVANE_DISPLAY=x11): called by the programs
// that show windows before their first window. Without it every display is the in-memory one,
// and the program links no X library (zorvane-cli draws and prints without one).
void UseX11Display();
// "x11" or "headless": what the display is (opens it).
std::string DisplayBackendName();
// Device pixels per logical pixel each way on the screen (1 when no display is open): what a
// position given to another program in screen pixels is multiplied by.
int ScreenDeviceScale();

// Screen.
int GetSystemMetrics(int index);
Rect GetWorkArea(); // the desktop less panels
// What a window centred on the screen is centred in: the monitor holding the pointer within the
// work area when there are several, else the whole screen.
Rect GetCentringArea();
HMONITOR MonitorFromWindow(HWND hwnd, DWORD flags);
HMONITOR MonitorFromPoint(Point p, DWORD flags);
bool GetMonitorInfo(HMONITOR monitor, MONITORINFO& info);

// Clipboard text (UTF-8).
bool SetClipboardText(const std::string& text);
std::string GetClipboardText();
// Whether there is anything to paste, without fetching it.
bool IsClipboardTextAvailable();

// The primary selection: what the user selected last, here or in another program, which a middle
// click pastes. A window claims it when the user selects in it and gives it up when the
// selection goes; while it owns it, it is asked for the text (WM_RENDERSELECTION, lParam a
// std::string* to fill) whenever anyone pastes, and it hears WM_SELECTIONLOST when another
// window or program takes it over. A window being destroyed gives it up.
bool ClaimPrimarySelection(HWND owner);
void ReleasePrimarySelection(HWND owner); // nothing unless `owner` owns it
HWND GetPrimarySelectionOwner();          // a window of ours, or null
std::string GetPrimarySelectionText();

// The system message box: modal to its owner (the owner's top-level windows are disabled while
// it is up), Enter presses the default button and Escape the cancel one. Returns IDOK, IDCANCEL,
// IDYES or IDNO.
int MessageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags);

} // namespace platform
