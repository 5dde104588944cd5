#include "FakeNode.h"

#include "platform/a11y/Accessibility.h"

#include <algorithm>
#include <deque>

namespace a11ytest {

namespace {

std::deque<std::function<void()>>& Posted() {
    static std::deque<std::function<void()>> posted;
    return posted;
}

FakeNode* g_focused = nullptr;

} // namespace

void Post(std::function<void()> work) {
    Posted().push_back(std::move(work));
}

bool RunPosted() {
    if (Posted().empty())
        return false;
    while (!Posted().empty()) {
        auto work = std::move(Posted().front());
        Posted().pop_front();
        work();
    }
    return true;
}

void MoveFocus(FakeNode* node) {
    if (g_focused)
        g_focused->m_states.Set(State::Focused, false);
    g_focused = node;
    if (node)
        node->m_states.Add(State::Focused);
    NotifyFocus(node);
}

FakeNode::FakeNode(Role role, std::string name, StateSet states, Extents extents)
    : m_name(std::move(name)), m_states(states), m_role(role), m_extents(extents) {}

FakeNode::~FakeNode() {
    if (g_focused == this)
        g_focused = nullptr;
}

std::unique_ptr<FakeNode> FakeNode::Remove(FakeNode& child) {
    auto found = std::find_if(m_children.begin(), m_children.end(),
                              [&](const auto& c) { return c.get() == &child; });
    std::unique_ptr<FakeNode> taken = std::move(*found);
    m_children.erase(found);
    return taken;
}

AccessibleNode* FakeNode::Child(int index) const {
    return index >= 0 && index < ChildCount() ? m_children[index].get() : nullptr;
}

bool FakeNode::GrabFocus() {
    if (!m_states.Has(State::Focusable))
        return false;
    Post([this] { MoveFocus(this); });
    return true;
}

FakeButton::FakeButton(std::string caption, std::string keyBinding, std::function<void()> click,
                       Extents extents)
    : FakeNode(Role::PushButton, std::move(caption),
               {State::Enabled, State::Sensitive, State::Focusable, State::Visible, State::Showing},
               extents),
      m_keyBinding(std::move(keyBinding)), m_click(std::move(click)) {}

bool FakeButton::DoAction(int) {
    Post(m_click);
    return true;
}

FakeText::FakeText(Role role, std::string name, std::string text, StateSet states, Extents extents)
    : FakeNode(role, std::move(name), states, extents), m_text(std::move(text)) {}

void FakeText::SetText(std::string text) {
    std::string before = std::move(m_text);
    m_text = std::move(text);
    NotifyTextChanged(*this, before);
}

FakeSpin::FakeSpin(std::string name, double value, Extents extents)
    : FakeNode(Role::SpinButton, std::move(name),
               {State::Enabled, State::Sensitive, State::Focusable, State::Visible, State::Showing,
                State::Editable, State::SingleLine},
               extents),
      m_value(value) {}

std::string FakeSpin::ValueText() const {
    return std::to_string(int(m_value));
}

bool FakeSpin::SetCurrentValue(double value) {
    if (value < MinimumValue() || value > MaximumValue())
        return false;
    Post([this, value] {
        m_value = value;
        NotifyValueChanged(*this);
    });
    return true;
}

FakeCell::FakeCell(Role role, std::string name, StateSet states, int row, int column)
    : FakeNode(role, std::move(name), states), m_row(row), m_column(column) {}

FakeCalendar::FakeCalendar(std::string name, const std::vector<std::string>& dayNames,
                           int firstColumn, int days, int selectedDay, Extents extents)
    : FakeNode(Role::Table, std::move(name),
               {State::Enabled, State::Sensitive, State::Focusable, State::Visible, State::Showing},
               extents) {
    StateSet shown{State::Enabled, State::Sensitive, State::Visible, State::Showing};
    for (int column = 0; column < 7; ++column)
        Add(std::make_unique<FakeCell>(Role::TableColumnHeader, dayNames[column], shown, -1,
                                       column));
    for (int index = 0; index < 42; ++index) {
        int day = index - firstColumn + 1;
        bool inMonth = day >= 1 && day <= days;
        StateSet states = shown;
        states.Add(State::Selectable).Set(State::Selected, day == selectedDay);
        Add(std::make_unique<FakeCell>(Role::TableCell, inMonth ? std::to_string(day) : "", states,
                                       index / 7, index % 7));
        if (day == selectedDay)
            m_selectedChild = 7 + index;
    }
}

AccessibleNode* FakeCalendar::CellAt(int row, int column) const {
    return Child(7 + row * 7 + column);
}

AccessibleNode* FakeCalendar::Selected(int) const {
    return Child(m_selectedChild);
}

bool FakeCalendar::IsChildSelected(int childIndex) const {
    return childIndex == m_selectedChild;
}

FakeCombo::FakeCombo(const std::vector<std::string>& items, int chosen, Extents extents)
    : FakeNode(Role::ComboBox, items[chosen],
               {State::Enabled, State::Sensitive, State::Focusable, State::Visible, State::Showing,
                State::Expandable},
               extents),
      m_chosen(chosen) {
    m_list = &Add(std::make_unique<FakeNode>(Role::List, "", StateSet{State::Enabled}));
    for (std::size_t i = 0; i < items.size(); ++i) {
        StateSet states{State::Enabled, State::Selectable};
        states.Set(State::Selected, int(i) == chosen);
        m_list->Add(std::make_unique<FakeNode>(Role::ListItem, items[i], states));
    }
}

AccessibleNode* FakeCombo::Selected(int) const {
    return m_list->Child(m_chosen);
}

} // namespace a11ytest
