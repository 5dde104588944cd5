#pragma once
// The combo box: the platform's COMBOBOX window with its edit field and drop-down list. The items
// live in the window (and, before it exists or while it is made again, in the strings object
// that mirrors it). A selection the user makes puts the item into the field and raises OnClick
// and then OnChange, once; typing raises OnChange; ItemIndex set by the program raises nothing.
// The owner-drawn styles show as drop-down lists drawn by the window itself (nothing here draws
// items).
#include <string>
#include <vector>

#include "frame/TStrings.h"
#include "frame/controls/TWinControl.h"

namespace controls {

using frame::TComponent;

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };
ZORVANE_ENUM_TYPE(TComboBoxStyle, "csDropDown", "csSimple", "csDropDownList", "csOwnerDrawFixed",
                  "csOwnerDrawVariable")

class TCustomComboBox;

// The items of a combo box: kept in its window when there is one, and always mirrored here so
// that they survive the window. With Sorted, an item inserted at the end goes to its sorted place.
class TComboBoxStrings : public frame::TStrings {
public:
    ZORVANE_CLASS(TComboBoxStrings)
    explicit TComboBoxStrings(TCustomComboBox* combo) : m_combo(combo) {}

    int Count() const override { return static_cast<int>(m_items.size()); }
    const std::string& Get(int index) const override;
    void Put(int index, const std::string& text) override;
    void Insert(int index, const std::string& text) override;
    void Delete(int index) override;
    void Clear() override;

    const std::vector<std::string>& Lines() const { return m_items; }
    // Sorts the mirror (the window is made again by the caller).
    void Sort();

private:
    void CheckIndex(int index, bool allowEnd) const;

    TCustomComboBox* m_combo;
    std::vector<std::string> m_items;
};

class TCustomComboBox : public frame::TWinControl {
public:
    ZORVANE_CLASS(TCustomComboBox)
    explicit TCustomComboBox(TComponent* owner);
    ~TCustomComboBox() override;

    TComboBoxStyle Style() const { return m_style; }
    void SetStyle(TComboBoxStyle value);
    frame::TStrings* Items() const { return m_items.get(); }
    void SetItems(frame::TStrings* value) { m_items->Assign(value); }
    // The window's selection; -1 for none.
    int32_t ItemIndex() const;
    // Selects without raising any event; the field shows the item (or nothing for -1).
    void SetItemIndex(int32_t value);
    int32_t DropDownCount() const { return m_dropDownCount; }
    void SetDropDownCount(int32_t value);
    int32_t ItemHeight() const { return m_itemHeight; }
    void SetItemHeight(int32_t value);
    bool Sorted() const { return m_sorted; }
    void SetSorted(bool value);
    int32_t MaxLength() const { return m_maxLength; }
    void SetMaxLength(int32_t value);
    bool DroppedDown() const;
    void SetDroppedDown(bool value);

    frame::TNotifyEvent OnChange;
    frame::TNotifyEvent OnDropDown;

    unsigned DialogCode() const override { return frame::DLGC_WANTARROWS | frame::DLGC_WANTCHARS; }
    void WindowProc(frame::TMessage& message) override;
    void CNCommand(frame::TWMCommand& m) override;
    void AfterLoad() override;

protected:
    std::unique_ptr<platform::a11y::AccessibleNode> CreateAccessible() override;
    friend class TComboBoxStrings;
    virtual void Change();
    virtual void DropDown();
    void CreateParams(frame::TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void SetTextValue(const std::string& value) override;

private:
    // Keeps what the window holds (typed text, selection) for the next window.
    void SaveWindowState();

    std::unique_ptr<TComboBoxStrings> m_items;
    TComboBoxStyle m_style = csDropDown;
    mutable int32_t m_itemIndex = -1;
    int32_t m_dropDownCount = 8;
    int32_t m_itemHeight = 16;
    bool m_sorted = false;
    int32_t m_maxLength = 0;
};

class TComboBox : public TCustomComboBox {
public:
    ZORVANE_CLASS(TComboBox)
    using TCustomComboBox::TCustomComboBox;
};

} // namespace controls
