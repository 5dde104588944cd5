#include "OnePageReportForm.h"

#include <cmath>
#include <cstdio>
#include <mutex>
#include <sstream>

#include "chart/ChartClasses.h"
#include "chart/TChartSeries.h"
#include "controls/RegisterControls.h"
#include "frame/FrameClasses.h"
#include "frame/graphics/TIcon.h"
#include "report/ReportClasses.h"
#include "report/TRepImage.h"
#include "report/TRepLabel.h"

namespace reporttest {

using namespace report;

void RegisterReportFormClasses() {
    static std::once_flag once;
    std::call_once(once, [] {
        frame::RegisterFrameClasses();
        controls::RegisterStreamClasses();
        chart::RegisterChartClasses();
        report::RegisterReportClasses();
    });
}

std::string SizeValues(double height, double left, double top, double width) {
    auto tenths = [](double px) {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.10f", px * 254.0 / 96.0);
        return std::string(buffer);
    };
    return "Size.Values = (" + tenths(height) + " " + tenths(left) + " " + tenths(top) + " " +
           tenths(width) + ")\n";
}

namespace {

std::string Label(const std::string& name, const std::string& caption, double l, double t, double w,
                  double h, int points = 9, bool bold = false) {
    std::ostringstream s;
    s << "object " << name << ": TRepLabel\n"
      << "  Left = " << l << "\n  Top = " << t << "\n  Width = " << w << "\n  Height = " << h
      << "\n  " << SizeValues(h, l, t, w) << "  Alignment = taLeftJustify\n"
      << "  AlignToBand = False\n  AutoSize = True\n  AutoStretch = False\n"
      << "  Caption = '" << caption << "'\n  Color = clBtnFace\n"
      << "  Font.Charset = RUSSIAN_CHARSET\n  Font.Color = clWindowText\n"
      << "  Font.Height = -" << (points * 96 + 36) / 72 << "\n  Font.Name = 'Arial'\n"
      << "  Font.Style = [" << (bold ? "fsBold" : "") << "]\n  ParentFont = False\n"
      << "  Transparent = False\n  WordWrap = True\n  FontSize = " << points << "\nend\n";
    return s.str();
}

std::string Shape(const std::string& name, bool line, double l, double t, double w, double h) {
    std::ostringstream s;
    s << "object " << name << ": TRepShape\n"
      << "  Left = " << l << "\n  Top = " << t << "\n  Width = " << w << "\n  Height = " << h
      << "\n  " << SizeValues(h, l, t, w);
    if (line)
        s << "  Pen.Width = 2\n  Shape = rsHorLine\n";
    else
        s << "  Brush.Color = clBtnFace\n  Pen.Color = clNone\n  Shape = rsRectangle\n";
    s << "end\n";
    return s.str();
}

std::string Chart(int n, const std::string& title, double t, double h, int range) {
    std::ostringstream s;
    s << "object RepChart" << n << ": TRepChart\n"
      << "  Left = 8\n  Top = " << t << "\n  Width = 633\n  Height = " << h << "\n  "
      << SizeValues(h, 8, t, 633) << "  object RepDBChart" << n << ": TRepDBChart\n"
      << "    BackWall.Brush.Color = clWhite\n    BackWall.Brush.Style = bsClear\n"
      << "    Title.Font.Charset = RUSSIAN_CHARSET\n    Title.Font.Color = clBlack\n"
      << "    Title.Font.Height = -11\n    Title.Font.Name = 'Arial'\n"
      << "    Title.Font.Style = []\n    Title.Text.Strings = (\n      '" << title << "')\n"
      << "    BottomAxis.Automatic = False\n    BottomAxis.Axis.Visible = False\n"
      << "    LeftAxis.Automatic = False\n    LeftAxis.AutomaticMaximum = False\n"
      << "    LeftAxis.AutomaticMinimum = False\n    LeftAxis.Maximum = " << range
      << "\n    LeftAxis.Minimum = -" << range << "\n    Legend.Visible = False\n"
      << "    View3D = False\n"
      << "    object Series" << n << ": TLineSeries\n"
      << "      Marks.ArrowLength = 8\n      Marks.Visible = False\n"
      << "      SeriesColor = clRed\n      Pointer.InflateMargins = True\n"
      << "      Pointer.Style = psRectangle\n      Pointer.Visible = False\n"
      << "      XValues.DateTime = False\n      XValues.Name = 'X'\n"
      << "      XValues.Multiplier = 1\n      XValues.Order = loAscending\n"
      << "      YValues.DateTime = False\n      YValues.Name = 'Y'\n"
      << "      YValues.Multiplier = 1\n      YValues.Order = loNone\n"
      << "    end\n  end\nend\n";
    return s.str();
}

} // namespace

std::string OnePageReportText(bool charts, const std::string& rootClass) {
    std::string band;
    if (charts) {
        band += Chart(3, "Интеллектуальный цикл", 456, 113, 1);
        band += Chart(4, "Суммирующий график", 592, 173, 3);
    }
    band += Shape("RepShape4", true, 46, 509, 577, 9);
    band += Shape("RepShape5", true, 46, 675, 577, 9);
    band += Shape("RepShape6", false, 8, 916, 633, 29);
    band += Label("RepLabel7", "00.00.0000 00:00", 16, 924, 97, 16);
    band += Label("RepLabel8", "Zorvane: biorhythms", 345, 924, 286, 16);
    band += Shape("RepShape1", false, 8, 8, 633, 145);
    if (charts) {
        band += Chart(1, "Физический цикл", 184, 113, 1);
        band += Chart(2, "Эмоциональный цикл", 320, 113, 1);
    }
    band += Label("RepLabel1", "Zorvane", 64, 24, 130, 42, 22, true);
    band += Label("RepLabel2", "Дата рождения:", 312, 24, 92, 16);
    band += Label("RepLabel3", "Расчетный период:", 312, 48, 111, 16);
    band += Label("RepLabel4", "Неблагоприятные дни:", 312, 72, 132, 16);
    band += Label("RepLabel5", "Опасные дни:", 312, 96, 80, 16);
    band += Label("RepLabel6", "Особо опасные дни:", 312, 120, 117, 16);
    band += Shape("RepShape2", true, 46, 237, 577, 9);
    band += Shape("RepShape3", true, 46, 373, 577, 9);
    band += "object RepImage1: TRepImage\n  Left = 24\n  Top = 24\n  Width = 32\n"
            "  Height = 32\n  " +
            SizeValues(32, 24, 24, 32) + "  AutoSize = True\n  Stretch = True\nend\n";

    std::string text = "object TestReport: " + rootClass + R"(
  Left = 0
  Top = 0
  Width = 794
  Height = 1123
  Frame.Color = clBlack
  Frame.DrawTop = False
  Frame.DrawBottom = False
  Frame.DrawLeft = False
  Frame.DrawRight = False
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -13
  Font.Name = 'Arial Cyr'
  Font.Style = []
  Functions.Strings = (
    'PAGENUMBER'
    'COLUMNNUMBER'
    'REPORTTITLE')
  Functions.DATA = (
    '0'
    '0'
    '''''')
  Options = []
  Page.Columns = 1
  Page.Orientation = poPortrait
  Page.PaperSize = A4
  Page.Values = (
    200
    2970
    200
    2100
    200
    200
    0)
  PrinterSettings.Copies = 1
  PrinterSettings.Duplex = False
  PrinterSettings.FirstPage = 1
  PrinterSettings.LastPage = 1
  PrinterSettings.OutputBin = First
  PrintIfEmpty = True
  SnapToGrid = True
  Units = MM
  Zoom = 100
)";
    // The test report's handler runs the test's own code before the print.
    if (rootClass == "TTestReport")
        text += "  BeforePrint = ReportBeforePrint\n";
    text += R"(  object TitleBand1: TRepBand
    Left = 76
    Top = 76
    Width = 643
    Height = 960
    Frame.Color = clBlack
    Frame.DrawTop = False
    Frame.DrawBottom = False
    Frame.DrawLeft = False
    Frame.DrawRight = False
    AlignToBottom = False
    Color = clWhite
    ForceNewColumn = False
    ForceNewPage = False
    Size.Values = (
      2540
      1701.2708333333)
    BandType = rbTitle
)";
    std::istringstream lines(band);
    for (std::string line; std::getline(lines, line);)
        text += "    " + line + "\n";
    text += "  end\nend\n";
    return text;
}

