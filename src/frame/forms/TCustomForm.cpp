#include "frame/forms/TCustomForm.h"

#include "frame/ClassBuilder.h"
#include "frame/FormResources.h"
#include "frame/NameSpaceLock.h"
#include "frame/StandardIdents.h"
#include "frame/TFiler.h"
#include "frame/TReader.h"
#include "frame/TWriter.h"
#include "frame/controls/ControlBridge.h"
#include "frame/forms/TApplication.h"
#include "frame/forms/TFormAccessible.h"
#include "frame/forms/TScreen.h"
#include "platform/gdi/DeviceContext.h"
#include "rtl/Exception.h"
#include "rtl/ScopeExit.h"

namespace frame {

using namespace platform;
using platform::gdi::MulDiv;

// ---------------------------------------------------------------------------------------------
// TControlScrollBar

const TClassInfo* TControlScrollBar::StaticClass() {
    static const auto info =
        TClassBuilder<TControlScrollBar>("TControlScrollBar", TPersistent::StaticClass())
            .Property("Increment", &TControlScrollBar::Increment, &TControlScrollBar::SetIncrement,
                      Default(8))
            .Property("Position", &TControlScrollBar::Position, &TControlScrollBar::SetPosition,
                      Default(0))
            .Property("Range", &TControlScrollBar::Range, &TControlScrollBar::SetRange, Default(0))
            .Property("Tracking", &TControlScrollBar::Tracking, &TControlScrollBar::SetTracking,
                      Default(0))
            .Property("Visible", &TControlScrollBar::Visible, &TControlScrollBar::SetVisible,
                      Default(1))
            .Build();
    return info.get();
}

void TControlScrollBar::ChangeScale(int M, int D) {
    m_range = MulDiv(m_range, M, D);
    m_position = MulDiv(m_position, M, D);
}

void TControlScrollBar::Assign(const TPersistent* source) {
    if (auto* s = As<TControlScrollBar>(const_cast<TPersistent*>(source))) {
        m_visible = s->m_visible;
        m_range = s->m_range;
        m_position = s->m_position;
        m_increment = s->m_increment;
        m_tracking = s->m_tracking;
        return;
    }
    TPersistent::Assign(source);
}

// ---------------------------------------------------------------------------------------------
// Registration

const TClassInfo* TCustomForm::StaticClass() {
    static const auto info =
        TClassBuilder<TCustomForm>("TCustomForm", TWinControl::StaticClass())
            .Property("ActiveControl", &TCustomForm::GetActiveControl,
                      &TCustomForm::SetActiveControlProp)
            .Property("AutoScroll", &TCustomForm::AutoScroll, &TCustomForm::SetAutoScroll,
                      Default(1))
            .Property("BorderIcons", &TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons,
                      Default(TBorderIcons{biSystemMenu, biMinimize, biMaximize}.Mask()))
            .Property("BorderStyle", &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle,
                      Default(bsSizeable))
            .Property("BorderWidth", &TCustomForm::BorderWidth, &TCustomForm::SetBorderWidth,
                      Default(0))
            .Property("Caption", &TControl::Caption, &TControl::SetCaption)
            .Property("ClientHeight", &TCustomForm::StoredClientHeight,
                      &TCustomForm::SetStoredClientHeight, NotStored())
            .Property("ClientWidth", &TCustomForm::StoredClientWidth,
                      &TCustomForm::SetStoredClientWidth, NotStored())
            .Property("Color", ColorType(), &TControl::Color, &TControl::SetColor,
                      Default(clBtnFace))
            .Property("DefaultMonitor", &TCustomForm::DefaultMonitor,
                      &TCustomForm::SetDefaultMonitor, Default(dmActiveForm))
            .Property("FormStyle", &TCustomForm::FormStyle, &TCustomForm::SetFormStyle,
                      Default(fsNormal))
            .Property("HelpFile", &TCustomForm::HelpFile, &TCustomForm::SetHelpFile)
            .Property("HorzScrollBar", &TCustomForm::HorzScrollBar, &TCustomForm::SetHorzScrollBar)
            .Property("Icon", &TCustomForm::Icon, &TCustomForm::SetIcon)
            .Property("KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview,
                      Default(0))
            .Property("OldCreateOrder", &TCustomForm::OldCreateOrder,
                      &TCustomForm::SetOldCreateOrder, Default(0))
            .Property("ParentColor", &TControl::ParentColor, &TControl::SetParentColor, Default(0))
            .Property("PixelsPerInch", &TCustomForm::PixelsPerInch, &TCustomForm::SetPixelsPerInch,
                      NotStored())
            .Property("Position", &TCustomForm::Position, &TCustomForm::SetPosition,
                      Default(poDesigned))
            .Property("PrintScale", &TCustomForm::PrintScale, &TCustomForm::SetPrintScale,
                      Default(poProportional))
            .Property("Scaled", &TCustomForm::Scaled, &TCustomForm::SetScaled, Default(1))
            .Property("VertScrollBar", &TCustomForm::VertScrollBar, &TCustomForm::SetVertScrollBar)
            .Property("Visible", &TControl::Visible, &TControl::SetVisible, Default(0))
            .Property("WindowState", &TCustomForm::WindowState, &TCustomForm::SetWindowState,
                      Default(wsNormal))
            .Property("OnActivate", &TCustomForm::OnActivate)
            .Property("OnClose", &TCustomForm::OnClose)
            .Property("OnCloseQuery", &TCustomForm::OnCloseQuery)
            .Property("OnCreate", &TCustomForm::OnCreate)
            .Property("OnDeactivate", &TCustomForm::OnDeactivate)
            .Property("OnDestroy", &TCustomForm::OnDestroy)
            .Property("OnHide", &TCustomForm::OnHide)
            .Property("OnPaint", &TCustomForm::OnPaint)
            .Property("OnResize", &TControl::OnResize)
            .Property("OnShow", &TCustomForm::OnShow)
            .Build();
    return info.get();
}

const TClassInfo* TForm::StaticClass() {
    static const auto info = TClassBuilder<TForm>("TForm", TCustomForm::StaticClass()).Build();
    return info.get();
}

TCustomForm* GetParentForm(const TControl* control) {
    if (!control)
        return nullptr;
    return As<TCustomForm>(control->RootParent());
}

TCustomForm* CreateForm(const TClassInfo* cls, TComponent* owner, rtl::TStream* stream) {
    if (!cls || !cls->create || !cls->InheritsFrom(TCustomForm::StaticClass()))
        throw rtl::EInvalidOperation("%s is not a form class", cls ? cls->name : std::string());
    std::unique_ptr<TCustomForm> form(static_cast<TCustomForm*>(cls->create(owner)));
    form->InitializeForm(stream);
    return form.release();
}

// ---------------------------------------------------------------------------------------------
// Life

TCustomForm::TCustomForm(TComponent* owner)
    : TWinControl(owner), m_icon(std::make_unique<TIcon>()),
      m_canvas(std::make_unique<TControlCanvas>(this)),
      m_horzScrollBar(std::make_unique<TControlScrollBar>()),
      m_vertScrollBar(std::make_unique<TControlScrollBar>()) {
    m_controlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents,
                                   csSetCaption,      csDoubleClicks, csTopLevelWindow};
    m_visible = false;
    m_left = 0;
    m_top = 0;
    m_width = 320;
    m_height = 240;
    SetParentColor(false);
    SetColor(clBtnFace);
    SetParentFont(false);
    SetParentShowHint(false);
    SetParentCtl3D(false);
    if (Screen)
        m_pixelsPerInch = Screen->PixelsPerInch();
    if (Screen)
        Screen->AddForm(this);
}

