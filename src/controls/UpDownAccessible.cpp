// Up-downs as screen readers see them: a spin button with its position as the value.
#include "controls/TUpDown.h"
#include "frame/controls/TControlAccessible.h"

namespace controls {

using namespace platform::a11y;

namespace {

class UpDownAccessible : public frame::TControlAccessible, public AccessibleValue {
public:
    explicit UpDownAccessible(TCustomUpDown& updown)
        : TControlAccessible(updown, Role::SpinButton), m_updown(updown) {}

    AccessibleValue* AsValue() override { return this; }
    double CurrentValue() const override { return m_updown.Position(); }
    double MinimumValue() const override { return m_updown.Min(); }
    double MaximumValue() const override { return m_updown.Max(); }
    double MinimumIncrement() const override { return m_updown.Increment(); }
    std::string ValueText() const override { return m_updown.PositionText(m_updown.Position()); }
    bool SetCurrentValue(double value) override {
        if (value < m_updown.Min() || value > m_updown.Max())
            return false;
        TCustomUpDown& updown = m_updown;
        frame::PostAccessibleWork(updown, [&updown, value] { updown.SetPosition(int16_t(value)); });
        return true;
    }

private:
    TCustomUpDown& m_updown;
};

} // namespace

std::unique_ptr<AccessibleNode> TCustomUpDown::CreateAccessible() {
    return std::make_unique<UpDownAccessible>(*this);
}

} // namespace controls
