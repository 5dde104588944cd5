#include "report/TReportBands.h"

#include "frame/ClassBuilder.h"
#include "report/TCustomReport.h"
#include "report/TRepBand.h"

namespace report {

using frame::NotStored;

const frame::TClassInfo* TReportBands::StaticClass() {
    // The bands themselves are stored as the report's children; the flags only describe them.
    static const auto info =
        frame::TClassBuilder<TReportBands>("TReportBands", frame::TPersistent::StaticClass())
            .Property("HasTitle", &TReportBands::HasTitle, &TReportBands::SetHasTitle, NotStored())
            .Property("HasPageHeader", &TReportBands::HasPageHeader,
                      &TReportBands::SetHasPageHeader, NotStored())
            .Property("HasColumnHeader", &TReportBands::HasColumnHeader,
                      &TReportBands::SetHasColumnHeader, NotStored())
            .Property("HasDetail", &TReportBands::HasDetail, &TReportBands::SetHasDetail,
                      NotStored())
            .Property("HasPageFooter", &TReportBands::HasPageFooter,
                      &TReportBands::SetHasPageFooter, NotStored())
            .Property("HasSummary", &TReportBands::HasSummary, &TReportBands::SetHasSummary,
                      NotStored())
            .Build();
    return info.get();
}

bool TReportBands::Has(TRepBandType type) const {
    return m_report->FindBand(type) != nullptr;
}

void TReportBands::Set(TRepBandType type, bool value) {
    TRepCustomBand* band = m_report->FindBand(type);
    if (value && !band)
        m_report->CreateBand(type);
    else if (!value && band)
        delete band;
}

} // namespace report
