#pragma once
// The label: a windowless caption. With AutoSize it measures itself to its caption (growing to
// the right, or downwards when it wraps words); it paints its background unless Transparent,
// draws "&x" as an underlined x, and its accelerator gives the focus to its FocusControl.
#include <string>

#include "controls/ControlsTypes.h"
#include "frame/controls/TGraphicControl.h"
#include "frame/controls/TWinControl.h"

namespace controls {

enum TTextLayout { tlTop, tlCenter, tlBottom };
ZORVANE_ENUM_TYPE(TTextLayout, "tlTop", "tlCenter", "tlBottom")

using frame::TComponent;
using frame::TRect;

class TCustomLabel : public frame::TGraphicControl {
public:
    ZORVANE_CLASS(TCustomLabel)
    explicit TCustomLabel(TComponent* owner);
    ~TCustomLabel() override;

    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool value);
    bool WordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool value);
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment value);
    TTextLayout Layout() const { return m_layout; }
    void SetLayout(TTextLayout value);
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool value);
    bool ShowAccelChar() const { return m_showAccelChar; }
    void SetShowAccelChar(bool value);
    frame::TWinControl* FocusControl() const { return m_focusControl; }
    void SetFocusControl(frame::TWinControl* value);
    frame::TControl* LabelledControl() const override;

    // Sizes the label to its caption now (AutoSize only; nothing while it is being read).
    void AdjustBounds();

    void AfterLoad() override;
    void CMTextChanged(frame::TMessage& m) override;
    void CMFontChanged(frame::TMessage& m) override;
    void CMDialogChar(frame::TCMDialogChar& m) override;

protected:
    std::unique_ptr<platform::a11y::AccessibleNode> CreateAccessible() override;
    void Paint() override;
    void Notification(TComponent* component, frame::TOperation operation) override;
    // The DrawText flags of the caption: tab expansion, word breaking, the accelerator prefix.
    unsigned TextFlags() const;
    // The text that is measured: a caption that would draw nothing still takes one line.
    std::string MeasuredText() const;

private:
    bool m_autoSize = true;
    bool m_wordWrap = false;
    TAlignment m_alignment = taLeftJustify;
    TTextLayout m_layout = tlTop;
    bool m_transparent = false;
    bool m_showAccelChar = true;
    frame::TWinControl* m_focusControl = nullptr;
};

class TLabel : public TCustomLabel {
public:
    ZORVANE_CLASS(TLabel)
    using TCustomLabel::TCustomLabel;
};

// The rectangle `text` needs in `font` when drawn with `flags` (DrawText flags) inside a
// rectangle `width` pixels wide: one line of height for an empty text, and with word breaking
// the given width kept for text that takes several lines.
TRect MeasureText(const frame::TFont& font, const std::string& text, unsigned flags, int width);

} // namespace controls
