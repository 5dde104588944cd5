#include "chart/TChartObjects.h"

namespace chart {

using frame::Default;
using frame::TClassBuilder;

// A setter that stores and signals only a real change.
#define CHART_SETTER(Class, Name, Type, Member)                                                    \
    void Class::Set##Name(Type v) {                                                                \
        if (v == Member)                                                                           \
            return;                                                                                \
        Member = v;                                                                                \
        OnChange(this);                                                                            \
    }

void SetDefaultChartFont(frame::TFont& font) {
    font.SetName(kDefaultFontName);
    font.SetSize(kDefaultFontSize);
    font.SetColor(frame::clBlack);
}

TColor ChartPaletteColor(int index) {
    static constexpr TColor palette[16] = {
        frame::clRed,    frame::clGreen,  frame::clYellow,  frame::clBlue,
        frame::clWhite,  frame::clGray,   frame::clFuchsia, frame::clTeal,
        frame::clNavy,   frame::clMaroon, frame::clLime,    frame::clOlive,
        frame::clPurple, frame::clSilver, frame::clAqua,    frame::clBlack};
    return palette[((index % 16) + 16) % 16];
}

// --- gradient ---

const frame::TClassInfo* TChartGradient::StaticClass() {
    static const auto info =
        TClassBuilder<TChartGradient>("TChartGradient", frame::TPersistent::StaticClass())
            .Property("Direction", &TChartGradient::Direction, &TChartGradient::SetDirection,
                      Default(gdTopBottom))
            .Property("EndColor", frame::ColorType(), &TChartGradient::EndColor,
                      &TChartGradient::SetEndColor, Default(frame::clYellow))
            .Property("StartColor", frame::ColorType(), &TChartGradient::StartColor,
                      &TChartGradient::SetStartColor, Default(frame::clWhite))
            .Property("Visible", &TChartGradient::Visible, &TChartGradient::SetVisible, Default(0))
            .Build();
    return info.get();
}

CHART_SETTER(TChartGradient, Direction, TGradientDirection, m_direction)
CHART_SETTER(TChartGradient, EndColor, TColor, m_endColor)
CHART_SETTER(TChartGradient, StartColor, TColor, m_startColor)
CHART_SETTER(TChartGradient, Visible, bool, m_visible)

void TChartGradient::Assign(const frame::TPersistent* source) {
    if (auto* g = dynamic_cast<const TChartGradient*>(source)) {
        m_direction = g->m_direction;
        m_endColor = g->m_endColor;
        m_startColor = g->m_startColor;
        m_visible = g->m_visible;
        Changed();
        return;
    }
    frame::TPersistent::Assign(source);
}

// --- wall ---

const frame::TClassInfo* TChartWall::StaticClass() {
    static const auto info =
        TClassBuilder<TChartWall>("TChartWall", frame::TPersistent::StaticClass())
            .Property("Brush", &TChartWall::Brush, &TChartWall::SetBrush)
            .Property("Color", frame::ColorType(), &TChartWall::Color, &TChartWall::SetColor,
                      Default(clAutoColor))
            .Property("Pen", &TChartWall::Pen, &TChartWall::SetPen)
            .Property("Size", &TChartWall::Size, &TChartWall::SetSize, Default(0))
            .Build();
    return info.get();
}

TChartWall::TChartWall()
    : m_brush(std::make_unique<TChartBrush>()), m_pen(std::make_unique<TChartPen>()) {
    m_brush->OnChange = frame::TNotifyEvent::Of<&TChartWall::PartChanged>(this);
    m_pen->OnChange = frame::TNotifyEvent::Of<&TChartWall::PartChanged>(this);
}

TChartWall::~TChartWall() = default;

CHART_SETTER(TChartWall, Color, TColor, m_color)
CHART_SETTER(TChartWall, Size, int32_t, m_size)

void TChartWall::Assign(const frame::TPersistent* source) {
    if (auto* w = dynamic_cast<const TChartWall*>(source)) {
        m_brush->Assign(w->m_brush.get());
        m_pen->Assign(w->m_pen.get());
        m_color = w->m_color;
        m_size = w->m_size;
        OnChange(this);
        return;
    }
    frame::TPersistent::Assign(source);
}

// --- font object and title ---

const frame::TClassInfo* TChartFontObject::StaticClass() {
    static const auto info =
        TClassBuilder<TChartFontObject>("TChartFontObject", frame::TPersistent::StaticClass())
            .Property("Font", &TChartFontObject::Font, &TChartFontObject::SetFont)
            .Build();
    return info.get();
}

TChartFontObject::TChartFontObject() : m_font(std::make_unique<frame::TFont>()) {
    SetDefaultChartFont(*m_font);
    m_font->OnChange = frame::TNotifyEvent::Of<&TChartFontObject::PartChanged>(this);
}

TChartFontObject::~TChartFontObject() = default;

void TChartFontObject::Assign(const frame::TPersistent* source) {
    if (auto* f = dynamic_cast<const TChartFontObject*>(source)) {
        m_font->Assign(f->m_font.get());
        return;
    }
    frame::TPersistent::Assign(source);
}

