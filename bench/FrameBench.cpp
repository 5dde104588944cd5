// The frame's hot paths: a form of 50 controls read from its stream, shown and painted once; and
// what one mouse move costs the loop (dispatch, the hint check, the idle step's mouse tracking and
// hint text) while hints are on.
#include <benchmark/benchmark.h>

#include <string>

#include "frame/FormText.h"
#include "frame/StreamClasses.h"
#include "frame/controls/TGraphicControl.h"
#include "frame/controls/TWinControl.h"
#include "frame/forms/TApplication.h"
#include "frame/forms/TCustomForm.h"
#include "platform/display/Headless.h"
#include "platform/display/WindowManager.h"
#include "rtl/TMemoryStream.h"

using namespace frame;
using namespace platform;

namespace {

class TBenchButton : public TWinControl {
public:
    ZORVANE_CLASS(TBenchButton)
    explicit TBenchButton(TComponent* owner) : TWinControl(owner) {
        SetControlStyle(TControlStyle{csDoubleClicks});
        SetBounds(0, 0, 75, 25);
    }

protected:
    void CreateParams(TCreateParams& p) override {
        TWinControl::CreateParams(p);
        CreateSubClass(p, WC_BUTTON);
    }
};

const TClassInfo* TBenchButton::StaticClass() {
    static const auto info = TClassBuilder<TBenchButton>("TBenchButton", TWinControl::StaticClass())
                                 .Property("Caption", &TControl::Caption, &TControl::SetCaption)
                                 .Build();
    return info.get();
}

class TBenchShape : public TGraphicControl {
public:
    ZORVANE_CLASS(TBenchShape)
    explicit TBenchShape(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 40, 20); }

protected:
    void Paint() override {
        Canvas()->Brush()->SetColor(Color());
        Canvas()->Rectangle(0, 0, Width(), Height());
        Canvas()->TextOut(2, 2, "Текст");
    }
};

const TClassInfo* TBenchShape::StaticClass() {
    static const auto info =
        TClassBuilder<TBenchShape>("TBenchShape", TGraphicControl::StaticClass()).Build();
    return info.get();
}

// 25 buttons and 25 windowless shapes, every one with a hint, in five rows.
std::string FiftyControls() {
    std::string text = "object BenchForm: TForm\n  Caption = 'Проба'\n  ClientHeight = 480\n"
                       "  ClientWidth = 640\n  Scaled = False\n  ShowHint = True\n";
    for (int i = 0; i < 50; ++i) {
        int x = 8 + (i % 10) * 62;
        int y = 8 + (i / 10) * 90;
        text += std::string("  object C") + std::to_string(i) +
                (i % 2 ? ": TBenchShape\n" : ": TBenchButton\n    Caption = 'Кнопка'\n") +
                "    Left = " + std::to_string(x) + "\n    Top = " + std::to_string(y) +
                "\n    Hint = 'Подсказка " + std::to_string(i) + "|Длинная подсказка'\n  end\n";
    }
    return text + "end\n";
}

struct FrameFixture {
    FrameFixture() {
        headless::Start();
        RegisterStreamClasses(
            {TBenchButton::StaticClass(), TBenchShape::StaticClass(), TForm::StaticClass()});
        StartFrame();
        Application->MessageBoxFunction = [](HWND, const std::string&, const std::string&,
                                             unsigned) { return IDOK; };
        stream = ObjectTextToBinary(FiftyControls());
    }
    ~FrameFixture() {
        EndFrame();
        headless::Stop();
    }
    std::string stream;
};

void FormWith50ControlsLoadShowPaint(benchmark::State& state) {
    FrameFixture frame;
    for (auto _ : state) {
        rtl::TBytesStream in(frame.stream);
        TForm* form = CreateForm<TForm>(Application, &in);
        form->ShowForm();
        Application->PumpPending(); // the paints
        WindowManager::Instance().PresentAll();
        benchmark::DoNotOptimize(form->Handle());
        form->BeforeDestruction();
        delete form;
    }
}
BENCHMARK(FormWith50ControlsLoadShowPaint)->Unit(benchmark::kMillisecond);

// One mouse move between two hinted controls: its dispatch (with the hint logic) and the idle
// step that follows.
void HintAndIdlePerMouseMove(benchmark::State& state) {
    FrameFixture frame;
    rtl::TBytesStream in(frame.stream);
    TForm* form = CreateForm<TForm>(Application, &in);
    form->ShowForm();
    Application->PumpPending();
    Application->OnIdle = [](TObject*, bool& done) { done = false; }; // no waiting in the step
    TPoint a = form->ClientToScreen(TPoint{20, 20});                  // a button
    TPoint b = form->ClientToScreen(TPoint{80, 20});                  // a shape
    bool flip = false;
    for (auto _ : state) {
        headless::MouseMove(flip ? a : b);
        flip = !flip;
        Application->PumpOne(); // the move
        Application->PumpOne(); // the idle step
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(HintAndIdlePerMouseMove)->Unit(benchmark::kMicrosecond);

} // namespace
