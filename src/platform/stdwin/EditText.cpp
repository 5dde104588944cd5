// The edit field's text, caret and selection: the operations its keys, mouse, messages, context
// menu and typed calls share.
#include <algorithm>

#include "platform/stdwin/EditState.h"

namespace platform::stdwin {

namespace {

int VisibleWidth(HWND hwnd) {
    Rect c;
    GetClientRect(hwnd, c);
    return std::max(1, c.Width() - 2 * kEditMargin);
}

void EnsureCaretVisible(HWND hwnd, EditState& s) {
    const std::vector<int>& pos = Positions(s);
    int x = pos[std::size_t(s.caret)];
    int width = VisibleWidth(hwnd);
    if (x - s.scroll > width - 1)
        s.scroll = x - width + 1 + width / 4;
    if (x < s.scroll)
        s.scroll = std::max(0, x - width / 4);
    s.scroll = std::clamp(s.scroll, 0, std::max(0, pos.back() - width + 1));
}

// An empty selection is no longer anything to paste.
void SelectionChanged(HWND hwnd, const EditState& s) {
    if (SelStart(s) == SelEnd(s))
        ReleasePrimarySelection(hwnd);
}

void Paste(HWND hwnd, EditState& s) {
    Replace(hwnd, s, FirstLine(GetClipboardText()));
}

} // namespace

int SelStart(const EditState& s) {
    return std::min(s.caret, s.anchor);
}
int SelEnd(const EditState& s) {
    return std::max(s.caret, s.anchor);
}

bool ReadOnly(HWND hwnd) {
    return (GetWindowLongPtr(hwnd, GWL_STYLE) & ES_READONLY) != 0;
}

const std::vector<int>& Positions(EditState& s) {
    if (s.positions.size() != s.text.size() + 1) {
        s.positions.assign(1, 0);
        auto dc = gdi::DeviceContext::ForMeasure();
        dc->SetFont(s.font);
        // Each place is measured from the start of its run, so kerning and shaping count; a long
        // text is measured in runs so that a big paste costs linear, not quadratic, time.
        constexpr std::size_t kWhole = 256, kRun = 64;
        std::size_t run = s.text.size() <= kWhole ? s.text.size() : kRun;
        int base = 0;
        for (std::size_t start = 0; start < s.text.size(); start += run) {
            std::size_t end = std::min(s.text.size(), start + run);
            for (std::size_t i = start + 1; i <= end; ++i)
                s.positions.push_back(
                    base + dc->GetTextExtent(ToUtf8(s.text.substr(start, i - start))).cx);
            base = s.positions.back();
        }
    }
    return s.positions;
}

int HitTest(HWND hwnd, EditState& s, int x) {
    const std::vector<int>& pos = Positions(s);
    int tx = x - kEditMargin + s.scroll;
    int best = 0;
    for (std::size_t i = 1; i < pos.size(); ++i)
        if (std::abs(pos[i] - tx) < std::abs(pos[std::size_t(best)] - tx))
            best = int(i);
    (void)hwnd;
    return best;
}

void UserSelected(HWND hwnd, const EditState& s) {
    if (SelStart(s) != SelEnd(s))
        ClaimPrimarySelection(hwnd);
}

void Changed(HWND hwnd, EditState& s) {
    s.positions.clear();
    s.modified = true;
    SelectionChanged(hwnd, s);
    EnsureCaretVisible(hwnd, s);
    InvalidateRect(hwnd, nullptr, false);
    if (!s.creating) {
        NotifyParent(hwnd, EN_UPDATE);
        if (IsWindow(hwnd))
            NotifyParent(hwnd, EN_CHANGE);
    }
}

void Moved(HWND hwnd, EditState& s) {
    s.typing = false;
    SelectionChanged(hwnd, s);
    EnsureCaretVisible(hwnd, s);
    InvalidateRect(hwnd, nullptr, false);
}

bool Replace(HWND hwnd, EditState& s, std::u32string insert, bool typed) {
    int start = SelStart(s), end = SelEnd(s);
    long long room = (long long)s.limit - ((long long)s.text.size() - (end - start));
    if ((long long)insert.size() > room) {
        insert.resize(std::size_t(std::max(0LL, room)));
        MessageBeep();
        NotifyParent(hwnd, EN_MAXTEXT);
        if (!IsWindow(hwnd))
            return false;
    }
    if (insert.empty() && start == end)
        return false;
    if (!(typed && s.typing)) {
        s.undoText = s.text;
        s.undoCaret = s.caret;
        s.undoAnchor = s.anchor;
        s.canUndo = true;
    }
    s.typing = typed;
    s.text.replace(std::size_t(start), std::size_t(end - start), insert);
    s.caret = s.anchor = start + int(insert.size());
    Changed(hwnd, s);
    return true;
}

void Copy(EditState& s) {
    if (SelStart(s) != SelEnd(s))
        SetClipboardText(
            ToUtf8(s.text.substr(std::size_t(SelStart(s)), std::size_t(SelEnd(s) - SelStart(s)))));
}

std::u32string FirstLine(const std::string& text) {
    std::u32string line;
    for (char32_t c : ToU32(text)) {
        if (c == U'\r' || c == U'\n')
            break;
        if (c >= kFirstPrintable && c != kDeleteChar)
            line.push_back(c);
    }
    return line;
}

void Undo(HWND hwnd, EditState& s) {
    if (!s.canUndo || ReadOnly(hwnd))
        return;
    std::swap(s.text, s.undoText);
    std::swap(s.caret, s.undoCaret);
    std::swap(s.anchor, s.undoAnchor);
    s.typing = false;
    Changed(hwnd, s);
}

void SetLimit(EditState& s, WPARAM count) {
    s.limit = count ? int(std::min<WPARAM>(count, kEditNoLimit)) : kEditNoLimit;
}

void SetReadOnly(HWND hwnd, bool readOnly) {
    auto style = GetWindowLongPtr(hwnd, GWL_STYLE);
    SetWindowLongPtr(hwnd, GWL_STYLE, readOnly ? (style | ES_READONLY) : (style & ~ES_READONLY));
    InvalidateRect(hwnd, nullptr, false);
}

void SetSelection(HWND hwnd, EditState& s, int start, int end) {
    int len = int(s.text.size());
    if (start == -1) {
        s.anchor = s.caret;
    } else {
        if (end < 0 || end > len)
            end = len;
        s.anchor = std::clamp(start, 0, len);
        s.caret = end;
    }
    Moved(hwnd, s);
}

void Cut(HWND hwnd, EditState& s) {
    if (ReadOnly(hwnd))
        return;
    Copy(s);
    Replace(hwnd, s, {});
}

void Clear(HWND hwnd, EditState& s) {
    if (!ReadOnly(hwnd))
        Replace(hwnd, s, {});
}

void PasteIfWritable(HWND hwnd, EditState& s) {
    if (!ReadOnly(hwnd))
        Paste(hwnd, s);
}

void SetText(HWND hwnd, EditState& s, const char* text) {
    s.text = ToU32(text ? text : "");
    s.caret = s.anchor = 0;
    s.scroll = 0;
    s.canUndo = false;
    s.typing = false;
    Changed(hwnd, s);
    if (EditState* again = State<EditState>(hwnd))
        again->modified = false;
}

} // namespace platform::stdwin
