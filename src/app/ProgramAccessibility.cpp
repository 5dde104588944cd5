#include "app/ProgramAccessibility.h"

#include "app/ChartWords.h"
#include "app/ProgramForms.h"
#include "app/forms/TAboutBox.h"
#include "app/forms/TIntro.h"
#include "app/forms/TResult.h"
#include "chart/TCustomChart.h"
#include "chart/TFastLineSeries.h"
#include "controls/TBitBtn.h"
#include "controls/TCalendar.h"
#include "controls/TComboBox.h"
#include "controls/TEdit.h"
#include "controls/TImage.h"
#include "controls/TLabel.h"
#include "controls/TUpDown.h"
#include "frame/TStrings.h"

namespace app {

namespace {

const char* const AboutName = "О программе";

void Name(frame::TControl* control, const char* name) {
    if (control)
        control->SetAccessibleName(name);
}

void DescribeIntro(TIntro& intro) {
    if (intro.Label1 && intro.ComboBox1)
        intro.Label1->SetFocusControl(intro.ComboBox1);
    if (intro.Label2 && intro.ComboBox2)
        intro.Label2->SetFocusControl(intro.ComboBox2);
    Name(intro.Image1, AboutName);
    Name(intro.Calendar, "День рождения");
    Name(intro.Edit1, "Год рождения");
    Name(intro.UpDown1, "Год рождения");
    Name(intro.Edit2, "Год расчетного периода");
    Name(intro.UpDown2, "Год расчетного периода");
}

std::string ChartTitle(const chart::TCustomChart& chart) {
    std::string title;
    frame::TStringList* lines = chart.Title()->Text();
    for (int i = 0; i < lines->Count(); ++i)
        title += (title.empty() ? "" : " ") + lines->Get(i);
    return title;
}

void DescribeResult(TResult& result) {
    Name(result.Image1, AboutName);
    Name(result.BitBtn4, "Предыдущий месяц");
    Name(result.BitBtn5, "Следующий месяц");
    auto charts = result.Charts();
    auto series = result.CycleSeries();
    for (std::size_t i = 0; i < charts.size(); ++i) {
        chart::TCustomChart* chart = charts[i];
        chart::TFastLineSeries* points = series[i];
        if (!chart || !points)
            continue;
        chart->AccessibleDescription = [chart, points] {
            if (!Session || !Session->Shown().Filled)
                return std::string();
            std::vector<double> values;
            for (int p = 0; p < points->Count(); ++p)
                values.push_back(points->YValue(p));
            return CycleChartWords(ChartTitle(*chart), Session->Shown().PeriodText, values);
        };
    }
}

} // namespace

void DescribeProgramForms() {
    if (Intro)
        DescribeIntro(*Intro);
    if (Result)
        DescribeResult(*Result);
    if (AboutBox)
        AboutBox->SetAccessibleDialog(true);
}

} // namespace app
