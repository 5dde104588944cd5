// Combo boxes as screen readers see them: a combo box holding a list of its items, the chosen
// one selected (and naming the box when no label does).
#include <vector>

#include "controls/TComboBox.h"
#include "frame/controls/TControlAccessible.h"

namespace controls {

using namespace platform::a11y;

namespace {

class ComboBoxAccessible;

class ComboListAccessible : public AccessibleNode {
public:
    ComboListAccessible(ComboBoxAccessible& box, TCustomComboBox& combo);
    ~ComboListAccessible() override;
    Role GetRole() const override { return Role::List; }
    std::string Name() const override { return {}; }
    StateSet GetStates() const override;
    AccessibleNode* Parent() const override;
    int ChildCount() const override { return m_combo.Items()->Count(); }
    AccessibleNode* Child(int index) const override;

    TCustomComboBox& Combo() const { return m_combo; }

private:
    class Item;
    ComboBoxAccessible& m_box;
    TCustomComboBox& m_combo;
    // Made as they are asked for; an item's node keeps its place.
    mutable std::vector<std::unique_ptr<Item>> m_items;
};

class ComboListAccessible::Item : public AccessibleNode {
public:
    Item(ComboListAccessible& list, int index) : m_list(list), m_index(index) {}
    Role GetRole() const override { return Role::ListItem; }
    std::string Name() const override {
        frame::TStrings* items = m_list.Combo().Items();
        return m_index < items->Count() ? items->Get(m_index) : std::string();
    }
    StateSet GetStates() const override {
        StateSet states = m_list.GetStates();
        return states.Add(State::Selectable).Set(State::Selected, IsChosen());
    }
    AccessibleNode* Parent() const override { return &m_list; }
    int IndexInParent() const override { return m_index; }

private:
    bool IsChosen() const { return m_list.Combo().ItemIndex() == m_index; }
    ComboListAccessible& m_list;
    int m_index;
};

class ComboBoxAccessible : public frame::TControlAccessible, public AccessibleSelection {
public:
    explicit ComboBoxAccessible(TCustomComboBox& combo)
        : TControlAccessible(combo, Role::ComboBox), m_combo(combo), m_list(*this, combo) {}

    StateSet GetStates() const override {
        return TControlAccessible::GetStates()
            .Add(State::Expandable)
            .Set(State::Expanded, m_combo.HandleAllocated() && m_combo.DroppedDown());
    }
    int ChildCount() const override { return 1; }
    AccessibleNode* Child(int index) const override {
        return index == 0 ? const_cast<ComboListAccessible*>(&m_list) : nullptr;
    }

    AccessibleSelection* AsSelection() override { return this; }
    int SelectedCount() const override { return m_combo.ItemIndex() >= 0 ? 1 : 0; }
    AccessibleNode* Selected(int index) const override {
        return index == 0 && m_combo.ItemIndex() >= 0 ? m_list.Child(m_combo.ItemIndex()) : nullptr;
    }
    bool IsChildSelected(int) const override { return false; }

private:
    TCustomComboBox& m_combo;
    ComboListAccessible m_list;
};

ComboListAccessible::ComboListAccessible(ComboBoxAccessible& box, TCustomComboBox& combo)
    : m_box(box), m_combo(combo) {}

ComboListAccessible::~ComboListAccessible() = default;

StateSet ComboListAccessible::GetStates() const {
    bool dropped = m_combo.HandleAllocated() && m_combo.DroppedDown();
    bool enabled = m_box.GetStates().Has(State::Enabled);
    return StateSet{}
        .Set(State::Enabled, enabled)
        .Set(State::Sensitive, enabled)
        .Set(State::Visible, dropped)
        .Set(State::Showing, dropped);
}

AccessibleNode* ComboListAccessible::Parent() const {
    return &m_box;
}

AccessibleNode* ComboListAccessible::Child(int index) const {
    if (index < 0 || index >= ChildCount())
        return nullptr;
    while (int(m_items.size()) <= index)
        m_items.push_back(
            std::make_unique<Item>(const_cast<ComboListAccessible&>(*this), int(m_items.size())));
    return m_items[std::size_t(index)].get();
}

} // namespace

std::unique_ptr<AccessibleNode> TCustomComboBox::CreateAccessible() {
    return std::make_unique<ComboBoxAccessible>(*this);
}

} // namespace controls
