#include "ControlTestSupport.h"

#include "frame/FormText.h"
#include "frame/StreamClasses.h"
#include "frame/TReader.h"
#include "platform/display/WindowManager.h"
#include "rtl/Exception.h"
#include "rtl/TMemoryStream.h"

namespace controltest {

using namespace platform;

// --- TCoreHost ---

const TClassInfo* TCoreHost::StaticClass() {
    static const auto info = TClassBuilder<TCoreHost>("TCoreHost", TCustomControl::StaticClass())
                                 .Property("Caption", &TControl::Caption, &TControl::SetCaption)
                                 .Method<&TCoreHost::Clicked>("Clicked")
                                 .Method<&TCoreHost::Entered>("Entered")
                                 .Method<&TCoreHost::Exited>("Exited")
                                 .Method<&TCoreHost::KeyDowned>("KeyDowned")
                                 .Build();
    return info.get();
}

TCoreHost::TCoreHost(TComponent* owner) : TCustomControl(owner) {
    SetControlStyle(ControlStyle() + csTopLevelWindow + csAcceptsControls);
    SetVisible(false);
    SetBounds(100, 100, 300, 200);
    SetColor(clBtnFace);
}

// --- TCoreButton: a wrapped BUTTON ---

const TClassInfo* TCoreButton::StaticClass() {
    static const auto info =
        TClassBuilder<TCoreButton>("TCoreButton", TWinControl::StaticClass())
            .Property("Caption", &TControl::Caption, &TControl::SetCaption)
            .Property("Default", &TCoreButton::Default, &TCoreButton::SetDefault, frame::Default(0))
            .Property("Cancel", &TCoreButton::Cancel, &TCoreButton::SetCancel, frame::Default(0))
            .Property("OwnerDraw", &TCoreButton::OwnerDraw, &TCoreButton::SetOwnerDraw,
                      frame::Default(0))
            .Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop, frame::Default(1))
            .Build();
    return info.get();
}

TCoreButton::TCoreButton(TComponent* owner) : TWinControl(owner) {
    // The standard window captures the mouse and reports its clicks itself.
    SetControlStyle(TControlStyle{csDoubleClicks});
    SetBounds(0, 0, 75, 25);
    SetTabStop(true);
}

void TCoreButton::SetDefault(bool v) {
    if (m_default == v)
        return;
    m_default = v;
    if (TWinControl* root = RootParent())
        root->FocusChangedBroadcast();
}

void TCoreButton::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, WC_BUTTON);
    params.style |= m_ownerDraw ? DWORD(BS_OWNERDRAW) : DWORD(BS_PUSHBUTTON);
}

void TCoreButton::CNCommand(TWMCommand& m) {
    if (m.notifyCode == BN_CLICKED)
        Click();
}

void TCoreButton::CNDrawItem(TWMDrawItem& m) {
    ++drawItems;
    m.item->hDC->FillRect(m.item->rcItem, gdi::BrushSpec{gdi::BrushStyle::Solid, 0x00FF00});
    m.message.result = 1;
}

void TCoreButton::CMDialogKey(TCMDialogKey& m) {
    if (((m.key == VK_RETURN && active) || (m.key == VK_ESCAPE && m_cancel)) && m.shift.Empty() &&
        CanFocus()) {
        Click();
        m.message.result = 1;
        return;
    }
    TWinControl::CMDialogKey(m);
}

void TCoreButton::CMDialogChar(TCMDialogChar& m) {
    if (IsAccel(m.ch, Caption()) && CanFocus()) {
        Click();
        m.message.result = 1;
        return;
    }
    TWinControl::CMDialogChar(m);
}

void TCoreButton::CMFocusChanged(TCMFocusChanged& m) {
    active = As<TCoreButton>(m.focused) ? m.focused == this : m_default;
    TWinControl::CMFocusChanged(m);
}

// --- TCoreEdit: a wrapped EDIT ---

const TClassInfo* TCoreEdit::StaticClass() {
    static const auto info =
        TClassBuilder<TCoreEdit>("TCoreEdit", TWinControl::StaticClass())
            .Property("Text", &TControl::Text, &TControl::SetText)
            .Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop, frame::Default(1))
            .Build();
    return info.get();
}

TCoreEdit::TCoreEdit(TComponent* owner) : TWinControl(owner) {
    SetControlStyle(TControlStyle{csDoubleClicks});
    SetBounds(0, 0, 121, 21);
    SetTabStop(true);
}

