#include "controls/TBitBtn.h"

#include <map>

#include "frame/ClassBuilder.h"
#include "frame/controls/TWinControl.h"
#include "frame/forms/TApplication.h"
#include "platform/display/WindowApi.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/SysColors.h"
#include "platform/resources/Resources.h"
#include "rtl/Exception.h"
#include "rtl/ScopeExit.h"

namespace controls {

using namespace frame;
namespace pf = platform;
namespace gdi = platform::gdi;

namespace {

struct KindPreset {
    const char* caption;
    const char* resource;
    TModalResult modalResult;
};

const KindPreset& Preset(TBitBtnKind kind) {
    static const KindPreset presets[] = {
        {"", "", mrNone},
        {"OK", "BBOK", mrOk},
        {"Cancel", "BBCANCEL", mrCancel},
        {"&Help", "BBHELP", mrNone},
        {"&Yes", "BBYES", mrYes},
        {"&No", "BBNO", mrNo},
        {"&Close", "BBCLOSE", mrNone},
        {"Abort", "BBABORT", mrAbort},
        {"&Retry", "BBRETRY", mrRetry},
        {"&Ignore", "BBIGNORE", mrIgnore},
        {"&All", "BBALL", mrAll},
    };
    int i = int(kind);
    return presets[i >= 0 && i <= int(bkAll) ? i : 0];
}

bool KindDefault(TBitBtnKind kind) {
    return kind == bkOK || kind == bkYes;
}

bool KindCancel(TBitBtnKind kind) {
    return kind == bkCancel || kind == bkNo;
}

} // namespace

const char* KindCaption(TBitBtnKind kind) {
    return Preset(kind).caption;
}

TBitmap* KindGlyph(TBitBtnKind kind) {
    static std::map<TBitBtnKind, std::unique_ptr<TBitmap>> glyphs;
    if (kind == bkCustom)
        return nullptr;
    auto& slot = glyphs[kind];
    if (!slot) {
        slot = std::make_unique<TBitmap>();
        // A program built without the kind glyphs shows kind buttons without a glyph.
        if (auto bytes = pf::FindResource(pf::RT_BITMAP, Preset(kind).resource)) {
            rtl::TBytesStream stream(*bytes);
            slot->LoadFromStream(stream);
        }
    }
    return slot.get();
}

const TClassInfo* TBitBtn::StaticClass() {
    static const auto info =
        TClassBuilder<TBitBtn>("TBitBtn", TButton::StaticClass())
            .Property("Cancel", &TButton::Cancel, &TButton::SetCancel, frame::Default(0),
                      StoredIf(&TBitBtn::IsCustom))
            .Property("Caption", &TControl::Caption, &TControl::SetCaption,
                      StoredIf(&TBitBtn::IsCustomCaption))
            .Property("Default", &TButton::Default, &TButton::SetDefault, frame::Default(0),
                      StoredIf(&TBitBtn::IsCustom))
            .Property("ModalResult", &TButton::ModalResult, &TButton::SetModalResult,
                      frame::Default(0), StoredIf(&TBitBtn::IsCustom))
            .Property("Glyph", &TBitBtn::Glyph, &TBitBtn::SetGlyph, StoredIf(&TBitBtn::IsCustom))
            .Property("Kind", &TBitBtn::Kind, &TBitBtn::SetKind, frame::Default(bkCustom))
            .Property("Layout", &TBitBtn::Layout, &TBitBtn::SetLayout, frame::Default(blGlyphLeft))
            .Property("Margin", &TBitBtn::Margin, &TBitBtn::SetMargin, frame::Default(-1))
            .Property("NumGlyphs", &TBitBtn::NumGlyphs, &TBitBtn::SetNumGlyphs, frame::Default(1),
                      StoredIf(&TBitBtn::IsCustom))
            .Property("Style", &TBitBtn::Style, &TBitBtn::SetStyle, frame::Default(bsAutoDetect))
            .Property("Spacing", &TBitBtn::Spacing, &TBitBtn::SetSpacing, frame::Default(4))
            .Build();
    return info.get();
}

TBitBtn::TBitBtn(TComponent* owner)
    : TButton(owner), m_glyph(std::make_unique<TButtonGlyph>()),
      m_canvas(std::make_unique<TCanvas>()) {
    m_glyph->OnChange = TNotifyEvent::Of<&TBitBtn::GlyphChanged>(this);
}

TBitBtn::~TBitBtn() {
    m_glyph->OnChange = TNotifyEvent();
    // The window goes while the canvas that draws it is still here.
    DestroyHandle();
}

void TBitBtn::CreateParams(TCreateParams& params) {
    TButton::CreateParams(params);
    params.style = (params.style & ~pf::DWORD(pf::BS_TYPEMASK)) | pf::BS_OWNERDRAW;
}

TBitBtnKind TBitBtn::Kind() const {
    if (m_kind != bkCustom && (Default() != KindDefault(m_kind) || Cancel() != KindCancel(m_kind) ||
                               ModalResult() != Preset(m_kind).modalResult || m_modifiedGlyph))
        m_kind = bkCustom;
    return m_kind;
}

void TBitBtn::SetKind(TBitBtnKind value) {
    if (value == m_kind)
        return;
    if (value != bkCustom) {
        SetDefault(KindDefault(value));
        SetCancel(KindCancel(value));
        // A caption read from a stream before the kind stays.
        if (!HasState(csLoading) || Caption().empty())
            SetCaption(KindCaption(value));
        SetModalResult(Preset(value).modalResult);
        if (TBitmap* glyph = KindGlyph(value))
            m_glyph->SetGlyph(glyph);
        m_glyph->SetNumGlyphs(2);
        m_modifiedGlyph = false;
    }
    m_kind = value;
    Invalidate();
}

bool TBitBtn::IsCustomCaption() const {
    return Caption() != KindCaption(Kind());
}

void TBitBtn::SetGlyph(TBitmap* value) {
    m_glyph->SetGlyph(value);
    m_modifiedGlyph = true;
    Invalidate();
}

void TBitBtn::SetNumGlyphs(int32_t value) {
    m_glyph->SetNumGlyphs(value);
}

void TBitBtn::SetLayout(TButtonLayout value) {
    if (m_layout == value)
        return;
    m_layout = value;
    Invalidate();
}

void TBitBtn::SetMargin(int32_t value) {
    if (m_margin == value || value < -1)
        return;
    m_margin = value;
    Invalidate();
}

void TBitBtn::SetSpacing(int32_t value) {
    if (m_spacing == value)
        return;
    m_spacing = value;
    Invalidate();
}

void TBitBtn::GlyphChanged(TObject*) {
    Invalidate();
}

void TBitBtn::SetButtonStyle(bool isDefault) {
    if (isDefault == m_defaultLook)
        return;
    m_defaultLook = isDefault;
    Invalidate();
}

void TBitBtn::CMFontChanged(TMessage& m) {
    TButton::CMFontChanged(m);
    Invalidate();
}

void TBitBtn::CMEnabledChanged(TMessage& m) {
    TButton::CMEnabledChanged(m);
    Invalidate();
}

void TBitBtn::Click() {
    TBitBtnKind kind = Kind();
    if (kind == bkHelp) {
        for (TControl* c = this; c; c = c->Parent()) {
            if (c->HelpContext() != 0) {
                if (Application)
                    Application->ShowHelpContext(c->HelpContext());
                return;
            }
        }
    } else if (kind == bkClose) {
        if (TCustomForm* form = GetParentForm(this)) {
            form->CloseForm();
            return;
        }
    }
    TButton::Click();
}

void TBitBtn::CNDrawItem(TWMDrawItem& m) {
    if (!m.item)
        return;
    DrawItem(*m.item);
    m.message.result = 1;
}

namespace {

// The raised push-button edge (white and black outside, light and grey inside) over the face;
// leaves `r` as the face.
void DrawPushFrame(gdi::DeviceContext& dc, TRect& r) {
    auto fill = [&](const TRect& band, int index) {
        dc.FillRect(band, gdi::BrushSpec{gdi::BrushStyle::Solid, gdi::GetSysColor(index)});
    };
    auto ring = [&](int topLeft, int bottomRight) {
        fill(Rect(r.left, r.top, r.right - 1, r.top + 1), topLeft);
        fill(Rect(r.left, r.top, r.left + 1, r.bottom - 1), topLeft);
        fill(Rect(r.left, r.bottom - 1, r.right, r.bottom), bottomRight);
        fill(Rect(r.right - 1, r.top, r.right, r.bottom), bottomRight);
        r = Rect(r.left + 1, r.top + 1, r.right - 1, r.bottom - 1);
    };
    ring(gdi::COLOR_BTNHIGHLIGHT, gdi::COLOR_3DDKSHADOW);
    ring(gdi::COLOR_3DLIGHT, gdi::COLOR_BTNSHADOW);
    fill(r, gdi::COLOR_BTNFACE);
}

} // namespace

void TBitBtn::DrawItem(const pf::DRAWITEMSTRUCT& item) {
    if (!item.hDC)
        return;
    m_canvas->SetHandle(item.hDC);
    rtl::ScopeExit canvasOff([this] { m_canvas->SetHandle(nullptr); });
    TCanvas& canvas = *m_canvas;
    const bool down = item.itemState & pf::ODS_SELECTED;
    const bool focused = item.itemState & pf::ODS_FOCUS;
    const TButtonState state = !Enabled() ? bsDisabled : down ? bsDown : bsUp;
    const TRect client = item.rcItem;
    TRect r = client;
    if (m_defaultLook || focused) {
        canvas.Pen()->SetColor(clWindowFrame);
        canvas.Pen()->SetWidth(1);
        canvas.Pen()->SetStyle(psSolid);
        canvas.Brush()->SetStyle(bsClear);
        canvas.Rectangle(r);
        r = Rect(r.left + 1, r.top + 1, r.right - 1, r.bottom - 1);
    }
    if (!down) {
        DrawPushFrame(*item.hDC, r);
    } else {
        canvas.Pen()->SetColor(clBtnShadow);
        canvas.Pen()->SetWidth(1);
        canvas.Pen()->SetStyle(psSolid);
        canvas.Brush()->SetStyle(bsSolid);
        canvas.Brush()->SetColor(clBtnFace);
        canvas.Rectangle(r);
        r = Rect(r.left + 1, r.top + 1, r.right - 1, r.bottom - 1);
    }
    if (m_defaultLook)
        r = Rect(client.left + 1, client.top + 1, client.right - 1, client.bottom - 1);
    canvas.SetFont(Font());
    if (down)
        r = Rect(r.left + 1, r.top + 1, r.right + 1, r.bottom + 1);
    m_glyph->Draw(canvas, r, TPoint{0, 0}, Caption(), m_layout, m_margin, m_spacing, state, false,
                  0);
    if (m_defaultLook && focused)
        item.hDC->DrawFocusRect(
            Rect(client.left + 4, client.top + 4, client.right - 4, client.bottom - 4));
}

} // namespace controls
