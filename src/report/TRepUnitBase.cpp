#include "report/TRepUnitBase.h"

#include <cmath>

#include "frame/ClassBuilder.h"
#include "frame/TReader.h"
#include "frame/TWriter.h"
#include "frame/graphics/GraphicsTypes.h"
#include "report/TCustomReport.h"

namespace report {

namespace {

constexpr long double kTenthsPerMM = 10.0L;
// Character cells in tenths of mm for a font of `s` points: width and height.
long double CharWidth(long double s) {
    return 80.0L / s / 2.54L;
}
long double CharHeight(long double s) {
    return 145.3L / s / 2.54L;
}
long double CharCell(long double s, bool horizontal) {
    return (horizontal ? CharWidth(s) : CharHeight(s)) * kTenthsPerMM;
}
// Tenths of mm per screen pixel at zoom 100.
long double PixelPitch(const TUnitScale& scale) {
    return kTenthsPerInch / (scale.resolution > 0 ? scale.resolution : frame::kScreenPixelsPerInch);
}
long double ZoomFactor(const TUnitScale& scale) {
    return (scale.zoom > 0 ? scale.zoom : 100) / 100.0L * scale.pixelZoom;
}
long double FontSize(const TUnitScale& scale) {
    long double s = std::fabs(scale.fontSize);
    return s > 0 ? s : 10;
}

} // namespace

long double NativeToUnit(long double v, TRepUnit unit, bool horizontal, const TUnitScale& scale) {
    switch (unit) {
    case TRepUnit::MM:
        return v / kTenthsPerMM;
    case TRepUnit::Inches:
        return v / kTenthsPerInch;
    case TRepUnit::Pixels:
        return v / PixelPitch(scale) * ZoomFactor(scale);
    case TRepUnit::Characters:
        return v / CharCell(FontSize(scale), horizontal);
    case TRepUnit::Native:
        break;
    }
    return v;
}

long double UnitToNative(long double x, TRepUnit unit, bool horizontal, const TUnitScale& scale) {
    switch (unit) {
    case TRepUnit::MM:
        return x * kTenthsPerMM;
    case TRepUnit::Inches:
        return x * kTenthsPerInch;
    case TRepUnit::Pixels:
        return x * PixelPitch(scale) / ZoomFactor(scale);
    case TRepUnit::Characters:
        return x * CharCell(FontSize(scale), horizontal);
    case TRepUnit::Native:
        break;
    }
    return x;
}

const frame::TClassInfo* TRepUnitBase::StaticClass() {
    static const auto info =
        frame::TClassBuilder<TRepUnitBase>("TRepUnitBase", frame::TPersistent::StaticClass())
            .Property("Units", &TRepUnitBase::Units, &TRepUnitBase::SetUnits,
                      frame::Default(int(TRepUnit::MM)))
            .Property("Zoom", &TRepUnitBase::Zoom, &TRepUnitBase::SetZoom, frame::Default(100))
            .Build();
    return info.get();
}

TRepUnitBase::TRepUnitBase(TCustomReport* report, std::vector<bool> horizontal)
    : m_resolution(frame::kScreenPixelsPerInch), m_report(report),
      m_values(horizontal.size(), 0.0L), m_horizontal(std::move(horizontal)) {}

void TRepUnitBase::SaveUnits(TRepUnit value) {
    m_savedUnits.push_back(m_units);
    SetUnits(value);
}

void TRepUnitBase::RestoreUnits() {
    if (m_savedUnits.empty())
        return;
    TRepUnit units = m_savedUnits.back();
    m_savedUnits.pop_back();
    SetUnits(units);
}

void TRepUnitBase::SetZoom(int32_t value) {
    if (value > 0)
        m_zoom = value;
}

TUnitScale TRepUnitBase::Scale() const {
    TUnitScale scale;
    scale.resolution = m_resolution;
    scale.zoom = m_zoom;
    scale.pixelZoom = PixelZoom();
    if (TCustomReport* report = ParentReport())
        scale.fontSize = report->Font()->Size();
    return scale;
}

long double TRepUnitBase::Value(int index) const {
    return NativeToUnit(NativeValue(index), m_units, m_horizontal.at(std::size_t(index)), Scale());
}

void TRepUnitBase::SetValue(int index, long double value) {
    SetNativeValue(index,
                   UnitToNative(value, m_units, m_horizontal.at(std::size_t(index)), Scale()));
}

void TRepUnitBase::SetNativeValue(int index, long double value) {
    long double& slot = m_values.at(std::size_t(index));
    if (slot == value)
        return;
    slot = value;
    ValuesChanged(index);
}

void TRepUnitBase::SetNativeValues(const std::vector<long double>& values) {
    for (std::size_t i = 0; i < values.size() && i < m_values.size(); ++i)
        m_values[i] = values[i];
    ValuesChanged(-1);
}

void TRepUnitBase::Assign(const frame::TPersistent* source) {
    if (auto* other = dynamic_cast<const TRepUnitBase*>(source)) {
        m_units = other->m_units;
        m_zoom = other->m_zoom;
        SetNativeValues(other->m_values);
        return;
    }
    frame::TPersistent::Assign(source);
}

void TRepUnitBase::ListDefinedProperties(frame::TFiler& filer) {
    frame::TPersistent::ListDefinedProperties(filer);
    filer.DefineProperty(
        "Values", [this](frame::TReader& r) { ReadValues(r); },
        [this](frame::TWriter& w) { WriteValues(w); }, true);
}

// Values beyond the ones this class has are read and dropped, so a longer list from another
// version of the engine still loads.
void TRepUnitBase::ReadValues(frame::TReader& reader) {
    std::vector<long double> values = m_values;
    reader.ReadListBegin();
    for (std::size_t i = 0; !reader.EndOfList(); ++i) {
        long double v = reader.ReadFloat();
        if (i < values.size())
            values[i] = std::isfinite(v) ? v : 0.0L;
    }
    reader.ReadListEnd();
    SetNativeValues(values);
}

void TRepUnitBase::WriteValues(frame::TWriter& writer) const {
    writer.WriteListBegin();
    for (long double v : m_values)
        writer.WriteFloat(v);
    writer.WriteListEnd();
}

} // namespace report
