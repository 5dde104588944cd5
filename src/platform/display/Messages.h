#pragma once
// Message numbers, styles, key codes and notification codes. They keep their customary values so
// that stored numbers and the frame's own message ranges (0xB000 upwards) line up.
#include "platform/display/WindowTypes.h"

namespace platform {

enum : UINT {
    WM_NULL = 0x0000,
    WM_CREATE = 0x0001,
    WM_DESTROY = 0x0002,
    WM_MOVE = 0x0003,
    WM_SIZE = 0x0005,
    WM_ACTIVATE = 0x0006,
    WM_SETFOCUS = 0x0007,
    WM_KILLFOCUS = 0x0008,
    WM_ENABLE = 0x000A,
    WM_SETREDRAW = 0x000B,
    WM_SETTEXT = 0x000C,
    WM_GETTEXT = 0x000D,
    WM_GETTEXTLENGTH = 0x000E,
    WM_PAINT = 0x000F,
    WM_CLOSE = 0x0010,
    WM_QUIT = 0x0012,
    WM_ERASEBKGND = 0x0014,
    WM_SHOWWINDOW = 0x0018,
    WM_ACTIVATEAPP = 0x001C,
    WM_CANCELMODE = 0x001F,
    WM_SETCURSOR = 0x0020,
    WM_MOUSEACTIVATE = 0x0021,
    WM_GETMINMAXINFO = 0x0024,
    WM_DRAWITEM = 0x002B,
    WM_MEASUREITEM = 0x002C,
    WM_SETFONT = 0x0030,
    WM_GETFONT = 0x0031,
    WM_WINDOWPOSCHANGING = 0x0046,
    WM_WINDOWPOSCHANGED = 0x0047,
    WM_NOTIFY = 0x004E,
    WM_CONTEXTMENU = 0x007B,
    WM_SETICON = 0x0080,
    WM_NCCREATE = 0x0081,
    WM_NCDESTROY = 0x0082,
    WM_NCCALCSIZE = 0x0083,
    WM_NCHITTEST = 0x0084,
    WM_NCPAINT = 0x0085,
    WM_NCACTIVATE = 0x0086,
    WM_GETDLGCODE = 0x0087,
    WM_NCMOUSEMOVE = 0x00A0,
    WM_KEYFIRST = 0x0100,
    WM_KEYDOWN = 0x0100,
    WM_KEYUP = 0x0101,
    WM_CHAR = 0x0102,
    WM_DEADCHAR = 0x0103,
    WM_SYSKEYDOWN = 0x0104,
    WM_SYSKEYUP = 0x0105,
    WM_SYSCHAR = 0x0106,
    WM_SYSDEADCHAR = 0x0107,
    WM_KEYLAST = 0x0108,
    WM_COMMAND = 0x0111,
    WM_SYSCOMMAND = 0x0112,
    WM_TIMER = 0x0113,
    WM_HSCROLL = 0x0114,
    WM_VSCROLL = 0x0115,
    WM_SYSTIMER = 0x0118,
    WM_MOUSEFIRST = 0x0200,
    WM_MOUSEMOVE = 0x0200,
    WM_LBUTTONDOWN = 0x0201,
    WM_LBUTTONUP = 0x0202,
    WM_LBUTTONDBLCLK = 0x0203,
    WM_RBUTTONDOWN = 0x0204,
    WM_RBUTTONUP = 0x0205,
    WM_RBUTTONDBLCLK = 0x0206,
    WM_MBUTTONDOWN = 0x0207,
    WM_MBUTTONUP = 0x0208,
    WM_MBUTTONDBLCLK = 0x0209,
    WM_MOUSEWHEEL = 0x020A,
    WM_MOUSELAST = 0x020A,
    WM_CAPTURECHANGED = 0x0215,
    WM_CUT = 0x0300,
    WM_COPY = 0x0301,
    WM_PASTE = 0x0302,
    WM_CLEAR = 0x0303,
    WM_UNDO = 0x0304,
    // The primary selection (what the user last selected, pasted with the middle button) asks
    // the window of ours that owns it for its text (lParam: a std::string* to fill), and tells
    // it when another window or program has taken it over. They have the numbers of the
    // clipboard's delayed rendering and end of ownership, which they resemble.
    WM_RENDERSELECTION = 0x0305,
    WM_SELECTIONLOST = 0x0307,
    WM_USER = 0x0400,
    WM_APP = 0x8000,
};

// WM_ACTIVATE states.
enum : int { WA_INACTIVE = 0, WA_ACTIVE = 1, WA_CLICKACTIVE = 2 };

// Mouse message key flags.
enum : unsigned {
    MK_LBUTTON = 0x01,
    MK_RBUTTON = 0x02,
    MK_SHIFT = 0x04,
    MK_CONTROL = 0x08,
    MK_MBUTTON = 0x10,
};
constexpr int WHEEL_DELTA = 120;

// Window styles.
enum : DWORD {
    WS_OVERLAPPED = 0x00000000,
    WS_POPUP = 0x80000000,
    WS_CHILD = 0x40000000,
    WS_MINIMIZE = 0x20000000,
    WS_VISIBLE = 0x10000000,
    WS_DISABLED = 0x08000000,
    WS_CLIPSIBLINGS = 0x04000000,
    WS_CLIPCHILDREN = 0x02000000,
    WS_MAXIMIZE = 0x01000000,
    WS_CAPTION = 0x00C00000,
    WS_BORDER = 0x00800000,
    WS_DLGFRAME = 0x00400000,
    WS_VSCROLL = 0x00200000,
    WS_HSCROLL = 0x00100000,
    WS_SYSMENU = 0x00080000,
    WS_THICKFRAME = 0x00040000,
    WS_GROUP = 0x00020000,
    WS_TABSTOP = 0x00010000,
    WS_MINIMIZEBOX = 0x00020000,
    WS_MAXIMIZEBOX = 0x00010000,
    WS_OVERLAPPEDWINDOW = 0x00CF0000,
};

enum : DWORD {
    WS_EX_DLGMODALFRAME = 0x00000001,
    WS_EX_TOPMOST = 0x00000008,
    WS_EX_TRANSPARENT = 0x00000020,
    WS_EX_TOOLWINDOW = 0x00000080,
    WS_EX_WINDOWEDGE = 0x00000100,
    WS_EX_CLIENTEDGE = 0x00000200,
    WS_EX_STATICEDGE = 0x00020000,
    WS_EX_APPWINDOW = 0x00040000,
    WS_EX_NOACTIVATE = 0x08000000,
};

// Class styles.
enum : UINT {
    CS_VREDRAW = 0x0001,
    CS_HREDRAW = 0x0002,
    CS_DBLCLKS = 0x0008,
    CS_SAVEBITS = 0x0800,
};

// ShowWindow commands.
enum : int {
    SW_HIDE = 0,
    SW_SHOWNORMAL = 1,
    SW_SHOWMINIMIZED = 2,
    SW_SHOWMAXIMIZED = 3,
    SW_SHOWNOACTIVATE = 4,
    SW_SHOW = 5,
    SW_MINIMIZE = 6,
    SW_SHOWMINNOACTIVE = 7,
    SW_SHOWNA = 8,
    SW_RESTORE = 9,
};

// SetWindowPos flags and z-order places.
enum : UINT {
    SWP_NOSIZE = 0x0001,
    SWP_NOMOVE = 0x0002,
    SWP_NOZORDER = 0x0004,
    SWP_NOREDRAW = 0x0008,
    SWP_NOACTIVATE = 0x0010,
    SWP_FRAMECHANGED = 0x0020,
    SWP_SHOWWINDOW = 0x0040,
    SWP_HIDEWINDOW = 0x0080,
    SWP_NOOWNERZORDER = 0x0200,
};
inline const HWND HWND_TOP = nullptr;
inline const HWND HWND_BOTTOM = reinterpret_cast<HWND>(1);
inline const HWND HWND_TOPMOST = reinterpret_cast<HWND>(-1);
inline const HWND HWND_NOTOPMOST = reinterpret_cast<HWND>(-2);

// GetWindow relations.
enum : UINT {
    GW_HWNDFIRST = 0,
    GW_HWNDLAST = 1,
    GW_HWNDNEXT = 2,
    GW_HWNDPREV = 3,
    GW_OWNER = 4,
    GW_CHILD = 5,
};
enum : UINT { GA_PARENT = 1, GA_ROOT = 2, GA_ROOTOWNER = 3 };

// Get/SetWindowLongPtr indices.
enum : int {
    GWLP_WNDPROC = -4,
    GWLP_ID = -12,
    GWL_STYLE = -16,
    GWL_EXSTYLE = -20,
    GWLP_USERDATA = -21,
};

// PeekMessage flags.
enum : UINT { PM_NOREMOVE = 0, PM_REMOVE = 1 };

// Virtual keys.
enum : int {
    VK_LBUTTON = 0x01,
    VK_RBUTTON = 0x02,
    VK_MBUTTON = 0x04,
    VK_BACK = 0x08,
    VK_TAB = 0x09,
    VK_RETURN = 0x0D,
    VK_SHIFT = 0x10,
    VK_CONTROL = 0x11,
    VK_MENU = 0x12,
    VK_PAUSE = 0x13,
    VK_CAPITAL = 0x14,
    VK_ESCAPE = 0x1B,
    VK_SPACE = 0x20,
    VK_PRIOR = 0x21,
    VK_NEXT = 0x22,
    VK_END = 0x23,
    VK_HOME = 0x24,
    VK_LEFT = 0x25,
    VK_UP = 0x26,
    VK_RIGHT = 0x27,
    VK_DOWN = 0x28,
    VK_INSERT = 0x2D,
    VK_DELETE = 0x2E,
    VK_APPS = 0x5D, // the context-menu key
    VK_F1 = 0x70,
    VK_F4 = 0x73,
    VK_F10 = 0x79,
    VK_F12 = 0x7B,
};

// System metrics.
enum : int {
    SM_CXSCREEN = 0,
    SM_CYSCREEN = 1,
    SM_CXVSCROLL = 2,
    SM_CYHSCROLL = 3,
    SM_CYCAPTION = 4,
    SM_CXBORDER = 5,
    SM_CYBORDER = 6,
    SM_CXDLGFRAME = 7,
    SM_CYDLGFRAME = 8,
    SM_CYVTHUMB = 9,
    SM_CXHTHUMB = 10,
    SM_CXICON = 11,
    SM_CYICON = 12,
    SM_CXCURSOR = 13,
    SM_CYCURSOR = 14,
    SM_CYMENU = 15,
    SM_CXFULLSCREEN = 16,
    SM_CYFULLSCREEN = 17,
    SM_MOUSEPRESENT = 19,
    SM_CYVSCROLL = 20,
    SM_CXHSCROLL = 21,
    SM_SWAPBUTTON = 23,
    SM_CXMIN = 28,
    SM_CYMIN = 29,
    SM_CXSIZE = 30,
    SM_CYSIZE = 31,
    SM_CXFRAME = 32,
    SM_CYFRAME = 33,
    SM_CXDOUBLECLK = 36,
    SM_CYDOUBLECLK = 37,
    SM_CXEDGE = 45,
    SM_CYEDGE = 46,
    SM_CXSMICON = 49,
    SM_CYSMICON = 50,
    SM_CYSMCAPTION = 51,
    SM_XVIRTUALSCREEN = 76,
    SM_YVIRTUALSCREEN = 77,
    SM_CXVIRTUALSCREEN = 78,
    SM_CYVIRTUALSCREEN = 79,
    SM_CMONITORS = 80,
};

// Message box flags and results.
enum : UINT {
    MB_OK = 0x0,
    MB_OKCANCEL = 0x1,
    MB_YESNOCANCEL = 0x3,
    MB_YESNO = 0x4,
    MB_ICONSTOP = 0x10,
    MB_ICONERROR = 0x10,
    MB_ICONHAND = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONWARNING = 0x30,
    MB_ICONEXCLAMATION = 0x30,
    MB_ICONINFORMATION = 0x40,
    MB_ICONASTERISK = 0x40,
    MB_DEFBUTTON2 = 0x100,
    MB_TASKMODAL = 0x2000,
    MB_RTLREADING = 0x100000,
};
enum : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

// Monitors.
enum : DWORD {
    MONITOR_DEFAULTTONULL = 0,
    MONITOR_DEFAULTTOPRIMARY = 1,
    MONITOR_DEFAULTTONEAREST = 2
};
enum : DWORD { MONITORINFOF_PRIMARY = 1 };

// Standard window notifications and messages.
enum : int {
    // Push button.
    BS_PUSHBUTTON = 0x0,
    BS_DEFPUSHBUTTON = 0x1,
    BS_OWNERDRAW = 0xB,
    BS_TYPEMASK = 0xF,
    BN_CLICKED = 0,
    BM_GETSTATE = 0xF2,
    BM_SETSTATE = 0xF3,
    BM_SETSTYLE = 0xF4,
    BM_CLICK = 0xF5,
    BST_PUSHED = 0x4,
    BST_FOCUS = 0x8,
    // Owner drawing.
    ODT_BUTTON = 4,
    ODA_DRAWENTIRE = 1,
    ODA_SELECT = 2,
    ODA_FOCUS = 4,
    ODS_SELECTED = 0x1,
    ODS_GRAYED = 0x2,
    ODS_DISABLED = 0x4,
    ODS_FOCUS = 0x10,
    ODS_DEFAULT = 0x20,
    // Edit.
    ES_LEFT = 0x0,
    ES_AUTOHSCROLL = 0x80,
    ES_READONLY = 0x800,
    EM_GETSEL = 0xB0,
    EM_SETSEL = 0xB1,
    EM_GETMODIFY = 0xB8,
    EM_SETMODIFY = 0xB9,
    EM_REPLACESEL = 0xC2,
    EM_LIMITTEXT = 0xC5,
    EM_CANUNDO = 0xC6,
    EM_UNDO = 0xC7,
    EM_EMPTYUNDOBUFFER = 0xCD,
    EM_SETREADONLY = 0xCF,
    EM_GETLIMITTEXT = 0xD5,
    EN_SETFOCUS = 0x100,
    EN_KILLFOCUS = 0x200,
    EN_CHANGE = 0x300,
    EN_UPDATE = 0x400,
    EN_MAXTEXT = 0x501,
    // Combo box.
    CBS_SIMPLE = 0x1,
    CBS_DROPDOWN = 0x2,
    CBS_DROPDOWNLIST = 0x3,
    CBS_AUTOHSCROLL = 0x40,
    CBS_SORT = 0x100,
    CBS_HASSTRINGS = 0x200,
    CB_ERR = -1,
    CB_GETEDITSEL = 0x140,
    CB_LIMITTEXT = 0x141,
    CB_SETEDITSEL = 0x142,
    CB_ADDSTRING = 0x143,
    CB_DELETESTRING = 0x144,
    CB_GETCOUNT = 0x146,
    CB_GETCURSEL = 0x147,
    CB_GETLBTEXT = 0x148,
    CB_GETLBTEXTLEN = 0x149,
    CB_INSERTSTRING = 0x14A,
    CB_RESETCONTENT = 0x14B,
    CB_FINDSTRINGEXACT = 0x158,
    CB_SETCURSEL = 0x14E,
    CB_SHOWDROPDOWN = 0x14F,
    CB_SETITEMHEIGHT = 0x153,
    CB_GETITEMHEIGHT = 0x154,
    CB_GETDROPPEDSTATE = 0x157,
    CB_SETMINVISIBLE = 0x1701,
    CB_GETMINVISIBLE = 0x1702,
    CBN_SELCHANGE = 1,
    CBN_DBLCLK = 2,
    CBN_SETFOCUS = 3,
    CBN_KILLFOCUS = 4,
    CBN_EDITCHANGE = 5,
    CBN_EDITUPDATE = 6,
    CBN_DROPDOWN = 7,
    CBN_CLOSEUP = 8,
    CBN_SELENDOK = 9,
    CBN_SELENDCANCEL = 10,
    // Up-down.
    UDS_WRAP = 0x1,
    UDS_SETBUDDYINT = 0x2,
    UDS_ALIGNRIGHT = 0x4,
    UDS_ALIGNLEFT = 0x8,
    UDS_AUTOBUDDY = 0x10,
    UDS_ARROWKEYS = 0x20,
    UDS_HORZ = 0x40,
    UDS_NOTHOUSANDS = 0x80,
    UDM_SETRANGE = 0x465,
    UDM_GETRANGE = 0x466,
    UDM_SETPOS = 0x467,
    UDM_GETPOS = 0x468,
    UDM_SETBUDDY = 0x469,
    UDM_GETBUDDY = 0x46A,
    UDM_SETACCEL = 0x46B,
    UDM_GETACCEL = 0x46C,
    UDM_SETRANGE32 = 0x46F,
    UDM_GETRANGE32 = 0x470,
    UDM_SETPOS32 = 0x471,
    UDM_GETPOS32 = 0x472,
    UDN_DELTAPOS = -722,
    SB_THUMBPOSITION = 4,
    SB_ENDSCROLL = 8,
    // Progress bar.
    PBM_SETRANGE = 0x401,
    PBM_SETPOS = 0x402,
    PBM_DELTAPOS = 0x403,
    PBM_SETSTEP = 0x404,
    PBM_STEPIT = 0x405,
    PBM_SETRANGE32 = 0x406,
    PBM_GETRANGE = 0x407,
    PBM_GETPOS = 0x408,
};

// UDM_SETACCEL entries.
struct UDACCEL {
    UINT nSec = 0;
    UINT nInc = 1;
};

// The class names of the standard windows.
inline constexpr const char* WC_BUTTON = "BUTTON";
inline constexpr const char* WC_EDIT = "EDIT";
inline constexpr const char* WC_COMBOBOX = "COMBOBOX";
inline constexpr const char* WC_COMBOLBOX = "ComboLBox";
inline constexpr const char* UPDOWN_CLASS = "msctls_updown32";
inline constexpr const char* PROGRESS_CLASS = "msctls_progress32";
inline constexpr const char* WC_STATIC = "STATIC";
inline constexpr const char* WC_POPUPMENU = "PopupMenu";

} // namespace platform