void LoadProgramIcon(TCustomReport& report) {
    if (auto* image = frame::As<TRepImage>(report.FindComponent("RepImage1")))
        image->Picture()->Icon()->LoadFromFile(std::string(ZORVANE_SOURCE_DIR) +
                                               "/resources/images/zorvane.ico");
}

void FillOnePageReport(TCustomReport& report) {
    auto label = [&](const char* name) { return frame::As<TRepLabel>(report.FindComponent(name)); };
    label("RepLabel2")->SetCaption("Дата рождения: 15.3.1980");
    label("RepLabel3")->SetCaption("Расчетный период: Март 2000 г.");
    label("RepLabel4")->SetCaption("Неблагоприятные дни: 1 3 4 13 18 20 24");
    label("RepLabel5")->SetCaption("Опасные дни: нет.");
    label("RepLabel6")->SetCaption("Особо опасные дни: нет.");
    label("RepLabel7")->SetCaption("06.12.2026 20:31:37");
    for (int n = 1; n <= 4; ++n) {
        auto* series =
            frame::As<chart::TChartSeries>(report.FindComponent("Series" + std::to_string(n)));
        if (!series)
            continue;
        series->Clear();
        for (int day = 1; day <= 32; ++day)
            series->AddXY(day, (n == 4 ? 2.5 : 0.9) * std::sin(day / 3.0 + n));
    }
}

} // namespace reporttest