void TCustomForm::InitializeForm(rtl::TStream* stream) {
    {
        TWriteLockGuard nameSpace(GlobalNameSpace());
        if (stream || ClassType() != TForm::StaticClass()) {
            m_formState.Include(fsCreating);
            rtl::ScopeExit created([this] { m_formState.Exclude(fsCreating); });
            bool found;
            if (stream) {
                TReader reader(*stream);
                reader.ReadRootComponent(this);
                found = true;
            } else {
                found = LoadFormResources(this, TForm::StaticClass());
            }
            if (!found)
                throw rtl::EResNotFound("Resource %s not found", ClassName());
        }
        if (m_oldCreateOrder)
            DoCreateAndShow();
    }
    if (!m_oldCreateOrder)
        DoCreateAndShow();
}

void TCustomForm::DoCreateAndShow() {
    DoCreate();
    if (m_formState.Contains(fsVisiblePending)) {
        m_formState.Exclude(fsVisiblePending);
        SetVisible(true);
    }
}

void TCustomForm::RaiseReported(const TNotifyEvent& event) {
    try {
        event(this);
    } catch (...) {
        HandleException(this);
    }
}

void TCustomForm::DoCreate() {
    RaiseReported(OnCreate);
}

void TCustomForm::DoDestroy() {
    RaiseReported(OnDestroy);
}

