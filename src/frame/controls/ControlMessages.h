#pragma once
// Messages as controls see them. A window message reaches a control as one TMessage (number,
// wParam, lParam, result); TControl::Dispatch decodes it once into one of the typed records
// below and calls the matching virtual handler, so control code never unpacks WPARAM/LPARAM.
// The frame's own notices (CM_*) and the notifications it reflects back to the child window they
// concern (CN_*) have their numbers here.
#include <cstdint>
#include <string>

#include "frame/controls/ControlTypes.h"
#include "platform/display/Messages.h"

namespace frame {

using platform::HWND;
using platform::LPARAM;
using platform::LRESULT;
using platform::UINT;
using platform::WPARAM;
using TRect = platform::gdi::Rect;
using TPoint = platform::gdi::Point;

class TControl;
class TWinControl;
struct TClassInfo;

// The frame's notices, sent by the frame to its own controls and windows.
enum : UINT {
    CM_BASE = 0xB000,
    // Numbers other programs and tools may know.
    CM_ACTIVATE = 0xB000,      // the application became active; a form's modal loop starts
    CM_DEACTIVATE = 0xB001,    // the application became inactive; a form's modal loop ended
    CM_MOUSEENTER = 0xB013,    // the mouse came over a control (lParam: the control, 0 = self)
    CM_MOUSELEAVE = 0xB014,    // the mouse left a control (lParam as above)
    CM_APPKEYDOWN = 0xB016,    // a key down no form took, offered to the application window
    CM_APPSYSCOMMAND = 0xB017, // a system-menu key offered to the application window
    CM_APPFOCUS = 0xB01A,      // the application window got the focus: pass it to a form
    CM_INVOKEHELP = 0xB01F,    // help request posted to the application window (command, datum)
    CM_RELEASE = 0xB021,       // a form frees itself when this is dispatched
    CM_HINTSHOW = 0xB030,      // a hint is about to show (lParam: THintInfo*); non-zero vetoes
    CM_HINTSHOWPAUSE = 0xB041, // the pause before a hint (wParam: a hint is up; lParam: int*)

    // The frame's own notices.
    CM_ENABLEDCHANGED = 0xB050,
    CM_VISIBLECHANGED,
    CM_TEXTCHANGED,
    CM_COLORCHANGED,
    CM_FONTCHANGED,
    CM_PARENTCOLORCHANGED,
    CM_PARENTFONTCHANGED,
    CM_SHOWHINTCHANGED,
    CM_PARENTSHOWHINTCHANGED,
    CM_CTL3DCHANGED,
    CM_PARENTCTL3DCHANGED,
    CM_SHOWINGCHANGED, // a windowed control's window was shown or hidden with its parents
    CM_DIALOGKEY,      // Tab, arrows, Enter, Escape: wParam the key, lParam the shift state
    CM_DIALOGCHAR,     // an accelerator: wParam the code point, lParam the shift state
    CM_FOCUSCHANGED,   // to every control of a form: lParam the newly focused control
    CM_ENTER,          // a control and its parents on the way to the focus
    CM_EXIT,           // a control and its parents the focus left
    CM_CANCELMODE,     // drop a press in progress (lParam: the control that takes over)
    CM_CONTROLLISTCHANGE,
    CM_TABSTOPCHANGED,
    CM_BORDERCHANGED,
    CM_ACCESSIBLEWORK, // to the application window: run what screen readers asked for

