// The month session on its own: no frame, no form.
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "app/BiorhythmModel.h"
#include "app/MonthSession.h"
#include "rtl/DateTime.h"
#include "rtl/Exception.h"

namespace {

struct TCountingObserver : app::TMonthSessionObserver {
    void MonthChosen() override { ++chosen; }
    int chosen = 0;
};

std::string ConvertError(const std::function<void()>& action) {
    try {
        action();
    } catch (const rtl::EConvertError& e) {
        return e.Message();
    }
    return "";
}

} // namespace

TEST(MonthSession, NextStoresTheStateOnlyWhenBothDatesConvertAndShowsPositiveCounts) {
    app::TMonthSession session(nullptr);
    TCountingObserver observer;
    session.SetObserver(&observer);
    EXPECT_FALSE(session.NextPressed());
    EXPECT_EQ(session.DayCount(), 0);
    EXPECT_FALSE(session.Shown().Filled);

    // A period that does not convert: nothing stored, "Next" not even noted as pressed.
    rtl::TDateTime birth = app::BirthDateOf(15, 3, 1980);
    EXPECT_EQ(ConvertError([&] {
                  session.Next(birth, app::TPeriod{2, "20x0", "Март 20x0"});
              }),
              "'1.3.20x0' is not a valid date");
    EXPECT_FALSE(session.NextPressed());
    EXPECT_EQ(session.BirthDate(), 0);
    EXPECT_EQ(observer.chosen, 0);

    session.Next(birth, app::TPeriod{2, "2000", "Март 2000"});
    EXPECT_TRUE(session.NextPressed());
    EXPECT_EQ(session.BirthDate(), 29295);
    EXPECT_EQ(session.PeriodStart(), 36586);
    EXPECT_EQ(session.DayCount(), 7291);
    EXPECT_EQ(session.PhysicalPhase(), 23);
    EXPECT_EQ(session.EmotionalPhase(), 17);
    EXPECT_EQ(session.IntellectualPhase(), 2);
    EXPECT_EQ(observer.chosen, 1);
    app::TShownMonth month = session.Current();
    EXPECT_EQ(month.PeriodText, "Март 2000");
    EXPECT_EQ(month.BirthDateText(), "15.3.1980");
    EXPECT_EQ(month.Compute().Unfavourable, "Неблагоприятные дни: 1 3 4 13 18 20 24");
    EXPECT_FALSE(session.Shown().Filled) << "only whoever shows a month records it";

    // A birth date on the period's first day: stored, but nothing to show.
    session.Next(app::BirthDateOf(1, 3, 2000), app::TPeriod{2, "2000", "Март 2000"});
    EXPECT_EQ(session.DayCount(), 0);
    EXPECT_EQ(observer.chosen, 1);
}

TEST(MonthSession, StepsAcrossYearEndsAndRefusesWhatItCannotStepFrom) {
    app::TPeriod december{11, "1999", ""};
    app::TPeriod january = app::TMonthSession::Stepped(december, +1);
    EXPECT_EQ(january.MonthIndex, 0);
    EXPECT_EQ(january.YearText, "2000");
    app::TPeriod back = app::TMonthSession::Stepped(january, -1);
    EXPECT_EQ(back.MonthIndex, 11);
    EXPECT_EQ(back.YearText, "1999");
    EXPECT_EQ(app::TMonthSession::Stepped(app::TPeriod{4, "2000.", ""}, 1).YearText, "2000.");

    // No month selected: the period's own text does not convert, whichever way.
    for (int delta : {-1, +1})
        EXPECT_EQ(ConvertError([&] {
                      app::TMonthSession::Stepped({-1, "2000", ""}, delta);
                  }),
                  "'1.0.2000' is not a valid date");
    EXPECT_EQ(ConvertError([] {
                  app::TMonthSession::Stepped({0, "abc", ""}, -1);
              }),
              "'abc' is not a valid integer value");
    EXPECT_EQ(ConvertError([] {
                  app::TMonthSession::Stepped({11, "9999", ""}, +1);
              }),
              "'1.1.10000' is not a valid date");
}

TEST(MonthSession, AStepKeepsTheBirthDateOfTheLastNextAndNamesUnnamedPeriods) {
    app::TMonthSession session(nullptr);
    TCountingObserver observer;
    session.SetObserver(&observer);
    session.Next(app::BirthDateOf(15, 3, 1980), app::TPeriod{3, "1980", "Апрель 1980"});
    ASSERT_EQ(session.DayCount(), 17);
    // Back to the birth month: stored, not to be shown, and no observer is told of a step.
    EXPECT_FALSE(session.NewMonth(app::TPeriod{2, "1980", "Март 1980"}));
    EXPECT_EQ(session.DayCount(), -14);
    EXPECT_TRUE(session.NewMonth(app::TPeriod{1, "0", ""})); // zorvane-cli's "2.0"
    EXPECT_EQ(session.BirthDate(), rtl::EncodeDate(1980, 3, 15));
    EXPECT_EQ(session.PeriodStart(), rtl::EncodeDate(2000, 2, 1));
    EXPECT_EQ(session.Current().PeriodText, "Февраль 2000");
    EXPECT_EQ(session.Current().Compute().Days, 29);
    EXPECT_EQ(observer.chosen, 1);
}

TEST(MonthSession, TheBirthDateIsTheDateItsTextWouldRead) {
    // The calendar's parts become the date the program's text of them always read as, without
    // the text: short years in this century, impossible dates refused with the text named.
    for (int year : {-5, 0, 1, 5, 42, 99, 100, 999, 1980, 9999, 10000})
        for (int month : {-1, 0, 1, 2, 12, 13})
            for (int day : {0, 1, 28, 29, 31, 32, 10000}) {
                SCOPED_TRACE(app::BirthDateText(day, month, year));
                std::string text = app::BirthDateText(day, month, year);
                rtl::TDateTime viaText = -1, direct = -1;
                std::string textError =
                    ConvertError([&] { viaText = app::DateFromProgramText(text); });
                std::string directError =
                    ConvertError([&] { direct = app::BirthDateOf(day, month, year); });
                EXPECT_EQ(directError, textError);
                EXPECT_EQ(direct, viaText);
            }
}
