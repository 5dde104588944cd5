#include "app/forms/TResult.h"

#include <algorithm>

#include "app/ProgramForms.h"
#include "app/ReportPrinting.h"
#include "app/forms/TAboutBox.h"
#include "app/forms/TIntro.h"
#include "app/forms/TReport1.h"
#include "chart/TCustomChart.h"
#include "chart/TFastLineSeries.h"
#include "chart/TSeriesFunction.h"
#include "controls/TBevel.h"
#include "controls/TBitBtn.h"
#include "controls/TComboBox.h"
#include "controls/TCustomPanel.h"
#include "controls/TEdit.h"
#include "controls/TImage.h"
#include "controls/TLabel.h"
#include "frame/ClassBuilder.h"
#include "frame/forms/TApplication.h"
#include "frame/graphics/TBitmap.h"
#include "frame/graphics/TMetafile.h"

namespace app {

using namespace frame;

namespace {

const char* const CaptionPrefix = "Zorvane: ";
const char* const CaptionSuffix = " г.";

// Runs a chart's Draw straight onto a foreign canvas: through the off-screen image it would be
// copied in as pixels, which a recording could only enlarge blockily.
class TUnbufferedDraw {
public:
    explicit TUnbufferedDraw(chart::TChart* chart)
        : m_chart(chart), m_buffered(chart->BufferedDisplay()) {
        m_chart->SetBufferedDisplay(false);
    }
    ~TUnbufferedDraw() { m_chart->SetBufferedDisplay(m_buffered); }
    TUnbufferedDraw(const TUnbufferedDraw&) = delete;
    TUnbufferedDraw& operator=(const TUnbufferedDraw&) = delete;

private:
    chart::TChart* m_chart;
    bool m_buffered;
};

} // namespace

const TClassInfo* TResult::StaticClass() {
    static const auto info = TClassBuilder<TResult>("TResult", TForm::StaticClass())
                                 .Field("Chart1", &TResult::Chart1)
                                 .Field("Chart2", &TResult::Chart2)
                                 .Field("Chart3", &TResult::Chart3)
                                 .Field("Chart4", &TResult::Chart4)
                                 .Field("Series1", &TResult::Series1)
                                 .Field("Series2", &TResult::Series2)
                                 .Field("Series3", &TResult::Series3)
                                 .Field("Series4", &TResult::Series4)
                                 .Field("SeriesFunction1", &TResult::SeriesFunction1)
                                 .Field("AddFunction1", &TResult::AddFunction1)
                                 .Field("AddFunction2", &TResult::AddFunction2)
                                 .Field("AddFunction3", &TResult::AddFunction3)
                                 .Field("Panel1", &TResult::Panel1)
                                 .Field("Panel2", &TResult::Panel2)
                                 .Field("Panel3", &TResult::Panel3)
                                 .Field("Panel4", &TResult::Panel4)
                                 .Field("Panel5", &TResult::Panel5)
                                 .Field("Label1", &TResult::Label1)
                                 .Field("Label2", &TResult::Label2)
                                 .Field("Label3", &TResult::Label3)
                                 .Field("Bevel1", &TResult::Bevel1)
                                 .Field("Image1", &TResult::Image1)
                                 .Field("BitBtn1", &TResult::BitBtn1)
                                 .Field("BitBtn2", &TResult::BitBtn2)
                                 .Field("BitBtn3", &TResult::BitBtn3)
                                 .Field("BitBtn4", &TResult::BitBtn4)
                                 .Field("BitBtn5", &TResult::BitBtn5)
                                 .Method<&TResult::FormShow>("FormShow")
                                 .Method<&TResult::BitBtn1Click>("BitBtn1Click")
                                 .Method<&TResult::BitBtn3Click>("BitBtn3Click")
                                 .Method<&TResult::BitBtn4Click>("BitBtn4Click")
                                 .Method<&TResult::BitBtn5Click>("BitBtn5Click")
                                 .Method<&TResult::Image1Click>("Image1Click")
                                 .Build();
    return info.get();
}

TResult::TResult(TComponent* owner) : TForm(owner) {
    if (Session)
        Session->SetObserver(this);
}

TResult::~TResult() {
    if (Session && Session->Observer() == this)
        Session->SetObserver(nullptr);
    if (Result == this)
        Result = nullptr;
}

void TResult::FormShow(TObject*) {
    Refill();
}

void TResult::Refill() {
    if (Session)
        ShowMonth(Session->Current());
}

void TResult::MonthChosen() {
    ShowResultForm(this);
}

void TResult::ShowMonth(const TShownMonth& month) {
    // The month is the one the cycle state was computed for. The period controls name the same
    // month after every "Next" and step, but a year text the date reader accepts ("2000.") may
    // not be a whole number, and the form would then be left half filled.
    TMonthResult computed = month.Compute();
    std::string caption = CaptionPrefix + month.PeriodText + CaptionSuffix;

    std::array<const std::vector<double>*, 4> values = {&computed.Physical, &computed.Emotional,
                                                        &computed.Intellectual, &computed.Sum};
    std::array<chart::TFastLineSeries*, 4> series = CycleSeries();
    for (chart::TFastLineSeries* s : series) {
        if (s)
            s->Clear();
    }
    SetCaption(caption);
    for (int x = 0; x <= computed.Days; ++x) {
        for (size_t i = 0; i < series.size(); ++i) {
            if (series[i])
                series[i]->AddXY(double(x), (*values[i])[size_t(x)], "", TColor(-1));
        }
    }
    if (Label3)
        Label3->SetCaption(computed.EspeciallyDangerous);
    if (Label2)
        Label2->SetCaption(computed.Dangerous);
    if (Label1)
        Label1->SetCaption(computed.Unfavourable);
    if (Session)
        Session->SetShown(month);
}

void TResult::StepMonth(int delta) {
    if (!Session || !Intro)
        return;
    TPeriod next = TMonthSession::Stepped(Intro->Period(), delta); // refuses before any change
    Intro->ComboBox2->SetItemIndex(next.MonthIndex);
    if (Intro->Edit2->Text() != next.YearText)
        Intro->Edit2->SetText(next.YearText);
    NewMonth();
}

void TResult::BitBtn4Click(TObject*) {
    StepMonth(-1);
}

void TResult::BitBtn5Click(TObject*) {
    StepMonth(+1);
}

void TResult::NewMonth() {
    if (!Session || !Intro)
        return;
    // A period that does not lie after the birth date draws nothing: the charts, lists, caption
    // and the month on show stay those of the month shown.
    if (Session->NewMonth(Intro->Period()))
        Refill();
}

void TResult::BitBtn1Click(TObject*) {
    if (Report1)
        PrintReport(*Report1, this);
}

void TResult::BitBtn3Click(TObject*) {
    Application->ShowHelpContext(ResultHelpContext);
}

void TResult::Image1Click(TObject*) {
    if (AboutBox)
        AboutBox->ShowAsDialogOf(this);
}

void TResult::CMDialogChar(TCMDialogChar& m) {
    TAlive alive(this);
    TForm::CMDialogChar(m); // the controls' accelerators first
    if (alive)
        AboutBoxKey(m);
}

TRect TResult::ChartsBounds() const {
    TRect bounds{0, 0, 0, 0};
    bool first = true;
    for (chart::TChart* chart : Charts()) {
        if (!chart)
            continue;
        TRect r{chart->Left(), chart->Top(), chart->Left() + chart->Width(),
                chart->Top() + chart->Height()};
        if (first) {
            bounds = r;
            first = false;
        } else {
            bounds = TRect{std::min(bounds.left, r.left), std::min(bounds.top, r.top),
                           std::max(bounds.right, r.right), std::max(bounds.bottom, r.bottom)};
        }
    }
    return bounds;
}

void TResult::DrawCharts(TCanvas& canvas) {
    TRect area = ChartsBounds();
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(Color());
    canvas.FillRect(TRect{0, 0, area.Width(), area.Height()});
    for (chart::TChart* chart : Charts()) {
        if (!chart || !chart->Visible())
            continue;
        TRect outer{chart->Left() - area.left, chart->Top() - area.top,
                    chart->Left() - area.left + chart->Width(),
                    chart->Top() - area.top + chart->Height()};
        // The single border is the window's one-pixel frame; the chart paints inside it.
        int border = (chart->Width() - chart->ClientWidth()) / 2;
        if (border > 0) {
            canvas.Brush()->SetStyle(bsSolid);
            canvas.Brush()->SetColor(clWindowFrame);
            canvas.FrameRect(outer);
        }
        TRect client{outer.left + border, outer.top + border, outer.right - border,
                     outer.bottom - border};
        {
            TUnbufferedDraw unbuffered(chart);
            chart->Draw(&canvas, client);
        }
        // The zero lines are child panels of the chart, painted over it.
        for (int i = 0; i < chart->ControlCount(); ++i) {
            auto* child = As<TWinControl>(chart->Controls(i));
            if (child && child->Visible())
                child->PaintTo(canvas.Handle(), client.left + child->Left(),
                               client.top + child->Top());
        }
    }
}

platform::gdi::Bitmap TResult::ChartsImage(int scale) {
    TRect area = ChartsBounds();
    scale = std::max(1, scale);
    TBitmap image;
    image.SetSize(area.Width() * scale, area.Height() * scale);
    if (image.Empty())
        return image.Image();
    if (scale == 1) {
        DrawCharts(*image.Canvas());
        return image.Image();
    }
    TMetafile recording;
    recording.SetWidth(area.Width());
    recording.SetHeight(area.Height());
    {
        TMetafileCanvas canvas(&recording);
        DrawCharts(canvas);
    }
    image.Canvas()->StretchDraw(TRect{0, 0, area.Width() * scale, area.Height() * scale},
                                &recording);
    return image.Image();
}

} // namespace app
