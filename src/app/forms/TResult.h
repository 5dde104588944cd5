#pragma once
// The result form: the month's four charts (physical, emotional and intellectual cycle, and their
// sum), the three day lists, and the buttons to print, get help, step a month back or forward and
// close. It fills itself from the program's month session each time it becomes visible, each time
// the month is stepped, and when "Next" chooses a month while it is already on screen (it
// observes the session).
#include <array>
#include <cstdint>

#include "app/MonthSession.h"
#include "frame/forms/TCustomForm.h"

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

class TResult : public frame::TForm, public TMonthSessionObserver {
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

    // "Next" chose a month: shown, or refilled and brought to the front (ShowResultForm).
    void MonthChosen() override;

    // Fills the form with the session's current month (FormShow's work).
    void Refill();

    // Recomputes the cycle state for the period the input form's controls now hold and, when the
    // birth date lies before it, refills the form; otherwise nothing is redrawn.
    void NewMonth();

    // Fills the charts, lists and caption with a month: the series cleared and given one point a
    // day (and the first of the next month), the lists built, the caption set, and the month
    // recorded in the session as the one on show. Everything is computed before anything
    // changes, so the form shows either the new month whole or the old one.
    void ShowMonth(const TShownMonth& month);

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

private:
    // One month back (-1) or forward (+1) on the input form's period controls, across year ends,
    // then NewMonth. The new period is converted before any control changes, so a year box that
    // holds no number, a date out of range or no month selected leaves everything as it was.
    void StepMonth(int delta);
};

} // namespace app
