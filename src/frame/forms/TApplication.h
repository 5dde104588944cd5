#pragma once
// The application object: the hidden application window, the main form, the message loop with
// its exact per-message order and its idle step, hints, help, termination and the error box that
// every exception reaching the frame ends in.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "frame/TComponent.h"
#include "frame/controls/ControlMessages.h"
#include "frame/graphics/TIcon.h"
#include "platform/display/WindowTypes.h"

namespace rtl {
class Exception;
class TStream;
} // namespace rtl

namespace frame {

class TCustomForm;
class TForm;
class TControl;
class TScreen;
class THintWindow;
class TApplicationAccessible;

class TApplication : public TComponent {
public:
    ZORVANE_CLASS(TApplication)

    explicit TApplication(TComponent* owner);
    ~TApplication() override;

    // Runs the frame's initialisation hook, if one is registered.
    void InitializeFrame();
    static void SetInitializeHook(std::function<void()> hook);

    std::string AppTitle() const;
    void SetAppTitle(const std::string& title);
    const std::string& AppHelpFile() const { return m_helpFile; }
    void SetAppHelpFile(const std::string& file) { m_helpFile = file; }
    platform::HWND Handle() const { return m_handle; }
    TIcon* Icon() const { return m_icon.get(); }

    // Makes a form owned by the application; the first TForm becomes the main form. `ref` is set
    // before the form reads its resources and runs OnCreate, and cleared if that fails.
    template <typename T> void MakeForm(T*& ref) {
        ref = new T(this);
        FinishForm(
            ref, [&ref] { ref = nullptr; }, nullptr);
    }
    // The same for a class known by its record, optionally read from `stream`.
    void MakeForm(const TClassInfo* cls, TCustomForm*& ref, rtl::TStream* stream = nullptr);
    TForm* PrimaryForm() const { return m_mainForm; }
    bool ShowPrimaryForm() const { return m_showMainForm; }
    void SetShowPrimaryForm(bool value) { m_showMainForm = value; }

    // --- The loop ---
    void RunLoop();
    // One step: dispatch one message, or run the idle step when none waits.
    void PumpOne();
    // Dispatches until the queue is empty; never idles or waits.
    void PumpPending();
    // Takes one message and handles it in the loop's order; false when none waited.
    bool DispatchOne(platform::MSG& msg);
    void IdleStep(const platform::MSG& msg);
    bool StopRequested() const { return m_terminated; }
    bool Running() const { return m_running; }
    void RequestTerminate();
    // Callbacks asked before the program ends; any false keeps it running.
    void AddTerminateHook(std::function<bool()> hook) {
        m_terminateHooks.push_back(std::move(hook));
    }
    bool Active() const { return m_active; }
    void Minimize();
    void Restore();
    // Keeps the application window's state in step with the forms (it is never mapped).
    void UpdateVisible();

    // --- Help ---
    bool ShowHelpContext(int32_t context);
    bool SendHelpCommand(uint16_t command, intptr_t data);
    bool CallHelp(uint16_t command, intptr_t data);

    // The help viewer call (tests replace it): owner, help file, command, datum, error text.
    std::function<bool(platform::HWND owner, const std::string& file, unsigned command,
                       std::uintptr_t data, std::string* error)>
        HelpFunction;

    // --- Errors ---
    // Reports the exception being handled (call in a catch block).
    void ReportException(TObject* sender);
    void ShowErrorBox(const rtl::Exception& e);
    int AppMessageBox(const std::string& text, const std::string& caption, unsigned flags);
    // The visible form a dialog belongs to: `active` when it is a visible form, else the main
    // form when visible, else the application's own window.
    platform::HWND DialogOwner(platform::HWND active) const;
    // The message box itself (tests replace it).
    std::function<int(platform::HWND owner, const std::string& text, const std::string& caption,
                      unsigned flags)>
        MessageBoxFunction;

