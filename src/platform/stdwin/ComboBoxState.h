#pragma once
// What the combo box and its drop-down list share: their states and the calls between them.
#include <string>
#include <vector>

#include "platform/stdwin/StandardWindow.h"
#include "platform/stdwin/StdWinCommon.h"

namespace platform::stdwin {

struct ComboState : ControlState {
    std::vector<std::string> items;
    int cursel = -1;
    int itemHeight = 16;
    int minVisible = 8;
    int limit = 0;
    HWND edit = nullptr;
    HWND list = nullptr;
    bool dropped = false;
    bool settingText = false;

    void FontChanged(HWND, bool redraw) override {
        if (edit)
            StandardWindow(edit).SetFont(font, redraw);
    }
};

struct ListState : ControlState {
    HWND combo = nullptr;
    int top = 0;
    int hot = -1;
};

// The lines the dropped list shows: the items, at most the combo box's minimum visible count.
int VisibleCount(const ComboState& s);
// Scrolls the list so that its highlighted item shows, and repaints it.
void ListEnsureVisible(ComboState& s);
// Moves the list by whole lines, leaving the highlighted item where it is.
void ScrollList(ComboState& s, int lines);
// The lines a turn of the wheel (WM_MOUSEWHEEL's wParam) scrolls the list by; down is positive.
int WheelLines(WPARAM wParam);
// Closes the dropped list; `accept` chooses its highlighted item.
void CloseList(HWND combo, bool accept);

LRESULT ComboListProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

} // namespace platform::stdwin
