// The soak's user: what it does next, from the seed and what is on the screen.
#include <algorithm>

#include "SoakDriver.h"
#include "SoakSteps.h"
#include "SoakText.h"
#include "app/ProgramForms.h"
#include "app/forms/TIntro.h"
#include "app/forms/TResult.h"
#include "controls/TBitBtn.h"
#include "controls/TCalendar.h"
#include "controls/TComboBox.h"
#include "controls/TEdit.h"
#include "controls/TImage.h"
#include "frame/controls/TControl.h"
#include "frame/forms/TApplication.h"
#include "frame/forms/TCustomForm.h"
#include "platform/display/Headless.h"
#include "platform/display/WindowApi.h"
#include "rtl/NumberText.h"

namespace soak {

using namespace platform;
namespace hl = platform::headless;

namespace {

// How often each kind of target is aimed at, against the others on the screen. The main form's
// exit button ends the run: rare enough that most runs get deep into the program.
int AimWeight(TKind kind) {
    switch (kind) {
    case TKind::Button:
        return 6;
    case TKind::MainExit:
        return 1;
    case TKind::Edit:
        return 3;
    case TKind::Combo:
        return 4;
    case TKind::DropList:
        return 12;
    case TKind::Calendar:
        return 5;
    case TKind::UpDown:
        return 4;
    case TKind::Picture:
        return 2;
    case TKind::Chart:
        return 1;
    case TKind::Static:
        return 1;
    case TKind::Form:
        return 1;
    case TKind::Box:
        return 1;
    case TKind::BoxButton:
        return 8;
    case TKind::Hint:
        return 0;
    }
    return 0;
}

std::string At(Point p) {
    return " at " + std::to_string(p.x) + "," + std::to_string(p.y);
}

constexpr int kLongField = 100;

const char* const kCyrillic = "абвгдеёжзийклмнопрстуфхцчшщъыьэюяАБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ";
const char* const kLatin = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
const char* const kDigits = "0123456789";
const char* const kPunctuation = " .,-+/:;!?'\"()[]{}#%&*=_\\|<>@$^~";

// Texts a user might put into a year box, or that break it.
const std::vector<std::string> kOddTexts = {
    "0",         "1",        "-1",         "-5",         "00012",       "9999",
    "10000",     "99999",    "2147483647", "2147483648", "-2147483649", "99999999999999999999",
    "15.3.1980", "1.1.",     "2000.",      " 2000 ",     "+12",         "1e3",
    "0x7D0",     "２０００", "١٩٨٠",       "Март",       "Январь 2000", "\t",
    "  ",        "-",        "--1",
};

} // namespace

int TSoakDriver::UserPause() {
    int kind = m_random.Weighted({80, 15, 5});
    if (kind == 0)
        return m_random.Between(20, 400);
    if (kind == 1)
        return m_random.Between(500, 1500); // a hint shows
    return m_random.Between(2600, 4000);    // and goes again
}

Point TSoakDriver::Inside(const Rect& r) {
    return Point{m_random.Between(r.left, std::max(r.left, r.right - 1)),
                 m_random.Between(r.top, std::max(r.top, r.bottom - 1))};
}

Point TSoakDriver::PointIn(const TTarget& t) {
    const Rect& r = t.rect;
    switch (t.kind) {
    case TKind::Calendar:
        if (auto* calendar = frame::As<controls::TCalendar>(t.control)) {
            frame::TRect cell = calendar->CellRect(m_random.Below(7), m_random.Below(7));
            if (cell.right > cell.left && cell.bottom > cell.top) {
                frame::TPoint p = calendar->ClientToScreen(
                    frame::TPoint{m_random.Between(cell.left, cell.right - 1),
                                  m_random.Between(cell.top, cell.bottom - 1)});
                return Point{p.x, p.y};
            }
        }
        break;
    case TKind::UpDown: {
        int quarter = std::max(1, r.Height() / 4);
        int y = m_random.Chance(50) ? r.top + quarter : r.bottom - 1 - quarter;
        return Point{(r.left + r.right) / 2, y};
    }
    case TKind::Combo:
        if (m_random.Chance(60))
            return Point{r.right - 7, (r.top + r.bottom) / 2}; // the button drops the list
        break;
    case TKind::Button:
    case TKind::MainExit:
    case TKind::BoxButton:
        // Mostly well inside, sometimes on the very edge.
        if (m_random.Chance(85))
            return Inside(Rect{r.left + 3, r.top + 3, r.right - 3, r.bottom - 3});
        break;
    default:
        break;
    }
    return Inside(r);
}

std::u32string TSoakDriver::RandomText() {
    auto pickFrom = [this](const char* alphabet, int count) {
        std::u32string letters = FromUtf8(alphabet);
        std::u32string out;
        for (int i = 0; i < count; ++i)
            out.push_back(letters[std::size_t(m_random.Below(int(letters.size())))]);
        return out;
    };
    // Very long texts are few: every key re-measures the whole field (linear in its length).
    switch (m_random.Weighted({36, 12, 10, 15, 9, 2, 16})) {
    case 0: // a year, mostly one that makes sense
        return FromUtf8(rtl::IntToStr(m_random.Between(1880, 2060)));
    case 1:
        return FromUtf8(rtl::IntToStr(m_random.Between(-99999, 999999)));
    case 2:
        return pickFrom(kLatin, m_random.Between(1, 8));
    case 3:
        return pickFrom(kCyrillic, m_random.Between(1, 8));
    case 4:
        return U"";
    case 5: { // long: a mix of everything (pasted, it is longer still: TypeText)
        std::string all = std::string(kDigits) + kLatin + kCyrillic + kPunctuation;
        return pickFrom(all.c_str(), m_random.Between(60, 150));
    }
    default:
        return FromUtf8(m_random.Pick(kOddTexts));
    }
}

// ---------------------------------------------------------------------------------------------

TAction TSoakDriver::RandomAction() {
    enum {
        kClick,
        kDoubleClick,
        kMove,
        kClickAnywhere,
        kTypeFocused,
        kTypeField,
        kNavigate,
        kEnterEscape,
        kAlt,
        kF1,
        kEditing,
        kCloseBox,
        kWheel,
        kPause,
        kSwitch,
        kEntry,
        kResult
    };
    bool introReady = app::Intro && app::Intro->Visible() && !VisibleBox() && MainWindow() &&
                      IsWindowEnabled(MainWindow()) && m_plan.empty();
    bool resultReady = app::Result && app::Result->Visible() && !VisibleBox();
    std::vector<int> weights = {
        28, 4, 8, 4, 7, 9, 12, 5, 5, 1, 4, 2, 1, 2, 1, introReady ? 4 : 0, resultReady ? 6 : 0};
    int kind = m_random.Weighted(weights);
    switch (kind) {
    case kClick:
    case kDoubleClick: {
        std::vector<int> aim;
        for (const TTarget& t : m_targets)
            aim.push_back(AimWeight(t.kind));
        int i = m_random.Weighted(aim);
        if (i < 0)
            return Pause();
        bool twice = kind == kDoubleClick;
        return Click(m_targets[std::size_t(i)], twice);
    }
    case kMove:
        return MoveMouse();
    case kClickAnywhere:
        return ClickAnywhere();
    case kTypeFocused:
        return TypeText(false);
    case kTypeField:
        return TypeText(true);
    case kNavigate:
        return NavigationKey();
    case kEnterEscape: {
        TAction a;
        bool enter = m_random.Chance(60);
        a.what = enter ? "Enter" : "Escape";
        AddKeyStroke(a, enter ? VK_RETURN : VK_ESCAPE, 0, 0, UserPause());
        return a;
    }
    case kAlt:
        return AltLetter();
    case kF1: {
        TAction a;
        a.what = "F1";
        AddKeyStroke(a, VK_F1, 0, 0, UserPause());
        return a;
    }
    case kEditing:
        return EditingKey();
    case kCloseBox:
        return CloseBox();
    case kWheel:
        return Wheel();
    case kPause:
        return Pause();
    case kSwitch:
        return SwitchAway();
    case kResult:
        return ResultButton();
    case kEntry:
        PlanEntry();
        if (TAction a; PlannedAction(a))
            return a;
        return Pause();
    default:
        return Pause();
    }
}

namespace {
TTarget TargetOf(frame::TControl* c, TKind kind);
}

TAction TSoakDriver::ResultButton() {
    // The result form's own business: mostly month steps, back and forth, also help, the about
    // box, print and exit.
    app::TResult* r = app::Result;
    std::vector<frame::TControl*> controls = {r->BitBtn4, r->BitBtn5, r->BitBtn3,
                                              r->Image1,  r->BitBtn1, r->BitBtn2};
    frame::TControl* c =
        controls[std::size_t(std::max(0, m_random.Weighted({30, 30, 3, 3, 3, 2})))];
    if (!c || !c->Showing())
        return Pause();
    TAction a =
        Click(TargetOf(c, c == r->Image1 ? TKind::Picture : TKind::Button), m_random.Chance(10));
    a.what = "result form: " + a.what;
    return a;
}

TAction TSoakDriver::Click(const TTarget& t, bool twice) {
    TAction a;
    Point p = PointIn(t);
    int button = m_random.Chance(5) ? 3 : 1;
    a.what = std::string(twice ? "double-click " : "click ") + (button == 3 ? "(right) " : "") +
             KindName(t.kind) + " " + t.name + At(p);
    AddMouse(a, TStep::Move, p, UserPause());
    AddMouse(a, TStep::Down, p, m_random.Between(0, 120), button);
    AddMouse(a, TStep::Up, p, m_random.Between(20, 150), button);
    if (twice) {
        AddMouse(a, TStep::Down, p, m_random.Between(20, 120), button);
        AddMouse(a, TStep::Up, p, m_random.Between(20, 120), button);
    }
    return a;
}

TAction TSoakDriver::ClickAnywhere() {
    std::vector<const TTarget*> tops;
    for (const TTarget& t : m_targets) {
        if (t.kind == TKind::Form || t.kind == TKind::Box)
            tops.push_back(&t);
    }
    if (tops.empty())
        return Pause();
    const TTarget* t = m_random.Pick(tops);
    TAction a;
    Point p = Inside(t->rect);
    a.what = "click anywhere on " + t->name + At(p);
    AddMouse(a, TStep::Move, p, UserPause());
    AddMouse(a, TStep::Down, p, m_random.Between(0, 100));
    AddMouse(a, TStep::Up, p, m_random.Between(20, 150));
    return a;
}

TAction TSoakDriver::MoveMouse() {
    TAction a;
    std::vector<int> aim;
    for (const TTarget& t : m_targets)
        aim.push_back(t.kind == TKind::Hint ? 0 : t.kind == TKind::Button ? 6 : 1);
    int i = m_random.Weighted(aim);
    if (i < 0)
        return Pause();
    const TTarget& t = m_targets[std::size_t(i)];
    Point p = PointIn(t);
    a.what = "move to " + std::string(KindName(t.kind)) + " " + t.name + At(p);
    AddMouse(a, TStep::Move, p, m_random.Between(20, 300));
    if (m_random.Chance(50)) // rest there a while: hints show, and go
        AddMouse(a, TStep::Move,
                 Point{p.x + m_random.Between(-2, 2), p.y + m_random.Between(-2, 2)},
                 m_random.Between(300, 3500));
    return a;
}

TAction TSoakDriver::TypeText(bool intoField) {
    TAction a;
    int pause = UserPause();
    HWND field = GetFocus();
    if (intoField) {
        std::vector<const TTarget*> fields;
        for (const TTarget& t : m_targets) {
            if (t.kind == TKind::Edit || t.kind == TKind::Combo)
                fields.push_back(&t);
        }
        if (fields.empty())
            return Pause();
        const TTarget* t = m_random.Pick(fields);
        field = t->window;
        Point p = Inside(t->rect);
        if (t->kind == TKind::Combo)
            p.x = std::min(p.x, t->rect.right - 20); // the field, not the button
        AddMouse(a, TStep::Move, p, pause);
        AddMouse(a, TStep::Down, p, m_random.Between(0, 80));
        AddMouse(a, TStep::Up, p, m_random.Between(20, 120));
        a.what = "into " + t->name + ": ";
        pause = m_random.Between(50, 300);
    } else {
        a.what = "type: ";
    }
    // A field already long is typed over: every key re-measures the whole text, and fields that
    // only grow would make the soak slower and slower.
    bool longText = field && GetWindowTextLength(field) > kLongField;
    switch (longText ? 0 : m_random.Weighted({60, 25, 15})) {
    case 0: // select all and type over it
        AddKeyStroke(a, 'A', hl::kCtrl, 0, pause);
        a.what += "select all, ";
        break;
    case 1: { // rub some out first
        int n = m_random.Between(1, 6);
        for (int i = 0; i < n; ++i)
            AddKeyStroke(a, m_random.Chance(70) ? VK_BACK : VK_DELETE, 0, 0, i ? 30 : pause);
        a.what += std::to_string(n) + " rubbed out, ";
        break;
    }
    default:
        break;
    }
    if (m_random.Chance(3)) {
        // A very long text, pasted: typed key by key it would cost the square of its length.
        std::string all = std::string(kDigits) + kLatin + kCyrillic + kPunctuation;
        std::u32string letters = FromUtf8(all);
        std::u32string text;
        int n = m_random.Between(300, 3000);
        for (int i = 0; i < n; ++i)
            text.push_back(letters[std::size_t(m_random.Below(int(letters.size())))]);
        SetClipboardText(ToUtf8(text));
        AddKeyStroke(a, 'V', hl::kCtrl, 0, m_random.Between(20, 200));
        a.what += "pasted " + std::to_string(n) + " characters";
        return a;
    }
    std::u32string text = RandomText();
    if (text.empty()) {
        AddKeyStroke(a, VK_DELETE, 0, 0, 40);
        a.what += "emptied";
    } else {
        std::string shown = ToUtf8(text.substr(0, 40));
        a.what +=
            "'" + shown + (text.size() > 40 ? "...' (" + std::to_string(text.size()) + ")" : "'");
    }
    for (char32_t ch : text)
        AddKeyStroke(a, KeyOf(ch), 0, ch, m_random.Between(0, 40));
    switch (m_random.Weighted({70, 20, 10})) {
    case 1:
        AddKeyStroke(a, VK_RETURN, 0, 0, m_random.Between(50, 300));
        a.what += ", Enter";
        break;
    case 2:
        AddKeyStroke(a, VK_TAB, 0, 0, m_random.Between(50, 300));
        a.what += ", Tab";
        break;
    default:
        break;
    }
    return a;
}

TAction TSoakDriver::NavigationKey() {
    struct TKey {
        const char* name;
        int vk;
        unsigned mods;
        int weight;
    };
    static const TKey keys[] = {
        {"Tab", VK_TAB, 0, 10},
        {"Shift+Tab", VK_TAB, hl::kShift, 6},
        {"Left", VK_LEFT, 0, 4},
        {"Right", VK_RIGHT, 0, 4},
        {"Up", VK_UP, 0, 5},
        {"Down", VK_DOWN, 0, 5},
        {"Home", VK_HOME, 0, 2},
        {"End", VK_END, 0, 2},
        {"PageUp", VK_PRIOR, 0, 2},
        {"PageDown", VK_NEXT, 0, 2},
        {"Space", VK_SPACE, 0, 4},
        {"F4", VK_F4, 0, 2},
        {"Alt+Down", VK_DOWN, hl::kAlt, 2},
        {"Ctrl+Tab", VK_TAB, hl::kCtrl, 1},
    };
    std::vector<int> weights;
    for (const TKey& k : keys)
        weights.push_back(k.weight);
    const TKey& k = keys[m_random.Weighted(weights)];
    TAction a;
    int repeat = m_random.Chance(20) ? m_random.Between(2, 5) : 1;
    a.what = std::string(k.name) + (repeat > 1 ? " x" + std::to_string(repeat) : "");
    for (int i = 0; i < repeat; ++i)
        AddKeyStroke(a, k.vk, k.mods, k.vk == VK_SPACE ? U' ' : 0,
                     i ? m_random.Between(30, 200) : UserPause());
    return a;
}

TAction TSoakDriver::EditingKey() {
    struct TKey {
        const char* name;
        int vk;
        unsigned mods;
    };
    static const std::vector<TKey> keys = {
        {"Backspace", VK_BACK, 0},         {"Delete", VK_DELETE, 0},
        {"Ctrl+A", 'A', hl::kCtrl},        {"Ctrl+C", 'C', hl::kCtrl},
        {"Ctrl+V", 'V', hl::kCtrl},        {"Ctrl+X", 'X', hl::kCtrl},
        {"Ctrl+Z", 'Z', hl::kCtrl},        {"Shift+Home", VK_HOME, hl::kShift},
        {"Shift+End", VK_END, hl::kShift}, {"Insert", VK_INSERT, 0},
    };
    const TKey& k = m_random.Pick(keys);
    TAction a;
    a.what = k.name;
    AddKeyStroke(a, k.vk, k.mods, 0, UserPause());
    return a;
}

TAction TSoakDriver::AltLetter() {
    // The accelerators on the screen ("&Далее" has Д), or any letter.
    // The main form's exit button ends the run: its letter comes up less often.
    std::vector<char32_t> letters;
    std::vector<int> weights;
    for (const TTarget& t : m_targets) {
        if (!t.control)
            continue;
        std::u32string caption = FromUtf8(t.control->Caption());
        for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
            if (caption[i] == U'&' && caption[i + 1] != U'&') {
                letters.push_back(Lower(caption[i + 1]));
                weights.push_back(t.kind == TKind::MainExit ? 1 : 6);
            }
        }
    }
    char32_t ch;
    if (!letters.empty() && m_random.Chance(70)) {
        ch = letters[std::size_t(m_random.Weighted(weights))];
    } else {
        std::u32string any = FromUtf8(std::string(kCyrillic) + kLatin);
        ch = Lower(any[std::size_t(m_random.Below(int(any.size())))]);
    }
    TAction a;
    a.what = "Alt+" + ToUtf8(std::u32string(1, ch));
    AddKeyStroke(a, KeyOf(ch), hl::kAlt, ch, UserPause());
    return a;
}

