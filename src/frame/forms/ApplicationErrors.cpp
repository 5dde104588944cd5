// Where exceptions end: the error box titled with the application's title, over every window of
// the program; and help dispatch to the viewer.
#include <typeinfo>

#include "frame/controls/ControlBridge.h"
#include "frame/forms/TApplication.h"
#include "frame/forms/TCustomForm.h"
#include "frame/forms/TScreen.h"
#include "frame/forms/WindowDisabler.h"
#include "platform/display/WindowApi.h"
#include "platform/help/Help.h"
#include "rtl/Exception.h"

namespace frame {

using namespace platform;

void TApplication::ReportException(TObject* sender) {
    if (HWND capture = GetCapture())
        SendMessage(capture, WM_CANCELMODE);
    try {
        throw;
    } catch (const rtl::EAbort&) {
        // Silent by design.
    } catch (const rtl::Exception& e) {
        if (OnException)
            OnException(sender, e);
        else
            ShowErrorBox(e);
    } catch (const std::exception& e) {
        std::string text = rtl::Format("Exception %s in module %s at %s.\n%s%s", typeid(e).name(),
                                       AppTitle(), "00000000", e.what(), ".");
        AppMessageBox(text, "Application Error", MB_OK | MB_ICONSTOP);
    } catch (...) {
        std::string text = rtl::Format("Exception %s in module %s at %s.\n%s%s", "unknown",
                                       AppTitle(), "00000000", "", "");
        AppMessageBox(text, "Application Error", MB_OK | MB_ICONSTOP);
    }
}

void TApplication::ShowErrorBox(const rtl::Exception& e) {
    std::string text = e.Message();
    // A full stop closes the message unless it ends in one or in a character that sorts before
    // it (",", "!", ")" ...).
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.')
        text += '.';
    AppMessageBox(text, AppTitle(), MB_OK | MB_ICONSTOP);
}

// A box belongs to the visible form the user works in: the active one, else the main form. The
// desktop keeps it above that form; without a visible form it is the application's own.
HWND TApplication::DialogOwner(HWND active) const {
    if (active && IsWindowVisible(active) && FindControl(active))
        return active;
    if (m_mainForm && m_mainForm->HandleAllocated() && IsWindowVisible(m_mainForm->Handle()))
        return m_mainForm->Handle();
    return m_handle;
}

int TApplication::AppMessageBox(const std::string& text, const std::string& caption,
                                unsigned flags) {
    // A hint waiting to show would appear over the box, for a control the box has disabled.
    CancelHint();
    HWND active = GetActiveWindow();
    HWND owner = DialogOwner(active);
    int result;
    {
        TWindowDisabler disabler(m_handle);
        result = MessageBoxFunction(owner, text, caption, flags);
    }
    if (active && IsWindow(active))
        SetActiveWindow(active);
    return result;
}

// ---------------------------------------------------------------------------------------------
// Help

bool TApplication::ShowHelpContext(int32_t context) {
    return CallHelp(help::HELP_CONTEXT, context);
}

bool TApplication::SendHelpCommand(uint16_t command, intptr_t data) {
    return CallHelp(command, data);
}

bool TApplication::CallHelp(uint16_t command, intptr_t data) {
    TCustomForm* form = Screen ? Screen->ActiveCustomForm() : nullptr;
    bool callHelp = true;
    bool result = false;
    if (form && form->OnHelp)
        result = form->OnHelp(command, data, callHelp);
    else if (OnHelp)
        result = OnHelp(command, data, callHelp);
    if (!callHelp)
        return result;
    HWND owner = nullptr;
    std::string file;
    if (form && form->HandleAllocated() && !form->HelpFile().empty()) {
        owner = form->Handle();
        file = form->HelpFile();
    } else if (!m_helpFile.empty()) {
        owner = m_mainForm && m_mainForm->HandleAllocated() ? m_mainForm->Handle() : m_handle;
        file = m_helpFile;
    } else {
        if (!m_handleCreated)
            PostMessage(m_handle, CM_INVOKEHELP, WPARAM(command), LPARAM(data));
        return false;
    }
    std::string error;
    bool ok = HelpFunction(owner, file, command, std::uintptr_t(data), &error);
    if (!ok && !error.empty() && command != help::HELP_QUIT)
        AppMessageBox(error, AppTitle(), MB_OK | MB_ICONSTOP);
    return ok;
}

} // namespace frame
