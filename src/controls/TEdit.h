#pragma once
// The edit box: the platform's single-line EDIT window. Every change the window reports raises
// OnChange (except while the window is being made); text set while there is no window raises it
// at once. MaxLength reaches the window now or when it is made; with AutoSize the height follows
// the font.
#include <string>

#include "controls/ControlsTypes.h"
#include "frame/controls/TWinControl.h"

namespace controls {

using frame::TComponent;

class TCustomEdit : public frame::TWinControl {
public:
    ZORVANE_CLASS(TCustomEdit)
    explicit TCustomEdit(TComponent* owner);
    ~TCustomEdit() override;

    int32_t MaxLength() const { return m_maxLength; }
    void SetMaxLength(int32_t value);
    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool value);
    bool AutoSelect() const { return m_autoSelect; }
    void SetAutoSelect(bool value) { m_autoSelect = value; }
    // The window shows the selection only while it has the focus, so this is kept and streamed.
    bool HideSelection() const { return m_hideSelection; }
    void SetHideSelection(bool value) { m_hideSelection = value; }
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool value);
    TBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TBorderStyle value);

    void SelectAll();
    int SelStart() const;
    int SelLength() const;
    void SetSelection(int start, int length);
    // Sizes the height to the font (AutoSize with a single border; not while being read).
    void AdjustHeight();

    frame::TNotifyEvent OnChange;

    unsigned DialogCode() const override { return frame::DLGC_WANTARROWS | frame::DLGC_WANTCHARS; }
    void WindowProc(frame::TMessage& message) override;
    void CNCommand(frame::TWMCommand& m) override;
    void CMTextChanged(frame::TMessage& m) override;
    void CMFontChanged(frame::TMessage& m) override;
    void CMCtl3DChanged(frame::TMessage& m) override;
    void CMEnter(frame::TMessage& m) override;
    void AfterLoad() override;

protected:
    std::unique_ptr<platform::a11y::AccessibleNode> CreateAccessible() override;
    virtual void Change();
    void CreateParams(frame::TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;

private:
    int32_t m_maxLength = 0;
    bool m_autoSize = true;
    bool m_autoSelect = true;
    bool m_hideSelection = true;
    bool m_readOnly = false;
    TBorderStyle m_borderStyle = bsSingle;
    bool m_creating = false;
};

class TEdit : public TCustomEdit {
public:
    ZORVANE_CLASS(TEdit)
    using TCustomEdit::TCustomEdit;
};

// The system's border height (1 pixel when no display has been opened).
int SystemBorderHeight();

} // namespace controls
