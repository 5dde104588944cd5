#pragma once
// The progress bar's calls: a range and a position within it that fills the bar from the left.
#include "platform/stdwin/StandardWindow.h"

namespace platform::stdwin {

class ProgressBarWindow : public StandardWindow {
public:
    using StandardWindow::StandardWindow;

    // The position is brought back within a new range.
    void SetRange(int lower, int upper);
    IntRange Range() const;
    // Kept within the range; each returns the position before.
    int SetPos(int pos);
    int DeltaPos(int delta);
    int GetPos() const;
    // The step of StepIt; returns the step before.
    int SetStep(int step);
    // Advances by the step; past the upper end it starts again from the lower. Returns the
    // position before.
    int StepIt();
};

} // namespace platform::stdwin
