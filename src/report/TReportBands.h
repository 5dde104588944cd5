#pragma once
// Which standard bands a report has: reading a flag tells whether the report holds a band of
// that role, setting it True makes one, False destroys it.
#include "frame/TPersistent.h"
#include "report/ReportTypes.h"

namespace report {

class TCustomReport;

class TReportBands : public frame::TPersistent {
public:
    ZORVANE_CLASS(TReportBands)
    explicit TReportBands(TCustomReport* report) : m_report(report) {}

    bool HasTitle() const { return Has(TRepBandType::rbTitle); }
    void SetHasTitle(bool v) { Set(TRepBandType::rbTitle, v); }
    bool HasPageHeader() const { return Has(TRepBandType::rbPageHeader); }
    void SetHasPageHeader(bool v) { Set(TRepBandType::rbPageHeader, v); }
    bool HasColumnHeader() const { return Has(TRepBandType::rbColumnHeader); }
    void SetHasColumnHeader(bool v) { Set(TRepBandType::rbColumnHeader, v); }
    bool HasDetail() const { return Has(TRepBandType::rbDetail); }
    void SetHasDetail(bool v) { Set(TRepBandType::rbDetail, v); }
    bool HasPageFooter() const { return Has(TRepBandType::rbPageFooter); }
    void SetHasPageFooter(bool v) { Set(TRepBandType::rbPageFooter, v); }
    bool HasSummary() const { return Has(TRepBandType::rbSummary); }
    void SetHasSummary(bool v) { Set(TRepBandType::rbSummary, v); }

private:
    bool Has(TRepBandType type) const;
    void Set(TRepBandType type, bool value);

    TCustomReport* m_report;
};

} // namespace report
