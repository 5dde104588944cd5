// zorvane-a11y-probe: a made-up form on the accessibility bus through the host layer's module
// (platform/a11y), served from the same wait the display backend uses (WaitForDescriptor).
// tests/a11y/a11y_bus_e2e.sh reads it with pyatspi. Prints "bridge STATE" at each change of the
// bridge's state; ends when "Выход" is clicked or on SIGTERM, with status 0.
// With --timing (bench/a11y_startup.sh) it also prints "at-ms STATE MS", the milliseconds since
// it started, and "first-wait-us US", what its first wait cost (taken without waiting).
#include "FakeNode.h"

#include "platform/a11y/Accessibility.h"
#include "platform/display/LoopSources.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>

using namespace a11ytest;

namespace {

volatile std::sig_atomic_t g_quit = 0;

void Quit(int) {
    g_quit = 1;
}

constexpr StateSet kShown{State::Enabled, State::Sensitive, State::Visible, State::Showing};
constexpr StateSet kField{State::Enabled, State::Sensitive, State::Focusable, State::Visible,
                          State::Showing, State::Editable,  State::SingleLine};

struct ProbeForm {
    FakeNode application{Role::Application, "Zorvane", {}};
    FakeNode* frame = nullptr;
    FakeText* edit = nullptr;
    FakeButton* next = nullptr;
    FakeNode* dialog = nullptr;

    ProbeForm();
    void NextClick();
    void CloseDialog();
};

ProbeForm::ProbeForm() {
    StateSet frameStates = kShown;
    frameStates.Add(State::Active).Add(State::Focusable);
    frame = &application.Add(std::make_unique<FakeNode>(Role::Frame, "Ввод данных", frameStates,
                                                        Extents{100, 100, 500, 400}));
    auto& label = frame->Add(std::make_unique<FakeText>(
        Role::Label, "Дата рождения:", "Дата рождения:", kShown, Extents{110, 110, 90, 14}));
    edit = &frame->Add(std::make_unique<FakeText>(Role::Text, "Дата рождения:", "15.03.1980",
                                                  kField, Extents{210, 108, 80, 21}));
    edit->m_caret = 2;
    label.m_relations = {{RelationKind::LabelFor, edit}};
    edit->m_relations = {{RelationKind::LabelledBy, &label}};
    frame->Add(std::make_unique<FakeCombo>(
        std::vector<std::string>{"Январь", "Февраль", "Март", "Апрель", "Май", "Июнь", "Июль",
                                 "Август", "Сентябрь", "Октябрь", "Ноябрь", "Декабрь"},
        2, Extents{110, 140, 100, 21}));
    frame->Add(std::make_unique<FakeSpin>("Год", 1980, Extents{220, 140, 60, 21}));
    // March 1980 began on a Saturday: the sixth column of a week from Monday.
    frame->Add(std::make_unique<FakeCalendar>(
        "Календарь", std::vector<std::string>{"Пн", "Вт", "Ср", "Чт", "Пт", "Сб", "Вс"}, 5, 31, 15,
        Extents{110, 170, 210, 140}));
    auto& chart = frame->Add(
        std::make_unique<FakeNode>(Role::Image, "Физический", kShown, Extents{330, 110, 260, 120}));
    chart.m_description = "Физический цикл, март 1980: высшая точка 2 марта, низшая 14 марта, "
                          "ноль 8 и 20 марта.";
    frame->Add(std::make_unique<FakeText>(Role::Label, "Неблагоприятные дни", "8, 20, 26", kShown,
                                          Extents{330, 240, 260, 14}));
    next = &frame->Add(std::make_unique<FakeButton>(
        "Далее", "<Alt>Cyrillic_de", [this] { NextClick(); }, Extents{330, 460, 75, 25}));
    next->m_states.Add(State::Default);
    frame->Add(std::make_unique<FakeButton>(
        "Выход", "<Alt>Cyrillic_ve", [] { g_quit = 1; }, Extents{420, 460, 75, 25}));
    MoveFocus(edit);
}

// As the program answers a period before the birth date: the result form's caption, the edited
// field and an error box, modal, with the keyboard on its button.
void ProbeForm::NextClick() {
    frame->m_name = "Результат: март 1980";
    NotifyNameChanged(*frame);
    edit->SetText("15.03.1981");
    StateSet boxStates = kShown;
    boxStates.Add(State::Modal).Add(State::Active);
    dialog = &application.Add(std::make_unique<FakeNode>(Role::Dialog, "Zorvane", boxStates,
                                                         Extents{250, 250, 300, 120}));
    dialog->Add(std::make_unique<FakeText>(Role::Label, "Дата рождения не раньше периода.",
                                           "Дата рождения не раньше периода.", kShown,
                                           Extents{260, 270, 280, 14}));
    auto& ok = dialog->Add(std::make_unique<FakeButton>(
        "OK", "Return", [this] { CloseDialog(); }, Extents{360, 330, 75, 25}));
    NotifyChildAdded(application, 1, *dialog);
    frame->m_states.Set(State::Active, false);
    NotifyWindowActivated(*frame, false);
    NotifyWindowActivated(*dialog, true);
    MoveFocus(&ok);
}

void ProbeForm::CloseDialog() {
    NotifyChildRemoved(application, 1, *dialog);
    application.Remove(*dialog).reset();
    dialog = nullptr;
    frame->m_states.Add(State::Active);
    NotifyWindowActivated(*frame, true);
    MoveFocus(next);
}

} // namespace

double MsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

int main(int argc, char** argv) {
    const auto start = std::chrono::steady_clock::now();
    const bool timing = argc > 1 && std::strcmp(argv[1], "--timing") == 0;
    struct sigaction action {};
    action.sa_handler = Quit;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);

    ProbeForm form;
    SetBridgeStateHandler([&](BridgeState state) {
        std::printf("bridge %s\n", BridgeStateName(state));
        if (timing)
            std::printf("at-ms %s %.2f\n", BridgeStateName(state), MsSince(start));
    });
    EnableAccessibility(form.application);
    std::printf("ready\n");
    if (timing) {
        auto before = std::chrono::steady_clock::now();
        platform::WaitForDescriptor(-1, 0);
        std::printf("first-wait-us %.0f\n", MsSince(before) * 1000);
    }
    while (!g_quit) {
        platform::WaitForDescriptor(-1, -1);
        RunPosted();
    }
    DisableAccessibility();
    return 0;
}
