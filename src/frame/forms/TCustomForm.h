#pragma once
// Forms: top-level windows read from their class chain's form resources. A form is made in two
// steps — the C++ constructor makes the bare form, then InitializeForm reads the resources (so
// the form's own class, fields and methods exist when its stream is read) and runs OnCreate.
// MakeForm and CreateForm do both; nothing else should make a form.
#include <functional>
#include <memory>
#include <string>

#include "frame/controls/TControlCanvas.h"
#include "frame/controls/TWinControl.h"
#include "frame/graphics/TIcon.h"

namespace rtl {
class TStream;
}

namespace frame {

enum TPosition {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter
};
ZORVANE_ENUM_TYPE(TPosition, "poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly",
                  "poScreenCenter", "poDesktopCenter")
enum TDefaultMonitor { dmDesktop, dmPrimary, dmMainForm, dmActiveForm };
ZORVANE_ENUM_TYPE(TDefaultMonitor, "dmDesktop", "dmPrimary", "dmMainForm", "dmActiveForm")
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
ZORVANE_ENUM_TYPE(TFormStyle, "fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop")
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
ZORVANE_ENUM_TYPE(TWindowState, "wsNormal", "wsMinimized", "wsMaximized")
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
ZORVANE_ENUM_TYPE(TBorderIcon, "biSystemMenu", "biMinimize", "biMaximize", "biHelp")
using TBorderIcons = TSet<TBorderIcon>;
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
ZORVANE_ENUM_TYPE(TFormBorderStyle, "bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow",
                  "bsSizeToolWin")
enum TPrintScale { poNone, poProportional, poPrintToFit };
ZORVANE_ENUM_TYPE(TPrintScale, "poNone", "poProportional", "poPrintToFit")
enum TCloseAction { caNone, caHide, caFree, caMinimize };
ZORVANE_ENUM_TYPE(TCloseAction, "caNone", "caHide", "caFree", "caMinimize")
// The names the program's texts use for the close actions.
constexpr TCloseAction CloseNone = caNone;
constexpr TCloseAction CloseHide = caHide;
constexpr TCloseAction CloseFree = caFree;
constexpr TCloseAction CloseMinimize = caMinimize;

using TModalResult = int32_t;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;
constexpr TModalResult mrAll = 8;

using TCloseEvent = TEvent<TObject*, TCloseAction&>;
using TCloseQueryEvent = TEvent<TObject*, bool&>;

enum TFormStateFlag { fsCreating, fsVisiblePending, fsShowing, fsModal };
using TFormState = TSet<TFormStateFlag>;

// A form's scroll bar settings, kept and streamed (forms here do not scroll).
class TControlScrollBar : public TPersistent {
public:
    ZORVANE_CLASS(TControlScrollBar)
    bool Visible() const { return m_visible; }
    void SetVisible(bool v) { m_visible = v; }
    int32_t Range() const { return m_range; }
    void SetRange(int32_t v) { m_range = v; }
    int32_t Position() const { return m_position; }
    void SetPosition(int32_t v) { m_position = v; }
    int32_t Increment() const { return m_increment; }
    void SetIncrement(int32_t v) { m_increment = v; }
    bool Tracking() const { return m_tracking; }
    void SetTracking(bool v) { m_tracking = v; }
    void ChangeScale(int M, int D);
    void Assign(const TPersistent* source) override;

private:
    bool m_visible = true;
    int32_t m_range = 0;
    int32_t m_position = 0;
    int32_t m_increment = 8;
    bool m_tracking = false;
};

class TCustomForm : public TWinControl {
public:
    ZORVANE_CLASS(TCustomForm)

    explicit TCustomForm(TComponent* owner);
    ~TCustomForm() override;

    // Reads the resources of the class chain (none for TForm itself) — or `stream` instead, when
    // given — then runs OnCreate and shows the form if its stream said Visible. Raises
    // EResNotFound "Resource %s not found" when no class of the chain has a resource.
    void InitializeForm(rtl::TStream* stream = nullptr);

