#include "report/TRepPage.h"

#include "frame/ClassBuilder.h"
#include "report/TCustomReport.h"

namespace report {

using frame::Default;
using frame::NoDefault;
using frame::NotStored;

const frame::TClassInfo* TRepPage::StaticClass() {
    static const auto info =
        frame::TClassBuilder<TRepPage>("TRepPage", TRepUnitBase::StaticClass())
            .Property("BottomMargin", &TRepPage::BottomMargin, &TRepPage::SetBottomMargin,
                      NotStored())
            .Property("Columns", &TRepPage::Columns, &TRepPage::SetColumns, Default(1))
            .Property("ColumnSpace", &TRepPage::ColumnSpace, &TRepPage::SetColumnSpace, NotStored())
            .Property("LeftMargin", &TRepPage::LeftMargin, &TRepPage::SetLeftMargin, NotStored())
            .Property("Length", &TRepPage::Length, &TRepPage::SetLength, NotStored())
            .Property("Orientation", &TRepPage::Orientation, &TRepPage::SetOrientation,
                      Default(int(TPrinterOrientation::poPortrait)))
            .Property("PaperSize", &TRepPage::PaperSize, &TRepPage::SetPaperSize, NoDefault())
            .Property("RightMargin", &TRepPage::RightMargin, &TRepPage::SetRightMargin, NotStored())
            .Property("Ruler", &TRepPage::Ruler, &TRepPage::SetRuler, Default(1))
            .Property("TopMargin", &TRepPage::TopMargin, &TRepPage::SetTopMargin, NotStored())
            .Property("Width", &TRepPage::Width, &TRepPage::SetWidth, NotStored())
            .Build();
    return info.get();
}

TRepPage::TRepPage(TCustomReport* report)
    : TRepUnitBase(report, {false, false, false, true, true, true, true}) {}

void TRepPage::SetLength(long double v) {
    if (m_paperSize == TRepPaperSize::Custom)
        SetValue(LengthIndex, v);
}

void TRepPage::SetWidth(long double v) {
    if (m_paperSize == TRepPaperSize::Custom)
        SetValue(WidthIndex, v);
}

void TRepPage::SetColumns(int32_t value) {
    if (value < 1 || value > kMaxColumns || value == m_columns)
        return;
    m_columns = value;
    if (ParentReport())
        ParentReport()->SetBandValues();
}

void TRepPage::SetOrientation(TPrinterOrientation value) {
    m_orientation = value;
    ApplyPaperSize(m_paperSize);
}

void TRepPage::SetPaperSize(TRepPaperSize value) {
    m_awaitsPrinterPaper = false;
    ApplyPaperSize(value);
}

void TRepPage::ApplyPaperSize(TRepPaperSize value) {
    if (IsNamedPaper(value)) {
        const TPaperInfo& paper = PaperInfo(value);
        bool landscape = m_orientation == TPrinterOrientation::poLandscape;
        SaveUnits(TRepUnit::MM);
        m_paperSize = TRepPaperSize::Custom;
        SetWidth(landscape ? paper.length : paper.width);
        SetLength(landscape ? paper.width : paper.length);
        RestoreUnits();
        if (ParentReport())
            ParentReport()->SetBandValues();
    }
    m_paperSize = value;
}

void TRepPage::SetLocaleDefaults(bool metric) {
    SetUnits(metric ? TRepUnit::MM : TRepUnit::Inches);
    SetPaperSize(metric ? TRepPaperSize::A4 : TRepPaperSize::Letter);
    long double margin = metric ? 10 : 0.5L;
    SetTopMargin(margin);
    SetBottomMargin(margin);
    SetLeftMargin(margin);
    SetRightMargin(margin);
    SetColumnSpace(0);
    m_columns = 1;
    m_ruler = true;
}

void TRepPage::Assign(const frame::TPersistent* source) {
    if (auto* other = dynamic_cast<const TRepPage*>(source)) {
        m_columns = other->m_columns;
        m_orientation = other->m_orientation;
        m_paperSize = other->m_paperSize;
        m_ruler = other->m_ruler;
        m_awaitsPrinterPaper = other->m_awaitsPrinterPaper;
    }
    TRepUnitBase::Assign(source);
}

void TRepPage::ValuesChanged(int index) {
    TCustomReport* report = ParentReport();
    if (!report)
        return;
    if (index == -1 || index == LengthIndex || index == WidthIndex)
        report->PageSizeChanged();
    if (index != LengthIndex)
        report->SetBandValues();
}

} // namespace report
