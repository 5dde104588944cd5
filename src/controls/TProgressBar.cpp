#include "controls/TProgressBar.h"

#include <algorithm>

#include "platform/display/WindowApi.h"
#include "platform/stdwin/ProgressBarWindow.h"

namespace controls {

using namespace frame;
using platform::stdwin::ProgressBarWindow;

const TClassInfo* TProgressBar::StaticClass() {
    static const auto info =
        TClassBuilder<TProgressBar>("TProgressBar", TWinControl::StaticClass())
            .Property("Min", &TProgressBar::Min, &TProgressBar::SetMin, Default(0))
            .Property("Max", &TProgressBar::Max, &TProgressBar::SetMax, Default(100))
            .Property("Position", &TProgressBar::Position, &TProgressBar::SetPosition, Default(0))
            .Property("Step", &TProgressBar::Step, &TProgressBar::SetStep, Default(10))
            .Build();
    return info.get();
}

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner) {
    SetControlStyle(TControlStyle{});
    SetBounds(0, 0, 150, 16);
}

TProgressBar::~TProgressBar() = default;

void TProgressBar::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, platform::PROGRESS_CLASS);
}

void TProgressBar::CreateWnd() {
    TWinControl::CreateWnd();
    SendRange();
    ProgressBarWindow window(Handle());
    window.SetStep(m_step);
    window.SetPos(m_position);
}

void TProgressBar::DestroyWnd() {
    Position();
    TWinControl::DestroyWnd();
}

void TProgressBar::SendRange() {
    if (HandleAllocated())
        ProgressBarWindow(Handle()).SetRange(m_min, m_max);
}

int32_t TProgressBar::Clamp(int64_t value) const {
    return int32_t(std::clamp<int64_t>(value, std::min(m_min, m_max), std::max(m_min, m_max)));
}

void TProgressBar::SetMin(int32_t value) {
    if (value == m_min)
        return;
    m_min = value;
    SendRange();
    if (!IsLoading())
        m_position = Clamp(m_position);
}

void TProgressBar::SetMax(int32_t value) {
    if (value == m_max)
        return;
    m_max = value;
    SendRange();
    if (!IsLoading())
        m_position = Clamp(m_position);
}

int32_t TProgressBar::Position() const {
    if (HandleAllocated())
        m_position = ProgressBarWindow(m_handle).GetPos();
    return m_position;
}

void TProgressBar::SetPosition(int32_t value) {
    m_position = IsLoading() ? value : Clamp(value);
    if (HandleAllocated())
        ProgressBarWindow(Handle()).SetPos(m_position);
}

void TProgressBar::SetStep(int32_t value) {
    m_step = value;
    if (HandleAllocated())
        ProgressBarWindow(Handle()).SetStep(value);
}

void TProgressBar::StepIt() {
    int64_t next = int64_t(Position()) + m_step;
    int32_t hi = std::max(m_min, m_max), lo = std::min(m_min, m_max);
    if (next > hi)
        next = lo + (next - hi);
    SetPosition(Clamp(next));
}

void TProgressBar::StepBy(int32_t delta) {
    SetPosition(Clamp(int64_t(Position()) + delta));
}

} // namespace controls
