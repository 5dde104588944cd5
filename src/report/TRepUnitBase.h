#pragma once
// Lengths of the report: every length the page, the bands and the printables store is an
// extended float in tenths of a millimetre ("Native"). Each object that stores lengths reads and
// writes them in its current Units; the stored values themselves stream as the defined property
// "Values", a list of extended floats in Native, in a fixed order per class.
#include <cstdint>
#include <vector>

#include "frame/TPersistent.h"
#include "report/ReportTypes.h"
#include "rtl/ScopeExit.h"

namespace frame {
class TReader;
class TWriter;
} // namespace frame

namespace report {

class TCustomReport;

// What a conversion needs besides the value: the screen resolution the object was made with,
// its zoom in percent, the report font's size in points (for Characters) and, for a printable
// read in pixels, its band's zoom as a factor.
struct TUnitScale {
    int resolution = 96;
    int zoom = 100;
    long double fontSize = 10;
    long double pixelZoom = 1;
};

// A stored value `v` (tenths of mm) in `unit`, and back. `horizontal` picks the character width
// or height; only Characters tells them apart.
long double NativeToUnit(long double v, TRepUnit unit, bool horizontal, const TUnitScale& scale);
long double UnitToNative(long double x, TRepUnit unit, bool horizontal, const TUnitScale& scale);

class TRepUnitBase : public frame::TPersistent {
public:
    ZORVANE_CLASS(TRepUnitBase)
    // `horizontal` gives, for each value in stream order, whether it is a horizontal length.
    TRepUnitBase(TCustomReport* report, std::vector<bool> horizontal);

    TRepUnit Units() const { return m_units; }
    virtual void SetUnits(TRepUnit value) { m_units = value; }
    // A temporary switch: SaveUnits remembers the unit (then sets `value`), RestoreUnits goes
    // back to it. Switches nest.
    void SaveUnits(TRepUnit value);
    void RestoreUnits();

    int Resolution() const { return m_resolution; }
    int32_t Zoom() const { return m_zoom; }
    void SetZoom(int32_t value);
    // The report whose font sizes character units (the owner's report when it has one).
    virtual TCustomReport* ParentReport() const { return m_report; }
    void SetParentReport(TCustomReport* report) { m_report = report; }

    int ValueCount() const { return int(m_values.size()); }
    // A value in the current unit.
    long double Value(int index) const;
    void SetValue(int index, long double value);
    // The stored value, tenths of mm.
    long double NativeValue(int index) const { return m_values.at(std::size_t(index)); }
    void SetNativeValue(int index, long double value);
    // Sets every stored value at once (tenths of mm), then tells the owner once.
    void SetNativeValues(const std::vector<long double>& values);
    const std::vector<long double>& NativeValues() const { return m_values; }

    // True while the object pushes its values into its control's bounds: the control's bounds
    // change then must not flow back into the values.
    bool Updating() const { return m_updating; }

    void Assign(const frame::TPersistent* source) override;
    void ListDefinedProperties(frame::TFiler& filer) override;

protected:
    TUnitScale Scale() const;
    // The value at `index` changed (all of them when `index` is -1).
    virtual void ValuesChanged(int index) { (void)index; }
    // An extra factor applied to pixel lengths (a printable's band zoom).
    virtual long double PixelZoom() const { return 1; }
    // Runs `push` with Updating set.
    template <typename F> void Push(F push) {
        rtl::ValueRestore updating(m_updating, true);
        push();
    }

private:
    void ReadValues(frame::TReader& reader);
    void WriteValues(frame::TWriter& writer) const;

    TRepUnit m_units = TRepUnit::MM;
    std::vector<TRepUnit> m_savedUnits;
    int m_resolution;
    int32_t m_zoom = 100;
    TCustomReport* m_report;
    bool m_updating = false;
    std::vector<long double> m_values;
    std::vector<bool> m_horizontal;
};

} // namespace report
