#pragma once
// The single-line edit's state and the operations on its text, caret and selection that its keys,
// mouse, messages, context menu and typed calls share (EditText.cpp). Positions count code points.
#include <string>
#include <vector>

#include "platform/stdwin/PopupMenu.h"
#include "platform/stdwin/StdWinCommon.h"

namespace platform::stdwin {

inline constexpr int kEditMargin = 2; // between the border and the text
inline constexpr int kEditNoLimit = 0x7FFFFFFE;
inline constexpr char32_t kFirstPrintable = 0x20, kDeleteChar = 0x7F;

struct EditState : ControlState {
    std::u32string text;
    int caret = 0;
    int anchor = 0;
    int scroll = 0;
    int limit = kEditNoLimit;
    bool modified = false;
    bool creating = false;
    bool selecting = false;
    std::vector<int> positions; // x of each caret place; empty when stale
    // The one change that can be undone: the text and selection before it.
    std::u32string undoText;
    int undoCaret = 0;
    int undoAnchor = 0;
    bool canUndo = false;
    bool typing = false; // the last change was a typed character: the next one joins it

    void FontChanged(HWND, bool) override { positions.clear(); }
};

int SelStart(const EditState& s);
int SelEnd(const EditState& s);
bool ReadOnly(HWND hwnd);
// The x of each caret place from the start of the text, measured when stale.
const std::vector<int>& Positions(EditState& s);
// The caret place nearest to a client x.
int HitTest(HWND hwnd, EditState& s, int x);

// After the text changed (reported with EN_CHANGE) or only the caret and selection moved. An
// empty selection gives the primary selection up.
void Changed(HWND hwnd, EditState& s);
void Moved(HWND hwnd, EditState& s);
// What the user selected becomes the primary selection.
void UserSelected(HWND hwnd, const EditState& s);

// Replaces the selection with `insert`, keeping within the length limit; a `typed` character
// after another joins its change. False: nothing changed.
bool Replace(HWND hwnd, EditState& s, std::u32string insert, bool typed = false);
// What a field takes of a pasted text: up to the first line break, without control characters.
std::u32string FirstLine(const std::string& text);
void Copy(EditState& s);
void Cut(HWND hwnd, EditState& s);
void Clear(HWND hwnd, EditState& s);
void PasteIfWritable(HWND hwnd, EditState& s);
// The text and selection before the last change come back, and the change can be redone.
void Undo(HWND hwnd, EditState& s);

void SetLimit(EditState& s, WPARAM count);
void SetReadOnly(HWND hwnd, bool readOnly);
// EM_SETSEL's rules: an `end` below 0 or past the text is its end; a `start` of -1 drops the
// selection and keeps the caret.
void SetSelection(HWND hwnd, EditState& s, int start, int end);
// The program's text: reported, but not a change the user can undo.
void SetText(HWND hwnd, EditState& s, const char* text);

// WM_CONTEXTMENU's point when the keyboard asked for the menu: it opens under the caret.
inline constexpr int kMenuAtCaret = -1;
// The context menu's items for the field as it is now (EditContextMenu.cpp): Undo, Cut, Copy,
// Paste, Delete and Select All, each enabled only when it has something to act on.
std::vector<MenuItem> ContextMenuItems(HWND hwnd, const EditState& s);
// Shows the menu at a point of the screen (or under the caret) and runs the command chosen. The
// field takes the focus first, as a click would give it.
void ContextMenu(HWND hwnd, LPARAM where);

} // namespace platform::stdwin
