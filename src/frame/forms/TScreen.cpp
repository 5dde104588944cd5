#include "frame/forms/TScreen.h"

#include <algorithm>

#include "frame/ClassBuilder.h"
#include "frame/controls/ControlBridge.h"
#include "frame/forms/TCustomForm.h"
#include "platform/display/WindowApi.h"

namespace frame {

using namespace platform;

const TClassInfo* TScreen::StaticClass() {
    static const auto info = TClassBuilder<TScreen>("TScreen", TComponent::StaticClass()).Build();
    return info.get();
}

TScreen::TScreen(TComponent* owner) : TComponent(owner) {}

TScreen::~TScreen() = default;

int TScreen::Width() const {
    return GetSystemMetrics(SM_CXSCREEN);
}

int TScreen::Height() const {
    return GetSystemMetrics(SM_CYSCREEN);
}

int TScreen::DesktopWidth() const {
    return GetSystemMetrics(SM_CXVIRTUALSCREEN);
}

int TScreen::DesktopHeight() const {
    return GetSystemMetrics(SM_CYVIRTUALSCREEN);
}

TRect TScreen::DesktopRect() const {
    int x = GetSystemMetrics(SM_XVIRTUALSCREEN);
    int y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return TRect{x, y, x + DesktopWidth(), y + DesktopHeight()};
}

TRect TScreen::WorkAreaRect() const {
    return GetWorkArea();
}

TRect TScreen::CentringRect() const {
    return GetCentringArea();
}

int TScreen::MonitorCount() const {
    return std::max(GetSystemMetrics(SM_CMONITORS), 1);
}

namespace {
TMonitor Describe(HMONITOR handle, int index) {
    TMonitor m;
    m.index = index;
    m.handle = handle;
    MONITORINFO info;
    if (GetMonitorInfo(handle, info)) {
        m.bounds = info.rcMonitor;
        m.workArea = info.rcWork;
        m.primary = (info.dwFlags & MONITORINFOF_PRIMARY) != 0;
    }
    return m;
}
} // namespace

TMonitor TScreen::Monitors(int index) const {
    // The host offers one monitor per point; the first is the primary one at the origin.
    if (index <= 0)
        return Describe(MonitorFromPoint(TPoint{0, 0}, MONITOR_DEFAULTTOPRIMARY), 0);
    return Describe(MonitorFromPoint(TPoint{0, 0}, MONITOR_DEFAULTTOPRIMARY), index);
}

TMonitor TScreen::MonitorOf(HWND hwnd) const {
    return Describe(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), 0);
}

void TScreen::SetCursor(TCursor value) {
    ++m_cursorCount;
    m_cursor = value;
}

int TScreen::FormCount() const {
    int n = 0;
    for (TCustomForm* f : m_customForms)
        n += As<TForm>(f) ? 1 : 0;
    return n;
}

TForm* TScreen::Forms(int index) const {
    for (TCustomForm* f : m_customForms) {
        if (auto* form = As<TForm>(f); form && index-- == 0)
            return form;
    }
    return nullptr;
}

void TScreen::AddForm(TCustomForm* form) {
    m_customForms.push_back(form);
}

void TScreen::RemoveForm(TCustomForm* form) {
    std::erase(m_customForms, form);
    if (m_activeCustomForm == form)
        m_activeCustomForm = nullptr;
    if (m_activeForm == form)
        m_activeForm = nullptr;
    if (m_focusedForm == form)
        m_focusedForm = nullptr;
    if (m_activeControl && form->ContainsControl(m_activeControl))
        m_activeControl = nullptr;
    // Saved entries keep their places so each modal loop pops its own.
    std::replace(m_savedFocus.begin(), m_savedFocus.end(), form,
                 static_cast<TCustomForm*>(nullptr));
}

void TScreen::SetFocusedControl(TCustomForm* form, TWinControl* control) {
    m_activeControl = control;
    m_activeCustomForm = form;
    auto toFront = [](auto& list, auto* item) {
        auto it = std::find(list.begin(), list.end(), item);
        if (it != list.end())
            std::rotate(list.begin(), it, it + 1);
    };
    toFront(m_customForms, form);
    if (auto* f = As<TForm>(form))
        m_activeForm = f;
    SetFocusedForm(form);
}

void TScreen::SetFocusedForm(TCustomForm* form) {
    if (m_focusedForm == form)
        return;
    TCustomForm* old = m_focusedForm;
    m_focusedForm = form;
    if (old && !old->HasState(csDestroying))
        old->Deactivated();
    if (form && m_focusedForm == form && !form->HasState(csDestroying))
        form->Activated();
}

void TScreen::PushFocusedForm(TCustomForm* newFocus) {
    m_savedFocus.push_back(m_focusedForm);
    m_focusedForm = newFocus;
}

void TScreen::PopFocusedForm() {
    if (m_savedFocus.empty()) {
        m_focusedForm = nullptr;
        return;
    }
    m_focusedForm = m_savedFocus.back();
    m_savedFocus.pop_back();
}

void TScreen::ControlDestroying(TControl* control) {
    if (m_activeControl && (m_activeControl == control ||
                            (control->IsWinControl() &&
                             static_cast<TWinControl*>(control)->ContainsControl(m_activeControl))))
        m_activeControl = nullptr;
}

TCustomForm* TScreen::FindFormNamed(std::string_view name) const {
    for (TCustomForm* f : m_customForms) {
        if (SameText(f->Name(), name))
            return f;
    }
    return nullptr;
}

TPoint TMouse::CursorPos() const {
    TPoint p;
    GetCursorPos(p);
    return p;
}

bool TMouse::MousePresent() const {
    return GetSystemMetrics(SM_MOUSEPRESENT) != 0;
}

} // namespace frame
