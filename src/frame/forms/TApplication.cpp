#include "frame/forms/TApplication.h"

#include <unistd.h>

#include <cstdio>

#include "frame/ClassBuilder.h"
#include "frame/Fixups.h"
#include "frame/controls/ControlBridge.h"
#include "frame/forms/TCustomForm.h"
#include "frame/forms/TFormAccessible.h"
#include "frame/forms/THintWindow.h"
#include "frame/forms/TScreen.h"
#include "platform/a11y/Accessibility.h"
#include "platform/display/WindowApi.h"
#include "platform/help/Help.h"
#include "platform/resources/Resources.h"
#include "platform/spool/MessagePump.h"
#include "rtl/Exception.h"
#include "rtl/ScopeExit.h"
#include "rtl/TMemoryStream.h"
#include "rtl/Utf8.h"

namespace frame {

using namespace platform;

TApplication* Application = nullptr;
TScreen* Screen = nullptr;

namespace {

constexpr const char* kAppClass = "TApplication";
constexpr std::size_t kMaxTitleBytes = 255;   // the title as the application reads it back
constexpr DWORD kAppWindowStyle = 0x84CA0000; // pop-up, clip siblings, caption, system menu, min
std::unique_ptr<TMouse> g_mouse;

std::function<void()>& InitializeHook() {
    static std::function<void()> hook;
    return hook;
}

LRESULT AppWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!Application || Application->Handle() != hwnd)
        return DefWindowProc(hwnd, msg, wParam, lParam);
    TMessage m{msg, wParam, lParam, 0};
    try {
        Application->WndProc(m);
    } catch (...) {
        HandleException(Application);
    }
    return m.result;
}

// The program's name: the executable's file name up to its first full stop, capitalised on its
// first letter only.
std::string DefaultTitle() {
    char path[256] = {};
    ssize_t n = readlink("/proc/self/exe", path, sizeof(path) - 1);
    std::string name = n > 0 ? std::string(path, size_t(n)) : std::string("zorvane");
    name = name.substr(name.find_last_of('/') + 1);
    name = name.substr(0, name.find('.'));
    for (size_t i = 0; i < name.size(); ++i) {
        char& c = name[i];
        if (i == 0 && c >= 'a' && c <= 'z')
            c = char(c - 32);
        else if (i > 0 && c >= 'A' && c <= 'Z')
            c = char(c + 32);
    }
    return name;
}

} // namespace

const TClassInfo* TApplication::StaticClass() {
    static const auto info =
        TClassBuilder<TApplication>("TApplication", TComponent::StaticClass()).Build();
    return info.get();
}

TApplication::TApplication(TComponent* owner)
    : TComponent(owner), m_icon(std::make_unique<TIcon>()),
      m_accessible(std::make_unique<TApplicationAccessible>(*this)) {
    MessageBoxFunction = [](HWND owner, const std::string& text, const std::string& caption,
                            unsigned flags) { return MessageBox(owner, text, caption, flags); };
    HelpFunction = [](HWND owner, const std::string& file, unsigned command, std::uintptr_t data,
                      std::string* error) {
        return help::WinHelp(owner, file, command, data, error);
    };
    // A viewer that fails after it started is told to the user like any other error.
    help::SetViewerFailureHandler([](const std::string& message) {
        try {
            if (Application)
                Application->AppMessageBox(message, Application->AppTitle(), MB_OK | MB_ICONSTOP);
        } catch (...) {
            HandleException(Application);
        }
    });
    if (auto bytes = FindResource(RT_GROUP_ICON, "MAINICON")) {
        try {
            rtl::TBytesStream stream(*bytes);
            m_icon->LoadFromStream(stream);
        } catch (const rtl::Exception&) {
            // A broken icon leaves the window without one.
        }
    }
    // A document handed over to the print service keeps the windows alive (repaints, the
    // progress window's "Cancel") by running the messages that wait meanwhile.
    spool::SetMessagePump([this] {
        try {
            PumpPending();
        } catch (...) {
            HandleException(this);
        }
    });
    m_title = DefaultTitle();
    CreateHandle();
}

