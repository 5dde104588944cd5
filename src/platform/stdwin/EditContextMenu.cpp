// The edit field's context menu: the standard edit commands, each greyed when it has nothing to
// act on, with captions in the user's language as the message box's buttons have.
#include "platform/stdwin/EditState.h"

namespace platform::stdwin {

namespace {

enum : int { kMenuUndo = 1, kMenuCut, kMenuCopy, kMenuPaste, kMenuDelete, kMenuSelectAll };

void RunCommand(HWND hwnd, EditState& s, int command) {
    switch (command) {
    case kMenuUndo:
        Undo(hwnd, s);
        break;
    case kMenuCut:
        Cut(hwnd, s);
        break;
    case kMenuCopy:
        Copy(s);
        break;
    case kMenuPaste:
        PasteIfWritable(hwnd, s);
        break;
    case kMenuDelete:
        Clear(hwnd, s);
        break;
    case kMenuSelectAll:
        SetSelection(hwnd, s, 0, -1);
        UserSelected(hwnd, s);
        break;
    default:
        break;
    }
}

} // namespace

std::vector<MenuItem> ContextMenuItems(HWND hwnd, const EditState& s) {
    bool writable = !ReadOnly(hwnd);
    bool selected = SelStart(s) != SelEnd(s);
    bool all = SelStart(s) == 0 && SelEnd(s) == int(s.text.size());
    bool ru = RussianUi();
    return {{kMenuUndo, ru ? "&Отменить" : "&Undo", writable && s.canUndo},
            {},
            {kMenuCut, ru ? "Вы&резать" : "Cu&t", writable && selected},
            {kMenuCopy, ru ? "&Копировать" : "&Copy", selected},
            {kMenuPaste, ru ? "Вст&авить" : "&Paste", writable && IsClipboardTextAvailable()},
            {kMenuDelete, ru ? "&Удалить" : "&Delete", writable && selected},
            {},
            {kMenuSelectAll, ru ? "Выделить &все" : "Select &All", !all}};
}

void ContextMenu(HWND hwnd, LPARAM where) {
    if (GetFocus() != hwnd)
        SetFocus(hwnd);
    EditState* s = IsWindow(hwnd) ? State<EditState>(hwnd) : nullptr;
    if (!s)
        return;
    Point at{GET_X_LPARAM(where), GET_Y_LPARAM(where)};
    if (at.x == kMenuAtCaret && at.y == kMenuAtCaret) {
        Rect c;
        GetClientRect(hwnd, c);
        at = Point{kEditMargin - s->scroll + Positions(*s)[std::size_t(s->caret)], c.bottom};
        ClientToScreen(hwnd, at);
    }
    int command = TrackPopupMenu(ContextMenuItems(hwnd, *s), at, hwnd);
    if (command && (s = IsWindow(hwnd) ? State<EditState>(hwnd) : nullptr))
        RunCommand(hwnd, *s, command);
}

} // namespace platform::stdwin
