// gallery: one of each standard window and a Quit button. Every notification the window gets is
// printed on standard output, one line each, so the standard windows can be tried by hand or
// driven by xdotool from the end-to-end tests.
#include <cstdio>
#include <string>
#include <vector>

#include "platform/display/WindowApi.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/SysColors.h"

using namespace platform;

namespace {

enum : int {
    kEdit = 101,
    kCombo = 102,
    kYear = 103,
    kUpDown = 104,
    kButton = 105,
    kOwnerDrawn = 106,
    kProgress = 107,
    kMessage = 108,
    kQuit = 109,
};

HWND g_progress = nullptr;

void Say(const std::string& line) {
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

const char* ComboCode(int code) {
    switch (code) {
    case CBN_SELCHANGE:
        return "CBN_SELCHANGE";
    case CBN_DBLCLK:
        return "CBN_DBLCLK";
    case CBN_SETFOCUS:
        return "CBN_SETFOCUS";
    case CBN_KILLFOCUS:
        return "CBN_KILLFOCUS";
    case CBN_EDITCHANGE:
        return "CBN_EDITCHANGE";
    case CBN_EDITUPDATE:
        return "CBN_EDITUPDATE";
    case CBN_DROPDOWN:
        return "CBN_DROPDOWN";
    case CBN_CLOSEUP:
        return "CBN_CLOSEUP";
    case CBN_SELENDOK:
        return "CBN_SELENDOK";
    case CBN_SELENDCANCEL:
        return "CBN_SELENDCANCEL";
    default:
        return "CBN_?";
    }
}

const char* EditCode(int code) {
    switch (code) {
    case EN_SETFOCUS:
        return "EN_SETFOCUS";
    case EN_KILLFOCUS:
        return "EN_KILLFOCUS";
    case EN_CHANGE:
        return "EN_CHANGE";
    case EN_UPDATE:
        return "EN_UPDATE";
    case EN_MAXTEXT:
        return "EN_MAXTEXT";
    default:
        return "EN_?";
    }
}

void Command(HWND hwnd, int id, int code, HWND control) {
    switch (id) {
    case kEdit:
    case kYear: {
        std::string line = std::string(id == kEdit ? "edit " : "year ") + EditCode(code);
        if (code == EN_CHANGE)
            line += " text=" + GetWindowText(control);
        Say(line);
        break;
    }
    case kCombo: {
        std::string line = std::string("combo ") + ComboCode(code);
        if (code == CBN_SELCHANGE)
            line += " index=" + std::to_string(SendMessage(control, CB_GETCURSEL));
        if (code == CBN_EDITCHANGE || code == CBN_SELCHANGE)
            line += " text=" + GetWindowText(control);
        Say(line);
        break;
    }
    case kButton:
        Say("button BN_CLICKED");
        SendMessage(g_progress, PBM_STEPIT);
        Say("progress pos=" + std::to_string(SendMessage(g_progress, PBM_GETPOS)));
        break;
    case kOwnerDrawn:
        Say("owner BN_CLICKED");
        break;
    case kMessage: {
        Say("message BN_CLICKED");
        int r = MessageBox(hwnd, "Показать окно сообщения ещё раз?", "Gallery",
                           MB_YESNO | MB_ICONQUESTION);
        Say("message result=" + std::to_string(r));
        break;
    }
    case kQuit:
        Say("quit BN_CLICKED");
        PostQuitMessage(0);
        break;
    default:
        break;
    }
}

void DrawOwner(const DRAWITEMSTRUCT& di) {
    gdi::DeviceContext& dc = *di.hDC;
    Rect r = di.rcItem;
    bool pushed = (di.itemState & ODS_SELECTED) != 0;
    dc.FillRect(r, gdi::BrushSpec{gdi::BrushStyle::Solid, gdi::RGB(255, 255, 225)});
    dc.DrawEdge(r, pushed ? gdi::EDGE_SUNKEN : gdi::EDGE_RAISED, gdi::BF_RECT);
    dc.SetBkMode(gdi::TRANSPARENT);
    dc.SetTextColor(gdi::RGB(0, 0, 128));
    Rect t = r;
    if (pushed)
        t = Rect{t.left + 1, t.top + 1, t.right + 1, t.bottom + 1};
    dc.DrawText("Owner", t, gdi::DT_CENTER | gdi::DT_VCENTER | gdi::DT_SINGLELINE);
    if (di.itemState & ODS_FOCUS)
        dc.DrawFocusRect(Rect{r.left + 4, r.top + 4, r.right - 4, r.bottom - 4});
}

LRESULT GalleryProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND:
        Command(hwnd, LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_VSCROLL:
        if (LOWORD(wParam) == SB_THUMBPOSITION)
            Say("updown pos=" + std::to_string(int(std::int16_t(HIWORD(wParam)))));
        return 0;
    case WM_NOTIFY: {
        auto* nm = reinterpret_cast<const NMUPDOWN*>(lParam);
        if (nm->hdr.code == UDN_DELTAPOS)
            Say("updown UDN_DELTAPOS pos=" + std::to_string(nm->iPos) +
                " delta=" + std::to_string(nm->iDelta));
        return 0;
    }
    case WM_DRAWITEM:
        DrawOwner(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return 1;
    case WM_CLOSE:
        Say("gallery WM_CLOSE");
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProc(hwnd, msg, wParam, lParam);
    }
}

std::vector<std::uint32_t> MakeIcon() {
    std::vector<std::uint32_t> px(16 * 16, 0);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            bool border = x == 0 || y == 0 || x == 15 || y == 15;
            bool wave = y == 8 + int(6.0 * ((x % 8) < 4 ? (x % 4) / 4.0 : -(x % 4) / 4.0));
            px[std::size_t(y * 16 + x)] = border ? 0xFF000080u : wave ? 0xFFFF0000u : 0xFFFFFFFFu;
        }
    return px;
}

} // namespace

