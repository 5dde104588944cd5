#pragma once
// The result form: the month's four charts (physical, emotional and intellectual cycle, and their
// sum), the three day lists, and the buttons to print, get help, step a month back or forward and
// close. It fills itself from the input form's cycle state each time it becomes visible, each time
// the month is stepped, and when "Next" is pressed while it is already on screen.
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "app/BiorhythmModel.h"
#include "frame/forms/TCustomForm.h"
#include "rtl/DateTime.h"

namespace chart {
class TChart;
class TFastLineSeries;
class TAddFunction;
} // namespace chart

namespace controls {
class TPanel;
class TBevel;
class TLabel;
class TImage;
class TBitBtn;
} // namespace controls

namespace platform::gdi {
class Bitmap;
}

namespace app {

// The help topic of the result form.
inline constexpr int32_t ResultHelpContext = 5;

// The month the form shows and what it was computed from. The printed report names the birth
// date and the period from here: the input form's controls may have moved on since (a month step
// that drew nothing, the calendar changed without "Next").
struct TShownMonth {
    bool Filled = false;            // false until the form first fills itself
    rtl::TDateTime BirthDate = 0;   // the birth date of the cycle state
    rtl::TDateTime PeriodStart = 0; // the first day of the shown month
    std::string PeriodText;         // the period as the caption names it: "Март 2000"
    TCyclePhases Phases;            // day count and phases of the shown month

    // "15.3.1980": the birth date as the program writes it.
    std::string BirthDateText() const;
};

class TResult : public frame::TForm {
public:
    ZORVANE_CLASS(TResult)
    explicit TResult(frame::TComponent* owner);
    ~TResult() override;

    // The controls, bound by name as the form is read.
    chart::TChart* Chart1 = nullptr;
    chart::TChart* Chart2 = nullptr;
    chart::TChart* Chart3 = nullptr;
    chart::TChart* Chart4 = nullptr;
    chart::TFastLineSeries* Series1 = nullptr;
    chart::TFastLineSeries* Series2 = nullptr;
    chart::TFastLineSeries* Series3 = nullptr;
    chart::TFastLineSeries* Series4 = nullptr;
    chart::TAddFunction* SeriesFunction1 = nullptr;
    chart::TAddFunction* AddFunction1 = nullptr;
    chart::TAddFunction* AddFunction2 = nullptr;
    chart::TAddFunction* AddFunction3 = nullptr;
    controls::TPanel* Panel1 = nullptr;
    controls::TPanel* Panel2 = nullptr;
    controls::TPanel* Panel3 = nullptr;
    controls::TPanel* Panel4 = nullptr;
    controls::TPanel* Panel5 = nullptr;
    controls::TLabel* Label1 = nullptr; // unfavourable days
    controls::TLabel* Label2 = nullptr; // dangerous days
    controls::TLabel* Label3 = nullptr; // especially dangerous days
    controls::TBevel* Bevel1 = nullptr;
    controls::TImage* Image1 = nullptr;
    controls::TBitBtn* BitBtn1 = nullptr; // print
    controls::TBitBtn* BitBtn2 = nullptr; // exit
    controls::TBitBtn* BitBtn3 = nullptr; // help
    controls::TBitBtn* BitBtn4 = nullptr; // previous month
    controls::TBitBtn* BitBtn5 = nullptr; // next month

    // Handlers bound by the form's stream.
    void FormShow(frame::TObject* sender);
    void BitBtn1Click(frame::TObject* sender);
    void BitBtn3Click(frame::TObject* sender);
    void BitBtn4Click(frame::TObject* sender);
    void BitBtn5Click(frame::TObject* sender);
    void Image1Click(frame::TObject* sender);

    // Alt+О opens the about box (the picture's click from the keyboard).
    void CMDialogChar(frame::TCMDialogChar& m) override;

    // Recomputes the cycle state for the period the input form's controls now hold and, when the
    // birth date lies before it, refills the form; otherwise nothing is redrawn.
    void NewMonth();

    // Fills the charts, lists and caption with a month: the series cleared and given one point a
    // day (and the first of the next month), the lists built, the caption set, and the month
    // recorded. Everything is computed before anything changes, so the form shows either the
    // new month whole or the old one.
    void ShowMonth(const TShownMonth& month);
    const TShownMonth& ShownMonth() const { return m_shown; }

    // The charts in order (physical, emotional, intellectual, sum) and their series.
    std::array<chart::TChart*, 4> Charts() const { return {Chart1, Chart2, Chart3, Chart4}; }
    std::array<chart::TFastLineSeries*, 4> CycleSeries() const {
        return {Series1, Series2, Series3, Series4};
    }

    // The area of the form the four charts cover, in client coordinates.
    frame::TRect ChartsBounds() const;
    // Draws the four charts as the form shows them (borders, zero lines, the form's colour
    // between them) onto `canvas`, the top left of ChartsBounds at (0, 0). Each chart is drawn
    // straight onto the canvas, whatever its target.
    void DrawCharts(frame::TCanvas& canvas);
    // The four charts in one image, `scale` times their size (1 draws onto the image, larger
    // scales record the drawing and play it back enlarged).
    platform::gdi::Bitmap ChartsImage(int scale);

    // "Print" hands the report its job through this while the report form exists (Report1 set);
    // the report form sets it when it joins the program. Without it "Print" does nothing.
    static std::function<void()>& PrintReport();

private:
    // One month back (-1) or forward (+1) on the input form's period controls, across year ends,
    // then NewMonth. The new period is converted before any control changes, so a year box that
    // holds no number or a date out of range leaves everything as it was.
    void StepMonth(int delta);

    TShownMonth m_shown;
};

} // namespace app
