#pragma once
// The month the program works on: the birth date and the period, the cycle state between them,
// and the month the result form shows. The input form writes it ("Next"), the result form steps
// it and is told of each month "Next" chooses, the printed report and zorvane-cli read it. The
// program makes one with its forms, owned with them by the application (`Session`,
// ProgramForms.h); it needs no form, so zorvane-cli and the tests use one on its own.
#include <cstdint>
#include <string>

#include "app/BiorhythmModel.h"
#include "frame/TComponent.h"
#include "rtl/DateTime.h"

namespace app {

// A period as the input form's controls give it.
struct TPeriod {
    int MonthIndex = 0;   // 0 = January; -1 when no month is selected
    std::string YearText; // the year box's text as it stands
    // The period as the result form's caption names it ("Март 2000"). Empty: the month's name
    // in the period list and the year the date reader settled on ("2.0" is February 2000).
    std::string Name;
};

// A month to show and what it was computed from. The printed report names the birth date and
// the period of the month on show: the input form's controls may have moved on since (a step
// that drew nothing, the calendar changed without "Next").
struct TShownMonth {
    bool Filled = false;            // false until a month is first shown
    rtl::TDateTime BirthDate = 0;   // the birth date of the cycle state
    rtl::TDateTime PeriodStart = 0; // the first day of the month
    std::string PeriodText;         // the period as the caption names it: "Март 2000"
    TCyclePhases Phases;            // day count and phases of the month

    // "15.3.1980": the birth date as the program writes it.
    std::string BirthDateText() const;
    // The month's curves and day lists, for the month and year of PeriodStart (the year box's
    // text may read as a date without being a whole number: "2000.").
    TMonthResult Compute() const;
};

// Told when "Next" chooses a month to show (a positive day count): the result form.
class TMonthSessionObserver {
public:
    virtual void MonthChosen() = 0;

protected:
    ~TMonthSessionObserver() = default;
};

class TMonthSession : public frame::TComponent {
public:
    ZORVANE_CLASS(TMonthSession)
    explicit TMonthSession(frame::TComponent* owner);
    ~TMonthSession() override;

    // The cycle state, all zero (false) until the first "Next" that converts.
    rtl::TDateTime BirthDate() const { return m_birthDate; }
    rtl::TDateTime PeriodStart() const { return m_periodStart; }
    int32_t PhysicalPhase() const { return m_phases.PhysicalPhase; }
    int32_t EmotionalPhase() const { return m_phases.EmotionalPhase; }
    int32_t IntellectualPhase() const { return m_phases.IntellectualPhase; }
    int32_t DayCount() const { return m_phases.DayCount; }
    bool NextPressed() const { return m_nextPressed; }
    const TCyclePhases& Phases() const { return m_phases; }

    // "Next": converts the period's first day (EConvertError "'1.3.2000' is not a valid date"),
    // and only then stores the birth date, the period and the cycle state and notes that "Next"
    // was pressed; a period that does not convert changes nothing. A positive day count tells
    // the observer.
    void Next(rtl::TDateTime birthDate, const TPeriod& period);

    // The period one month before (delta -1) or after (+1) `period`, across year ends (the year
    // in 64 bits: "'%s' is not a valid integer value"), its first day converted ("'%s' is not a
    // valid date"). Without a month selected there is no month to step from: the period's own
    // text fails to convert ("'1.0.2000' ..."). Changes nothing, so a step can be checked before
    // the controls move.
    static TPeriod Stepped(const TPeriod& period, int delta);
    // A month step: the period start and the cycle state for `period`, from the birth date of
    // the last "Next". True when the day count is positive, that is when the month is to be
    // shown; otherwise the month on show stays.
    bool NewMonth(const TPeriod& period);

    // The month the cycle state names now.
    TShownMonth Current() const;
    // The month on show, as its shower records it.
    const TShownMonth& Shown() const { return m_shown; }
    void SetShown(const TShownMonth& month);

    TMonthSessionObserver* Observer() const { return m_observer; }
    // Its owner clears it before it goes (or sets another).
    void SetObserver(TMonthSessionObserver* observer) { m_observer = observer; }

private:
    void Store(rtl::TDateTime periodStart, const TPeriod& period);

    rtl::TDateTime m_birthDate = 0;
    rtl::TDateTime m_periodStart = 0;
    TCyclePhases m_phases;
    bool m_nextPressed = false;
    std::string m_periodName;
    TShownMonth m_shown;
    TMonthSessionObserver* m_observer = nullptr;
};

} // namespace app