TAction TSoakDriver::CloseBox() {
    std::vector<const TTarget*> tops;
    std::vector<int> weights;
    for (const TTarget& t : m_targets) {
        if (t.kind != TKind::Form && t.kind != TKind::Box)
            continue;
        tops.push_back(&t);
        // The main form's close box ends the run.
        weights.push_back(t.top == MainWindow() ? 1 : t.kind == TKind::Box ? 5 : 9);
    }
    int i = m_random.Weighted(weights);
    // The main form alone: mostly leave it open.
    if (i < 0 || (tops.size() == 1 && tops[0]->top == MainWindow() && !m_random.Chance(15)))
        return Pause();
    TAction a;
    a.what = "close box of " + tops[std::size_t(i)]->name;
    TStep s = MakeStep(TStep::CloseBox, UserPause());
    s.window = tops[std::size_t(i)]->top;
    a.steps.push_back(s);
    return a;
}

TAction TSoakDriver::Wheel() {
    if (m_targets.empty())
        return Pause();
    const TTarget& t = m_random.Pick(m_targets);
    TAction a;
    Point p = PointIn(t);
    int delta = m_random.Chance(50) ? m_random.Between(1, 3) : -m_random.Between(1, 3);
    a.what = "wheel " + std::to_string(delta) + " on " + t.name + At(p);
    AddMouse(a, TStep::Move, p, UserPause());
    TStep s = MakeStep(TStep::Wheel, m_random.Between(20, 200));
    s.at = p;
    s.delta = delta;
    a.steps.push_back(s);
    return a;
}

