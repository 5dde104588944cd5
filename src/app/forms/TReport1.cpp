#include "app/forms/TReport1.h"

#include <array>

#include "app/MonthSession.h"
#include "app/ProgramForms.h"
#include "app/forms/TResult.h"
#include "chart/TCustomChart.h"
#include "chart/TFastLineSeries.h"
#include "chart/TLineSeries.h"
#include "controls/TLabel.h"
#include "frame/ClassBuilder.h"
#include "report/TRepBand.h"
#include "report/TRepChart.h"
#include "report/TRepImage.h"
#include "report/TRepLabel.h"
#include "report/TRepShape.h"
#include "rtl/DateText.h"
#include "rtl/FormatSettings.h"

namespace app {

using namespace frame;

namespace {
const char* const BirthDatePrefix = "Дата рождения: ";
const char* const PeriodPrefix = "Расчетный период: ";
const char* const PeriodSuffix = " г.";
} // namespace

const TClassInfo* TReport1::StaticClass() {
    static const auto info = TClassBuilder<TReport1>("TReport1", report::TReport::StaticClass())
                                 .Field("TitleBand1", &TReport1::TitleBand1)
                                 .Field("RepChart1", &TReport1::RepChart1)
                                 .Field("RepChart2", &TReport1::RepChart2)
                                 .Field("RepChart3", &TReport1::RepChart3)
                                 .Field("RepChart4", &TReport1::RepChart4)
                                 .Field("RepDBChart1", &TReport1::RepDBChart1)
                                 .Field("RepDBChart2", &TReport1::RepDBChart2)
                                 .Field("RepDBChart3", &TReport1::RepDBChart3)
                                 .Field("RepDBChart4", &TReport1::RepDBChart4)
                                 .Field("Series1", &TReport1::Series1)
                                 .Field("Series2", &TReport1::Series2)
                                 .Field("Series3", &TReport1::Series3)
                                 .Field("Series4", &TReport1::Series4)
                                 .Field("RepShape1", &TReport1::RepShape1)
                                 .Field("RepShape2", &TReport1::RepShape2)
                                 .Field("RepShape3", &TReport1::RepShape3)
                                 .Field("RepShape4", &TReport1::RepShape4)
                                 .Field("RepShape5", &TReport1::RepShape5)
                                 .Field("RepShape6", &TReport1::RepShape6)
                                 .Field("RepLabel1", &TReport1::RepLabel1)
                                 .Field("RepLabel2", &TReport1::RepLabel2)
                                 .Field("RepLabel3", &TReport1::RepLabel3)
                                 .Field("RepLabel4", &TReport1::RepLabel4)
                                 .Field("RepLabel5", &TReport1::RepLabel5)
                                 .Field("RepLabel6", &TReport1::RepLabel6)
                                 .Field("RepLabel7", &TReport1::RepLabel7)
                                 .Field("RepLabel8", &TReport1::RepLabel8)
                                 .Field("RepImage1", &TReport1::RepImage1)
                                 .Method<&TReport1::Report1BeforePrint>("Report1BeforePrint")
                                 .Build();
    return info.get();
}

TReport1::TReport1(TComponent* owner) : TReport(owner) {}

TReport1::~TReport1() {
    if (Report1 == this)
        Report1 = nullptr;
}

std::function<rtl::TDateTime()>& TReport1::Clock() {
    static std::function<rtl::TDateTime()> clock = rtl::Now;
    return clock;
}

std::string TReport1::StampText(rtl::TDateTime moment) {
    // Date and time from one reading: read apart, a print at midnight could carry the old day
    // with the new day's time.
    const rtl::TFormatSettings& settings = rtl::FormatSettings();
    std::string stamp = rtl::DateToStr(moment, settings);
    stamp += ' ';
    stamp += rtl::TimeToStr(moment, settings);
    return stamp;
}

void TReport1::Report1BeforePrint(TObject*, bool&) {
    if (Result)
        FillFrom(*Result);
    if (RepLabel7)
        RepLabel7->SetCaption(StampText(Clock()()));
}

void TReport1::FillFrom(const TResult& result) {
    std::array<chart::TLineSeries*, 4> paper = {Series1, Series2, Series3, Series4};
    std::array<chart::TFastLineSeries*, 4> screen = result.CycleSeries();
    for (chart::TLineSeries* s : paper) {
        if (s)
            s->Clear();
    }
    for (size_t i = 0; i < paper.size(); ++i) {
        if (paper[i] && screen[i])
            paper[i]->Assign(screen[i]);
    }
    // The page names the month its charts and lists were computed for. The input form's
    // controls may have moved on since: the calendar changed without "Next", a "Next" or a
    // month step that drew nothing, the period reset when the input form came back.
    const TShownMonth* shown = Session ? &Session->Shown() : nullptr;
    if (shown && shown->Filled) {
        std::string birth = BirthDatePrefix;
        birth += shown->BirthDateText();
        std::string period = PeriodPrefix;
        period += shown->PeriodText;
        period += PeriodSuffix;
        if (RepLabel2)
            RepLabel2->SetCaption(birth);
        if (RepLabel3)
            RepLabel3->SetCaption(period);
    }
    std::array<std::pair<report::TRepLabel*, controls::TLabel*>, 3> lists = {
        std::pair{RepLabel4, result.Label1}, std::pair{RepLabel5, result.Label2},
        std::pair{RepLabel6, result.Label3}};
    for (auto [label, list] : lists) {
        if (label && list)
            label->SetCaption(list->Caption());
    }
}

} // namespace app
