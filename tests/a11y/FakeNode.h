#pragma once
// Nodes of a made-up form for the accessibility test: what the frame will give for its controls,
// held in plain fields. Changes asked for through the bus are queued (Post) and done by the
// program's loop after its wait, as the frame does them through its message queue.
#include "platform/a11y/AccessibleNode.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace a11ytest {

using namespace platform::a11y;

// Work for the loop to do after the wait.
void Post(std::function<void()> work);
// Runs what was posted; false when nothing was.
bool RunPosted();

class FakeNode : public AccessibleNode {
public:
    FakeNode(Role role, std::string name, StateSet states, Extents extents = {});
    ~FakeNode() override;

    // Adds a child and returns it; the parent owns it.
    template <class T> T& Add(std::unique_ptr<T> child) {
        T& added = *child;
        child->m_parent = this;
        m_children.push_back(std::move(child));
        return added;
    }
    // Takes the child out (the caller destroys it).
    std::unique_ptr<FakeNode> Remove(FakeNode& child);

    Role GetRole() const override { return m_role; }
    std::string Name() const override { return m_name; }
    std::string Description() const override { return m_description; }
    StateSet GetStates() const override { return m_states; }
    AccessibleNode* Parent() const override { return m_parent; }
    int ChildCount() const override { return int(m_children.size()); }
    AccessibleNode* Child(int index) const override;
    Extents ScreenExtents() const override { return m_extents; }
    bool GrabFocus() override;
    std::vector<Relation> Relations() const override { return m_relations; }

    std::string m_name;
    std::string m_description;
    StateSet m_states;
    std::vector<Relation> m_relations;

private:
    Role m_role;
    Extents m_extents;
    FakeNode* m_parent = nullptr;
    std::vector<std::unique_ptr<FakeNode>> m_children;
};

// The one focused node; moving the focus tells the listeners.
void MoveFocus(FakeNode* node);

class FakeButton : public FakeNode, public AccessibleAction {
public:
    FakeButton(std::string caption, std::string keyBinding, std::function<void()> click,
               Extents extents);
    AccessibleAction* AsAction() override { return this; }
    int ActionCount() const override { return 1; }
    std::string ActionName(int) const override { return "click"; }
    std::string ActionKeyBinding(int) const override { return m_keyBinding; }
    bool DoAction(int index) override;

private:
    std::string m_keyBinding;
    std::function<void()> m_click;
};

// A label or an edit field: its text through the text interface.
class FakeText : public FakeNode, public AccessibleText {
public:
    FakeText(Role role, std::string name, std::string text, StateSet states, Extents extents);
    AccessibleText* AsText() override { return this; }
    std::string Text() const override { return m_text; }
    int CaretOffset() const override { return m_caret; }
    void SetText(std::string text);

    int m_caret = -1;

private:
    std::string m_text;
};

class FakeSpin : public FakeNode, public AccessibleValue {
public:
    FakeSpin(std::string name, double value, Extents extents);
    AccessibleValue* AsValue() override { return this; }
    double CurrentValue() const override { return m_value; }
    double MinimumValue() const override { return 1; }
    double MaximumValue() const override { return 9999; }
    std::string ValueText() const override;
    bool SetCurrentValue(double value) override;

private:
    double m_value;
};

class FakeCell : public FakeNode, public AccessibleTableCell {
public:
    FakeCell(Role role, std::string name, StateSet states, int row, int column);
    AccessibleTableCell* AsTableCell() override { return m_row >= 0 ? this : nullptr; }
    int Row() const override { return m_row; }
    int Column() const override { return m_column; }
    AccessibleNode* Table() const override { return Parent(); }

private:
    int m_row;
    int m_column;
};

// A month calendar: the day names as column headers, then six weeks of cells.
class FakeCalendar : public FakeNode, public AccessibleTable, public AccessibleSelection {
public:
    FakeCalendar(std::string name, const std::vector<std::string>& dayNames, int firstColumn,
                 int days, int selectedDay, Extents extents);
    AccessibleTable* AsTable() override { return this; }
    AccessibleSelection* AsSelection() override { return this; }
    int RowCount() const override { return 6; }
    int ColumnCount() const override { return 7; }
    AccessibleNode* CellAt(int row, int column) const override;
    AccessibleNode* ColumnHeader(int column) const override { return Child(column); }
    int SelectedCount() const override { return 1; }
    AccessibleNode* Selected(int) const override;
    bool IsChildSelected(int childIndex) const override;

private:
    int m_selectedChild = 0;
};

// A drop-down list: its items in a list, the chosen one selected and naming the box.
class FakeCombo : public FakeNode, public AccessibleSelection {
public:
    FakeCombo(const std::vector<std::string>& items, int chosen, Extents extents);
    AccessibleSelection* AsSelection() override { return this; }
    int SelectedCount() const override { return 1; }
    AccessibleNode* Selected(int) const override;
    bool IsChildSelected(int childIndex) const override { return childIndex == m_chosen; }

private:
    FakeNode* m_list;
    int m_chosen;
};

} // namespace a11ytest