    // --- Showing and closing ---
    void ShowForm();
    // Shows the form as a dialog belonging to `opener`: the desktop keeps it above that form.
    void ShowAsDialogOf(TCustomForm* opener);
    void HideForm();
    void SetVisible(bool value) override;
    void CloseForm();
    bool QueryClose();
    TModalResult ShowFormModal();
    // Frees the form once the message now being handled is done (it may be its own handler).
    void ReleaseForm();
    void BringToFront();

    TModalResult ModalResult() const { return m_modalResult; }
    void SetModalResult(TModalResult value) { m_modalResult = value; }
    TFormState FormState() const { return m_formState; }

    // --- Properties ---
    TPosition Position() const { return m_position; }
    void SetPosition(TPosition value) { m_position = value; }
    TDefaultMonitor DefaultMonitor() const { return m_defaultMonitor; }
    void SetDefaultMonitor(TDefaultMonitor value) { m_defaultMonitor = value; }
    TFormStyle FormStyle() const { return m_formStyle; }
    void SetFormStyle(TFormStyle value);
    TWindowState WindowState() const { return m_windowState; }
    void SetWindowState(TWindowState value);
    TBorderIcons BorderIcons() const { return m_borderIcons; }
    void SetBorderIcons(TBorderIcons value);
    TFormBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TFormBorderStyle value);
    bool OldCreateOrder() const { return m_oldCreateOrder; }
    void SetOldCreateOrder(bool value) { m_oldCreateOrder = value; }
    const std::string& HelpFile() const { return m_helpFile; }
    void SetHelpFile(const std::string& value) { m_helpFile = value; }
    bool KeyPreview() const { return m_keyPreview; }
    void SetKeyPreview(bool value) { m_keyPreview = value; }
    bool KeyPreviewing() const override { return m_keyPreview; }
    int32_t PixelsPerInch() const { return m_pixelsPerInch; }
    void SetPixelsPerInch(int32_t value);
    bool Scaled() const { return m_scaled; }
    void SetScaled(bool value);
    int32_t TextHeight() const { return m_textHeight; }
    TIcon* Icon() const { return m_icon.get(); }
    void SetIcon(TIcon* value) { m_icon->Assign(value); }
    TCanvas* Canvas() const { return m_canvas.get(); }
    TControlScrollBar* HorzScrollBar() const { return m_horzScrollBar.get(); }
    void SetHorzScrollBar(TControlScrollBar* v) { m_horzScrollBar->Assign(v); }
    TControlScrollBar* VertScrollBar() const { return m_vertScrollBar.get(); }
    void SetVertScrollBar(TControlScrollBar* v) { m_vertScrollBar->Assign(v); }
    bool AutoScroll() const { return m_autoScroll; }
    void SetAutoScroll(bool v) { m_autoScroll = v; }
    TPrintScale PrintScale() const { return m_printScale; }
    void SetPrintScale(TPrintScale v) { m_printScale = v; }
    int32_t BorderWidth() const { return m_borderWidth; }
    void SetBorderWidth(int32_t v) { m_borderWidth = v; }
    // While the form is read, the stored client size waits until reading ends (and scaling).
    int32_t StoredClientWidth() const { return ClientWidth(); }
    void SetStoredClientWidth(int32_t v);
    int32_t StoredClientHeight() const { return ClientHeight(); }
    void SetStoredClientHeight(int32_t v);
    TWinControl* GetActiveControl() const { return ActiveControl(); }
    void SetActiveControlProp(TWinControl* control);

    // The form is active now (its own window or one of its controls has the focus).
    bool Active() const { return m_active; }
    // Called by the screen when the focused form changes to or from this one.
    void Activated();
    void Deactivated();
    // Screen readers meet it as a dialog though it is not modal (the about box).
    bool AccessibleDialog() const { return m_accessibleDialog; }
    void SetAccessibleDialog(bool value) { m_accessibleDialog = value; }
    // Actions update at idle time (this program has none).
    virtual void UpdateActions() {}

