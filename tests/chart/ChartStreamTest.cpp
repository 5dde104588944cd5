// Every property path the program's forms set is read from a form resource.
#include "ChartTestTools.h"

using namespace chart;

namespace {
const char* kResultChart = R"(object Form1: TChartTestForm
  object Chart1: TChart
    Left = 8
    Top = 8
    Width = 633
    Height = 73
    BackWall.Brush.Color = clWhite
    BackWall.Brush.Style = bsClear
    BackWall.Pen.Color = clGray
    BackWall.Pen.Visible = False
    Gradient.EndColor = 8454143
    Gradient.Visible = True
    Title.Text.Strings = (
      'Физический цикл')
    BottomAxis.Automatic = False
    BottomAxis.Axis.Width = 1
    BottomAxis.Axis.Visible = False
    BottomAxis.ExactDateTime = False
    Frame.Color = clGray
    Frame.Visible = False
    LeftAxis.Automatic = False
    LeftAxis.AutomaticMaximum = False
    LeftAxis.AutomaticMinimum = False
    LeftAxis.Axis.Color = clBlue
    LeftAxis.ExactDateTime = False
    LeftAxis.Grid.Color = clBlue
    LeftAxis.Grid.Style = psSolid
    LeftAxis.Minimum = 5
    LeftAxis.Maximum = 1.1
    LeftAxis.Minimum = -1.1
    Legend.Visible = False
    ScaleLastPage = False
    View3D = False
    View3DWalls = False
    BevelOuter = bvNone
    BorderStyle = bsSingle
    Color = clWhite
    TabOrder = 2
    object Panel2: TPanel
      Left = 40
      Top = 34
      Width = 569
      Height = 3
      TabOrder = 0
    end
    object Series1: TFastLineSeries
      Marks.ArrowLength = 8
      Marks.Visible = False
      SeriesColor = clBlack
      LinePen.Width = 2
      XValues.DateTime = False
      XValues.Name = 'X'
      XValues.Multiplier = 1
      XValues.Order = loAscending
      YValues.DateTime = False
      YValues.Name = 'Y'
      YValues.Multiplier = 1
      YValues.Order = loNone
      object SeriesFunction1: TAddFunction
        Tag = 1
        Period = 1
      end
    end
  end
  object RepDBChart1: TRepDBChart
    BackWall.Brush.Color = clWhite
    BackWall.Brush.Style = bsClear
    Title.Font.Charset = RUSSIAN_CHARSET
    Title.Font.Color = clBlack
    Title.Font.Height = -11
    Title.Font.Name = 'Arial'
    Title.Font.Style = []
    Title.Text.Strings = (
      'Суммирующий график')
    BottomAxis.Automatic = False
    BottomAxis.Axis.Visible = False
    LeftAxis.Automatic = False
    LeftAxis.AutomaticMaximum = False
    LeftAxis.AutomaticMinimum = False
    LeftAxis.Maximum = 3
    LeftAxis.Minimum = -3
    Legend.Visible = False
    View3D = False
    object Series4: TLineSeries
      Marks.ArrowLength = 8
      Marks.Visible = False
      SeriesColor = clRed
      Pointer.InflateMargins = True
      Pointer.Style = psRectangle
      Pointer.Visible = False
      XValues.DateTime = False
      XValues.Name = 'X'
      XValues.Multiplier = 1
      XValues.Order = loAscending
      YValues.DateTime = False
      YValues.Name = 'Y'
      YValues.Multiplier = 1
      YValues.Order = loNone
    end
  end
end
)";
} // namespace

