#include "report/TRepBasePanel.h"

#include "frame/ClassBuilder.h"
#include "report/TCustomReport.h"

namespace report {

const frame::TClassInfo* TRepBasePanel::StaticClass() {
    static const auto info =
        frame::TClassBuilder<TRepBasePanel>("TRepBasePanel", controls::TCustomPanel::StaticClass())
            .Property("Frame", &TRepBasePanel::Frame, &TRepBasePanel::SetFrame)
            .Property("Zoom", &TRepBasePanel::Zoom, &TRepBasePanel::SetZoom, frame::Default(100))
            .Build();
    return info.get();
}

TRepBasePanel::TRepBasePanel(frame::TComponent* owner)
    : controls::TCustomPanel(owner), m_frame(std::make_unique<TRepFrame>()) {
    m_frame->OnChange = frame::TNotifyEvent::Of<&TRepBasePanel::FrameChanged>(this);
}

TRepBasePanel::~TRepBasePanel() = default;

void TRepBasePanel::SetZoom(int32_t value) {
    if (value < kMinZoom || value > kMaxZoom)
        return;
    m_zoom = value;
}

TCustomReport* TRepBasePanel::ParentReport() const {
    for (frame::TControl* c = Parent(); c; c = c->Parent())
        if (auto* report = frame::As<TCustomReport>(c))
            return report;
    return nullptr;
}

} // namespace report
