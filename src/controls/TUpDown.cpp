#include "controls/TUpDown.h"

#include <algorithm>

#include "controls/TEdit.h"
#include "frame/controls/TControlAccessible.h"
#include "platform/display/WindowApi.h"
#include "platform/stdwin/UpDownWindow.h"
#include "rtl/Exception.h"
#include "rtl/FormatSettings.h"
#include "rtl/NumberText.h"

namespace controls {

using namespace frame;
using platform::stdwin::UpDownWindow;

namespace {

// The scroll-bar arrow size when no display has been opened yet (form tools).
constexpr int kDefaultScrollArrow = 16;

int ScrollArrowMetric(int index) {
    return platform::DisplayOpened() ? platform::GetSystemMetrics(index) : kDefaultScrollArrow;
}

// Controls that hold their own idea of the arrow keys or of their text.
bool IsRefusedAssociate(const TClassInfo* cls) {
    static const char* const kRefused[] = {"TCustomUpDown", "TCustomTreeView", "TCustomListView",
                                           "TDBEdit", "TDBMemo"};
    for (; cls; cls = cls->parent) {
        for (const char* name : kRefused) {
            if (cls->name == name)
                return true;
        }
    }
    return false;
}

} // namespace

const TClassInfo* TCustomUpDown::StaticClass() {
    static const auto info =
        TClassBuilder<TCustomUpDown>("TCustomUpDown", TWinControl::StaticClass()).Build();
    return info.get();
}

const TClassInfo* TUpDown::StaticClass() {
    static const auto info =
        TClassBuilder<TUpDown>("TUpDown", TCustomUpDown::StaticClass())
            .Property("AlignButton", &TUpDown::AlignButton, &TUpDown::SetAlignButton,
                      Default(udRight))
            .Property("Associate", &TUpDown::Associate, &TUpDown::SetAssociate)
            .Property("ArrowKeys", &TUpDown::ArrowKeys, &TUpDown::SetArrowKeys, Default(1))
            .Property("Min", &TUpDown::Min, &TUpDown::SetMin, Default(0))
            .Property("Max", &TUpDown::Max, &TUpDown::SetMax, Default(100))
            .Property("Increment", &TUpDown::Increment, &TUpDown::SetIncrement, Default(1))
            .Property("Orientation", &TUpDown::Orientation, &TUpDown::SetOrientation,
                      Default(udVertical))
            .Property("Position", &TUpDown::Position, &TUpDown::SetPosition, Default(0))
            .Property("Thousands", &TUpDown::Thousands, &TUpDown::SetThousands, Default(1))
            .Property("Wrap", &TUpDown::Wrap, &TUpDown::SetWrap, Default(0))
            .Property("TabStop", &TUpDown::TabStop, &TUpDown::SetTabStop, Default(0))
            .Property("OnChanging", &TUpDown::OnChanging)
            .Property("OnClick", &TUpDown::OnClick)
            .Build();
    return info.get();
}

TCustomUpDown::TCustomUpDown(TComponent* owner) : TWinControl(owner) {
    // The window captures the mouse and steps on each press, double clicks included.
    SetControlStyle(TControlStyle{});
    SetBounds(0, 0, ScrollArrowMetric(platform::SM_CXVSCROLL),
              ScrollArrowMetric(platform::SM_CYVSCROLL) * 3 / 2);
}

TCustomUpDown::~TCustomUpDown() = default;

// ---------------------------------------------------------------------------------------------
// The window

void TCustomUpDown::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, platform::UPDOWN_CLASS);
    params.style |= platform::UDS_SETBUDDYINT;
    params.style |= m_alignButton == udRight ? platform::UDS_ALIGNRIGHT : platform::UDS_ALIGNLEFT;
    if (m_orientation == udHorizontal)
        params.style |= platform::UDS_HORZ;
    if (m_arrowKeys)
        params.style |= platform::UDS_ARROWKEYS;
    if (!m_thousands)
        params.style |= platform::UDS_NOTHOUSANDS;
    if (m_wrap)
        params.style |= platform::UDS_WRAP;
}

void TCustomUpDown::CreateWnd() {
    TWinControl::CreateWnd();
    UpDownWindow window(Handle());
    window.SetRange(m_min, m_max);
    window.SetIncrement(m_increment);
    // The position goes in before the associate: the associate's text is written only when it
    // differs, so making the window reports no change that did not happen.
    window.SetPos(m_position);
    m_position = int16_t(window.GetPos());
    if (m_associate) {
        window.SetBuddy(m_associate->Handle());
        WriteAssociateText();
    }
}

void TCustomUpDown::DestroyWnd() {
    if (HandleAllocated())
        Position(); // keeps what the window holds for the next window
    TWinControl::DestroyWnd();
}

// ---------------------------------------------------------------------------------------------
// Associate

bool TCustomUpDown::CanAssociate(const TWinControl* control) const {
    return control && control != this && control->Parent() == Parent() &&
           !IsRefusedAssociate(control->ClassType());
}

