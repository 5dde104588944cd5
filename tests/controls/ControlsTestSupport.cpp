#include "ControlsTestSupport.h"

#include "frame/StreamClasses.h"

namespace controlstest {

using namespace platform;
namespace hl = headless;

const TClassInfo* TTestHost::StaticClass() {
    static const auto info = TClassBuilder<TTestHost>("TTestHost", TCustomControl::StaticClass())
                                 .Property("Caption", &TControl::Caption, &TControl::SetCaption)
                                 .Method<&TTestHost::Changed>("Changed")
                                 .Method<&TTestHost::Clicked>("Clicked")
                                 .Method<&TTestHost::DroppedDown>("DroppedDown")
                                 .Method<&TTestHost::Changing>("Changing")
                                 .Method<&TTestHost::Stepped>("Stepped")
                                 .Build();
    return info.get();
}

TTestHost::TTestHost(TComponent* owner) : TCustomControl(owner) {
    SetControlStyle(ControlStyle() + csTopLevelWindow + csAcceptsControls);
    SetVisible(false);
    SetBounds(100, 100, 400, 300);
    SetColor(clBtnFace);
}

void TTestHost::Log(const std::string& what, TObject* sender) {
    auto* control = As<TControl>(sender);
    std::string entry = what + " " + (control ? control->Name() + " " + control->Text() : "?");
    // Handlers of a form still being read must not be called: say so when they are.
    if (HasState(csLoading))
        entry += " (loading)";
    log.push_back(entry);
}

void PressKey(int vk, unsigned modifiers, char32_t ch) {
    const int mods[][2] = {{hl::kShift, VK_SHIFT}, {hl::kCtrl, VK_CONTROL}, {hl::kAlt, VK_MENU}};
    for (auto& m : mods) {
        if (modifiers & unsigned(m[0]))
            hl::KeyDown(m[1]);
    }
    Pump();
    hl::KeyDown(vk, ch ? std::u32string(1, ch) : std::u32string());
    Pump();
    hl::KeyUp(vk);
    for (auto& m : mods) {
        if (modifiers & unsigned(m[0]))
            hl::KeyUp(m[1]);
    }
    Pump();
}

void ClickAt(HWND hwnd, TPoint client) {
    TPoint p = hl::ToScreen(hwnd, client);
    hl::MouseMove(p);
    hl::MouseDown(p);
    Pump();
    hl::MouseUp(p);
    Pump();
}

void TypeText(const std::string& utf8) {
    hl::Type(utf8);
    Pump();
}

void ControlsTest::SetUp() {
    ctlhost::HostTest::SetUp();
    RegisterStreamClass(TTestHost::StaticClass());
}

} // namespace controlstest