void TCustomForm::BeforeDestruction() {
    if (m_destroyStarted)
        return;
    m_destroyStarted = true;
    TWriteLockGuard nameSpace(GlobalNameSpace());
    if (Screen)
        Screen->RemoveForm(this);
    if (m_showing || m_visible)
        HideWindow();
    SetStateFlag(csDestroying, true);
    DoDestroy();
}

TCustomForm::~TCustomForm() {
    BeforeDestruction();
    TWriteLockGuard nameSpace(GlobalNameSpace());
    DestroyHandle();
    if (Screen)
        Screen->RemoveForm(this);
}

void TCustomForm::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
}

// ---------------------------------------------------------------------------------------------
// Properties

void TCustomForm::SetFormStyle(TFormStyle value) {
    if (m_formStyle == value)
        return;
    m_formStyle = value;
    RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons value) {
    if (m_borderIcons == value)
        return;
    m_borderIcons = value;
    RecreateWnd();
}

void TCustomForm::SetBorderStyle(TFormBorderStyle value) {
    if (m_borderStyle == value)
        return;
    m_borderStyle = value;
    RecreateWnd();
}

void TCustomForm::SetWindowState(TWindowState value) {
    if (m_windowState == value)
        return;
    m_windowState = value;
    if (m_handle && m_showing) {
        static const int commands[] = {SW_SHOWNORMAL, SW_MINIMIZE, SW_SHOWMAXIMIZED};
        ShowWindow(m_handle, commands[value]);
    }
}

void TCustomForm::SetPixelsPerInch(int32_t value) {
    // A density is taken only when 0 or above 35, and while reading only when scaling is on.
    if (value != 0 && value <= 35)
        return;
    if (IsLoading() && m_pixelsPerInch == 0)
        return;
    m_pixelsPerInch = value;
}

void TCustomForm::SetScaled(bool value) {
    if (m_scaled == value)
        return;
    m_scaled = value;
    if (!value)
        m_pixelsPerInch = 0;
    else if (Screen)
        m_pixelsPerInch = Screen->PixelsPerInch();
}

void TCustomForm::SetStoredClientWidth(int32_t v) {
    if (IsLoading())
        m_clientWidth = v;
    else
        SetClientWidth(v);
}

void TCustomForm::SetStoredClientHeight(int32_t v) {
    if (IsLoading())
        m_clientHeight = v;
    else
        SetClientHeight(v);
}

void TCustomForm::SetActiveControlProp(TWinControl* control) {
    if (IsLoading()) {
        // Only remembered now; focused when the form is activated.
        TWinControl::SetActiveControl(nullptr);
        if (control && ContainsControl(control) && control != this)
            TWinControl::SetActiveControl(control);
        return;
    }
    if (control && !control->CanFocus())
        throw rtl::EInvalidOperation(std::string("Cannot focus a disabled or invisible window"));
    TWinControl::SetActiveControl(control);
}

std::unique_ptr<platform::a11y::AccessibleNode> TCustomForm::CreateAccessible() {
    return std::make_unique<TFormAccessible>(*this);
}

