#pragma once
// The screen object: every form of the program (most recently active first), the active form and
// control, the focused form with the stack modal loops save it on, the screen cursor, the
// density and the monitors.
#include <vector>

#include "frame/TComponent.h"
#include "frame/controls/ControlMessages.h"
#include "frame/graphics/GraphicsTypes.h"

namespace frame {

class TCustomForm;
class TForm;
class TWinControl;
class TControl;

struct TMonitor {
    int index = 0;
    platform::HMONITOR handle = 0;
    TRect bounds;
    TRect workArea;
    bool primary = false;
};

class TScreen : public TComponent {
public:
    ZORVANE_CLASS(TScreen)
    explicit TScreen(TComponent* owner);
    ~TScreen() override;

    // The TForms among the custom forms (the list of both runs from the most recently active).
    int FormCount() const;
    TForm* Forms(int index) const;
    int CustomFormCount() const { return static_cast<int>(m_customForms.size()); }
    TCustomForm* CustomForms(int index) const {
        return m_customForms.at(static_cast<size_t>(index));
    }
    TForm* ActiveForm() const { return m_activeForm; }
    TCustomForm* ActiveCustomForm() const { return m_activeCustomForm; }
    TWinControl* ActiveControl() const { return m_activeControl; }
    TCustomForm* FocusedForm() const { return m_focusedForm; }

    int Width() const;
    int Height() const;
    int DesktopWidth() const;
    int DesktopHeight() const;
    TRect DesktopRect() const;
    TRect WorkAreaRect() const;
    // What a form centred on the screen is centred in: the monitor holding the pointer (within
    // the work area) when there are several, else the whole screen.
    TRect CentringRect() const;
    int PixelsPerInch() const { return m_pixelsPerInch; }
    int MonitorCount() const;
    TMonitor Monitors(int index) const;
    // The monitor a window is on (the nearest).
    TMonitor MonitorOf(platform::HWND hwnd) const;

    TCursor Cursor() const { return m_cursor; }
    void SetCursor(TCursor value);
    int CursorCount() const { return m_cursorCount; }

    // --- For forms ---
    void AddForm(TCustomForm* form);
    void RemoveForm(TCustomForm* form);
    // A control of `form` received the focus: it becomes the active control, the form the
    // active (custom) form, moved to the front of the lists.
    void SetFocusedControl(TCustomForm* form, TWinControl* control);
    // The focused form changes: OnDeactivate of the old one, OnActivate of the new one (only
    // when it really changes, so a form reactivated after its own message box hears nothing).
    void SetFocusedForm(TCustomForm* form);
    // Modal loops save the focused form and restore it.
    void PushFocusedForm(TCustomForm* newFocus);
    void PopFocusedForm();
    size_t SavedFocusDepth() const { return m_savedFocus.size(); }
    // Every reference to a control or form that goes away.
    void ControlDestroying(TControl* control);
    // The first form of that name (ASCII case-insensitive), for references between roots.
    TCustomForm* FindFormNamed(std::string_view name) const;

private:
    std::vector<TCustomForm*> m_customForms;
    TForm* m_activeForm = nullptr;
    TCustomForm* m_activeCustomForm = nullptr;
    TWinControl* m_activeControl = nullptr;
    TCustomForm* m_focusedForm = nullptr;
    std::vector<TCustomForm*> m_savedFocus;
    TCursor m_cursor = crDefault;
    int m_cursorCount = 0;
    int m_pixelsPerInch = kScreenPixelsPerInch;
};

// The mouse: where it is and whether there is one.
class TMouse {
public:
    TPoint CursorPos() const;
    bool MousePresent() const;
};

} // namespace frame