    // Published events.
    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnPaint;
    // (command, datum, call-help) → handled; a form's help hook.
    std::function<bool(uint16_t command, intptr_t data, bool& callHelp)> OnHelp;

    void BeforeDestruction() override;

    // --- Handlers ---
    void WMClose(TMessage& m) override;
    void WMActivate(TWMActivate& m) override;
    void WMSysCommand(TWMSysCommand& m) override;
    void WMHelp(TWMHelp& m) override;
    void CMShowingChanged(TMessage& m) override;
    void CMRelease(TMessage& m) override;
    void CMActivate(TMessage& m) override;
    void CMDeactivate(TMessage& m) override;
    void CMTextChanged(TMessage& m) override;
    bool SetFocusedControl(TWinControl* control) override;
    void ReadComponentState(TReader& reader) override;
    void ListDefinedProperties(TFiler& filer) override;

protected:
    void CreateParams(TCreateParams& params) override;
    std::unique_ptr<platform::a11y::AccessibleNode> CreateAccessible() override;
    void PaintWindow(platform::HDC dc) override;
    void VisibleChanging() override;
    virtual void DoCreate();
    virtual void DoDestroy();
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& action);
    // The close step of the modal loop.
    void CloseModal();
    void Notification(TComponent* component, TOperation operation) override;

private:
    // Raises a form event; what it throws is reported, the form goes on.
    void RaiseReported(const TNotifyEvent& event);
    void DoCreateAndShow();
    void ApplyPlacement();
    void MoveToDefaultMonitor();
    void ApplyWindowIcon();
    void HideWindow();
    int MeasureTextHeight();
    void ScaleForDensity(int32_t fontHeightBefore);

    TFormState m_formState;
    TPosition m_position = poDesigned;
    TDefaultMonitor m_defaultMonitor = dmActiveForm;
    TFormStyle m_formStyle = fsNormal;
    TWindowState m_windowState = wsNormal;
    TBorderIcons m_borderIcons{biSystemMenu, biMinimize, biMaximize};
    TFormBorderStyle m_borderStyle = bsSizeable;
    bool m_oldCreateOrder = false;
    std::string m_helpFile;
    bool m_keyPreview = false;
    int32_t m_pixelsPerInch = kScreenPixelsPerInch;
    bool m_scaled = true;
    int32_t m_textHeight = 0;
    int32_t m_clientWidth = 0;  // stored while reading
    int32_t m_clientHeight = 0; // stored while reading
    TModalResult m_modalResult = mrNone;
    bool m_active = false;
    bool m_autoScroll = true;
    TPrintScale m_printScale = poProportional;
    int32_t m_borderWidth = 0;
    bool m_destroyStarted = false;
    bool m_accessibleDialog = false;
    std::unique_ptr<TIcon> m_icon;
    std::unique_ptr<TControlCanvas> m_canvas;
    std::unique_ptr<TControlScrollBar> m_horzScrollBar;
    std::unique_ptr<TControlScrollBar> m_vertScrollBar;
};

// The form a control is on (its top-level parent, when that is a form), or null.
TCustomForm* GetParentForm(const TControl* control);

class TForm : public TCustomForm {
public:
    ZORVANE_CLASS(TForm)
    explicit TForm(TComponent* owner) : TCustomForm(owner) {}
};

// Makes a form of class T with the given owner: construction, then InitializeForm. The form is
// freed if that raises.
template <typename T> T* CreateForm(TComponent* owner, rtl::TStream* stream = nullptr) {
    std::unique_ptr<T> form(new T(owner));
    form->InitializeForm(stream);
    return form.release();
}
// The same for a class known by its record.
TCustomForm* CreateForm(const TClassInfo* cls, TComponent* owner, rtl::TStream* stream = nullptr);

} // namespace frame