void TCoreEdit::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, WC_EDIT);
    params.exStyle |= WS_EX_CLIENTEDGE;
}

void TCoreEdit::CNCommand(TWMCommand& m) {
    if (m.notifyCode == EN_CHANGE)
        ++changes;
}

// --- TCoreShape: windowless ---

const TClassInfo* TCoreShape::StaticClass() {
    static const auto info =
        TClassBuilder<TCoreShape>("TCoreShape", TGraphicControl::StaticClass()).Build();
    return info.get();
}

TCoreShape::TCoreShape(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 40, 30);
}

void TCoreShape::Paint() {
    ++paints;
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(TRect{0, 0, Width(), Height()});
    // Drawing past the bounds must be clipped away.
    Canvas()->FillRect(TRect{-50, -50, 0, 500});
}

void TCoreShape::MouseDown(TMouseButton, TShiftState s, int x, int y) {
    mouse.push_back("down " + std::to_string(x) + "," + std::to_string(y) +
                    (s.Contains(ssDouble) ? " double" : ""));
}

void TCoreShape::MouseUp(TMouseButton, TShiftState, int x, int y) {
    mouse.push_back("up " + std::to_string(x) + "," + std::to_string(y));
}

void TCoreShape::CMMouseEnter(TCMMouse& m) {
    if (m.control == this)
        mouse.push_back("enter");
    TGraphicControl::CMMouseEnter(m);
}

void TCoreShape::CMMouseLeave(TCMMouse& m) {
    if (m.control == this)
        mouse.push_back("leave");
    TGraphicControl::CMMouseLeave(m);
}

// --- TCorePanel: self-painting container ---

const TClassInfo* TCorePanel::StaticClass() {
    static const auto info = TClassBuilder<TCorePanel>("TCorePanel", TCustomControl::StaticClass())
                                 .Property("Caption", &TControl::Caption, &TControl::SetCaption)
                                 .Build();
    return info.get();
}

TCorePanel::TCorePanel(TComponent* owner) : TCustomControl(owner) {
    SetControlStyle(ControlStyle() + csAcceptsControls + csOpaque);
    SetBounds(0, 0, 185, 41);
}

void TCorePanel::Paint() {
    ++paints;
    Canvas()->FillRect(ClientRect());
}

// --- Helpers ---

void RegisterCoreClasses() {
    RegisterStreamClasses({TCoreHost::StaticClass(), TCoreButton::StaticClass(),
                           TCoreEdit::StaticClass(), TCoreShape::StaticClass(),
                           TCorePanel::StaticClass()});
}

void ReadForm(TComponent* root, const std::string& text) {
    std::string bytes = ObjectTextToBinary(text);
    rtl::TBytesStream stream(bytes);
    TReader reader(stream);
    reader.ReadRootComponent(root);
}

void Pump() {
    ProcessPendingMessages();
    WindowManager::Instance().PresentAll();
}

void PressKey(int vk, unsigned modifiers, char32_t ch) {
    namespace hl = headless;
    if (modifiers & hl::kShift)
        hl::KeyDown(VK_SHIFT);
    if (modifiers & hl::kCtrl)
        hl::KeyDown(VK_CONTROL);
    if (modifiers & hl::kAlt)
        hl::KeyDown(VK_MENU);
    Pump();
    hl::KeyDown(vk, ch ? std::u32string(1, ch) : std::u32string());
    Pump();
    hl::KeyUp(vk);
    if (modifiers & hl::kAlt)
        hl::KeyUp(VK_MENU);
    if (modifiers & hl::kCtrl)
        hl::KeyUp(VK_CONTROL);
    if (modifiers & hl::kShift)
        hl::KeyUp(VK_SHIFT);
    Pump();
}

void ClickAt(HWND hwnd, TPoint client, bool doubleClick) {
    TPoint p = headless::ToScreen(hwnd, client);
    for (int i = 0; i < (doubleClick ? 2 : 1); ++i) {
        headless::MouseMove(p);
        headless::MouseDown(p);
        Pump();
        headless::MouseUp(p);
        Pump();
    }
}

void ControlTest::SetUp() {
    headless::Start();
    RegisterCoreClasses();
    SetExceptionHandler([this](TObject*) {
        try {
            throw;
        } catch (const rtl::Exception& e) {
            reported.push_back(std::string(e.ClassName()) + ": " + e.Message());
        }
    });
}

void ControlTest::TearDown() {
    SetExceptionHandler(nullptr);
    ControlHooks() = TControlHooks{};
    headless::Stop();
}

} // namespace controltest
