// Axes: ranges, value-to-pixel conversion, the validating setters.
#include <cmath>
#include <limits>

#include "ChartTestTools.h"
#include "rtl/FormatSettings.h"

using namespace chart;
using charttest::TChartTestForm;

namespace {
// A chart whose plot rectangle is set by hand, for the conversions.
struct TAxisFixture {
    TChartTestForm form{nullptr};
    TChart* chart = new TChart(&form);
    TAxisFixture(TRect plot) {
        chart->SetChartRect(plot);
        chart->RecalcWidthHeight();
    }
};
} // namespace

TEST(Axis, PositionsOfTheLeftAxis) {
    TAxisFixture f(TRect{40, 21, 612, 51}); // 30 pixels high
    TChartAxis* left = f.chart->LeftAxis();
    left->SetAutomatic(false);
    left->SetMinMax(-1.1, 1.1);
    left->AdjustMaxMin();
    EXPECT_EQ(left->IRange(), 1.1 - -1.1);
    EXPECT_EQ(left->CalcPosValue(1.1), 21);
    EXPECT_EQ(left->CalcPosValue(-1.1), 51);
    EXPECT_EQ(left->CalcPosValue(0), 36);
    EXPECT_EQ(left->CalcPosValue(1), 22);  // 51 - Round(28.636)
    EXPECT_EQ(left->CalcPosValue(-1), 50); // 51 - Round(1.364)
    EXPECT_NEAR(left->CalcPosPoint(36), 0, 1e-12);
    EXPECT_NEAR(left->CalcPosPoint(21), 1.1, 1e-12);
    left->SetInverted(true);
    EXPECT_EQ(left->CalcPosValue(1.1), 51);
    EXPECT_NEAR(left->CalcPosPoint(21), -1.1, 1e-12);
}

TEST(Axis, PositionsOfTheBottomAxis) {
    TAxisFixture f(TRect{40, 21, 612, 51}); // 572 wide
    TChartAxis* bottom = f.chart->BottomAxis();
    bottom->SetAutomatic(false);
    bottom->SetMinMax(0, 31);
    bottom->AdjustMaxMin();
    EXPECT_EQ(bottom->CalcPosValue(0), 40);
    EXPECT_EQ(bottom->CalcPosValue(31), 612);
    EXPECT_EQ(bottom->CalcPosValue(1), 58); // 40 + Round(18.45)
    // Half the width exactly.
    bottom->SetMinMax(0, 2);
    bottom->AdjustMaxMin();
    EXPECT_EQ(bottom->CalcPosValue(1), 326);
}

TEST(Axis, ConversionsAreGuardedForAnyValue) {
    TAxisFixture f(TRect{40, 21, 612, 51});
    TChartAxis* left = f.chart->LeftAxis();
    left->SetAutomatic(false);
    left->SetMinMax(-1.1, 1.1);
    left->AdjustMaxMin();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(left->CalcPosValue(std::nan("")), f.chart->ChartYCenter());
    EXPECT_LE(left->CalcPosValue(1e300), -int32_t(kPixelLimit) + 51);
    EXPECT_GE(left->CalcPosValue(-1e300), int32_t(kPixelLimit) - 51);
    EXPECT_LT(left->CalcPosValue(inf), 0);
    EXPECT_GT(left->CalcPosValue(-inf), 0);
    // A constant but large range, and an infinite one.
    left->SetMinMax(1e308, 1e308);
    left->AdjustMaxMin();
    EXPECT_EQ(left->CalcPosValue(5), f.chart->ChartYCenter());
    left->SetMinMax(-1e308, 1e308);
    left->AdjustMaxMin(); // IRange is infinite
    left->CalcPosValue(0);
    left->CalcPosValue(1e308);
    EXPECT_EQ(left->CalcPosValue(std::nan("")), f.chart->ChartYCenter());
}

TEST(Axis, EmptyChartWithAutomaticAxisCentresEverything) {
    TAxisFixture f(TRect{10, 10, 110, 60});
    TChartAxis* bottom = f.chart->BottomAxis();
    bottom->AdjustMaxMin();
    EXPECT_EQ(bottom->IMinimum(), 0);
    EXPECT_EQ(bottom->IMaximum(), 0);
    EXPECT_EQ(bottom->CalcPosValue(123), 60);
    EXPECT_EQ(f.chart->LeftAxis()->CalcPosValue(-5), 35);
}

