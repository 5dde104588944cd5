#pragma once
// The report's page: paper size and orientation, margins, columns. Lengths are read and written
// in the page's Units and stored in tenths of a millimetre; "Values" streams them in the order
// BottomMargin, Length, TopMargin, Width, LeftMargin, RightMargin, ColumnSpace.
#include "report/TRepUnitBase.h"

namespace report {

// More columns than this are ignored like fewer than one: a page cannot hold them, and every
// break would walk through all of them.
constexpr int32_t kMaxColumns = 100;

class TRepPage : public TRepUnitBase {
public:
    ZORVANE_CLASS(TRepPage)
    enum TValueIndex {
        BottomMarginIndex,
        LengthIndex,
        TopMarginIndex,
        WidthIndex,
        LeftMarginIndex,
        RightMarginIndex,
        ColumnSpaceIndex,
        PageValueCount
    };

    explicit TRepPage(TCustomReport* report);

    long double BottomMargin() const { return Value(BottomMarginIndex); }
    void SetBottomMargin(long double v) { SetValue(BottomMarginIndex, v); }
    long double TopMargin() const { return Value(TopMarginIndex); }
    void SetTopMargin(long double v) { SetValue(TopMarginIndex, v); }
    long double LeftMargin() const { return Value(LeftMarginIndex); }
    void SetLeftMargin(long double v) { SetValue(LeftMarginIndex, v); }
    long double RightMargin() const { return Value(RightMarginIndex); }
    void SetRightMargin(long double v) { SetValue(RightMarginIndex, v); }
    long double ColumnSpace() const { return Value(ColumnSpaceIndex); }
    void SetColumnSpace(long double v) { SetValue(ColumnSpaceIndex, v); }
    // Length and Width take a new value only while the paper is Custom; otherwise they come from
    // the paper table.
    long double Length() const { return Value(LengthIndex); }
    void SetLength(long double v);
    long double Width() const { return Value(WidthIndex); }
    void SetWidth(long double v);

    int32_t Columns() const { return m_columns; }
    void SetColumns(int32_t value); // values below 1 or above kMaxColumns are ignored
    TPrinterOrientation Orientation() const { return m_orientation; }
    // Stores the orientation and applies the paper size again.
    void SetOrientation(TPrinterOrientation value);
    TRepPaperSize PaperSize() const { return m_paperSize; }
    // A named size sets Width and Length from the paper table (swapped in landscape) and lays
    // the bands out again; Default and Custom are only stored.
    void SetPaperSize(TRepPaperSize value);
    // A new report's page takes the default printer's paper, unless the paper is chosen (by its
    // design or by a caller) before the report first prints: the printer is asked then, not when
    // the report is made.
    bool AwaitsPrinterPaper() const { return m_awaitsPrinterPaper; }
    void AwaitPrinterPaper() { m_awaitsPrinterPaper = true; }
    bool Ruler() const { return m_ruler; }
    void SetRuler(bool value) { m_ruler = value; }

    // The defaults of a new report: U.S. settings (metric false) give inches, Letter and half-
    // inch margins, others millimetres, A4 and 10 mm margins.
    void SetLocaleDefaults(bool metric);

    void Assign(const frame::TPersistent* source) override;

protected:
    void ValuesChanged(int index) override;

private:
    void ApplyPaperSize(TRepPaperSize value);

    int32_t m_columns = 1;
    TPrinterOrientation m_orientation = TPrinterOrientation::poPortrait;
    TRepPaperSize m_paperSize = TRepPaperSize::A4;
    bool m_ruler = true;
    bool m_awaitsPrinterPaper = false;
};

} // namespace report
