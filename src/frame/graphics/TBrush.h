#pragma once
// The brush of a canvas: colour, style, and an optional pattern bitmap (not owned).
#include "frame/TEvent.h"
#include "frame/TPersistent.h"
#include "frame/graphics/GraphicsTypes.h"

namespace frame {

class TBitmap;

class TBrush : public TPersistent {
public:
    ZORVANE_CLASS(TBrush)

    TColor Color() const { return m_color; }
    // Setting a colour makes a clear brush solid.
    void SetColor(TColor value);
    TBrushStyle Style() const { return m_style; }
    void SetStyle(TBrushStyle value);
    TBitmap* Bitmap() const { return m_bitmap; }
    void SetBitmap(TBitmap* value);

    void Assign(const TPersistent* source) override;

    platform::gdi::BrushSpec Spec() const;

    TNotifyEvent OnChange;

protected:
    void Changed();

private:
    TColor m_color = clWhite;
    TBrushStyle m_style = bsSolid;
    TBitmap* m_bitmap = nullptr;
};

} // namespace frame
