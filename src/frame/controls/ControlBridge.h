#pragma once
// The bridge between the window manager and the controls: one window procedure for every frame
// window, which finds the control of the window, hands it the message and keeps every exception
// on this side (nothing a control raises ever unwinds through the window manager); the look-up
// from windows and screen points to controls; the frame's mouse capture; the key preview that
// runs before a key message is translated; and the hooks the application object fills in.
#include <functional>

#include "frame/controls/ControlMessages.h"
#include "platform/display/WindowTypes.h"

namespace frame {

class TObject;
struct TCreateParams;

// The window procedure of every frame window (and of every wrapped standard window).
LRESULT FrameWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// The control whose window this is, or null.
TWinControl* FindControl(HWND hwnd);
// The control under a screen point: the deepest windowed control there, then its windowless
// child at the point. Disabled controls count when `allowDisabled`.
TControl* FindControlAtPos(TPoint screen, bool allowDisabled);
// Makes the window a control asked for; a window of a frame class is bound to the control from
// its first message on.
HWND CreateFrameWindow(TWinControl* control, const TCreateParams& params);
void BindWindow(HWND hwnd, TWinControl* control);
void UnbindWindow(HWND hwnd);
// The window of a bound control went away (WM_NCDESTROY): forget the handle.
void WindowDestroyed(TWinControl* control);

// The control that has the mouse captured, or null.
TControl* CaptureControl();
void SetCaptureControl(TControl* control);

// Offers a key message to the control it is for before it is translated (the CN_ range: the
// control may use it for navigation, the default or cancel button, an accelerator). The target
// is the window that has the mouse capture, else the message's window. Returns true when taken.
bool PreviewKeyMessage(const platform::MSG& msg);
// One plain dispatch of a retrieved message: key preview, translation, dispatch. (The
// application's loop adds its own steps around this.)
void DispatchFrameMessage(const platform::MSG& msg);
// Dispatches everything that waits (tests and tools without an application object).
void ProcessPendingMessages();

// Reports the exception being handled (call inside a catch block) through the installed
// handler; the default writes it to standard error. Never throws.
void HandleException(TObject* sender) noexcept;
using TExceptionHandler = std::function<void(TObject* sender)>;
void SetExceptionHandler(TExceptionHandler handler);

// What the application object wants to hear from controls.
struct TControlHooks {
    // A control got WM_MOUSEMOVE (client coordinates): drives the hints.
    std::function<void(TControl* control, TPoint client)> mouseMoved;
    // A control is being destroyed: every reference to it must go.
    std::function<void(TControl* control)> destroying;
    // A control of a form received the focus.
    std::function<void(TWinControl* control)> focused;
};
TControlHooks& ControlHooks();

// Device contexts the canvases took outside a paint are released after each dispatched
// message; the bridge and the loops call this.
void ReleaseCachedDeviceContexts();
void RegisterCachedDeviceContext(std::function<void()> release, const void* owner);
void UnregisterCachedDeviceContext(const void* owner);

} // namespace frame
