#include "controls/TComboBox.h"

#include <algorithm>

#include "frame/controls/TControlAccessible.h"
#include "platform/display/WindowApi.h"
#include "platform/stdwin/ComboBoxWindow.h"
#include "rtl/Exception.h"

namespace controls {

using namespace frame;
using platform::stdwin::ComboBoxWindow;

// ---------------------------------------------------------------------------------------------
// Items

const TClassInfo* TComboBoxStrings::StaticClass() {
    static const auto info =
        TClassBuilder<TComboBoxStrings>("TComboBoxStrings", TStrings::StaticClass()).Build();
    return info.get();
}

void TComboBoxStrings::CheckIndex(int index, bool allowEnd) const {
    if (index < 0 || index > Count() || (index == Count() && !allowEnd))
        throw rtl::EStringListError("List index out of bounds (%d)", index);
}

const std::string& TComboBoxStrings::Get(int index) const {
    CheckIndex(index, false);
    return m_items[std::size_t(index)];
}

void TComboBoxStrings::Put(int index, const std::string& text) {
    CheckIndex(index, false);
    int selected = m_combo->ItemIndex();
    Delete(index);
    Insert(index, text);
    if (selected == index)
        m_combo->SetItemIndex(index);
}

void TComboBoxStrings::Insert(int index, const std::string& text) {
    CheckIndex(index, true);
    bool sortedAdd = m_combo->Sorted() && index == Count();
    if (sortedAdd)
        index = int(std::upper_bound(m_items.begin(), m_items.end(), text) - m_items.begin());
    if (m_combo->HandleAllocated()) {
        // The window sorts as we do; its answer is the place.
        ComboBoxWindow window(m_combo->Handle());
        int at = sortedAdd ? window.AddString(text) : window.InsertString(index, text);
        if (at < 0)
            throw rtl::EOutOfResources(std::string("Unable to insert a line"));
        index = at;
    } else if (m_combo->m_itemIndex >= index) {
        ++m_combo->m_itemIndex;
    }
    m_items.insert(m_items.begin() + index, text);
}

void TComboBoxStrings::Delete(int index) {
    CheckIndex(index, false);
    if (m_combo->HandleAllocated()) {
        ComboBoxWindow(m_combo->Handle()).DeleteString(index);
    } else if (m_combo->m_itemIndex == index) {
        m_combo->m_itemIndex = -1;
    } else if (m_combo->m_itemIndex > index) {
        --m_combo->m_itemIndex;
    }
    m_items.erase(m_items.begin() + index);
}

void TComboBoxStrings::Clear() {
    if (m_combo->HandleAllocated())
        ComboBoxWindow(m_combo->Handle()).Clear();
    m_combo->m_itemIndex = -1;
    m_items.clear();
}

void TComboBoxStrings::Sort() {
    std::stable_sort(m_items.begin(), m_items.end());
}

// ---------------------------------------------------------------------------------------------
// Life and window

const TClassInfo* TCustomComboBox::StaticClass() {
    static const auto info =
        TClassBuilder<TCustomComboBox>("TCustomComboBox", TWinControl::StaticClass()).Build();
    return info.get();
}

const TClassInfo* TComboBox::StaticClass() {
    static const auto info =
        TClassBuilder<TComboBox>("TComboBox", TCustomComboBox::StaticClass())
            .Property("Style", &TComboBox::Style, &TComboBox::SetStyle, Default(csDropDown))
            .Property("DropDownCount", &TComboBox::DropDownCount, &TComboBox::SetDropDownCount,
                      Default(8))
            .Property("ItemHeight", &TComboBox::ItemHeight, &TComboBox::SetItemHeight, Default(16))
            .Property("MaxLength", &TComboBox::MaxLength, &TComboBox::SetMaxLength, Default(0))
            .Property("Sorted", &TComboBox::Sorted, &TComboBox::SetSorted, Default(0))
            .Property("Items", &TComboBox::Items, &TComboBox::SetItems)
            .Property("ItemIndex", &TComboBox::ItemIndex, &TComboBox::SetItemIndex, Default(-1))
            .Property("Text", &TControl::Text, &TControl::SetText)
            .Property("Color", ColorType(), &TComboBox::Color, &TComboBox::SetColor,
                      Default(clWindow), StoredIf(&TComboBox::IsColorStored))
            .Property("ParentColor", &TComboBox::ParentColor, &TComboBox::SetParentColor,
                      Default(0))
            .Property("TabStop", &TComboBox::TabStop, &TComboBox::SetTabStop, Default(1))
            .Property("OnChange", &TComboBox::OnChange)
            .Property("OnDropDown", &TComboBox::OnDropDown)
            .Build();
    return info.get();
}

TCustomComboBox::TCustomComboBox(TComponent* owner)
    : TWinControl(owner), m_items(std::make_unique<TComboBoxStrings>(this)) {
    // The window captures the mouse for its list and reports its own clicks.
    SetControlStyle(TControlStyle{csSetCaption});
    SetBounds(0, 0, 145, 25);
    SetColor(clWindow);
    SetParentColor(false);
    SetTabStop(true);
}

TCustomComboBox::~TCustomComboBox() = default;

void TCustomComboBox::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, platform::WC_COMBOBOX);
    params.style |= platform::WS_VSCROLL;
    params.style |= platform::CBS_AUTOHSCROLL | platform::CBS_HASSTRINGS;
    switch (m_style) {
    case csSimple:
        params.style |= platform::CBS_SIMPLE;
        break;
    case csDropDown:
        params.style |= platform::CBS_DROPDOWN;
        break;
    default: // the owner-drawn kinds are drop-down lists the window draws
        params.style |= platform::CBS_DROPDOWNLIST;
        break;
    }
    if (m_sorted)
        params.style |= platform::CBS_SORT;
}

