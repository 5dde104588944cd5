#include "report/TRepPrintableSize.h"

#include "frame/ClassBuilder.h"
#include "report/TRepBand.h"
#include "report/TRepPrintable.h"

namespace report {

const frame::TClassInfo* TRepPrintableSize::StaticClass() {
    static const auto info =
        frame::TClassBuilder<TRepPrintableSize>("TRepPrintableSize", TRepUnitBase::StaticClass())
            .Property("Height", &TRepPrintableSize::Height, &TRepPrintableSize::SetHeight,
                      frame::NotStored())
            .Property("Left", &TRepPrintableSize::Left, &TRepPrintableSize::SetLeft,
                      frame::NotStored())
            .Property("Top", &TRepPrintableSize::Top, &TRepPrintableSize::SetTop,
                      frame::NotStored())
            .Property("Width", &TRepPrintableSize::Width, &TRepPrintableSize::SetWidth,
                      frame::NotStored())
            .Build();
    return info.get();
}

TRepPrintableSize::TRepPrintableSize(TCustomReport* report, TRepPrintable* printable)
    : TRepUnitBase(report, {false, true, false, true}), m_printable(printable) {}

TCustomReport* TRepPrintableSize::ParentReport() const {
    TCustomReport* report = m_printable ? m_printable->ParentReport() : nullptr;
    return report ? report : TRepUnitBase::ParentReport();
}

long double TRepPrintableSize::PixelZoom() const {
    if (auto* band = m_printable ? frame::As<TRepCustomBand>(m_printable->Parent()) : nullptr)
        return band->Zoom() / 100.0L;
    return 1;
}

void TRepPrintableSize::FromPixels(const frame::TRect& old, const frame::TRect& now) {
    Push([&] {
        SaveUnits(TRepUnit::Pixels);
        if (now.Height() != old.Height())
            SetHeight(now.Height());
        if (now.left != old.left)
            SetLeft(now.left);
        if (now.top != old.top)
            SetTop(now.top);
        if (now.Width() != old.Width())
            SetWidth(now.Width());
        RestoreUnits();
    });
}

frame::TRect TRepPrintableSize::PixelBounds() const {
    TUnitScale scale = Scale();
    auto px = [&](int index, bool horizontal) {
        return RoundEven(NativeToUnit(NativeValue(index), TRepUnit::Pixels, horizontal, scale));
    };
    int left = px(LeftIndex, true);
    int top = px(TopIndex, false);
    return frame::TRect{left, top, left + px(WidthIndex, true), top + px(HeightIndex, false)};
}

void TRepPrintableSize::ValuesChanged(int) {
    if (!Updating() && m_printable)
        Push([this] { m_printable->SizeChanged(); });
}

} // namespace report