    // --- Hints ---
    bool HintsEnabled() const { return m_hintsEnabled; }
    void SetHintsEnabled(bool value);
    TColor HintBackColor() const { return m_hintColor; }
    void SetHintBackColor(TColor value);
    int HintDelay() const { return m_hintPause; }
    void SetHintDelay(int ms) { m_hintPause = ms; }
    int HintShortDelay() const { return m_hintShortPause; }
    void SetHintShortDelay(int ms) { m_hintShortPause = ms; }
    int HintHideDelay() const { return m_hintHidePause; }
    void SetHintHideDelay(int ms) { m_hintHidePause = ms; }
    const std::string& CurrentHint() const { return m_hint; }
    TControl* HintControl() const { return m_hintControl; }
    bool HintActive() const { return m_hintActive; }
    THintWindow* HintWindow() const { return m_hintWindow; }
    TControl* MouseControl() const { return m_mouseControl; }
    // A control reports a mouse move (client coordinates).
    void HintMouseMessage(TControl* control, TPoint client);
    void CancelHint();
    void HideHint();
    // The hint timer fired (also for tests).
    void HintTimerExpired();

    // --- Hooks (the program sets none) ---
    std::function<void(platform::MSG& msg, bool& handled)> OnMessage;
    std::function<void(TObject* sender, bool& done)> OnIdle;
    std::function<void(TObject* sender, const rtl::Exception& e)> OnException;
    std::function<bool(uint16_t command, intptr_t data, bool& callHelp)> OnHelp;
    std::function<void(TObject* sender)> OnHint;
    std::function<void(std::string& hintStr, bool& canShow, THintInfo& info)> OnShowHint;
    std::function<void(TObject* sender)> OnActivate;
    std::function<void(TObject* sender)> OnDeactivate;
    std::function<void(TObject* sender)> OnMinimize;
    std::function<void(TObject* sender)> OnRestore;

    // Drops every reference to a control that goes away.
    void ControlDestroying(TControl* control);

    // The application window's procedure.
    void WndProc(TMessage& m);

    // --- Screen readers ---
    // The root of what screen readers see: the forms on screen (TFormAccessible.h).
    TApplicationAccessible& Accessible() const { return *m_accessible; }
    // Puts the program on the accessibility bus when a screen reader listens; costs the start
    // nothing otherwise (platform/a11y/Accessibility.h). Undone when the application goes.
    void EnableAccessibility();

private:
    void FinishForm(TCustomForm* form, const std::function<void()>& clear, rtl::TStream* stream);
    void CreateHandle();
    bool HintCheck(const platform::MSG& msg);
    void StartHintTimer(int ms, int mode);
    void StopHintTimer();
    void ShowHintAt(TPoint cursor);
    void UpdateMouseControl();
    void UpdateCurrentHint(TControl* control);
    bool IsIdleTrigger(const platform::MSG& msg);
    void FocusTopForm();

    platform::HWND m_handle = nullptr;
    bool m_handleCreated = false;
    std::string m_title;
    std::string m_helpFile;
    TForm* m_mainForm = nullptr;
    bool m_showMainForm = true;
    bool m_running = false;
    bool m_terminated = false;
    bool m_active = true;
    bool m_minimized = false;
    std::unique_ptr<TIcon> m_icon;
    bool m_hintsEnabled = false;
    THintWindow* m_hintWindow = nullptr;
    TColor m_hintColor = clInfoBk;
    int m_hintPause = 500;
    int m_hintShortPause = 0;
    int m_hintHidePause = 2500;
    TControl* m_hintControl = nullptr;
    bool m_hintActive = false;
    TRect m_hintCursorRect;
    platform::UINT_PTR m_hintTimer = 0;
    int m_hintTimerMode = 0; // 0 show, 1 hide
    TControl* m_mouseControl = nullptr;
    platform::MSG m_lastIdleMessage;
    platform::MSG m_message; // the last message the loop took
    platform::HWND m_dialogHandle = nullptr;
    std::string m_hint;
    std::vector<std::function<bool()>> m_terminateHooks;
    std::unique_ptr<TApplicationAccessible> m_accessible;
    bool m_accessibilityEnabled = false;
};

// The process's application and screen objects, made by the frame's start.
extern TApplication* Application;
extern TScreen* Screen;

// Frame start and end: the mouse, screen and application objects, hints on; at the end the
// application's pop-ups are hidden, hints go off, the forms and the objects are destroyed.
void StartFrame();
void EndFrame();
class TFrameScope {
public:
    TFrameScope() { StartFrame(); }
    ~TFrameScope() { EndFrame(); }
    TFrameScope(const TFrameScope&) = delete;
    TFrameScope& operator=(const TFrameScope&) = delete;
};

// Runs a program's start-up and loop inside the frame: an exception that escapes `body` (a form
// that fails to load at start-up) is written to standard error as "Class: message" and the
// result is 1; otherwise 0.
int RunFrameProgram(const std::function<void()>& body);

} // namespace frame
