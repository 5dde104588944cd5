#include "report/TRepBandSize.h"

#include "frame/ClassBuilder.h"
#include "report/TRepBand.h"

namespace report {

const frame::TClassInfo* TRepBandSize::StaticClass() {
    static const auto info =
        frame::TClassBuilder<TRepBandSize>("TRepBandSize", TRepUnitBase::StaticClass())
            .Property("Height", &TRepBandSize::Height, &TRepBandSize::SetHeight, frame::NotStored())
            .Property("Width", &TRepBandSize::Width, &TRepBandSize::SetWidth, frame::NotStored())
            .Build();
    return info.get();
}

TRepBandSize::TRepBandSize(TCustomReport* report, TRepCustomBand* band)
    : TRepUnitBase(report, {false, true}), m_band(band) {}

void TRepBandSize::FromPixels(int oldWidth, int oldHeight, int width, int height) {
    Push([&] {
        SaveUnits(TRepUnit::Pixels);
        if (width != oldWidth)
            SetWidth(width);
        if (height != oldHeight)
            SetHeight(height);
        RestoreUnits();
    });
}

TCustomReport* TRepBandSize::ParentReport() const {
    TCustomReport* report = m_band ? m_band->ParentReport() : nullptr;
    return report ? report : TRepUnitBase::ParentReport();
}

int TRepBandSize::PixelWidth() const {
    return RoundEven(NativeToUnit(NativeValue(WidthIndex), TRepUnit::Pixels, true, Scale()));
}

int TRepBandSize::PixelHeight() const {
    return RoundEven(NativeToUnit(NativeValue(HeightIndex), TRepUnit::Pixels, false, Scale()));
}

void TRepBandSize::ValuesChanged(int) {
    if (!Updating() && m_band)
        Push([this] { m_band->SizeChanged(); });
}

} // namespace report