const frame::TClassInfo* TChartTitle::StaticClass() {
    static const auto info =
        TClassBuilder<TChartTitle>("TChartTitle", TChartFontObject::StaticClass())
            .Property("AdjustFrame", &TChartTitle::AdjustFrame, &TChartTitle::SetAdjustFrame,
                      Default(1))
            .Property("Alignment", &TChartTitle::Alignment, &TChartTitle::SetAlignment,
                      Default(taCenter))
            .Property("Brush", &TChartTitle::Brush, &TChartTitle::SetBrush)
            .Property("Frame", &TChartTitle::Frame, &TChartTitle::SetFrame)
            .Property("Text", &TChartTitle::Text, &TChartTitle::SetText)
            .Property("Visible", &TChartTitle::Visible, &TChartTitle::SetVisible, Default(1))
            .Build();
    return info.get();
}

TChartTitle::TChartTitle()
    : m_brush(std::make_unique<TChartBrush>()), m_frame(std::make_unique<TChartHiddenPen>()),
      m_text(std::make_unique<frame::TStringList>()) {
    Font()->SetColor(frame::clBlue);
    m_brush->OnChange = frame::TNotifyEvent::Of<&TChartTitle::PartChanged>(this);
    m_frame->OnChange = frame::TNotifyEvent::Of<&TChartTitle::PartChanged>(this);
    m_text->OnChange = frame::TNotifyEvent::Of<&TChartTitle::PartChanged>(this);
}

TChartTitle::~TChartTitle() = default;

CHART_SETTER(TChartTitle, AdjustFrame, bool, m_adjustFrame)
CHART_SETTER(TChartTitle, Alignment, TAlignment, m_alignment)
CHART_SETTER(TChartTitle, Visible, bool, m_visible)

void TChartTitle::Assign(const frame::TPersistent* source) {
    if (auto* t = dynamic_cast<const TChartTitle*>(source)) {
        m_adjustFrame = t->m_adjustFrame;
        m_alignment = t->m_alignment;
        m_visible = t->m_visible;
        m_brush->Assign(t->m_brush.get());
        m_frame->Assign(t->m_frame.get());
        m_text->Assign(t->m_text.get());
    }
    TChartFontObject::Assign(source);
    OnChange(this);
}

// --- legend ---

const frame::TClassInfo* TChartLegend::StaticClass() {
    static const auto info =
        TClassBuilder<TChartLegend>("TChartLegend", TChartFontObject::StaticClass())
            .Property("Alignment", &TChartLegend::Alignment, &TChartLegend::SetAlignment,
                      Default(laRight))
            .Property("Color", frame::ColorType(), &TChartLegend::Color, &TChartLegend::SetColor,
                      Default(frame::clWhite))
            .Property("Frame", &TChartLegend::Frame, &TChartLegend::SetFrame)
            .Property("Inverted", &TChartLegend::Inverted, &TChartLegend::SetInverted, Default(0))
            .Property("LegendStyle", &TChartLegend::LegendStyle, &TChartLegend::SetLegendStyle,
                      Default(lsAuto))
            .Property("MaxNumRows", &TChartLegend::MaxNumRows, &TChartLegend::SetMaxNumRows,
                      Default(10))
            .Property("ShadowSize", &TChartLegend::ShadowSize, &TChartLegend::SetShadowSize,
                      Default(3))
            .Property("TopPos", &TChartLegend::TopPos, &TChartLegend::SetTopPos, Default(10))
            .Property("Visible", &TChartLegend::Visible, &TChartLegend::SetVisible, Default(1))
            .Build();
    return info.get();
}

TChartLegend::TChartLegend() : m_frame(std::make_unique<TChartPen>()) {
    m_frame->OnChange = frame::TNotifyEvent::Of<&TChartLegend::PartChanged>(this);
}

TChartLegend::~TChartLegend() = default;

CHART_SETTER(TChartLegend, Alignment, TLegendAlignment, m_alignment)
CHART_SETTER(TChartLegend, Color, TColor, m_color)
CHART_SETTER(TChartLegend, LegendStyle, TLegendStyle, m_legendStyle)
CHART_SETTER(TChartLegend, MaxNumRows, int32_t, m_maxNumRows)
CHART_SETTER(TChartLegend, ShadowSize, int32_t, m_shadowSize)
CHART_SETTER(TChartLegend, TopPos, int32_t, m_topPos)
CHART_SETTER(TChartLegend, Visible, bool, m_visible)
CHART_SETTER(TChartLegend, Inverted, bool, m_inverted)

void TChartLegend::Assign(const frame::TPersistent* source) {
    if (auto* l = dynamic_cast<const TChartLegend*>(source)) {
        m_alignment = l->m_alignment;
        m_color = l->m_color;
        m_frame->Assign(l->m_frame.get());
        m_legendStyle = l->m_legendStyle;
        m_maxNumRows = l->m_maxNumRows;
        m_shadowSize = l->m_shadowSize;
        m_topPos = l->m_topPos;
        m_visible = l->m_visible;
        m_inverted = l->m_inverted;
    }
    TChartFontObject::Assign(source);
    OnChange(this);
}

} // namespace chart
