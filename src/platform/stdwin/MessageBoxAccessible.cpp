#include "platform/stdwin/MessageBoxAccessible.h"

#include "platform/a11y/Accessibility.h"
#include "platform/display/Messages.h"
#include "platform/display/WindowApi.h"

namespace platform::stdwin {

using namespace a11y;

namespace {

Extents WindowExtents(HWND hwnd) {
    Rect r;
    if (!IsWindow(hwnd) || !GetWindowRect(hwnd, r))
        return {};
    return Extents{r.left, r.top, r.Width(), r.Height()};
}

StateSet WindowStates(HWND hwnd) {
    bool shown = IsWindow(hwnd) && IsWindowVisible(hwnd);
    bool enabled = IsWindow(hwnd) && IsWindowEnabled(hwnd);
    return StateSet{}
        .Set(State::Enabled, enabled)
        .Set(State::Sensitive, enabled)
        .Set(State::Visible, shown)
        .Set(State::Showing, shown);
}

// A button caption's name: the "&" marks go ("&&" is one "&").
std::string WithoutMarks(const std::string& caption) {
    std::string out;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size())
            ++i;
        out += caption[i];
    }
    return out;
}

} // namespace

class MessageBoxAccessible::BoxText : public AccessibleNode, public AccessibleText {
public:
    BoxText(const MessageBoxAccessible& box, std::string text)
        : m_box(box), m_text(std::move(text)) {}
    Role GetRole() const override { return Role::Label; }
    std::string Name() const override { return m_text; }
    StateSet GetStates() const override {
        return WindowStates(m_box.m_box).Add(State::MultiLine).Add(State::ReadOnly);
    }
    AccessibleNode* Parent() const override { return const_cast<MessageBoxAccessible*>(&m_box); }
    Extents ScreenExtents() const override { return WindowExtents(m_box.m_box); }
    AccessibleText* AsText() override { return this; }
    std::string Text() const override { return m_text; }

private:
    const MessageBoxAccessible& m_box;
    std::string m_text;
};

class MessageBoxAccessible::BoxButton : public AccessibleNode, public AccessibleAction {
public:
    BoxButton(const MessageBoxAccessible& box, HWND button) : m_box(box), m_button(button) {}
    Role GetRole() const override { return Role::PushButton; }
    std::string Name() const override {
        return IsWindow(m_button) ? WithoutMarks(GetWindowText(m_button)) : std::string();
    }
    StateSet GetStates() const override {
        StateSet s = WindowStates(m_button).Add(State::Focusable);
        bool focused = IsWindow(m_button) && GetFocus() == m_button;
        bool isDefault = IsWindow(m_button) &&
                         (GetWindowLongPtr(m_button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
        return s.Set(State::Focused, focused).Set(State::Default, isDefault);
    }
    AccessibleNode* Parent() const override { return const_cast<MessageBoxAccessible*>(&m_box); }
    Extents ScreenExtents() const override { return WindowExtents(m_button); }
    AccessibleAction* AsAction() override { return this; }
    int ActionCount() const override { return 1; }
    std::string ActionName(int) const override { return "click"; }
    // Queued: the box answers from its own loop.
    bool DoAction(int) override { return IsWindow(m_button) && PostMessage(m_button, BM_CLICK); }

    HWND Handle() const { return m_button; }

private:
    const MessageBoxAccessible& m_box;
    HWND m_button;
};

MessageBoxAccessible::MessageBoxAccessible(HWND box, std::string text,
                                           const std::vector<HWND>& buttons)
    : m_box(box), m_text(std::make_unique<BoxText>(*this, std::move(text))) {
    for (HWND b : buttons)
        m_buttons.push_back(std::make_unique<BoxButton>(*this, b));
}

MessageBoxAccessible::~MessageBoxAccessible() = default;

std::string MessageBoxAccessible::Name() const {
    return IsWindow(m_box) ? GetWindowText(m_box) : std::string();
}

StateSet MessageBoxAccessible::GetStates() const {
    bool active = IsWindow(m_box) && GetActiveWindow() == m_box;
    return WindowStates(m_box).Add(State::Modal).Set(State::Active, active);
}

AccessibleNode* MessageBoxAccessible::Parent() const {
    return ApplicationNode();
}

int MessageBoxAccessible::ChildCount() const {
    return 1 + int(m_buttons.size());
}

AccessibleNode* MessageBoxAccessible::Child(int index) const {
    if (index == 0)
        return m_text.get();
    if (index < 1 || index > int(m_buttons.size()))
        return nullptr;
    return m_buttons[std::size_t(index - 1)].get();
}

Extents MessageBoxAccessible::ScreenExtents() const {
    return WindowExtents(m_box);
}

AccessibleNode* MessageBoxAccessible::ButtonNode(HWND button) const {
    for (const auto& b : m_buttons)
        if (b->Handle() == button)
            return b.get();
    return nullptr;
}

} // namespace platform::stdwin
