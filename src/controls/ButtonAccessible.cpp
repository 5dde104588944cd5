// Push and glyph buttons as screen readers see them: a push button named by its caption, with
// "click" and the Alt key of its marked letter; the form's default button says so.
#include "controls/TButtonControl.h"
#include "frame/controls/TControlAccessible.h"

namespace controls {

using namespace platform::a11y;

namespace {

class ButtonAccessible : public frame::TControlAccessible, public AccessibleAction {
public:
    explicit ButtonAccessible(TButton& button)
        : TControlAccessible(button, Role::PushButton), m_button(button) {}

    StateSet GetStates() const override {
        return TControlAccessible::GetStates().Set(State::Default, m_button.Active());
    }
    AccessibleAction* AsAction() override { return this; }
    int ActionCount() const override { return 1; }
    std::string ActionName(int) const override { return "click"; }
    std::string ActionKeyBinding(int) const override {
        return frame::AccessibleAltKey(m_button.Caption());
    }
    bool DoAction(int) override {
        TButton& button = m_button;
        frame::PostAccessibleWork(button, [&button] {
            if (button.CanFocus())
                button.Click();
        });
        return true;
    }

private:
    TButton& m_button;
};

} // namespace

std::unique_ptr<AccessibleNode> TButton::CreateAccessible() {
    return std::make_unique<ButtonAccessible>(*this);
}

} // namespace controls
