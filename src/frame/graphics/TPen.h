#pragma once
// The pen of a canvas: colour, mode, style and width; every real change is signalled.
#include "frame/TEvent.h"
#include "frame/TPersistent.h"
#include "frame/graphics/GraphicsTypes.h"

namespace frame {

class TPen : public TPersistent {
public:
    ZORVANE_CLASS(TPen)

    TColor Color() const { return m_color; }
    void SetColor(TColor value);
    TPenMode Mode() const { return m_mode; }
    void SetMode(TPenMode value);
    TPenStyle Style() const { return m_style; }
    void SetStyle(TPenStyle value);
    int32_t Width() const { return m_width; }
    void SetWidth(int32_t value);

    void Assign(const TPersistent* source) override;

    // The pen as the drawing layer takes it.
    platform::gdi::PenSpec Spec() const;
    // The raster operation of the mode.
    int Rop2() const;

    TNotifyEvent OnChange;

protected:
    void Changed();

private:
    TColor m_color = clBlack;
    TPenMode m_mode = pmCopy;
    TPenStyle m_style = psSolid;
    int32_t m_width = 1;
};

} // namespace frame
