#pragma once
// The progress bar: the platform's msctls_progress32, a sunken well filled from the left as
// Position moves from Min to Max.
#include <cstdint>

#include "frame/controls/TWinControl.h"

namespace controls {

class TProgressBar : public frame::TWinControl {
public:
    ZORVANE_CLASS(TProgressBar)
    explicit TProgressBar(frame::TComponent* owner);
    ~TProgressBar() override;

    int32_t Min() const { return m_min; }
    void SetMin(int32_t value);
    int32_t Max() const { return m_max; }
    void SetMax(int32_t value);
    // Kept within Min..Max.
    int32_t Position() const;
    void SetPosition(int32_t value);
    int32_t Step() const { return m_step; }
    void SetStep(int32_t value);
    // Advances by Step; past Max it starts again from Min.
    void StepIt();
    void StepBy(int32_t delta);

protected:
    void CreateParams(frame::TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;

private:
    void SendRange();
    int32_t Clamp(int64_t value) const;

    int32_t m_min = 0;
    int32_t m_max = 100;
    mutable int32_t m_position = 0;
    int32_t m_step = 10;
};

} // namespace controls