TEST(Axis, AutomaticRangeFollowsTheSeries) {
    TChartTestForm form(nullptr);
    auto* chart = new TChart(&form);
    auto* s = new TFastLineSeries(&form);
    s->SetParentChart(chart);
    s->AddXY(2, -3);
    s->AddXY(7, 4);
    chart->BottomAxis()->AdjustMaxMin();
    chart->LeftAxis()->AdjustMaxMin();
    EXPECT_EQ(chart->BottomAxis()->IMinimum(), 2);
    EXPECT_EQ(chart->BottomAxis()->IMaximum(), 7);
    EXPECT_EQ(chart->LeftAxis()->IRange(), 7);
    EXPECT_TRUE(chart->BottomAxis()->IsActive());
    EXPECT_FALSE(chart->TopAxis()->IsActive());
    s->SetActive(false);
    chart->LeftAxis()->AdjustMaxMin();
    EXPECT_EQ(chart->LeftAxis()->IRange(), 0);
}

TEST(Axis, SettersValidateOutsideLoading) {
    TChartTestForm form(nullptr);
    auto* chart = new TChart(&form);
    TChartAxis* a = chart->LeftAxis();
    a->SetMaximum(5);
    try {
        a->SetMinimum(6);
        FAIL();
    } catch (const rtl::AxisException& e) {
        EXPECT_STREQ(e.what(), "Axis Minimum Value must be <= Maximum");
    }
    try {
        a->SetMaximum(-1);
        FAIL();
    } catch (const rtl::AxisException& e) {
        EXPECT_STREQ(e.what(), "Axis Maximum Value must be >= Minimum");
    }
    try {
        a->SetIncrement(-1);
        FAIL();
    } catch (const rtl::AxisException& e) {
        EXPECT_STREQ(e.what(), "Axis increment must be >= 0");
    }
    EXPECT_THROW(a->SetLabelsSeparation(-1), rtl::AxisException);
    a->SetLabelsSeparation(0);
    EXPECT_EQ(a->Maximum(), 5);
    try {
        chart->SetChart3DPercent(0);
        FAIL();
    } catch (const rtl::ChartException& e) {
        EXPECT_STREQ(e.what(), "3D effect percent must be between 1 and 100");
    }
    EXPECT_THROW(chart->SetMaxPointsPerPage(-1), rtl::ChartException);
    // While loading, the order of the limits does not matter.
    chart->SetStateFlag(frame::csLoading, true);
    a->SetMinimum(10);
    a->SetMaximum(20);
    chart->SetStateFlag(frame::csLoading, false);
    EXPECT_EQ(a->Minimum(), 10);
    EXPECT_EQ(a->Maximum(), 20);
}

TEST(Axis, AutomaticFlags) {
    TChartTestForm form(nullptr);
    auto* chart = new TChart(&form);
    TChartAxis* a = chart->BottomAxis();
    a->SetAutomatic(false);
    EXPECT_FALSE(a->AutomaticMinimum());
    EXPECT_FALSE(a->AutomaticMaximum());
    a->SetAutomatic(true);
    a->SetAutomaticMinimum(false);
    EXPECT_FALSE(a->Automatic());
    EXPECT_TRUE(a->AutomaticMaximum());
    chart->SetStateFlag(frame::csLoading, true);
    a->SetAutomaticMinimum(true);
    a->SetAutomatic(false);
    chart->SetStateFlag(frame::csLoading, false);
    EXPECT_TRUE(a->AutomaticMinimum());
    EXPECT_TRUE(a->AutomaticMaximum());
}

TEST(Axis, LabelTexts) {
    TChartTestForm form(nullptr);
    auto* chart = new TChart(&form);
    TChartAxis* a = chart->LeftAxis();
    rtl::TFormatSettings saved = rtl::FormatSettings();
    // Assigned from strings, not literals: a literal here trips a false -Wrestrict of GCC 12.
    rtl::FormatSettings().DecimalSeparator = std::string(",");
    rtl::FormatSettings().ThousandSeparator = std::string(" ");
    EXPECT_EQ(a->LabelValue(1), "1");
    EXPECT_EQ(a->LabelValue(-1), "-1");
    EXPECT_EQ(a->LabelValue(0.25), "0,25");
    EXPECT_EQ(a->LabelValue(1234.56789), "1 234,568");
    a->SetLabelsMultiLine(true);
    EXPECT_EQ(a->LabelValue(1234), "1\r234");
    rtl::FormatSettings() = saved;
}

TEST(Axis, EqualValueDoesNotRepaint) {
    TChartTestForm form(nullptr);
    auto* chart = new TChart(&form);
    frame::TBitmap bitmap;
    bitmap.SetSize(40, 30);
    chart->Draw(bitmap.Canvas(), TRect{0, 0, 40, 30});
    ASSERT_FALSE(chart->Canvas3D()->Stale());
    chart->LeftAxis()->SetTickLength(4);
    chart->Gradient()->SetVisible(false);
    chart->Title()->SetAlignment(taCenter);
    chart->SetMarginLeft(3);
    chart->BackWall()->Pen()->SetVisible(true);
    EXPECT_FALSE(chart->Canvas3D()->Stale());
    chart->LeftAxis()->SetTickLength(5);
    EXPECT_TRUE(chart->Canvas3D()->Stale());
}
