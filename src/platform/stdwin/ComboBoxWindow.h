#pragma once
// The combo box's calls: its items, its selection, its drop-down list and its edit field. A
// selection set here raises no notification; selections the user makes are reported to the
// parent (CBN_SELCHANGE ...).
#include <string>

#include "platform/stdwin/EditWindow.h"

namespace platform::stdwin {

class ComboBoxWindow : public StandardWindow {
public:
    using StandardWindow::StandardWindow;

    // Adds at the end, or at the sorted place when the window has CBS_SORT. Returns the index.
    int AddString(const std::string& item);
    // Inserts at `index` (-1: at the end, unsorted). Returns the index, CB_ERR past the end.
    int InsertString(int index, const std::string& item);
    // Returns the number of items left, CB_ERR for an index outside the list.
    int DeleteString(int index);
    void Clear();
    int Count() const;
    std::string ItemText(int index) const; // empty outside the list
    // The first item after `start` (-1: from the top) equal to `text` ignoring case; CB_ERR if
    // none.
    int FindStringExact(int start, const std::string& text) const;

    int GetCurSel() const; // -1 for none
    // Selects the item (the field shows it) without telling anyone; an index outside the list
    // selects nothing and answers CB_ERR.
    int SetCurSel(int index);

    void ShowDropDown(bool show);
    bool DroppedDown() const;
    int ItemHeight() const;
    bool SetItemHeight(int height); // 1..255
    // The lines the dropped list shows at most.
    int MinVisible() const;
    bool SetMinVisible(int count); // 1 or more

    // The edit field (none for the drop-down list kind): its length limit and selection.
    void SetLimit(int count);
    TextSelection EditSelection() const;
    void SetEditSelection(int start, int end);
};

} // namespace platform::stdwin
