#pragma once
// A printable's place on its band: "Values" streams Height, Left, Top, Width (tenths of mm from
// the band's top-left corner). The printable's pixel bounds follow the values and the values the
// bounds; read in pixels, the band's zoom applies on top of the object's own.
#include "frame/graphics/GraphicsTypes.h"
#include "report/TRepUnitBase.h"

namespace report {

class TRepPrintable;

class TRepPrintableSize : public TRepUnitBase {
public:
    ZORVANE_CLASS(TRepPrintableSize)
    enum TValueIndex { HeightIndex, LeftIndex, TopIndex, WidthIndex };

    TRepPrintableSize(TCustomReport* report, TRepPrintable* printable);

    long double Height() const { return Value(HeightIndex); }
    void SetHeight(long double v) { SetValue(HeightIndex, v); }
    long double Left() const { return Value(LeftIndex); }
    void SetLeft(long double v) { SetValue(LeftIndex, v); }
    long double Top() const { return Value(TopIndex); }
    void SetTop(long double v) { SetValue(TopIndex, v); }
    long double Width() const { return Value(WidthIndex); }
    void SetWidth(long double v) { SetValue(WidthIndex, v); }

    // Takes the values from pixel bounds: those of `now` that differ from `old`.
    void FromPixels(const frame::TRect& old, const frame::TRect& now);
    // The pixel bounds the values give.
    frame::TRect PixelBounds() const;

    TCustomReport* ParentReport() const override;

protected:
    void ValuesChanged(int index) override;
    long double PixelZoom() const override;

private:
    TRepPrintable* m_printable;
};

} // namespace report
