// Value lists, series and series functions.
#include <cmath>
#include <limits>

#include "ChartTestTools.h"

using namespace chart;
using charttest::TChartTestForm;

namespace {
std::vector<double> Xs(const TChartSeries& s) {
    std::vector<double> v;
    for (int i = 0; i < s.Count(); ++i)
        v.push_back(s.XValue(i));
    return v;
}
std::vector<double> Ys(const TChartSeries& s) {
    std::vector<double> v;
    for (int i = 0; i < s.Count(); ++i)
        v.push_back(s.YValue(i));
    return v;
}
} // namespace

TEST(ValueList, OrderedInsertGoesAfterEqualValues) {
    TChartTestForm form(nullptr);
    auto* s = new TFastLineSeries(&form);
    EXPECT_EQ(s->AddXY(3, 30, "", frame::clRed), 0);
    EXPECT_EQ(s->AddXY(1, 10, "", frame::clGreen), 0);
    EXPECT_EQ(s->AddXY(2, 20, "", frame::clBlue), 1);
    EXPECT_EQ(Xs(*s), (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(Ys(*s), (std::vector<double>{10, 20, 30}));
    EXPECT_EQ(s->ValueColor(0), frame::clGreen);
    EXPECT_EQ(s->ValueColor(2), frame::clRed);
    // An equal x goes after the one present.
    EXPECT_EQ(s->AddXY(2, 21), 2);
    EXPECT_EQ(s->YValue(1), 20);
    EXPECT_EQ(s->YValue(2), 21);
    // Descending lists mirror it.
    TChartValueList desc(nullptr, "D");
    desc.SetOrder(loDescending);
    EXPECT_EQ(desc.AddChartValue(1), 0);
    EXPECT_EQ(desc.AddChartValue(3), 0);
    EXPECT_EQ(desc.AddChartValue(3), 1);
    EXPECT_EQ(desc.AddChartValue(2), 2);
}

TEST(ValueList, StatisticsAndMultiplier) {
    TChartValueList list(nullptr, "Y");
    EXPECT_EQ(list.MaxValue(), 0);
    for (double v : {2.0, -3.0, 5.0})
        list.AddChartValue(v);
    EXPECT_EQ(list.MinValue(), -3);
    EXPECT_EQ(list.MaxValue(), 5);
    EXPECT_EQ(list.Total(), 4);
    EXPECT_EQ(list.TotalABS(), 10);
    list.SetMultiplier(2);
    EXPECT_EQ(list.Value(1), -6);
    EXPECT_EQ(list.MaxValue(), 10);
    EXPECT_EQ(list.Total(), 8);
    list.Delete(2);
    EXPECT_EQ(list.MaxValue(), 4);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.MinValue(), 0);
    EXPECT_EQ(list.TotalABS(), 0);
    EXPECT_THROW(list.Value(0), rtl::EListError);
}

TEST(ValueList, NaNNeitherPoisonsStatisticsNorBreaksTheOrder) {
    const double nan = std::nan("");
    TChartValueList list(nullptr, "X");
    list.SetOrder(loAscending);
    list.AddChartValue(1);
    EXPECT_EQ(list.AddChartValue(nan), 1);
    EXPECT_EQ(list.AddChartValue(3), 1); // before the NaN, after 1
    EXPECT_EQ(list.AddChartValue(2), 1);
    EXPECT_EQ(list.AddChartValue(0), 0);
    EXPECT_EQ(list.RawValues()[3], 3);
    EXPECT_TRUE(std::isnan(list.RawValues()[4]));
    EXPECT_EQ(list.MinValue(), 0);
    EXPECT_EQ(list.MaxValue(), 3);
    EXPECT_EQ(list.Total(), 6);
    TChartValueList y(nullptr, "Y");
    y.AddChartValue(nan);
    EXPECT_EQ(y.MaxValue(), 0);
    y.AddChartValue(-2);
    EXPECT_EQ(y.MinValue(), -2);
    EXPECT_EQ(y.MaxValue(), -2);
}

TEST(Series, ColoursLabelsAndRefusal) {
    TChartTestForm form(nullptr);
    auto* s = new TLineSeries(&form);
    s->SetSeriesColor(frame::clRed);
    s->AddXY(0, 0, "", clDefault);
    s->AddXY(1, 1, "one", frame::TColor(-1));
    s->AddXY(2, 2, "", clNone);
    EXPECT_EQ(s->ValueColor(0), frame::clRed);      // 0x20000000 stored as automatic
    EXPECT_EQ(s->ValueColor(1), frame::TColor(-1)); // -1 stays -1
    EXPECT_EQ(s->ValueColor(2), clNone);
    EXPECT_EQ(s->ValueColor(99), frame::clRed); // beyond the list: the series colour
    EXPECT_EQ(s->XLabel(0), "");
    EXPECT_EQ(s->XLabel(1), "one");
    s->SetColorEachPoint(true);
    EXPECT_EQ(s->ValueColor(0), ChartPaletteColor(0));
    struct TRefuser : frame::TObject {
        void Refuse(frame::TObject*, bool& accept) { accept = false; }
    } refuser;
    s->OnBeforeAdd = frame::TEvent<frame::TObject*, bool&>::Of<&TRefuser::Refuse>(&refuser);
    EXPECT_EQ(s->AddXY(5, 5), -1);
    EXPECT_EQ(s->Count(), 3);
}

TEST(Series, ClearOnEmptySeriesStillRepaints) {
    TChartTestForm form(nullptr);
    auto* chart = new TChart(&form);
    auto* s = new TFastLineSeries(&form);
    s->SetParentChart(chart);
    frame::TBitmap bitmap;
    bitmap.SetSize(50, 40);
    chart->SetBounds(0, 0, 50, 40);
    chart->Draw(bitmap.Canvas(), TRect{0, 0, 50, 40});
    EXPECT_FALSE(chart->Canvas3D()->Stale());
    s->Clear();
    EXPECT_TRUE(chart->Canvas3D()->Stale());
}

TEST(Series, AssignMovesTheFunctionAndComputesThroughIt) {
    TChartTestForm screen(nullptr), report(nullptr);
    TFastLineSeries* source = nullptr;
    charttest::MakeResultChart(&screen, &source);
    TSeriesFunction* function = source->FunctionType();
    ASSERT_NE(function, nullptr);
    auto* target = new TLineSeries(&report);
    target->SetSeriesColor(frame::clRed);
    target->Assign(source);
    EXPECT_EQ(source->FunctionType(), nullptr);
    EXPECT_EQ(target->FunctionType(), function);
    EXPECT_EQ(function->ParentSeries(), target);
    EXPECT_EQ(target->Count(), 32);
    EXPECT_EQ(Xs(*target), Xs(*source));
    EXPECT_EQ(Ys(*target), Ys(*source));
    EXPECT_EQ(target->ValueColor(3), frame::clBlack); // automatic colour: the copied series colour
    EXPECT_EQ(target->SeriesColor(), frame::clBlack);
    EXPECT_FALSE(target->Pointer()->Visible());
    // A second Assign moves nothing and computes the same points.
    target->Assign(source);
    EXPECT_EQ(target->FunctionType(), function);
    EXPECT_EQ(Ys(*target), Ys(*source));
}

TEST(Series, AssignWithoutFunctionCopiesPointByPoint) {
    TChartTestForm form(nullptr);
    auto* a = new TFastLineSeries(&form);
    a->AddXY(2, 20, "b", frame::clRed);
    a->AddXY(1, 10, "a", frame::clGreen);
    a->XValues()->SetMultiplier(1);
    auto* b = new TLineSeries(&form);
    b->Assign(a);
    EXPECT_EQ(Xs(*b), (std::vector<double>{1, 2}));
    EXPECT_EQ(b->ValueColor(0), frame::clGreen);
    EXPECT_EQ(b->XLabel(1), "b");
    b->AssignValues(b); // itself: nothing
    EXPECT_EQ(b->Count(), 2);
    frame::TPersistent unrelated;
    EXPECT_THROW(b->Assign(&unrelated), rtl::Exception);
}

TEST(SeriesFunction, AddFunctionBlocks) {
    TChartTestForm form(nullptr);
    auto* source = new TLineSeries(&form);
    for (int i = 0; i < 5; ++i)
        source->AddXY(i, i + 1); // 1 2 3 4 5
    auto* target = new TLineSeries(&form);
    auto* add = new TAddFunction(&form);
    add->SetParentSeries(target);
    add->SetPeriod(1);
    target->AssignValues(source);
    EXPECT_EQ(Ys(*target), (std::vector<double>{1, 2, 3, 4, 5}));
    // Period 2: (0.5, 3), (2.5, 7); the fifth point is dropped.
    add->SetPeriod(2);
    target->AssignValues(source);
    EXPECT_EQ(Xs(*target), (std::vector<double>{0.5, 2.5}));
    EXPECT_EQ(Ys(*target), (std::vector<double>{3, 7}));
    // Period 0: a horizontal line at the total across the X range.
    add->SetPeriod(0);
    target->AssignValues(source);
    EXPECT_EQ(Xs(*target), (std::vector<double>{0, 4}));
    EXPECT_EQ(Ys(*target), (std::vector<double>{15, 15}));
    EXPECT_THROW(add->SetPeriod(-1), rtl::ChartException);
    EXPECT_EQ(add->Period(), 0);
    // An empty source adds nothing.
    auto* empty = new TLineSeries(&form);
    target->AssignValues(empty);
    EXPECT_EQ(target->Count(), 0);
}

TEST(SeriesFunction, KindsOverRangesAndSources) {
    TChartTestForm form(nullptr);
    auto* s = new TLineSeries(&form);
    for (double y : {4.0, -2.0, 6.0})
        s->AddXY(s->Count(), y);
    auto* empty = new TLineSeries(&form);
    THighFunction high(&form);
    TLowFunction low(&form);
    TAverageFunction average(&form);
    TAddFunction add(&form);
    EXPECT_EQ(high.Calculate(s, -1, -1), 6);
    EXPECT_EQ(high.Calculate(s, 0, 1), 4);
    EXPECT_EQ(low.Calculate(s, -1, -1), -2);
    EXPECT_EQ(low.Calculate(s, 1, 2), -2);
    EXPECT_EQ(average.Calculate(s, -1, -1), 8.0 / 3);
    EXPECT_EQ(average.Calculate(s, 1, 2), 2);
    EXPECT_EQ(add.Calculate(s, 2, 1), 0);
    // Empty sources and empty ranges give 0, never a division by zero or a stray infinity.
    EXPECT_EQ(average.Calculate(empty, -1, -1), 0);
    EXPECT_EQ(average.Calculate(s, 2, 1), 0);
    EXPECT_EQ(high.Calculate(empty, -1, -1), 0);
    EXPECT_EQ(high.Calculate(s, 2, 1), 0);
    EXPECT_EQ(low.Calculate(s, 5, 9), 0);

    auto* shorter = new TLineSeries(&form);
    shorter->AddXY(0, 2);
    std::vector<TChartSeries*> both{s, shorter};
    TSubtractFunction subtract(&form);
    TMultiplyFunction multiply(&form);
    TDivideFunction divide(&form);
    EXPECT_EQ(add.CalculateMany(both, 0), 6);
    EXPECT_EQ(subtract.CalculateMany(both, 0), 2);
    EXPECT_EQ(multiply.CalculateMany(both, 0), 8);
    EXPECT_EQ(divide.CalculateMany(both, 0), 2);
    EXPECT_EQ(high.CalculateMany(both, 0), 4);
    EXPECT_EQ(low.CalculateMany(both, 0), 2);
    EXPECT_EQ(average.CalculateMany(both, 0), 3);
    // Index 2 exists only in the first source: the shorter one is skipped, not read past.
    EXPECT_EQ(divide.CalculateMany(both, 2), 6);
    EXPECT_EQ(add.CalculateMany(both, 2), 6);
    EXPECT_EQ(average.CalculateMany(both, 7), 0);
    // Zero divisors are skipped.
    auto* zero = new TLineSeries(&form);
    zero->AddXY(0, 0);
    EXPECT_EQ(divide.CalculateMany({s, zero}, 0), 4);
}

TEST(SeriesFunction, HandedOverFunctionIsFreedOnceWhicheverFormGoesFirst) {
    for (bool screenFirst : {true, false}) {
        auto screen = std::make_unique<TChartTestForm>(nullptr);
        auto report = std::make_unique<TChartTestForm>(nullptr);
        TFastLineSeries* source = nullptr;
        charttest::MakeResultChart(screen.get(), &source);
        auto* target = new TLineSeries(report.get());
        target->Assign(source);
        TSeriesFunction* function = target->FunctionType();
        ASSERT_NE(function, nullptr);
        EXPECT_EQ(function->Owner(), screen.get());
        if (screenFirst) {
            screen.reset(); // the owner frees the function: the series forgets it
            EXPECT_EQ(target->FunctionType(), nullptr);
            target->Assign(target); // nothing to copy, nothing freed
            report.reset();
        } else {
            report.reset(); // the series frees the function: it leaves its owner's list
            for (int i = 0; i < screen->ComponentCount(); ++i)
                EXPECT_NE(screen->Components(i), static_cast<frame::TComponent*>(function));
            screen.reset();
        }
    }
}

TEST(SeriesFunction, AttachingReplacesAndDetaches) {
    TChartTestForm form(nullptr);
    auto* s = new TLineSeries(&form);
    auto* first = new TAddFunction(&form);
    first->SetParentSeries(s);
    int before = form.ComponentCount();
    auto* second = new TAverageFunction(&form);
    second->SetParentSeries(s); // the first is freed
    EXPECT_EQ(s->FunctionType(), second);
    EXPECT_EQ(form.ComponentCount(), before);
    second->SetParentSeries(nullptr);
    EXPECT_EQ(s->FunctionType(), nullptr);
    delete s; // the detached function stays with its owner
    EXPECT_EQ(second->ParentSeries(), nullptr);
}
