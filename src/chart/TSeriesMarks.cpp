#include "chart/TSeriesMarks.h"

namespace chart {

using frame::Default;

const frame::TClassInfo* TSeriesMarks::StaticClass() {
    static const auto info =
        frame::TClassBuilder<TSeriesMarks>("TSeriesMarks", frame::TPersistent::StaticClass())
            .Property("Arrow", &TSeriesMarks::Arrow, &TSeriesMarks::SetArrow)
            .Property("ArrowLength", &TSeriesMarks::ArrowLength, &TSeriesMarks::SetArrowLength,
                      frame::NoDefault())
            .Property("BackColor", frame::ColorType(), &TSeriesMarks::BackColor,
                      &TSeriesMarks::SetBackColor, Default(0x80FFFF))
            .Property("Clip", &TSeriesMarks::Clip, &TSeriesMarks::SetClip, Default(0))
            .Property("Font", &TSeriesMarks::Font, &TSeriesMarks::SetFont)
            .Property("Frame", &TSeriesMarks::Frame, &TSeriesMarks::SetFrame)
            .Property("Style", &TSeriesMarks::Style, &TSeriesMarks::SetStyle, Default(smsLabel))
            .Property("Transparent", &TSeriesMarks::Transparent, &TSeriesMarks::SetTransparent,
                      Default(0))
            .Property("Visible", &TSeriesMarks::Visible, &TSeriesMarks::SetVisible,
                      frame::NoDefault())
            .Build();
    return info.get();
}

TSeriesMarks::TSeriesMarks()
    : m_arrow(std::make_unique<TChartPen>()), m_font(std::make_unique<frame::TFont>()),
      m_frame(std::make_unique<TChartPen>()) {
    SetDefaultChartFont(*m_font);
    m_arrow->SetColor(frame::clWhite);
    m_arrow->OnChange = frame::TNotifyEvent::Of<&TSeriesMarks::PartChanged>(this);
    m_font->OnChange = frame::TNotifyEvent::Of<&TSeriesMarks::PartChanged>(this);
    m_frame->OnChange = frame::TNotifyEvent::Of<&TSeriesMarks::PartChanged>(this);
}

TSeriesMarks::~TSeriesMarks() = default;

#define MARKS_SETTER(Name, Type, Member)                                                           \
    void TSeriesMarks::Set##Name(Type v) {                                                         \
        if (v == Member)                                                                           \
            return;                                                                                \
        Member = v;                                                                                \
        OnChange(this);                                                                            \
    }
MARKS_SETTER(ArrowLength, int32_t, m_arrowLength)
MARKS_SETTER(BackColor, TColor, m_backColor)
MARKS_SETTER(Clip, bool, m_clip)
MARKS_SETTER(Style, TSeriesMarksStyle, m_style)
MARKS_SETTER(Transparent, bool, m_transparent)
MARKS_SETTER(Visible, bool, m_visible)
#undef MARKS_SETTER

void TSeriesMarks::Assign(const frame::TPersistent* source) {
    if (auto* m = dynamic_cast<const TSeriesMarks*>(source)) {
        m_arrow->Assign(m->m_arrow.get());
        m_arrowLength = m->m_arrowLength;
        m_backColor = m->m_backColor;
        m_clip = m->m_clip;
        m_font->Assign(m->m_font.get());
        m_frame->Assign(m->m_frame.get());
        m_style = m->m_style;
        m_transparent = m->m_transparent;
        m_visible = m->m_visible;
        OnChange(this);
        return;
    }
    frame::TPersistent::Assign(source);
}

} // namespace chart
