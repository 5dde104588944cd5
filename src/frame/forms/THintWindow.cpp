#include "frame/forms/THintWindow.h"

#include "frame/ClassBuilder.h"
#include "platform/display/WindowApi.h"
#include "platform/gdi/DeviceContext.h"

namespace frame {

using namespace platform;

const TClassInfo* THintWindow::StaticClass() {
    static const auto info =
        TClassBuilder<THintWindow>("THintWindow", TCustomControl::StaticClass()).Build();
    return info.get();
}

THintWindow::THintWindow(TComponent* owner) : TCustomControl(owner) {
    SetControlStyle(TControlStyle{csTopLevelWindow, csOpaque});
    m_visible = false;
    SetColor(0x80FFFF);
    // The status-bar font of the classic desktop: 8 points.
    Font()->SetName("MS Sans Serif");
    Font()->SetSize(8);
    Canvas()->Brush()->SetStyle(bsClear);
}

void THintWindow::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    params.style = WS_POPUP | WS_BORDER;
    params.exStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
    params.classStyle |= CS_SAVEBITS;
}

void THintWindow::Paint() {
    TRect r = ClientRect();
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(r);
    r = TRect{r.left + 2, r.top + 2, r.right, r.bottom};
    auto* dc = Canvas()->Handle();
    dc->SetFont(Font()->Spec());
    dc->SetTextColor(ColorToRGB(clInfoText));
    dc->SetBkMode(gdi::TRANSPARENT);
    std::string text = Caption();
    dc->DrawText(text, r, gdi::DT_LEFT | gdi::DT_NOPREFIX | gdi::DT_WORDBREAK);
}

TRect THintWindow::CalcHintRect(int maxWidth, const std::string& hint) {
    auto dc = gdi::DeviceContext::ForMeasure();
    dc->SetFont(Font()->Spec());
    TRect r{0, 0, maxWidth, 0};
    dc->DrawText(hint, r, gdi::DT_CALCRECT | gdi::DT_LEFT | gdi::DT_NOPREFIX | gdi::DT_WORDBREAK);
    r.right += 6;
    r.bottom += 2;
    return r;
}

void THintWindow::ActivateHint(TRect rect, const std::string& hint) {
    SetCaption(hint);
    rect.bottom += 4;
    TRect desk = GetWorkArea();
    int width = rect.Width();
    int height = rect.Height();
    if (rect.top + height > desk.bottom)
        rect.top = desk.bottom - height;
    if (rect.left + width > desk.right)
        rect.left = desk.right - width;
    rect.left = std::max(rect.left, desk.left);
    rect.top = std::max(rect.top, desk.top);
    SetBounds(rect.left, rect.top, width, height);
    HWND h = Handle();
    SetWindowPos(h, HWND_TOPMOST, rect.left, rect.top, width, height,
                 SWP_SHOWWINDOW | SWP_NOACTIVATE);
    Invalidate();
    Update();
}

bool THintWindow::IsHintShowing() const {
    return HandleAllocated() && IsWindowVisible(m_handle);
}

bool THintWindow::IsHintMsg(const MSG& msg) {
    UINT m = msg.message;
    return (m >= WM_KEYFIRST && m <= WM_KEYLAST) || m == WM_COMMAND ||
           (m >= WM_LBUTTONDOWN && m <= WM_MOUSELAST) || m == WM_NCMOUSEMOVE || m == CM_ACTIVATE ||
           m == CM_DEACTIVATE || m == CM_APPKEYDOWN || m == CM_APPSYSCOMMAND;
}

} // namespace frame
