#include "SoakTargets.h"

#include "chart/TCustomChart.h"
#include "controls/TBitBtn.h"
#include "controls/TButtonControl.h"
#include "controls/TCalendar.h"
#include "controls/TComboBox.h"
#include "controls/TEdit.h"
#include "controls/TImage.h"
#include "controls/TUpDown.h"
#include "frame/controls/ControlBridge.h"
#include "frame/forms/TApplication.h"
#include "frame/forms/TCustomForm.h"
#include "frame/forms/THintWindow.h"
#include "platform/display/WindowApi.h"

namespace soak {

using namespace platform;

const char* KindName(TKind kind) {
    switch (kind) {
    case TKind::Form:
        return "form";
    case TKind::Button:
        return "button";
    case TKind::MainExit:
        return "exit button";
    case TKind::Edit:
        return "edit";
    case TKind::Combo:
        return "combo";
    case TKind::DropList:
        return "drop-down list";
    case TKind::Calendar:
        return "calendar";
    case TKind::UpDown:
        return "up-down";
    case TKind::Picture:
        return "picture";
    case TKind::Chart:
        return "chart";
    case TKind::Static:
        return "static";
    case TKind::Box:
        return "box";
    case TKind::BoxButton:
        return "box button";
    case TKind::Hint:
        return "hint";
    }
    return "?";
}

namespace {

bool IsMainForm(frame::TCustomForm* form) {
    return form && frame::Application && form == frame::Application->PrimaryForm();
}

TKind KindOfControl(frame::TControl* c) {
    using namespace controls;
    if (auto* button = frame::As<TBitBtn>(c)) {
        if (button->Kind() == bkClose && IsMainForm(frame::GetParentForm(button)))
            return TKind::MainExit;
        return TKind::Button;
    }
    if (frame::As<TButton>(c))
        return TKind::Button;
    if (frame::As<TEdit>(c))
        return TKind::Edit;
    if (frame::As<TComboBox>(c))
        return TKind::Combo;
    if (frame::As<TCalendar>(c))
        return TKind::Calendar;
    if (frame::As<TUpDown>(c))
        return TKind::UpDown;
    if (frame::As<TImage>(c))
        return TKind::Picture;
    if (frame::As<chart::TCustomChart>(c))
        return TKind::Chart;
    if (frame::As<frame::THintWindow>(c))
        return TKind::Hint;
    if (frame::As<frame::TCustomForm>(c))
        return TKind::Form;
    return TKind::Static;
}

TKind KindOfWindow(HWND hwnd, bool topLevel) {
    std::string cls = GetClassName(hwnd);
    if (cls == WC_COMBOLBOX)
        return TKind::DropList;
    if (topLevel)
        return TKind::Box;
    if (cls == WC_BUTTON)
        return TKind::BoxButton;
    if (cls == WC_EDIT)
        return TKind::Edit;
    return TKind::Static;
}

std::string NameOf(frame::TControl* c, HWND hwnd) {
    if (!c)
        return GetClassName(hwnd) + " '" + GetWindowText(hwnd) + "'";
    std::string name = std::string(c->ClassName()) + " " + c->Name();
    return name;
}

void Collect(HWND hwnd, HWND top, std::vector<TTarget>& out) {
    if (!IsWindowVisible(hwnd))
        return;
    Rect r;
    GetWindowRect(hwnd, r);
    frame::TWinControl* control = frame::FindControl(hwnd);
    TTarget t;
    t.kind = control ? KindOfControl(control) : KindOfWindow(hwnd, hwnd == top);
    t.rect = r;
    t.top = top;
    t.window = hwnd;
    t.control = control;
    t.name = NameOf(control, hwnd);
    out.push_back(t);
    if (control) {
        for (int i = 0; i < control->ControlCount(); ++i) {
            frame::TControl* child = control->Controls(i);
            if (child->IsWinControl() || !child->Visible())
                continue;
            frame::TPoint o = child->ClientToScreen(frame::TPoint{0, 0});
            TTarget c;
            c.kind = KindOfControl(child);
            c.rect = Rect{o.x, o.y, o.x + child->Width(), o.y + child->Height()};
            c.top = top;
            c.control = child;
            c.name = NameOf(child, nullptr);
            out.push_back(c);
        }
    }
    for (HWND w = GetWindow(hwnd, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
        Collect(w, top, out);
}

} // namespace

std::vector<TTarget> VisibleTargets() {
    std::vector<TTarget> out;
    for (HWND top = GetTopWindow(nullptr); top; top = GetWindow(top, GW_HWNDNEXT))
        Collect(top, top, out);
    return out;
}

HWND VisibleBox() {
    for (HWND top = GetTopWindow(nullptr); top; top = GetWindow(top, GW_HWNDNEXT)) {
        if (IsWindowVisible(top) && !frame::FindControl(top) && GetClassName(top) != WC_COMBOLBOX)
            return top;
    }
    return nullptr;
}

HWND MainWindow() {
    if (!frame::Application)
        return nullptr;
    frame::TForm* main = frame::Application->PrimaryForm();
    return main && main->HandleAllocated() ? main->Handle() : nullptr;
}

} // namespace soak
