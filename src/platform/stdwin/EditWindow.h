#pragma once
// The single-line edit window's calls. Positions count code points, not bytes.
#include <string>

#include "platform/stdwin/StandardWindow.h"

namespace platform::stdwin {

struct TextSelection {
    int start = 0; // the first selected place
    int end = 0;   // one past the last; equal to start when nothing is selected
};

class EditWindow : public StandardWindow {
public:
    using StandardWindow::StandardWindow;

    // At most `count` characters can be typed or pasted; 0 or less: no limit.
    void SetLimit(int count);
    int Limit() const;
    void SetReadOnly(bool readOnly);
    // Selects from `start` to `end` (the caret goes to `end`); an `end` below 0 or past the
    // text selects to its end; a `start` of -1 drops the selection and keeps the caret.
    void SetSelection(int start, int end);
    void SelectAll() { SetSelection(0, -1); }
    TextSelection Selection() const;
    // Replaces the selection as typing would (within the limit, reported as a change).
    void ReplaceSelection(const std::string& text);
    bool Modified() const;
    void SetModified(bool modified);
    void Copy();
    void Cut();
    void Paste();
    void Clear();
    // The last change can be undone (text set by the program cannot); undoing it again redoes it.
    bool CanUndo() const;
    void Undo();
};

} // namespace platform::stdwin