void TCustomForm::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.style = WS_CLIPCHILDREN;
    params.exStyle = 0;
    switch (m_borderStyle) {
    case bsNone:
        params.style |= WS_POPUP;
        break;
    case bsSingle:
    case bsToolWindow:
        params.style |= WS_CAPTION | WS_BORDER;
        break;
    case bsSizeable:
    case bsSizeToolWin:
        params.style |= WS_CAPTION | WS_THICKFRAME;
        break;
    case bsDialog:
        params.style |= WS_POPUP | WS_CAPTION;
        params.exStyle |= WS_EX_DLGMODALFRAME;
        break;
    }
    if (m_borderStyle != bsNone) {
        if (m_borderIcons.Contains(biSystemMenu))
            params.style |= WS_SYSMENU;
        if (m_borderStyle != bsDialog && m_borderStyle != bsToolWindow &&
            m_borderStyle != bsSizeToolWin) {
            if (m_borderIcons.Contains(biMinimize))
                params.style |= WS_MINIMIZEBOX;
            if (m_borderIcons.Contains(biMaximize))
                params.style |= WS_MAXIMIZEBOX;
        }
    }
    if (m_borderStyle == bsToolWindow || m_borderStyle == bsSizeToolWin)
        params.exStyle |= WS_EX_TOOLWINDOW;
    if (m_formStyle == fsStayOnTop)
        params.exStyle |= WS_EX_TOPMOST;
    if (!Enabled())
        params.style |= WS_DISABLED;
}

void TCustomForm::PaintWindow(HDC dc) {
    TCanvasPaintScope scope(*m_canvas, dc);
    OnPaint(this);
}

// ---------------------------------------------------------------------------------------------
// Reading and density scaling

void TCustomForm::ListDefinedProperties(TFiler& filer) {
    TWinControl::ListDefinedProperties(filer);
    filer.DefineValueProperty(
        "PixelsPerInch", nullptr, [this](TWriter& w) { w.WriteInteger(m_pixelsPerInch); },
        m_pixelsPerInch != 0 && !filer.Ancestor());
    filer.DefineValueProperty(
        "TextHeight", [this](TReader& r) { m_textHeight = r.ReadInteger(); },
        [this](TWriter& w) { w.WriteInteger(MeasureTextHeight()); }, !filer.Ancestor());
    filer.DefineValueProperty(
        "IgnoreFontProperty",
        [this](TReader& r) {
            if (r.ReadBoolean())
                SetParentFont(true);
        },
        nullptr, false);
}

void TCustomForm::ReadComponentState(TReader& reader) {
    m_clientWidth = 0;
    m_clientHeight = 0;
    m_textHeight = 0;
    m_oldCreateOrder = true;
    int32_t fontHeight = Font()->Height();
    TWinControl::ReadComponentState(reader);
    ScaleForDensity(fontHeight);
    if (m_clientWidth > 0)
        SetClientWidth(m_clientWidth);
    if (m_clientHeight > 0)
        SetClientHeight(m_clientHeight);
    m_clientWidth = 0;
    m_clientHeight = 0;
}

int TCustomForm::MeasureTextHeight() {
    auto dc = gdi::DeviceContext::ForMeasure();
    dc->SetFont(Font()->Spec());
    return dc->GetTextExtent("0").cy;
}

void TCustomForm::ScaleForDensity(int32_t fontHeightBefore) {
    int screenPpi = Screen ? Screen->PixelsPerInch() : kScreenPixelsPerInch;
    if (m_pixelsPerInch == 0 || m_textHeight <= 0)
        return;
    if (Font()->Height() != fontHeightBefore && m_pixelsPerInch != screenPpi) {
        bool parentFont = ParentFont();
        Font()->SetHeight(MulDiv(Font()->Height(), screenPpi, m_pixelsPerInch));
        SetParentFont(parentFont);
    }
    m_pixelsPerInch = screenPpi;
    int measured = MeasureTextHeight();
    if (measured != m_textHeight) {
        m_horzScrollBar->ChangeScale(measured, m_textHeight);
        m_vertScrollBar->ChangeScale(measured, m_textHeight);
        for (int i = 0; i < ControlCount(); ++i)
            Controls(i)->ChangeScale(measured, m_textHeight);
        m_clientWidth = MulDiv(m_clientWidth, measured, m_textHeight);
        m_clientHeight = MulDiv(m_clientHeight, measured, m_textHeight);
    }
}

} // namespace frame