void TCustomComboBox::CreateWnd() {
    std::string text = m_text;
    TWinControl::CreateWnd();
    HWND h = Handle();
    ComboBoxWindow window(h);
    window.SetItemHeight(m_itemHeight);
    window.SetMinVisible(m_dropDownCount);
    window.SetLimit(std::max(m_maxLength, 0));
    for (const std::string& item : m_items->Lines())
        window.InsertString(-1, item);
    if (m_itemIndex >= 0 && m_itemIndex < m_items->Count())
        window.SetCurSel(m_itemIndex);
    // Text typed into the field of an earlier window comes back as it was.
    if (m_style == csDropDown || m_style == csSimple) {
        if (platform::GetWindowText(h) != text)
            platform::SetWindowText(h, text);
    }
}

void TCustomComboBox::SaveWindowState() {
    if (!HandleAllocated())
        return;
    m_text = platform::GetWindowText(Handle());
    m_itemIndex = ComboBoxWindow(Handle()).GetCurSel();
}

void TCustomComboBox::DestroyWnd() {
    SaveWindowState();
    TWinControl::DestroyWnd();
}

void TCustomComboBox::WindowProc(TMessage& message) {
    // The window may go with its parent's.
    if (message.msg == platform::WM_DESTROY)
        SaveWindowState();
    TWinControl::WindowProc(message);
}

// ---------------------------------------------------------------------------------------------
// Properties

void TCustomComboBox::SetStyle(TComboBoxStyle value) {
    if (value == m_style)
        return;
    m_style = value;
    RecreateWnd();
}

int32_t TCustomComboBox::ItemIndex() const {
    if (HandleAllocated())
        m_itemIndex = ComboBoxWindow(m_handle).GetCurSel();
    return m_itemIndex;
}