TEST(ChartStream, ResultAndReportChartsRead) {
    auto form = charttest::ReadChartForm(kResultChart);
    auto* chart = frame::As<TChart>(form->FindComponent("Chart1"));
    ASSERT_NE(chart, nullptr);
    EXPECT_FALSE(chart->HasState(frame::csLoading));
    EXPECT_EQ(chart->Width(), 633);
    EXPECT_EQ(chart->ClientRect(), (TRect{0, 0, 631, 71}));
    EXPECT_TRUE(chart->Gradient()->Visible());
    EXPECT_EQ(chart->Gradient()->EndColor(), 8454143);
    EXPECT_EQ(chart->BackWall()->Brush()->Style(), frame::bsClear);
    EXPECT_EQ(chart->BackWall()->Pen()->Color(), frame::clGray);
    EXPECT_FALSE(chart->Frame()->Visible());
    ASSERT_EQ(chart->Title()->Text()->Count(), 1);
    EXPECT_EQ(chart->Title()->Text()->Get(0), "Физический цикл");
    // Every title starts blue, the foot as the top one.
    EXPECT_EQ(chart->Title()->Font()->Color(), frame::clBlue);
    EXPECT_EQ(chart->Foot()->Font()->Color(), frame::clBlue);
    EXPECT_FALSE(chart->Legend()->Visible());
    EXPECT_FALSE(chart->View3D());
    EXPECT_FALSE(chart->View3DWalls());
    EXPECT_FALSE(chart->ScaleLastPage());
    EXPECT_EQ(chart->BevelOuter(), bvNone);
    EXPECT_EQ(chart->BorderStyle(), bsSingle);
    EXPECT_EQ(chart->Color(), frame::clWhite);
    // Read while loading: Automatic False leaves the streamed limits' defaults.
    TChartAxis* bottom = chart->BottomAxis();
    EXPECT_FALSE(bottom->Automatic());
    EXPECT_TRUE(bottom->AutomaticMaximum());
    EXPECT_TRUE(bottom->AutomaticMinimum());
    EXPECT_EQ(bottom->Axis()->Width(), 1);
    EXPECT_FALSE(bottom->Axis()->Visible());
    TChartAxis* left = chart->LeftAxis();
    EXPECT_EQ(left->Minimum(), -1.1);
    EXPECT_EQ(left->Maximum(), 1.1);
    EXPECT_EQ(left->Grid()->Style(), frame::psSolid);
    EXPECT_EQ(left->Axis()->Color(), frame::clBlue);

    auto* zeroLine = frame::As<controls::TPanel>(form->FindComponent("Panel2"));
    ASSERT_NE(zeroLine, nullptr);
    EXPECT_EQ(zeroLine->Parent(), chart);
    EXPECT_EQ(zeroLine->Top(), 34);
    // Written back: the series and the child panel are the chart's children.
    std::vector<frame::TComponent*> children;
    chart->GetChildren([&](frame::TComponent* c) { children.push_back(c); }, form.get());
    EXPECT_EQ(children.size(), 2u);

    ASSERT_EQ(chart->SeriesCount(), 1);
    auto* series = frame::As<TFastLineSeries>(chart->Series(0));
    ASSERT_NE(series, nullptr);
    EXPECT_EQ(series->Name(), "Series1");
    EXPECT_EQ(series->SeriesColor(), frame::clBlack);
    EXPECT_EQ(series->LinePen()->Width(), 2);
    EXPECT_FALSE(series->Marks()->Visible());
    EXPECT_EQ(series->Marks()->ArrowLength(), 8);
    EXPECT_EQ(series->XValues()->Order(), loAscending);
    EXPECT_EQ(series->YValues()->Order(), loNone);
    EXPECT_EQ(series->YValues()->Name(), "Y");
    auto* function = frame::As<TAddFunction>(series->FunctionType());
    ASSERT_NE(function, nullptr);
    EXPECT_EQ(function->Name(), "SeriesFunction1");
    EXPECT_EQ(function->Period(), 1);
    EXPECT_EQ(function->Tag(), 1);
    EXPECT_EQ(function->Owner(), form.get());

    auto* report = frame::As<TRepDBChart>(form->FindComponent("RepDBChart1"));
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(report->Title()->Font()->Charset(), frame::RUSSIAN_CHARSET);
    EXPECT_EQ(report->Title()->Font()->Color(), frame::clBlack);
    EXPECT_EQ(report->LeftAxis()->Minimum(), -3);
    EXPECT_FALSE(report->BufferedDisplay());
    EXPECT_FALSE(report->Visible());
    ASSERT_EQ(report->SeriesCount(), 1);
    auto* line = frame::As<TLineSeries>(report->Series(0));
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->SeriesColor(), frame::clRed);
    EXPECT_FALSE(line->Pointer()->Visible());
    EXPECT_TRUE(line->Pointer()->InflateMargins());
    EXPECT_EQ(line->FunctionType(), nullptr);

    // The report's copy takes the function over, as printing does.
    line->Assign(series);
    EXPECT_EQ(line->FunctionType(), function);
    EXPECT_EQ(series->FunctionType(), nullptr);
    form.reset(); // everything is freed once
}

TEST(ChartStream, BadValuesFailWithAMessage) {
    EXPECT_THROW(charttest::ReadChartForm("object F: TChartTestForm\n object C: TChart\n"
                                          "  LeftAxis.Increment = -1\n end\nend"),
                 rtl::Exception);
    EXPECT_THROW(charttest::ReadChartForm("object F: TChartTestForm\n object C: TChart\n"
                                          "  object S: TFastLineSeries\n"
                                          "   object F1: TAddFunction\n    Period = -2\n"
                                          "   end\n  end\n end\nend"),
                 rtl::Exception);
}
