#pragma once
// What assistive technologies (screen readers) learn of one form or control. The frame
// implements AccessibleNode once per control kind; the host layer hands the tree to AT-SPI
// through ATK (Accessibility.h) when a screen reader listens, and asks the nodes afresh on every
// question, so a node only answers from its control and never caches.
//
// Every call comes on the UI thread from inside the loop's wait (WaitForDescriptor), never from
// inside a window procedure. The calls that change something — actions, focus, values,
// selections, the caret — must not do it there: a click may open a modal form, whose loop would
// hold the screen reader's request (and every later one) until the form closes. They queue the
// work (post a message) and answer whether it will be done.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace platform::a11y {

class AccessibleNode;

namespace detail {
struct NodePeer;
struct PeerSlot;
} // namespace detail

enum class Role : std::uint8_t {
    Unknown,
    Application,
    Frame,  // a form with a caption
    Dialog, // the about box, message boxes, the print dialog
    Alert,
    Window, // a pop-up without a caption: a drop-down list, the hint window
    Panel,
    Filler,
    PushButton,
    Label,
    Text, // an edit field
    ComboBox,
    List,
    ListItem,
    SpinButton,
    Table,
    TableCell,
    TableColumnHeader,
    Image,
    ProgressBar,
    ToolTip,
    Separator,
};

enum class State : std::uint8_t {
    Enabled,
    Sensitive,
    Focusable,
    Focused,
    Visible,
    Showing,
    Default,
    Modal,
    Editable,
    Selected,
    Selectable,
    Active,
    MultiLine,
    SingleLine,
    Pressed,
    Checked,
    Expandable,
    Expanded,
    ReadOnly,
    Resizable,
};

class StateSet {
public:
    constexpr StateSet() = default;
    constexpr StateSet(std::initializer_list<State> states) {
        for (State s : states)
            Add(s);
    }
    constexpr StateSet& Add(State s) {
        m_bits |= Bit(s);
        return *this;
    }
    constexpr StateSet& Set(State s, bool on) {
        m_bits = on ? m_bits | Bit(s) : m_bits & ~Bit(s);
        return *this;
    }
    constexpr bool Has(State s) const { return (m_bits & Bit(s)) != 0; }
    constexpr bool operator==(const StateSet&) const = default;

private:
    static constexpr std::uint32_t Bit(State s) { return std::uint32_t(1) << unsigned(s); }
    std::uint32_t m_bits = 0;
};

// A rectangle in screen pixels.
struct Extents {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

enum class RelationKind : std::uint8_t {
    LabelFor,   // a label that names a field
    LabelledBy, // the field it names
    ControllerFor,
    ControlledBy,
    DescriptionFor,
    DescribedBy,
};

struct Relation {
    RelationKind kind;
    AccessibleNode* target;
};

// Offsets in texts count characters (code points), as assistive technologies count them.

class AccessibleAction {
public:
    virtual int ActionCount() const = 0;
    virtual std::string ActionName(int index) const = 0; // "click", not translated
    virtual std::string ActionDescription(int /*index*/) const { return {}; }
    // The keys that do it, in ATK's notation: "<Alt>Cyrillic_de" (a caption's "&Д").
    virtual std::string ActionKeyBinding(int /*index*/) const { return {}; }
    // Queues the action (see above).
    virtual bool DoAction(int index) = 0;

protected:
    ~AccessibleAction() = default;
};

class AccessibleText {
public:
    virtual std::string Text() const = 0;                         // UTF-8
    virtual int CaretOffset() const { return -1; }                // -1: no caret
    virtual bool SetCaretOffset(int /*offset*/) { return false; } // queued
    // One character's box; empty when not known.
    virtual Extents CharacterExtents(int /*offset*/) const { return {}; }

protected:
    ~AccessibleText() = default;
};

class AccessibleValue {
public:
    virtual double CurrentValue() const = 0;
    virtual double MinimumValue() const = 0;
    virtual double MaximumValue() const = 0;
    virtual double MinimumIncrement() const { return 1; }
    // The value as shown, when it is more than the number ("1980").
    virtual std::string ValueText() const { return {}; }
    virtual bool SetCurrentValue(double /*value*/) { return false; } // queued

protected:
    ~AccessibleValue() = default;
};

// Rows and columns count the table's cells, not its headers; headers and cells are children
// of the table (the frame chooses their order).
class AccessibleTable {
public:
    virtual int RowCount() const = 0;
    virtual int ColumnCount() const = 0;
    virtual AccessibleNode* CellAt(int row, int column) const = 0;
    virtual AccessibleNode* ColumnHeader(int /*column*/) const { return nullptr; }

protected:
    ~AccessibleTable() = default;
};

class AccessibleTableCell {
public:
    virtual int Row() const = 0;
    virtual int Column() const = 0;
    virtual AccessibleNode* Table() const = 0;

protected:
    ~AccessibleTableCell() = default;
};

// Which children are selected: the items of a list, the day of a calendar.
class AccessibleSelection {
public:
    virtual int SelectedCount() const = 0;
    // The index-th selected node; it need not be a direct child (a combo box's chosen item,
    // which is a child of its list).
    virtual AccessibleNode* Selected(int index) const = 0;
    virtual bool IsChildSelected(int childIndex) const = 0;
    virtual bool SelectChild(int /*childIndex*/) { return false; } // queued
    virtual bool ClearSelection() { return false; }                // queued

protected:
    ~AccessibleSelection() = default;
};

class AccessibleNode {
public:
    AccessibleNode() = default;
    AccessibleNode(const AccessibleNode&) = delete;
    AccessibleNode& operator=(const AccessibleNode&) = delete;
    // Assistive technologies that still hold the node see it gone (defunct). Tell the parent's
    // listeners first (NotifyChildRemoved) while the node is still whole.
    virtual ~AccessibleNode();

    virtual Role GetRole() const = 0;
    virtual std::string Name() const = 0;
    virtual std::string Description() const { return {}; }
    virtual StateSet GetStates() const = 0;
    virtual AccessibleNode* Parent() const = 0; // null for the application
    virtual int ChildCount() const { return 0; }
    virtual AccessibleNode* Child(int /*index*/) const { return nullptr; }
    // Its place among the parent's children; by default looked up there.
    virtual int IndexInParent() const;
    virtual Extents ScreenExtents() const { return {}; }
    virtual bool GrabFocus() { return false; } // queued
    virtual std::vector<Relation> Relations() const { return {}; }

    // The further interfaces the node has. Each must give the same answer (present or not) for
    // the node's whole life: the host picks the node's kind from them when it first meets it.
    virtual AccessibleAction* AsAction() { return nullptr; }
    virtual AccessibleText* AsText() { return nullptr; }
    virtual AccessibleValue* AsValue() { return nullptr; }
    virtual AccessibleTable* AsTable() { return nullptr; }
    virtual AccessibleTableCell* AsTableCell() { return nullptr; }
    virtual AccessibleSelection* AsSelection() { return nullptr; }

private:
    friend struct detail::PeerSlot;
    detail::NodePeer* m_peer = nullptr; // the host's object, made when a screen reader asks
};

} // namespace platform::a11y