void TApplication::CreateHandle() {
    if (!ClassRegistered(kAppClass)) {
        WNDCLASS cls;
        cls.lpfnWndProc = &AppWindowProc;
        cls.className = kAppClass;
        if (!RegisterClass(cls))
            throw rtl::EOutOfResources(std::string("Error creating window class"));
    }
    m_handle =
        CreateWindowEx(0, kAppClass, m_title, kAppWindowStyle, GetSystemMetrics(SM_CXSCREEN) / 2,
                       GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr);
    if (!m_handle)
        throw rtl::EOutOfResources(std::string("Error creating window class"));
    m_title.clear();
    m_handleCreated = true;
    if (!m_icon->Empty()) {
        try {
            const auto& image = m_icon->Handle();
            SetWindowIcon(m_handle, image.Width(), image.Height(), image.Row(0));
            // Every window without an icon of its own (a form without one, a message box)
            // shows the application's.
            SetDefaultWindowIcon(image.Width(), image.Height(), image.Row(0));
        } catch (const rtl::Exception&) {
        }
    }
}

TApplication::~TApplication() {
    // Off the bus before the forms go: nothing asks for them afterwards.
    if (m_accessibilityEnabled)
        platform::a11y::DisableAccessibility();
    if (m_handle && !m_helpFile.empty())
        HelpFunction(m_handle, m_helpFile, help::HELP_QUIT, 0, nullptr);
    help::SetViewerFailureHandler(nullptr);
    spool::SetMessagePump(nullptr);
    m_active = false;
    CancelHint();
    SetHintsEnabled(false);
    SetStateFlag(csDestroying, true);
    // Forms first, each with its own destruction steps.
    while (ComponentCount() > 0) {
        TComponent* last = Components(ComponentCount() - 1);
        RemoveComponent(last);
        last->BeforeDestruction();
        delete last;
    }
    if (m_handle) {
        DestroyWindow(m_handle);
        m_handle = nullptr;
    }
}

void TApplication::InitializeFrame() {
    if (InitializeHook())
        InitializeHook()();
}

void TApplication::SetInitializeHook(std::function<void()> hook) {
    InitializeHook() = std::move(hook);
}

std::string TApplication::AppTitle() const {
    if (m_handleCreated && IsWindow(m_handle))
        return std::string(rtl::Utf8Prefix(GetWindowText(m_handle), kMaxTitleBytes));
    return m_title;
}

void TApplication::SetAppTitle(const std::string& title) {
    if (m_handleCreated && IsWindow(m_handle))
        SetWindowText(m_handle, title);
    else
        m_title = title;
}

// ---------------------------------------------------------------------------------------------
// Forms

void TApplication::FinishForm(TCustomForm* form, const std::function<void()>& clear,
                              rtl::TStream* stream) {
    // A form that fails to come to life goes, and its reference with it.
    rtl::ScopeExit discard([&] {
        clear();
        form->BeforeDestruction();
        delete form;
    });
    form->InitializeForm(stream);
    discard.Release();
    if (!m_mainForm) {
        if (auto* f = As<TForm>(form)) {
            f->HandleNeeded();
            m_mainForm = f;
        }
    }
}

void TApplication::MakeForm(const TClassInfo* cls, TCustomForm*& ref, rtl::TStream* stream) {
    if (!cls || !cls->create || !cls->InheritsFrom(TCustomForm::StaticClass()))
        throw rtl::EInvalidOperation("%s is not a form class", cls ? cls->name : std::string());
    ref = static_cast<TCustomForm*>(cls->create(this));
    FinishForm(
        ref, [&ref] { ref = nullptr; }, stream);
}

void TApplication::ControlDestroying(TControl* control) {
    if (control == m_mouseControl)
        m_mouseControl = nullptr;
    if (control == m_hintControl)
        CancelHint();
    if (control == m_mainForm)
        m_mainForm = nullptr;
    if (control == m_hintWindow)
        m_hintWindow = nullptr;
}

// ---------------------------------------------------------------------------------------------
// The loop