    // Window messages reflected to the control whose window they concern (WM_COMMAND,
    // WM_NOTIFY, WM_DRAWITEM, WM_VSCROLL ... from a child), and key messages offered to the
    // focused control before the loop translates them: CN_BASE + the message number.
    CN_BASE = 0xBC00,
    CN_KEYDOWN = CN_BASE + platform::WM_KEYDOWN,
    CN_KEYUP = CN_BASE + platform::WM_KEYUP,
    CN_CHAR = CN_BASE + platform::WM_CHAR,
    CN_SYSKEYDOWN = CN_BASE + platform::WM_SYSKEYDOWN,
    CN_SYSKEYUP = CN_BASE + platform::WM_SYSKEYUP,
    CN_SYSCHAR = CN_BASE + platform::WM_SYSCHAR,
    CN_COMMAND = CN_BASE + platform::WM_COMMAND,
    CN_NOTIFY = CN_BASE + platform::WM_NOTIFY,
    CN_DRAWITEM = CN_BASE + platform::WM_DRAWITEM,
    CN_HSCROLL = CN_BASE + platform::WM_HSCROLL,
    CN_VSCROLL = CN_BASE + platform::WM_VSCROLL,
};

// System commands (WM_SYSCOMMAND wParam, low four bits cleared).
enum : unsigned {
    SC_SIZE = 0xF000,
    SC_MOVE = 0xF010,
    SC_MINIMIZE = 0xF020,
    SC_MAXIMIZE = 0xF030,
    SC_CLOSE = 0xF060,
    SC_RESTORE = 0xF120,
};

// The help key (F1) as a window message to the form: lParam is a HELPINFO*.
inline constexpr UINT WM_HELP = 0x0053;
enum : int { HELPINFO_WINDOW = 1, HELPINFO_MENUITEM = 2 };
struct HELPINFO {
    int iContextType = HELPINFO_WINDOW;
    int iCtrlId = 0;
    HWND hItemHandle = nullptr;
    std::uintptr_t dwContextId = 0;
    TPoint MousePos;
};

// What WM_GETDLGCODE would answer: the keys a focused control keeps for itself rather than
// letting the form use them for navigation, default button, cancel and accelerators.
enum : unsigned {
    DLGC_WANTARROWS = 0x1,
    DLGC_WANTTAB = 0x2,
    DLGC_WANTALLKEYS = 0x4,
    DLGC_WANTCHARS = 0x80,
};

// One message on its way through a control.
struct TMessage {
    UINT msg = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    LRESULT result = 0;
};

// --- Typed records. Each keeps the message it came from (set `message.result` to answer). ---

// WM_xBUTTONDOWN/UP/DBLCLK, WM_MOUSEMOVE: the point in the control's client coordinates.
struct TWMMouse {
    TMessage& message;
    TPoint pos;
    TShiftState shift;
    TMouseButton button = mbLeft;
    bool doubleClick = false;
};
// WM_MOUSEWHEEL: the point on the screen.
struct TWMMouseWheel {
    TMessage& message;
    TPoint screenPos;
    TShiftState shift;
    int delta = 0;
};
// WM_KEYDOWN/UP and their system variants (and CN_ previews); set `key` to 0 to swallow it.
struct TWMKey {
    TMessage& message;
    uint16_t key = 0;
    TShiftState shift;
    bool system = false;
};
// WM_CHAR / WM_SYSCHAR (and CN_ previews); set `ch` to 0 to swallow it.
struct TWMChar {
    TMessage& message;
    char32_t ch = 0;
    TShiftState shift;
    bool system = false;
};
// WM_SETFOCUS (other: the window that had it) and WM_KILLFOCUS (other: the one that gets it).
struct TWMFocus {
    TMessage& message;
    HWND other = nullptr;
};
// WM_PAINT: `dc` is given when the control is painted into someone else's context (a graphic
// control inside its parent's paint, PaintTo); null means "begin a paint of your own window".
struct TWMPaint {
    TMessage& message;
    platform::HDC dc = nullptr;
};
struct TWMEraseBkgnd {
    TMessage& message;
    platform::HDC dc = nullptr;
};
struct TWMSize {
    TMessage& message;
    int width = 0;
    int height = 0;
};
struct TWMMove {
    TMessage& message;
    int x = 0;
    int y = 0;
};
// WM_COMMAND (and CN_COMMAND): from a child window, or a menu/accelerator when control is null.
struct TWMCommand {
    TMessage& message;
    int id = 0;
    int notifyCode = 0;
    HWND control = nullptr;
};
struct TWMNotify {
    TMessage& message;
    int id = 0;
    platform::NMHDR* header = nullptr;
};
struct TWMDrawItem {
    TMessage& message;
    int id = 0;
    platform::DRAWITEMSTRUCT* item = nullptr;
};
// WM_HSCROLL / WM_VSCROLL (and CN_ variants).
struct TWMScroll {
    TMessage& message;
    int code = 0;
    int pos = 0;
    HWND scrollBar = nullptr;
};
struct TWMActivate {
    TMessage& message;
    int state = 0; // WA_INACTIVE, WA_ACTIVE, WA_CLICKACTIVE
    bool minimized = false;
    HWND other = nullptr;
};
struct TWMActivateApp {
    TMessage& message;
    bool active = false;
};
struct TWMSysCommand {
    TMessage& message;
    unsigned command = 0; // SC_* with the low four bits cleared
};
struct TWMTimer {
    TMessage& message;
    std::uintptr_t id = 0;
};
struct TWMHelp {
    TMessage& message;
    HELPINFO* info = nullptr;
};
struct TCMDialogKey {
    TMessage& message;
    int key = 0;
    TShiftState shift;
};
struct TCMDialogChar {
    TMessage& message;
    char32_t ch = 0;
    TShiftState shift;
};
struct TCMFocusChanged {
    TMessage& message;
    TWinControl* focused = nullptr;
};
// CM_MOUSEENTER / CM_MOUSELEAVE: `control` is the control the mouse came to or left (the
// receiver itself, or a child when a parent hears of it).
struct TCMMouse {
    TMessage& message;
    TControl* control = nullptr;
};

// What a hint shows; the control under the mouse may change it (CM_HINTSHOW).
struct THintInfo {
    TControl* hintControl = nullptr;
    TPoint hintPos; // screen
    int hintMaxWidth = 0;
    TColor hintColor = clInfoBk;
    TRect cursorRect; // control client coordinates
    TPoint cursorPos; // control client coordinates
    std::string hintStr;
    int reshowTimeout = 0;
    int hideTimeout = 0;
    const TClassInfo* hintWindowClass = nullptr;
    void* hintData = nullptr;
};
struct TCMHintShow {
    TMessage& message;
    THintInfo* info = nullptr;
};
struct TCMHintShowPause {
    TMessage& message;
    bool hintActive = false;
    int* pause = nullptr;
};

// The shift state of a key message now (Shift, Ctrl, Alt held).
TShiftState KeyboardShiftState();
// The shift state packed into CM_DIALOGKEY / CM_DIALOGCHAR.
inline LPARAM PackShift(TShiftState shift) {
    return LPARAM(shift.Mask());
}

} // namespace frame