int main() {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    UseX11Display();
    WNDCLASS cls;
    cls.className = "Gallery";
    cls.lpfnWndProc = GalleryProc;
    cls.background = gdi::GetSysColor(gdi::COLOR_BTNFACE);
    RegisterClass(cls);

    HWND main = CreateWindowEx(0, "Gallery", "Gallery — стандартные окна",
                               WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 100, 100, 280,
                               170, nullptr);
    if (!main) {
        std::fprintf(stderr, "gallery: cannot create the window\n");
        return 1;
    }
    std::vector<std::uint32_t> icon = MakeIcon();
    SetWindowIcon(main, 16, 16, icon.data());

    CreateWindowEx(WS_EX_CLIENTEDGE, WC_EDIT, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 10, 150,
                   21, main, kEdit);
    HWND combo = CreateWindowEx(0, WC_COMBOBOX, "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, 10, 40,
                                150, 21, main, kCombo);
    const char* months[] = {"Январь", "Февраль", "Март",     "Апрель",  "Май",    "Июнь",
                            "Июль",   "Август",  "Сентябрь", "Октябрь", "Ноябрь", "Декабрь"};
    for (const char* m : months)
        SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(m));
    SendMessage(combo, CB_SETMINVISIBLE, 8);
    SendMessage(combo, CB_SETITEMHEIGHT, 0, 16);
    HWND year = CreateWindowEx(WS_EX_CLIENTEDGE, WC_EDIT, "1900", WS_CHILD | WS_VISIBLE, 10, 71, 49,
                               21, main, kYear);
    HWND updown = CreateWindowEx(0, UPDOWN_CLASS, "",
                                 WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT | UDS_ALIGNRIGHT |
                                     UDS_ARROWKEYS | UDS_NOTHOUSANDS,
                                 59, 71, 15, 21, main, kUpDown);
    SendMessage(updown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(year));
    SendMessage(updown, UDM_SETRANGE32, 1900, 2100);
    SendMessage(updown, UDM_SETPOS32, 0, 1900);
    g_progress = CreateWindowEx(0, PROGRESS_CLASS, "", WS_CHILD | WS_VISIBLE, 10, 104, 150, 18,
                                main, kProgress);
    SendMessage(g_progress, PBM_SETPOS, 40);
    CreateWindowEx(0, WC_BUTTON, "Button", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, 180, 8, 85, 25,
                   main, kButton);
    CreateWindowEx(0, WC_BUTTON, "", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 180, 38, 85, 25, main,
                   kOwnerDrawn);
    CreateWindowEx(0, WC_BUTTON, "Message...", WS_CHILD | WS_VISIBLE, 180, 68, 85, 25, main,
                   kMessage);
    CreateWindowEx(0, WC_BUTTON, "Quit", WS_CHILD | WS_VISIBLE, 180, 130, 85, 25, main, kQuit);

    ShowWindow(main, SW_SHOW);
    Say("gallery ready");
    MSG msg;
    while (GetMessage(msg, nullptr, 0, 0)) {
        TranslateMessage(msg);
        DispatchMessage(msg);
    }
    DestroyWindow(main);
    Say("gallery end");
    return 0;
}
