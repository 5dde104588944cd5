#include "frame/controls/TControlAccessible.h"

#include "frame/controls/TWinControl.h"
#include "platform/a11y/Accessibility.h"
#include "rtl/Utf8.h"

namespace frame {

using namespace platform::a11y;

namespace {

// Every control on the window tree below `root`, depth first.
void ForEachControl(TWinControl& root, const std::function<void(TControl&)>& visit) {
    for (int i = 0; i < root.ControlCount(); ++i) {
        TControl* c = root.Controls(i);
        visit(*c);
        if (c->IsWinControl())
            ForEachControl(*static_cast<TWinControl*>(c), visit);
    }
}

// The hint the hint window would show: the first one found up the parents.
std::string HintUpward(const TControl& control) {
    for (const TControl* c = &control; c; c = c->Parent())
        if (!c->Hint().empty())
            return GetShortHint(c->Hint());
    return {};
}

bool EnabledUpward(const TControl& control) {
    for (const TControl* c = &control; c; c = c->Parent())
        if (!c->Enabled())
            return false;
    return true;
}

} // namespace

TControlAccessible::TControlAccessible(TControl& control, Role role)
    : m_control(control), m_role(role), m_toldText(control.Caption()) {}

void TControlAccessible::TextMayHaveChanged() {
    AccessibleText* text = AsText();
    if (!text)
        return;
    std::string now = text->Text();
    if (now == m_toldText)
        return;
    NotifyTextChanged(*this, m_toldText);
    m_toldText = std::move(now);
}

TControl* TControlAccessible::NamingLabel() const {
    TWinControl* root = m_control.RootParent();
    if (!root)
        return nullptr;
    TControl* found = nullptr;
    ForEachControl(*root, [&](TControl& c) {
        if (!found && c.LabelledControl() == &m_control)
            found = &c;
    });
    return found;
}

std::string TControlAccessible::Name() const {
    if (!m_control.AccessibleName().empty())
        return m_control.AccessibleName();
    if (TControl* label = NamingLabel())
        return AccessibleCaption(label->Caption());
    std::string caption = AccessibleCaption(m_control.Caption());
    return caption.empty() ? HintUpward(m_control) : caption;
}

std::string TControlAccessible::Description() const {
    return m_control.AccessibleDescription ? m_control.AccessibleDescription() : std::string();
}

StateSet TControlAccessible::GetStates() const {
    bool enabled = EnabledUpward(m_control);
    StateSet states;
    states.Set(State::Enabled, enabled)
        .Set(State::Sensitive, enabled)
        .Set(State::Visible, m_control.Visible())
        .Set(State::Showing, m_control.Showing());
    if (m_control.IsWinControl()) {
        auto& win = static_cast<TWinControl&>(m_control);
        states.Set(State::Focusable, win.TabStop()).Set(State::Focused, win.Focused());
    }
    return states;
}

AccessibleNode* TControlAccessible::Parent() const {
    if (TWinControl* parent = m_control.Parent())
        return parent->Accessible();
    return ApplicationNode();
}

int TControlAccessible::ChildCount() const {
    if (!m_control.IsWinControl())
        return 0;
    auto& win = static_cast<TWinControl&>(m_control);
    int count = 0;
    for (int i = 0; i < win.ControlCount(); ++i)
        if (win.Controls(i)->Accessible())
            ++count;
    return count;
}

AccessibleNode* TControlAccessible::Child(int index) const {
    if (!m_control.IsWinControl() || index < 0)
        return nullptr;
    auto& win = static_cast<TWinControl&>(m_control);
    for (int i = 0; i < win.ControlCount(); ++i)
        if (AccessibleNode* node = win.Controls(i)->Accessible())
            if (index-- == 0)
                return node;
    return nullptr;
}

Extents TControlAccessible::ScreenExtents() const {
    TPoint at{m_control.Left(), m_control.Top()};
    if (TWinControl* parent = m_control.Parent())
        at = parent->ClientToScreen(at);
    return Extents{at.x, at.y, m_control.Width(), m_control.Height()};
}

bool TControlAccessible::GrabFocus() {
    if (!m_control.IsWinControl() || !static_cast<TWinControl&>(m_control).TabStop())
        return false;
    auto& win = static_cast<TWinControl&>(m_control);
    PostAccessibleWork(m_control, [&win] {
        if (win.CanFocus())
            win.SetFocus();
    });
    return true;
}

std::vector<Relation> TControlAccessible::Relations() const {
    std::vector<Relation> relations;
    if (TControl* target = m_control.LabelledControl())
        if (AccessibleNode* node = target->Accessible())
            relations.push_back(Relation{RelationKind::LabelFor, node});
    if (TControl* label = NamingLabel())
        if (AccessibleNode* node = label->Accessible())
            relations.push_back(Relation{RelationKind::LabelledBy, node});
    return relations;
}

bool AccessibilityListening() {
    return CurrentBridgeState() == BridgeState::Started;
}

std::string AccessibleCaption(const std::string& caption) {
    std::string out;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size())
            ++i; // "&x" is x, "&&" is "&"
        out += caption[i];
    }
    auto first = out.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return out.substr(first, out.find_last_not_of(' ') - first + 1);
}

std::string AccessibleAltKey(const std::string& caption) {
    std::size_t pos = 0;
    while (pos < caption.size()) {
        char32_t c = rtl::NextUtf8(caption, pos);
        if (c != U'&' || pos >= caption.size())
            continue;
        char32_t next = rtl::NextUtf8(caption, pos);
        if (next != U'&')
            return AltKeyBinding(FoldCase(next));
    }
    return {};
}

void AccessibleNameChanged(TControl& control) {
    if (AccessibilityListening())
        if (AccessibleNode* node = control.AccessibleIfMade())
            NotifyNameChanged(*node);
}

void AccessibleTextChanged(TControl& control) {
    if (AccessibilityListening())
        if (auto* node = dynamic_cast<TControlAccessible*>(control.AccessibleIfMade()))
            node->TextMayHaveChanged();
}

void AccessibleStateChanged(TControl& control, State state, bool on) {
    if (AccessibilityListening())
        if (AccessibleNode* node = control.AccessibleIfMade())
            NotifyStateChanged(*node, state, on);
}

void AccessibleFocusChanged(TControl& control) {
    if (AccessibilityListening())
        NotifyFocus(control.Accessible());
}

void AccessibleSelectionChanged(TControl& control) {
    if (AccessibilityListening())
        if (AccessibleNode* node = control.AccessibleIfMade())
            NotifySelectionChanged(*node);
}

void AccessibleValueChanged(TControl& control) {
    if (AccessibilityListening())
        if (AccessibleNode* node = control.AccessibleIfMade())
            NotifyValueChanged(*node);
}

} // namespace frame
