#pragma once
// The up-down's calls: its range, its position, the step of a click and the buddy window it
// writes the position into (UDS_SETBUDDYINT). Each step is offered to the parent first
// (WM_NOTIFY UDN_DELTAPOS, which DeltaPos reads) and then reported (WM_VSCROLL or WM_HSCROLL).
#include "platform/stdwin/StandardWindow.h"

namespace platform::stdwin {

class UpDownWindow : public StandardWindow {
public:
    using StandardWindow::StandardWindow;

    void SetRange(int lower, int upper);
    IntRange Range() const;
    // Kept within the range and written into the buddy; returns the position before.
    int SetPos(int pos);
    // A number typed into the buddy within the range counts as the position; `error` (when
    // given) tells whether the buddy's text was not such a number.
    int GetPos(bool* error = nullptr) const;
    // The buddy (null: none); returns the one before.
    HWND SetBuddy(HWND buddy);
    HWND Buddy() const;
    // The step of one click.
    void SetIncrement(int increment);
    int Increment() const;

    // The step an up-down offers its parent, read from a WM_NOTIFY header: null when the
    // notification is not UDN_DELTAPOS.
    static const NMUPDOWN* DeltaPos(const NMHDR* header);
};

} // namespace platform::stdwin
