#include "ControlsTestHost.h"

#include "controls/RegisterControls.h"
#include "frame/FormText.h"
#include "frame/StreamClasses.h"
#include "frame/TReader.h"
#include "frame/controls/ControlBridge.h"
#include "platform/display/Headless.h"
#include "platform/display/WindowManager.h"
#include "platform/gdi/DeviceContext.h"
#include "rtl/Exception.h"
#include "rtl/TMemoryStream.h"

namespace ctlhost {

using namespace frame;

const TClassInfo* THostForm::StaticClass() {
    static const auto info = TClassBuilder<THostForm>("THostForm", TCustomControl::StaticClass())
                                 .Property("Caption", &TControl::Caption, &TControl::SetCaption)
                                 .Method<&THostForm::Clicked>("Clicked")
                                 .Build();
    return info.get();
}

THostForm::THostForm(TComponent* owner) : TCustomControl(owner) {
    SetControlStyle(ControlStyle() + csTopLevelWindow + csAcceptsControls);
    SetVisible(false);
    SetBounds(100, 100, 320, 240);
    SetColor(clBtnFace);
}

THostForm::~THostForm() {
    DestroyComponents();
}

void THostForm::Paint() {
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(ClientRect());
}

void RegisterHostClasses() {
    controls::RegisterStreamClasses();
    RegisterStreamClass(THostForm::StaticClass());
}

void ReadForm(TComponent* root, const std::string& text) {
    std::string bytes = ObjectTextToBinary(text);
    rtl::TBytesStream stream(bytes);
    TReader reader(stream);
    reader.ReadRootComponent(root);
}

platform::gdi::Bitmap PaintToBitmap(TControl& control, std::uint32_t background) {
    platform::gdi::Bitmap bitmap(control.Width(), control.Height(), background);
    auto dc = platform::gdi::DeviceContext::ForBitmap(bitmap);
    if (auto* win = As<TWinControl>(&control)) {
        win->PaintTo(dc.get(), 0, 0);
    } else {
        control.Perform(platform::WM_PAINT, reinterpret_cast<WPARAM>(dc.get()));
    }
    return bitmap;
}

void Pump() {
    ProcessPendingMessages();
    platform::WindowManager::Instance().PresentAll();
}

void HostTest::SetUp() {
    platform::headless::Start();
    RegisterHostClasses();
    SetExceptionHandler([this](TObject*) {
        try {
            throw;
        } catch (const rtl::Exception& e) {
            reported.push_back(std::string(e.ClassName()) + ": " + e.Message());
        }
    });
}

void HostTest::TearDown() {
    SetExceptionHandler(nullptr);
    platform::headless::Stop();
}

} // namespace ctlhost
