#include "platform/stdwin/StdWinCommon.h"

#include <algorithm>
#include <cstdlib>

#include "platform/stdwin/StandardWindow.h"
#include "rtl/Utf8.h"

namespace platform::stdwin {

gdi::FontSpec ControlState::DefaultFont() {
    gdi::FontSpec f;
    f.name = "MS Sans Serif";
    f.height = -11;
    return f;
}

void ApplyFont(HWND hwnd, ControlState& state, const gdi::FontSpec& font, bool redraw) {
    state.font = font;
    if (redraw)
        InvalidateRect(hwnd, nullptr, true);
    state.FontChanged(hwnd, redraw);
}

Answer FontMessage(HWND hwnd, ControlState& state, const Message& m) {
    if (m.msg == WM_SETFONT) {
        ApplyFont(hwnd, state,
                  m.wParam ? *reinterpret_cast<const gdi::FontSpec*>(m.wParam)
                           : ControlState::DefaultFont(),
                  m.lParam != 0);
        return 0;
    }
    if (m.msg == WM_GETFONT)
        return reinterpret_cast<LRESULT>(&state.font);
    return std::nullopt;
}

void StandardWindow::SetFont(const gdi::FontSpec& font, bool redraw) {
    if (ControlState* state = StateOf<ControlState>(m_hwnd))
        ApplyFont(m_hwnd, *state, font, redraw);
}

void RegisterStandardClass(WindowManager& wm, const char* name, WNDPROC proc, UINT style) {
    WNDCLASS cls;
    cls.className = name;
    cls.lpfnWndProc = proc;
    cls.style = style;
    wm.RegisterClass(cls);
}

void NotifyParent(HWND hwnd, int code) {
    HWND parent = GetParent(hwnd);
    if (parent)
        SendMessage(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), code),
                    reinterpret_cast<LPARAM>(hwnd));
}

gdi::BrushSpec Solid(ColorRef colour) {
    return gdi::BrushSpec{gdi::BrushStyle::Solid, colour};
}

gdi::BrushSpec SysBrush(int index) {
    return Solid(gdi::GetSysColor(index));
}

Rect Inflate(const Rect& r, int d) {
    return Rect{r.left - d, r.top - d, r.right + d, r.bottom + d};
}

int TextWidth(const gdi::FontSpec& font, const std::string& text) {
    if (text.empty())
        return 0;
    auto dc = gdi::DeviceContext::ForMeasure();
    dc->SetFont(font);
    return dc->GetTextExtent(text).cx;
}

int TextHeight(const gdi::FontSpec& font) {
    auto dc = gdi::DeviceContext::ForMeasure();
    dc->SetFont(font);
    return dc->GetTextMetrics().height;
}

void DrawButtonFrame(gdi::DeviceContext& dc, Rect& r, bool pushed) {
    if (pushed) {
        dc.FrameRect(r, SysBrush(gdi::COLOR_BTNSHADOW));
        r = Inflate(r, -1);
    } else {
        // The push-button edge: white and black outside, light and grey inside (the general
        // raised edge has them the other way round outside).
        auto ring = [&](int topLeft, int bottomRight) {
            dc.FillRect(Rect{r.left, r.top, r.right - 1, r.top + 1}, SysBrush(topLeft));
            dc.FillRect(Rect{r.left, r.top, r.left + 1, r.bottom - 1}, SysBrush(topLeft));
            dc.FillRect(Rect{r.left, r.bottom - 1, r.right, r.bottom}, SysBrush(bottomRight));
            dc.FillRect(Rect{r.right - 1, r.top, r.right, r.bottom}, SysBrush(bottomRight));
            r = Inflate(r, -1);
        };
        ring(gdi::COLOR_BTNHIGHLIGHT, gdi::COLOR_3DDKSHADOW);
        ring(gdi::COLOR_3DLIGHT, gdi::COLOR_BTNSHADOW);
    }
}

void DrawArrow(gdi::DeviceContext& dc, const Rect& r, Arrow dir, bool enabled) {
    int size = std::max(2, std::min(r.Width(), r.Height()) / 4 + 1);
    int cx = r.left + r.Width() / 2;
    int cy = r.top + r.Height() / 2;
    auto paint = [&](int dx, int dy, ColorRef c) {
        // Rows of shrinking width make the triangle without anti-aliasing.
        for (int i = 0; i < size; ++i) {
            Rect line;
            switch (dir) {
            case Arrow::Down:
                line = Rect{cx - size + 1 + i, cy - size / 2 + i, cx + size - i,
                            cy - size / 2 + i + 1};
                break;
            case Arrow::Up:
                line = Rect{cx - size + 1 + i, cy + size / 2 - i, cx + size - i,
                            cy + size / 2 - i + 1};
                break;
            case Arrow::Right:
                line = Rect{cx - size / 2 + i, cy - size + 1 + i, cx - size / 2 + i + 1,
                            cy + size - i};
                break;
            case Arrow::Left:
                line = Rect{cx + size / 2 - i, cy - size + 1 + i, cx + size / 2 - i + 1,
                            cy + size - i};
                break;
            }
            dc.FillRect(Rect{line.left + dx, line.top + dy, line.right + dx, line.bottom + dy},
                        Solid(c));
        }
    };
    if (enabled) {
        paint(0, 0, gdi::GetSysColor(gdi::COLOR_BTNTEXT));
    } else {
        paint(1, 1, gdi::GetSysColor(gdi::COLOR_BTNHIGHLIGHT));
        paint(0, 0, gdi::GetSysColor(gdi::COLOR_BTNSHADOW));
    }
}

void DrawArrowButton(gdi::DeviceContext& dc, const Rect& rect, Arrow dir, bool pushed,
                     bool enabled) {
    Rect r = rect;
    DrawButtonFrame(dc, r, pushed);
    dc.FillRect(r, SysBrush(gdi::COLOR_BTNFACE));
    Rect a = r;
    if (pushed)
        a = Rect{a.left + 1, a.top + 1, a.right + 1, a.bottom + 1};
    DrawArrow(dc, a, dir, enabled);
}

bool RussianUi() {
    for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* v = std::getenv(var);
        if (v && *v)
            return std::string(v).rfind("ru", 0) == 0;
    }
    return false;
}

char32_t AcceleratorOf(const std::string& caption) {
    std::u32string text = ToU32(caption);
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != U'&')
            continue;
        if (text[i + 1] != U'&')
            return text[i + 1];
        ++i; // "&&" is a plain ampersand
    }
    return 0;
}

int WheelNotches(WPARAM wParam) {
    return GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
}

std::u32string ToU32(const std::string& s) {
    return rtl::Utf8ToU32(s);
}

std::string ToUtf8(const std::u32string& text) {
    return rtl::U32ToUtf8(text);
}

char32_t FoldCase(char32_t c) {
    if ((c >= U'A' && c <= U'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) ||
        (c >= 0x410 && c <= 0x42F))
        return c + 0x20;
    if (c >= 0x400 && c <= 0x40F)
        return c + 0x50;
    return c;
}

std::u32string FoldCase(const std::string& utf8) {
    std::u32string out = ToU32(utf8);
    for (char32_t& c : out)
        c = FoldCase(c);
    return out;
}

} // namespace platform::stdwin