void TApplication::RunLoop() {
    m_running = true;
    rtl::ScopeExit stopped([this] { m_running = false; });
    if (!m_mainForm)
        return;
    if (m_showMainForm) {
        if (m_mainForm->WindowState() == wsMinimized)
            Minimize();
        else
            m_mainForm->SetVisible(true);
    }
    while (!m_terminated)
        PumpOne();
}

void TApplication::PumpOne() {
    try {
        if (!DispatchOne(m_message))
            IdleStep(m_message);
    } catch (...) {
        ReportException(this);
    }
}

void TApplication::PumpPending() {
    MSG msg;
    while (DispatchOne(msg)) {
    }
}

bool TApplication::DispatchOne(MSG& msg) {
    if (!PeekMessage(msg, nullptr, 0, 0, PM_REMOVE))
        return false;
    if (msg.message == WM_QUIT) {
        m_terminated = true;
        return true;
    }
    bool handled = false;
    if (OnMessage)
        OnMessage(msg, handled);
    // Each step only when the one before did not take the message.
    if (!HintCheck(msg) && !handled && !PreviewKeyMessage(msg)) {
        TranslateMessage(msg);
        DispatchMessage(msg);
    }
    ReleaseCachedDeviceContexts();
    return true;
}

bool TApplication::IsIdleTrigger(const MSG& msg) {
    if (msg.message == WM_SYSTIMER)
        return false;
    if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE) {
        if (msg.message == m_lastIdleMessage.message && msg.pt == m_lastIdleMessage.pt)
            return false;
        m_lastIdleMessage = msg;
    }
    return true;
}

void TApplication::IdleStep(const MSG& msg) {
    bool done = true;
    try {
        UpdateMouseControl();
        if (OnIdle)
            OnIdle(this, done);
        if (done && IsIdleTrigger(msg) && Screen) {
            for (int i = 0; i < Screen->CustomFormCount(); ++i) {
                TCustomForm* f = Screen->CustomForms(i);
                if (f->HandleAllocated() && IsWindowVisible(f->Handle()) &&
                    IsWindowEnabled(f->Handle()))
                    f->UpdateActions();
            }
        }
    } catch (const rtl::Exception&) {
        ReportException(this);
    }
    if (done)
        WaitMessage();
}

void TApplication::UpdateMouseControl() {
    TPoint p;
    GetCursorPos(p);
    TControl* control = FindControlAtPos(p, true);
    TControl* capture = CaptureControl();
    if (control != m_mouseControl) {
        TControl* old = m_mouseControl;
        if (old && (!capture || capture == old))
            old->Perform(CM_MOUSELEAVE);
        m_mouseControl = control;
        if (control && m_mouseControl == control && (!capture || capture == control))
            control->Perform(CM_MOUSEENTER);
    }
    if (m_hintsEnabled && !m_mouseControl)
        CancelHint();
    UpdateCurrentHint(m_mouseControl);
}

void TApplication::UpdateCurrentHint(TControl* control) {
    std::string hint;
    for (TControl* c = control; c; c = c->Parent()) {
        if (!c->Hint().empty()) {
            hint = GetLongHint(c->Hint());
            break;
        }
    }
    if (hint == m_hint)
        return;
    m_hint = hint;
    if (OnHint)
        OnHint(this);
}

void TApplication::RequestTerminate() {
    for (auto& hook : m_terminateHooks) {
        if (!hook())
            return;
    }
    PostQuitMessage(0);
}

void TApplication::Minimize() {
    if (m_minimized)
        return;
    m_minimized = true;
    if (Screen) {
        for (int i = 0; i < Screen->FormCount(); ++i) {
            TForm* f = Screen->Forms(i);
            if (f->HandleAllocated() && IsWindowVisible(f->Handle()))
                ShowWindow(f->Handle(), SW_MINIMIZE);
        }
    }
    if (OnMinimize)
        OnMinimize(this);
}

