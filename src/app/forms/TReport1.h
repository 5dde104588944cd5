#pragma once
// The one-page printed report: its design (page, the title band and its printables) is the form
// resource; it is never shown. Before each print Report1BeforePrint copies the result form's four
// series and lists and names the month on show in the program's month session.
#include <functional>
#include <string>

#include "report/TCustomReport.h"
#include "rtl/DateTime.h"

namespace chart {
class TRepDBChart;
class TLineSeries;
} // namespace chart

namespace report {
class TRepBand;
class TRepChart;
class TRepShape;
class TRepLabel;
class TRepImage;
} // namespace report

namespace app {

class TResult;

class TReport1 : public report::TReport {
public:
    ZORVANE_CLASS(TReport1)
    // InitializeReport reads the design.
    explicit TReport1(frame::TComponent* owner);
    ~TReport1() override;

    // The design, bound by name as the report is read.
    report::TRepBand* TitleBand1 = nullptr;
    report::TRepChart* RepChart1 = nullptr; // physical cycle
    report::TRepChart* RepChart2 = nullptr; // emotional cycle
    report::TRepChart* RepChart3 = nullptr; // intellectual cycle
    report::TRepChart* RepChart4 = nullptr; // sum
    chart::TRepDBChart* RepDBChart1 = nullptr;
    chart::TRepDBChart* RepDBChart2 = nullptr;
    chart::TRepDBChart* RepDBChart3 = nullptr;
    chart::TRepDBChart* RepDBChart4 = nullptr;
    chart::TLineSeries* Series1 = nullptr;
    chart::TLineSeries* Series2 = nullptr;
    chart::TLineSeries* Series3 = nullptr;
    chart::TLineSeries* Series4 = nullptr;
    report::TRepShape* RepShape1 = nullptr; // header background
    report::TRepShape* RepShape2 = nullptr; // zero lines of the four charts
    report::TRepShape* RepShape3 = nullptr;
    report::TRepShape* RepShape4 = nullptr;
    report::TRepShape* RepShape5 = nullptr;
    report::TRepShape* RepShape6 = nullptr; // footer background
    report::TRepLabel* RepLabel1 = nullptr; // "Zorvane"
    report::TRepLabel* RepLabel2 = nullptr; // birth date
    report::TRepLabel* RepLabel3 = nullptr; // period
    report::TRepLabel* RepLabel4 = nullptr; // unfavourable days
    report::TRepLabel* RepLabel5 = nullptr; // dangerous days
    report::TRepLabel* RepLabel6 = nullptr; // especially dangerous days
    report::TRepLabel* RepLabel7 = nullptr; // print date and time
    report::TRepLabel* RepLabel8 = nullptr; // credit line
    report::TRepImage* RepImage1 = nullptr; // the program icon

    // Bound by the resource to BeforePrint. Copies the result form's series (points and colour)
    // and lists; the birth date and the period are those of the session's month on show, not
    // what the input form's controls hold by now. The go-ahead flag is left as it is.
    void Report1BeforePrint(frame::TObject* sender, bool& printReport);

    // The print stamp for a moment: the locale's short date, one blank, its long time.
    static std::string StampText(rtl::TDateTime moment);
    // The moment a print is stamped with (the local clock; tests replace it). Read once a print.
    static std::function<rtl::TDateTime()>& Clock();

private:
    void FillFrom(const TResult& result);
};

} // namespace app