void TCustomUpDown::SetAssociate(TWinControl* value) {
    if (value == m_associate)
        return;
    if (value && value->Parent()) {
        for (int i = 0; i < value->Parent()->ControlCount(); ++i) {
            auto* other = As<TCustomUpDown>(value->Parent()->Controls(i));
            if (other && other != this && other->Associate() == value)
                throw rtl::EInvalidOperation("%s is already associated with %s", value->Name(),
                                             other->Name());
        }
    }
    if (m_associate) {
        if (HandleAllocated())
            UpDownWindow(Handle()).SetBuddy(nullptr);
        RemoveFreeNotification(m_associate);
        m_associate = nullptr;
    }
    // While a form is read its parents and references are still arriving: the rules are
    // applied, and the text written, once it is read (AfterLoad).
    if (!value || (!IsLoading() && !CanAssociate(value)))
        return;
    m_associate = value;
    FreeNotification(value);
    if (IsLoading())
        return;
    if (HandleAllocated())
        UpDownWindow(Handle()).SetBuddy(value->Handle());
    WriteAssociateText();
}

void TCustomUpDown::WriteAssociateText() {
    auto* edit = As<TCustomEdit>(m_associate);
    if (!edit || IsLoading())
        return;
    std::string text = PositionText(Position());
    if (edit->Text() != text)
        edit->SetText(text);
}

void TCustomUpDown::Notification(TComponent* component, TOperation operation) {
    if (operation == opRemove && component == m_associate) {
        m_associate = nullptr;
        if (HandleAllocated())
            UpDownWindow(Handle()).SetBuddy(nullptr);
    }
    TWinControl::Notification(component, operation);
}

void TCustomUpDown::AfterLoad() {
    TWinControl::AfterLoad();
    if (m_associate && !CanAssociate(m_associate)) {
        RemoveFreeNotification(m_associate);
        m_associate = nullptr;
    }
    if (!HandleAllocated())
        m_position = ClampToRange(m_position);
    if (m_associate && HandleAllocated())
        UpDownWindow(Handle()).SetBuddy(m_associate->Handle());
    WriteAssociateText();
}

// ---------------------------------------------------------------------------------------------
// Range and position

std::string TCustomUpDown::PositionText(int value) const {
    // Whole numbers grouped as the window groups them.
    return m_thousands ? rtl::FormatAxisFloat(value, rtl::FormatSettings()) : rtl::IntToStr(value);
}

void TCustomUpDown::SetMin(int16_t value) {
    if (value == m_min)
        return;
    m_min = value;
    if (HandleAllocated())
        UpDownWindow(Handle()).SetRange(m_min, m_max);
}

void TCustomUpDown::SetMax(int16_t value) {
    if (value == m_max)
        return;
    m_max = value;
    if (HandleAllocated())
        UpDownWindow(Handle()).SetRange(m_min, m_max);
}

int16_t TCustomUpDown::Position() const {
    if (HandleAllocated())
        m_position = int16_t(UpDownWindow(m_handle).GetPos());
    return m_position;
}

int16_t TCustomUpDown::ClampToRange(int value) const {
    return int16_t(std::clamp(value, int(std::min(m_min, m_max)), int(std::max(m_min, m_max))));
}

void TCustomUpDown::SetPosition(int16_t value) {
    // Read from a form, the range may still be on its way: it is applied once read.
    if (!IsLoading())
        value = ClampToRange(value);
    if (value == Position())
        return;
    m_position = value;
    if (HandleAllocated()) {
        // The window keeps it within the range and writes it into the associate.
        UpDownWindow(Handle()).SetPos(value);
        Position();
    } else {
        WriteAssociateText();
    }
    frame::AccessibleValueChanged(*this);
}

void TCustomUpDown::SetIncrement(int32_t value) {
    if (value == m_increment)
        return;
    m_increment = value;
    if (HandleAllocated())
        UpDownWindow(Handle()).SetIncrement(value);
}

void TCustomUpDown::SetStyleValue(bool& field, bool value) {
    if (field == value)
        return;
    field = value;
    RecreateWnd();
}

void TCustomUpDown::SetWrap(bool value) {
    SetStyleValue(m_wrap, value);
}

void TCustomUpDown::SetThousands(bool value) {
    SetStyleValue(m_thousands, value);
}

void TCustomUpDown::SetArrowKeys(bool value) {
    SetStyleValue(m_arrowKeys, value);
}

void TCustomUpDown::SetOrientation(TUDOrientation value) {
    if (value == m_orientation)
        return;
    m_orientation = value;
    RecreateWnd();
}

void TCustomUpDown::SetAlignButton(TUDAlignButton value) {
    if (value == m_alignButton)
        return;
    m_alignButton = value;
    RecreateWnd();
}

// ---------------------------------------------------------------------------------------------
// Steps

bool TCustomUpDown::CanChange() {
    bool allow = true;
    OnChanging(this, allow);
    return allow;
}

void TCustomUpDown::StepClick(TUDBtnType button) {
    OnClick(this, button);
}

void TCustomUpDown::CNNotify(TWMNotify& m) {
    if (const platform::NMUPDOWN* step = UpDownWindow::DeltaPos(m.header)) {
        m_stepFrom = step->iPos;
        m.message.result = CanChange() ? 0 : 1;
        return;
    }
    TWinControl::CNNotify(m);
}

void TCustomUpDown::Stepped(const TWMScroll& m) {
    if (m.code != platform::SB_THUMBPOSITION)
        return;
    frame::AccessibleValueChanged(*this);
    int now = Position();
    StepClick(now >= m_stepFrom ? btNext : btPrev);
}

void TCustomUpDown::CNVScroll(TWMScroll& m) {
    Stepped(m);
}

void TCustomUpDown::CNHScroll(TWMScroll& m) {
    Stepped(m);
}

} // namespace controls