void TApplication::Restore() {
    if (!m_minimized)
        return;
    m_minimized = false;
    if (m_mainForm && m_mainForm->WindowState() == wsMinimized && !m_mainForm->Visible()) {
        m_mainForm->SetWindowState(wsNormal);
        m_mainForm->SetVisible(true);
    }
    if (Screen) {
        for (int i = 0; i < Screen->FormCount(); ++i) {
            TForm* f = Screen->Forms(i);
            if (f->HandleAllocated() && IsIconic(f->Handle()))
                ShowWindow(f->Handle(), SW_RESTORE);
        }
        if (Screen->ActiveControl() && Screen->ActiveControl()->CanFocus())
            Screen->ActiveControl()->SetFocus();
    }
    if (OnRestore)
        OnRestore(this);
}

void TApplication::UpdateVisible() {
    // The application window is never mapped: each form keeps its own task-bar entry.
}

void TApplication::FocusTopForm() {
    for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT)) {
        if (h != m_handle && IsWindowVisible(h) && IsWindowEnabled(h) && FindControl(h)) {
            SetFocus(h);
            return;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// The application window

void TApplication::WndProc(TMessage& m) {
    switch (m.msg) {
    case WM_CLOSE:
        if (m_mainForm)
            m_mainForm->CloseForm();
        return;
    case WM_SYSCOMMAND:
        switch (m.wParam & 0xFFF0) {
        case SC_MINIMIZE:
            Minimize();
            return;
        case SC_RESTORE:
            Restore();
            return;
        default:
            break;
        }
        break;
    case WM_ACTIVATEAPP:
        m_active = m.wParam != 0;
        PostMessage(m_handle, m_active ? CM_ACTIVATE : CM_DEACTIVATE);
        return;
    case CM_ACTIVATE:
        if (OnActivate)
            OnActivate(this);
        return;
    case CM_DEACTIVATE:
        if (OnDeactivate)
            OnDeactivate(this);
        return;
    case WM_SETFOCUS:
        PostMessage(m_handle, CM_APPFOCUS);
        return;
    case CM_APPFOCUS:
        if (!IsIconic(m_handle) && GetFocus() == m_handle)
            FocusTopForm();
        return;
    case CM_ACCESSIBLEWORK:
        RunAccessibleWork();
        return;
    case CM_INVOKEHELP:
        m.result = CallHelp(uint16_t(m.wParam), intptr_t(m.lParam)) ? 1 : 0;
        return;
    default:
        break;
    }
    m.result = DefWindowProc(m_handle, m.msg, m.wParam, m.lParam);
}

void TApplication::EnableAccessibility() {
    if (m_accessibilityEnabled)
        return;
    m_accessibilityEnabled = true;
    platform::a11y::EnableAccessibility(*m_accessible);
}

// ---------------------------------------------------------------------------------------------
// Frame start and end

void StartFrame() {
    if (Application)
        return;
    g_mouse = std::make_unique<TMouse>();
    Screen = new TScreen(nullptr);
    Application = new TApplication(nullptr);
    ControlHooks().mouseMoved = [](TControl* control, TPoint client) {
        if (Application)
            Application->HintMouseMessage(control, client);
    };
    ControlHooks().destroying = [](TControl* control) {
        if (Application)
            Application->ControlDestroying(control);
        if (Screen)
            Screen->ControlDestroying(control);
    };
    SetExceptionHandler([](TObject* sender) {
        if (Application)
            Application->ReportException(sender);
    });
    SetFindGlobalRoot([](std::string_view name) -> TComponent* {
        return Screen ? Screen->FindFormNamed(name) : nullptr;
    });
    Application->SetHintsEnabled(true);
}

void EndFrame() {
    if (!Application)
        return;
    Application->CancelHint();
    Application->SetHintsEnabled(false);
    delete Application;
    Application = nullptr;
    ControlHooks() = TControlHooks{};
    SetExceptionHandler(nullptr);
    SetFindGlobalRoot(nullptr);
    delete Screen;
    Screen = nullptr;
    g_mouse.reset();
}

int RunFrameProgram(const std::function<void()>& body) {
    try {
        TFrameScope frame;
        body();
        return 0;
    } catch (const rtl::Exception& e) {
        std::fprintf(stderr, "%s: %s\n", e.ClassName(), e.Message().c_str());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "Exception: %s\n", e.what());
    }
    return 1;
}

} // namespace frame