TAction TSoakDriver::Pause() {
    TAction a;
    Point p;
    GetCursorPos(p);
    int ms = m_random.Between(500, 4000);
    a.what = "pause " + std::to_string(ms) + " ms";
    AddMouse(a, TStep::Move, p, ms);
    return a;
}

TAction TSoakDriver::SwitchAway() {
    TAction a;
    // The keyboard comes back to a window that can take it (a form behind a box cannot).
    std::vector<HWND> forms;
    for (const TTarget& t : m_targets) {
        if ((t.kind == TKind::Form || t.kind == TKind::Box) && IsWindowEnabled(t.top))
            forms.push_back(t.top);
    }
    a.what = "another program takes the keyboard, then gives it back";
    TStep out = MakeStep(TStep::AppFocus, UserPause());
    out.focusIn = false;
    a.steps.push_back(out);
    TStep in = MakeStep(TStep::AppFocus, m_random.Between(100, 3000));
    in.focusIn = true;
    in.window = forms.empty() ? MainWindow() : m_random.Pick(forms);
    a.steps.push_back(in);
    return a;
}

TAction TSoakDriver::AnswerBox(HWND box) {
    TAction a;
    std::string title = "'" + GetWindowText(box) + "'";
    // Keys go where the keyboard is, which may be another program: after a few, the mouse.
    bool keysFailed = m_boxEvents > kFreeBoxEvents + 4;
    switch (m_random.Weighted({keysFailed ? 0 : 50, keysFailed ? 0 : 20, 20, 10})) {
    case 0:
        a.what = "answer " + title + ": Enter";
        AddKeyStroke(a, VK_RETURN, 0, 0, UserPause());
        break;
    case 1:
        a.what = "answer " + title + ": Escape";
        AddKeyStroke(a, VK_ESCAPE, 0, 0, UserPause());
        break;
    case 2: {
        std::vector<const TTarget*> buttons;
        for (const TTarget& t : m_targets) {
            if (t.kind == TKind::BoxButton && t.top == box)
                buttons.push_back(&t);
        }
        if (!buttons.empty()) {
            TAction click = Click(*m_random.Pick(buttons), false);
            click.what = "answer " + title + ": " + click.what;
            return click;
        }
        [[fallthrough]];
    }
    default: {
        a.what = "answer " + title + ": close box";
        TStep s = MakeStep(TStep::CloseBox, UserPause());
        s.window = box;
        a.steps.push_back(s);
        break;
    }
    }
    return a;
}

