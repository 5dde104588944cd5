#pragma once
// A band's size: "Values" streams Height, then Width (tenths of mm). The band's pixel bounds
// follow the values, and the values follow the bounds when the band is resized.
#include "report/TRepUnitBase.h"

namespace report {

class TRepCustomBand;

class TRepBandSize : public TRepUnitBase {
public:
    ZORVANE_CLASS(TRepBandSize)
    enum TValueIndex { HeightIndex, WidthIndex };

    TRepBandSize(TCustomReport* report, TRepCustomBand* band);

    long double Height() const { return Value(HeightIndex); }
    void SetHeight(long double v) { SetValue(HeightIndex, v); }
    long double Width() const { return Value(WidthIndex); }
    void SetWidth(long double v) { SetValue(WidthIndex, v); }

    // Takes the values from the band's pixel size: the sides that changed.
    void FromPixels(int oldWidth, int oldHeight, int width, int height);
    // The pixel size the values give.
    int PixelWidth() const;
    int PixelHeight() const;

    TCustomReport* ParentReport() const override;

protected:
    void ValuesChanged(int index) override;

private:
    TRepCustomBand* m_band;
};

} // namespace report
