#pragma once
// The panel the report and its bands stand on: a frame and a zoom on top of the framework's
// panel. Reports are never shown in this program, so the panel paints nothing of its own beyond
// the framework's.
#include <memory>

#include "controls/TCustomPanel.h"
#include "report/TRepFrame.h"

namespace report {

class TCustomReport;

// Zoom limits in percent; values outside are ignored.
constexpr int32_t kMinZoom = 1;
constexpr int32_t kMaxZoom = 300;

class TRepBasePanel : public controls::TCustomPanel {
public:
    ZORVANE_CLASS(TRepBasePanel)
    explicit TRepBasePanel(frame::TComponent* owner);
    ~TRepBasePanel() override;

    TRepFrame* Frame() const { return m_frame.get(); }
    void SetFrame(TRepFrame* value) { m_frame->Assign(value); }
    int32_t Zoom() const { return m_zoom; }
    virtual void SetZoom(int32_t value);

    // The report this panel belongs to (itself for the report).
    virtual TCustomReport* ParentReport() const;

protected:
    virtual void FrameChanged(frame::TObject*) {}

private:
    std::unique_ptr<TRepFrame> m_frame;
    int32_t m_zoom = 100;
};

} // namespace report
