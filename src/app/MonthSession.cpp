#include "app/MonthSession.h"

#include "app/ProgramForms.h"
#include "frame/ClassBuilder.h"
#include "rtl/NumberText.h"

namespace app {

namespace {
constexpr int FirstMonthIndex = 0, LastMonthIndex = 11;

bool IsMonthIndex(int index) {
    return index >= FirstMonthIndex && index <= LastMonthIndex;
}
} // namespace

std::string TShownMonth::BirthDateText() const {
    rtl::DateParts d = rtl::DecodeDate(BirthDate);
    return app::BirthDateText(d.day, d.month, d.year);
}

TMonthResult TShownMonth::Compute() const {
    rtl::DateParts period = rtl::DecodeDate(PeriodStart);
    return ComputeMonth(Phases, period.month - 1, period.year);
}

const frame::TClassInfo* TMonthSession::StaticClass() {
    static const auto info =
        frame::TClassBuilder<TMonthSession>("TMonthSession", frame::TComponent::StaticClass())
            .Build();
    return info.get();
}

TMonthSession::TMonthSession(frame::TComponent* owner) : frame::TComponent(owner) {}

TMonthSession::~TMonthSession() {
    if (Session == this)
        Session = nullptr;
}

void TMonthSession::Next(rtl::TDateTime birthDate, const TPeriod& period) {
    rtl::TDateTime periodStart =
        DateFromProgramText(PeriodStartText(period.MonthIndex, period.YearText));
    m_nextPressed = true;
    m_birthDate = birthDate;
    Store(periodStart, period);
    if (m_phases.DayCount > 0 && m_observer)
        m_observer->MonthChosen();
}

TPeriod TMonthSession::Stepped(const TPeriod& period, int delta) {
    if (!IsMonthIndex(period.MonthIndex)) {
        // The month the period names does not convert: the step fails as every use of it does.
        DateFromProgramText(PeriodStartText(period.MonthIndex, period.YearText));
    }
    TPeriod next;
    next.MonthIndex = period.MonthIndex + delta;
    next.YearText = period.YearText;
    if (!IsMonthIndex(next.MonthIndex)) {
        // Across a year end; in 64 bits, so the largest year text a box can hold steps to a year
        // the date reader refuses instead of overflowing.
        int64_t year = int64_t(rtl::StrToInt(period.YearText)) + (next.MonthIndex < 0 ? -1 : 1);
        next.MonthIndex = next.MonthIndex < 0 ? LastMonthIndex : FirstMonthIndex;
        next.YearText = rtl::IntToStr(year);
    }
    DateFromProgramText(PeriodStartText(next.MonthIndex, next.YearText));
    return next;
}

bool TMonthSession::NewMonth(const TPeriod& period) {
    Store(DateFromProgramText(PeriodStartText(period.MonthIndex, period.YearText)), period);
    return m_phases.DayCount > 0;
}

void TMonthSession::Store(rtl::TDateTime periodStart, const TPeriod& period) {
    m_periodStart = periodStart;
    m_periodName = period.Name.empty() ? PeriodNameOf(periodStart) : period.Name;
    m_phases = ComputePhases(m_birthDate, periodStart);
}

TShownMonth TMonthSession::Current() const {
    TShownMonth month;
    month.BirthDate = m_birthDate;
    month.PeriodStart = m_periodStart;
    month.PeriodText = m_periodName;
    month.Phases = m_phases;
    return month;
}

void TMonthSession::SetShown(const TShownMonth& month) {
    m_shown = month;
    m_shown.Filled = true;
}

} // namespace app