// ---------------------------------------------------------------------------------------------
// A whole entry on the input form, one action after another: birth month, year and day, period
// month and year, "Next". Mostly sensible values, so the result form gets shown and used.

namespace {

TTarget TargetOf(frame::TControl* c, TKind kind) {
    TTarget t;
    t.kind = kind;
    t.control = c;
    frame::TPoint o = c->ClientToScreen(frame::TPoint{0, 0});
    t.rect = Rect{o.x, o.y, o.x + c->Width(), o.y + c->Height()};
    t.name = std::string(c->ClassName()) + " " + c->Name();
    return t;
}

bool Usable(frame::TControl* c) {
    return c && c->Showing() && c->Enabled();
}

} // namespace

bool TSoakDriver::PlannedAction(TAction& action) {
    while (!m_plan.empty()) {
        auto make = std::move(m_plan.front());
        m_plan.pop_front();
        TAction a;
        if (!make(a) || a.steps.empty()) {
            m_plan.clear(); // the form changed under the plan: give it up
            return false;
        }
        a.what = "entry: " + a.what;
        action = std::move(a);
        return true;
    }
    return false;
}

void TSoakDriver::PlanEntry() {
    int birthYear = m_random.Chance(90) ? m_random.Between(1900, 2025) : m_random.Between(1, 9999);
    int periodYear =
        birthYear + (m_random.Chance(90) ? m_random.Between(0, 90) : -m_random.Between(0, 5));
    auto pickMonth = [this](bool birth) {
        int index = m_random.Below(12);
        bool byMouse = m_random.Chance(60);
        m_plan.push_back([this, birth, byMouse](TAction& a) {
            controls::TComboBox* combo = birth ? app::Intro->ComboBox1 : app::Intro->ComboBox2;
            if (!app::Intro || !Usable(combo))
                return false;
            TTarget t = TargetOf(combo, TKind::Combo);
            Point p{t.rect.right - 7, (t.rect.top + t.rect.bottom) / 2};
            a = Click(t, false);
            a.steps[0].at = a.steps[1].at = a.steps[2].at = p;
            a.what = "drop the list of " + t.name;
            (void)byMouse;
            return true;
        });
        m_plan.push_back([this, index, byMouse](TAction& a) {
            for (const TTarget& t : VisibleTargets()) {
                if (t.kind != TKind::DropList)
                    continue;
                if (byMouse) {
                    int rowHeight = std::max(1, t.rect.Height() / 12);
                    Point p{(t.rect.left + t.rect.right) / 2,
                            t.rect.top + index * rowHeight + rowHeight / 2};
                    a.what = "pick item " + std::to_string(index) + At(p);
                    AddMouse(a, TStep::Move, p, UserPause());
                    AddMouse(a, TStep::Down, p, m_random.Between(0, 100));
                    AddMouse(a, TStep::Up, p, m_random.Between(20, 100));
                } else {
                    a.what = "Home, Down x" + std::to_string(index) + ", Enter";
                    AddKeyStroke(a, VK_HOME, 0, 0, UserPause());
                    for (int i = 0; i < index; ++i)
                        AddKeyStroke(a, VK_DOWN, 0, 0, m_random.Between(20, 100));
                    AddKeyStroke(a, VK_RETURN, 0, 0, m_random.Between(20, 100));
                }
                return true;
            }
            return false;
        });
    };
    auto typeYear = [this](bool birth, int year) {
        m_plan.push_back([this, birth, year](TAction& a) {
            controls::TEdit* edit = birth ? app::Intro->Edit1 : app::Intro->Edit2;
            if (!app::Intro || !Usable(edit))
                return false;
            TTarget t = TargetOf(edit, TKind::Edit);
            Point p = Inside(t.rect);
            AddMouse(a, TStep::Move, p, UserPause());
            AddMouse(a, TStep::Down, p, m_random.Between(0, 80));
            AddMouse(a, TStep::Up, p, m_random.Between(20, 100));
            AddKeyStroke(a, 'A', hl::kCtrl, 0, m_random.Between(50, 200));
            std::string text = rtl::IntToStr(year);
            for (char ch : text)
                AddKeyStroke(a, ch, 0, char32_t(ch), m_random.Between(0, 60));
            a.what = "year " + text + " into " + t.name;
            return true;
        });
    };
    if (!app::Intro)
        return;
    pickMonth(true);
    typeYear(true, birthYear);
    int day = m_random.Between(1, 28);
    m_plan.push_back([this, day](TAction& a) {
        controls::TCalendar* calendar = app::Intro ? app::Intro->Calendar : nullptr;
        if (!Usable(calendar))
            return false;
        int n = day - calendar->MonthOffset();
        frame::TRect cell = calendar->CellRect(n % 7, n / 7 + 1);
        frame::TPoint c = calendar->ClientToScreen(
            frame::TPoint{(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2});
        Point p{c.x, c.y};
        a.what = "day " + std::to_string(day) + " on the calendar" + At(p);
        AddMouse(a, TStep::Move, p, UserPause());
        AddMouse(a, TStep::Down, p, m_random.Between(0, 80));
        AddMouse(a, TStep::Up, p, m_random.Between(20, 100));
        return true;
    });
    pickMonth(false);
    typeYear(false, periodYear);
    m_plan.push_back([this](TAction& a) {
        controls::TBitBtn* next = app::Intro ? app::Intro->BitBtn1 : nullptr;
        if (!Usable(next))
            return false;
        a = Click(TargetOf(next, TKind::Button), false);
        a.what = "Next";
        return true;
    });
}

} // namespace soak