void TCustomComboBox::SetItemIndex(int32_t value) {
    if (IsLoading()) {
        // The items may still be on their way; the index is checked once the form is read.
        m_itemIndex = value;
        return;
    }
    if (value == ItemIndex())
        return;
    bool valid = value >= 0 && value < m_items->Count();
    if (HandleAllocated()) {
        ComboBoxWindow(Handle()).SetCurSel(valid ? value : -1);
        ItemIndex();
        return;
    }
    m_itemIndex = valid ? value : -1;
    m_text = valid ? m_items->Get(value) : std::string();
}

void TCustomComboBox::AfterLoad() {
    TWinControl::AfterLoad();
    int32_t index = m_itemIndex;
    m_itemIndex = -1;
    if (index >= 0 && index < m_items->Count()) {
        if (HandleAllocated())
            ComboBoxWindow(Handle()).SetCurSel(index);
        else
            m_text = m_items->Get(index);
        m_itemIndex = index;
    }
}

void TCustomComboBox::SetTextValue(const std::string& value) {
    TWinControl::SetTextValue(value);
    // A list without an edit field shows an item or nothing: the text selects its item.
    if (m_style != csDropDown && m_style != csSimple && !IsLoading()) {
        int index = m_items->IndexOf(value);
        if (index != ItemIndex())
            SetItemIndex(index);
    }
}

void TCustomComboBox::SetDropDownCount(int32_t value) {
    m_dropDownCount = value;
    if (HandleAllocated())
        ComboBoxWindow(Handle()).SetMinVisible(value);
}

void TCustomComboBox::SetItemHeight(int32_t value) {
    if (value <= 0 || value == m_itemHeight)
        return;
    m_itemHeight = value;
    if (HandleAllocated())
        ComboBoxWindow(Handle()).SetItemHeight(value);
}

void TCustomComboBox::SetSorted(bool value) {
    if (value == m_sorted)
        return;
    m_sorted = value;
    // The window sorts what is added to it by its style: it is made again (keeping what it
    // holds) around the sort of the items.
    bool hadWindow = HandleAllocated();
    DestroyHandle();
    if (value) {
        std::string selected = m_itemIndex >= 0 && m_itemIndex < m_items->Count()
                                   ? m_items->Get(m_itemIndex)
                                   : std::string();
        m_items->Sort();
        if (m_itemIndex >= 0) {
            const auto& lines = m_items->Lines();
            m_itemIndex = int32_t(std::find(lines.begin(), lines.end(), selected) - lines.begin());
        }
    }
    if (hadWindow)
        UpdateControlState();
}

void TCustomComboBox::SetMaxLength(int32_t value) {
    if (value == m_maxLength)
        return;
    m_maxLength = value;
    if (HandleAllocated())
        ComboBoxWindow(Handle()).SetLimit(std::max(value, 0));
}

bool TCustomComboBox::DroppedDown() const {
    return HandleAllocated() && ComboBoxWindow(m_handle).DroppedDown();
}

void TCustomComboBox::SetDroppedDown(bool value) {
    ComboBoxWindow(Handle()).ShowDropDown(value);
}

// ---------------------------------------------------------------------------------------------
// Notifications

void TCustomComboBox::Change() {
    frame::AccessibleSelectionChanged(*this);
    frame::AccessibleNameChanged(*this);
    OnChange(this);
}

void TCustomComboBox::DropDown() {
    OnDropDown(this);
}

void TCustomComboBox::CNCommand(TWMCommand& m) {
    TAlive alive(this);
    switch (m.notifyCode) {
    case platform::CBN_SELCHANGE:
        // The window has already put the item into the field.
        Click();
        if (alive)
            Change();
        break;
    case platform::CBN_EDITCHANGE:
        Change();
        break;
    case platform::CBN_DROPDOWN:
        DropDown();
        // The handler may have changed the count: the list is sized after it.
        if (alive && HandleAllocated())
            ComboBoxWindow(Handle()).SetMinVisible(m_dropDownCount);
        break;
    case platform::CBN_DBLCLK:
        DblClick();
        break;
    default:
        break;
    }
}

} // namespace controls
