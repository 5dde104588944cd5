#include "report/TRepPrintableSize.h"

#include <algorithm>
#include <cstdint>
#include <limits>

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
    // A stored form can hold any size; the far edge saturates rather than wrapping round.
    auto edge = [](int start, int extent) {
        int64_t far = int64_t{start} + extent;
        return static_cast<int>(std::clamp<int64_t>(far, std::numeric_limits<int>::min(),
                                                    std::numeric_limits<int>::max()));
    };
    int left = px(LeftIndex, true);
    int top = px(TopIndex, false);
    return frame::TRect{left, top, edge(left, px(WidthIndex, true)), edge(top, px(HeightIndex, false))};
}

void TRepPrintableSize::ValuesChanged(int) {
    if (!Updating() && m_printable)
        Push([this] { m_printable->SizeChanged(); });
}

} // namespace report
