#pragma once
// The glyph button: a push button drawn by the frame (owner drawing) with a glyph beside its
// caption, and a kind that presets caption, glyph, default and cancel roles and modal result.
#include <memory>

#include "controls/TButtonControl.h"
#include "controls/TButtonGlyph.h"
#include "frame/graphics/TCanvas.h"

namespace controls {

enum TBitBtnKind {
    bkCustom,
    bkOK,
    bkCancel,
    bkHelp,
    bkYes,
    bkNo,
    bkClose,
    bkAbort,
    bkRetry,
    bkIgnore,
    bkAll
};
ZORVANE_ENUM_TYPE(TBitBtnKind, "bkCustom", "bkOK", "bkCancel", "bkHelp", "bkYes", "bkNo", "bkClose",
                  "bkAbort", "bkRetry", "bkIgnore", "bkAll")

enum TButtonStyle { bsAutoDetect, bsWin31, bsNew };
ZORVANE_ENUM_TYPE(TButtonStyle, "bsAutoDetect", "bsWin31", "bsNew")

// The caption a kind presets ("&Help" ...); empty for bkCustom.
const char* KindCaption(TBitBtnKind kind);
// The shared glyph of a kind, loaded once from its bitmap resource ("BBHELP" ...); null for
// bkCustom or when the program has no such resource.
frame::TBitmap* KindGlyph(TBitBtnKind kind);

class TBitBtn : public TButton {
public:
    ZORVANE_CLASS(TBitBtn)
    explicit TBitBtn(frame::TComponent* owner);
    ~TBitBtn() override;

    // A preset kind reads as bkCustom (and stays so) once the roles, the modal result or the
    // glyph no longer match it.
    TBitBtnKind Kind() const;
    void SetKind(TBitBtnKind value);
    frame::TBitmap* Glyph() const { return m_glyph->Glyph(); }
    // Assigns a copy and marks the glyph as the button's own.
    void SetGlyph(frame::TBitmap* value);
    int32_t NumGlyphs() const { return m_glyph->NumGlyphs(); }
    void SetNumGlyphs(int32_t value);
    TButtonLayout Layout() const { return m_layout; }
    void SetLayout(TButtonLayout value);
    int32_t Margin() const { return m_margin; }
    void SetMargin(int32_t value);
    int32_t Spacing() const { return m_spacing; }
    void SetSpacing(int32_t value);
    TButtonStyle Style() const { return m_style; }
    void SetStyle(TButtonStyle value) { m_style = value; }
    TButtonGlyph* ButtonGlyph() const { return m_glyph.get(); }
    // Drawn as the form's default (or focused) button.
    bool DefaultLook() const { return m_defaultLook; }

    // By kind: help opens the first help context up the parents, close closes the form; else
    // (or when neither finds its target) a plain button click.
    void Click() override;

    void CNDrawItem(frame::TWMDrawItem& m) override;
    void CMFontChanged(frame::TMessage& m) override;
    void CMEnabledChanged(frame::TMessage& m) override;

protected:
    void CreateParams(frame::TCreateParams& params) override;
    void SetButtonStyle(bool isDefault) override;
    void DrawItem(const platform::DRAWITEMSTRUCT& item);

private:
    bool IsCustom() const { return Kind() == bkCustom; }
    bool IsCustomCaption() const;
    void GlyphChanged(frame::TObject*);

    std::unique_ptr<TButtonGlyph> m_glyph;
    std::unique_ptr<frame::TCanvas> m_canvas;
    mutable TBitBtnKind m_kind = bkCustom;
    TButtonLayout m_layout = blGlyphLeft;
    int32_t m_margin = -1;
    int32_t m_spacing = 4;
    TButtonStyle m_style = bsAutoDetect;
    bool m_modifiedGlyph = false;
    bool m_defaultLook = false;
};

} // namespace controls
