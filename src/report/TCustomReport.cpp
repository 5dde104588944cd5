#include "report/TCustomReport.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "frame/ClassBuilder.h"
#include "frame/FormResources.h"
#include "frame/NameSpaceLock.h"
#include "frame/TReader.h"
#include "platform/gdi/DeviceContext.h"
#include "report/TRepBand.h"
#include "report/TRepChart.h"
#include "report/TRepPrintable.h"
#include "report/TRepPrinter.h"
#include "rtl/Exception.h"
#include "rtl/FormatSettings.h"

namespace report {

using frame::Default;
using frame::NoDefault;

namespace {

constexpr int kDefaultFontSize = 10;
constexpr const char* kPageNumber = "PAGENUMBER";
constexpr const char* kColumnNumber = "COLUMNNUMBER";
constexpr const char* kReportTitle = "REPORTTITLE";

// The locale's primary language is Japanese (the report then keeps the inherited font).
bool JapaneseLocale() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return std::string(value).rfind("ja", 0) == 0;
    }
    return false;
}

const char* BandBaseName(TRepBandType type) {
    switch (type) {
    case TRepBandType::rbTitle:
        return "TitleBand";
    case TRepBandType::rbPageHeader:
        return "PageHeaderBand";
    case TRepBandType::rbDetail:
        return "DetailBand";
    case TRepBandType::rbPageFooter:
        return "PageFooterBand";
    case TRepBandType::rbSummary:
        return "SummaryBand";
    case TRepBandType::rbColumnHeader:
        return "ColumnHeaderBand";
    case TRepBandType::rbChild:
        return "ChildBand";
    default:
        return "Band";
    }
}

} // namespace

const frame::TClassInfo* TCustomReport::StaticClass() {
    static const auto info =
        frame::TClassBuilder<TCustomReport>("TCustomReport", TRepBasePanel::StaticClass())
            .Property("Bands", &TCustomReport::Bands, nullptr)
            .Property("DataSet", &TCustomReport::DataSet, &TCustomReport::SetDataSet)
            .Property("Description", &TCustomReport::Description, &TCustomReport::SetDescription)
            .Property("Functions", &TCustomReport::Functions, &TCustomReport::SetFunctions)
            .Property("Options", &TCustomReport::Options, &TCustomReport::SetOptions,
                      Default(TReportOptions{TReportOption::FirstPageHeader,
                                             TReportOption::LastPageFooter}
                                  .Mask()))
            .Property("Page", &TCustomReport::Page, &TCustomReport::SetPage)
            .Property("PrinterSettings", &TCustomReport::PrinterSettings,
                      &TCustomReport::SetPrinterSettings)
            .Property("PrintIfEmpty", &TCustomReport::PrintIfEmpty, &TCustomReport::SetPrintIfEmpty,
                      Default(1))
            .Property("ReportTitle", &TCustomReport::ReportTitle, &TCustomReport::SetReportTitle)
            .Property("ShowProgress", &TCustomReport::ShowProgress, &TCustomReport::SetShowProgress,
                      Default(1))
            .Property("SnapToGrid", &TCustomReport::SnapToGrid, &TCustomReport::SetSnapToGrid,
                      Default(1))
            .Property("Units", &TCustomReport::Units, &TCustomReport::SetUnits,
                      Default(int(TRepUnit::MM)))
            .Property("Zoom", &TRepBasePanel::Zoom, &TCustomReport::SetZoom, Default(100))
            .Property("BeforePrint", &TCustomReport::BeforePrint)
            .Property("AfterPrint", &TCustomReport::AfterPrint)
            .Property("AfterPreview", &TCustomReport::AfterPreview)
            .Property("OnStartPage", &TCustomReport::OnStartPage)
            .Property("OnEndPage", &TCustomReport::OnEndPage)
            .Property("OnNeedData", &TCustomReport::OnNeedData)
            .Property("OnPreview", &TCustomReport::OnPreview)
            .Build();
    return info.get();
}

const frame::TClassInfo* TReport::StaticClass() {
    static const auto info =
        frame::TClassBuilder<TReport>("TReport", TCustomReport::StaticClass()).Build();
    return info.get();
}

TCustomReport::TCustomReport(frame::TComponent* owner)
    : TRepBasePanel(owner), m_page(std::make_unique<TRepPage>(this)),
      m_bands(std::make_unique<TReportBands>(this)),
      m_printerSettings(std::make_unique<TReportPrinterSettings>()),
      m_description(std::make_unique<frame::TStringList>()),
      m_functions(std::make_unique<TRepFunctionList>()) {
    SetBevelOuter(controls::bvNone);
    SetColor(frame::clWhite);
    if (!JapaneseLocale()) {
        Font()->SetName("Arial");
        Font()->SetSize(kDefaultFontSize);
    }
    m_page->SetLocaleDefaults(rtl::FormatSettings().Metric);
    m_units = m_page->Units();
    m_functions->AddMissing(kPageNumber, "0");
    m_functions->AddMissing(kColumnNumber, "0");
    m_functions->AddMissing(kReportTitle, "''");
    // The default printer's paper is taken when the report first prints (a design read from a
    // resource always names its paper): making a report never waits for the print service.
    m_page->AwaitPrinterPaper();
    PageSizeChanged();
}

TCustomReport::~TCustomReport() {
    // Bands and printables go while the report is still whole: they ask it about itself. Those
    // another component owns go too, as children always do with their parent.
    DestroyComponents();
    while (ControlCount() > 0)
        delete Controls(ControlCount() - 1);
}

void TCustomReport::InitializeReport(rtl::TStream* stream) {
    if (stream) {
        frame::TWriteLockGuard nameSpace(frame::GlobalNameSpace());
        frame::TReader reader(*stream);
        reader.ReadRootComponent(this);
        return;
    }
    if (ClassType() == TReport::StaticClass())
        return;
    if (!frame::LoadFormResources(this, TReport::StaticClass()))
        throw rtl::EResNotFound("Resource %s not found", ClassName());
}

void TCustomReport::SetDataSet(frame::TComponent* value) {
    if (m_dataSet == value)
        return;
    if (m_dataSet)
        RemoveFreeNotification(m_dataSet);
    m_dataSet = value;
    if (value)
        FreeNotification(value);
}

void TCustomReport::SetUnits(TRepUnit value) {
    m_units = value;
    m_page->SetUnits(value);
    for (TRepCustomBand* band : BandList()) {
        band->Size()->SetUnits(value);
        for (TRepPrintable* p : band->Printables())
            p->Size()->SetUnits(value);
    }
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* p = frame::As<TRepPrintable>(Controls(i)))
            p->Size()->SetUnits(value);
}

void TCustomReport::SetZoom(int32_t value) {
    if (value < kMinZoom || value > kMaxZoom)
        return;
    TRepBasePanel::SetZoom(value);
    m_page->SetZoom(value);
    for (TRepCustomBand* band : BandList()) {
        band->SetZoom(value);
        band->Size()->SetZoom(value);
    }
    PageSizeChanged();
}

std::vector<TRepCustomBand*> TCustomReport::BandList() const {
    std::vector<TRepCustomBand*> bands;
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* band = frame::As<TRepCustomBand>(Controls(i)))
            bands.push_back(band);
    return bands;
}

TRepCustomBand* TCustomReport::FindBand(TRepBandType type) const {
    for (TRepCustomBand* band : BandList())
        if (band->BandType() == type)
            return band;
    return nullptr;
}

TRepCustomBand* TCustomReport::CreateBand(TRepBandType type) {
    auto* band = new TRepBand(this);
    band->SetBandType(type);
    std::string base = BandBaseName(type);
    for (int n = 1;; ++n) {
        std::string name = base + std::to_string(n);
        if (!FindComponent(name)) {
            band->SetName(name);
            break;
        }
    }
    band->SetParent(this);
    SetBandValues();
    return band;
}

std::vector<TRepCustomBand*> TCustomReport::LayoutOrder() const {
    using T = TRepBandType;
    const std::vector<TRepCustomBand*> bands = BandList();
    std::vector<TRepCustomBand*> order;
    auto take = [&](T type) {
        for (TRepCustomBand* band : bands)
            if (band->LayoutType() == type &&
                std::find(order.begin(), order.end(), band) == order.end())
                order.push_back(band);
    };
    for (T type : {T::rbPageHeader, T::rbTitle, T::rbColumnHeader, T::rbGroupHeader, T::rbDetail,
                   T::rbSubDetail, T::rbGroupFooter, T::rbSummary, T::rbPageFooter})
        take(type);
    for (TRepCustomBand* band : bands)
        if (std::find(order.begin(), order.end(), band) == order.end())
            order.push_back(band);
    return order;
}

void TCustomReport::SetBandValues() {
    if (IsLoading() || HasState(frame::csDestroying))
        return;
    // In 64 bits and clamped: stored lengths come from files and may be anything.
    auto clamp = [](int64_t v) { return int(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); };
    m_page->SaveUnits(TRepUnit::Pixels);
    const int left = RoundEven(m_page->LeftMargin());
    const int64_t full = int64_t(Width()) - RoundEven(m_page->LeftMargin() + m_page->RightMargin());
    const int64_t columns = std::max(1, m_page->Columns());
    const int64_t column =
        (full - int64_t(RoundEven(m_page->ColumnSpace())) * (columns - 1)) / columns;
    int64_t top = RoundEven(m_page->TopMargin());
    m_page->RestoreUnits();
    for (TRepCustomBand* band : LayoutOrder()) {
        using T = TRepBandType;
        T type = band->LayoutType();
        bool fullWidth = type == T::rbTitle || type == T::rbPageHeader || type == T::rbPageFooter ||
                         type == T::rbSummary || type == T::rbOverlay;
        band->SetBounds(left, clamp(top), clamp(fullWidth ? full : column), band->Height());
        top += band->Height();
    }
}

void TCustomReport::PageSizeChanged() {
    if (IsLoading())
        return;
    m_page->SaveUnits(TRepUnit::Pixels);
    int width = RoundEven(m_page->Width());
    int height = RoundEven(m_page->Length());
    m_page->RestoreUnits();
    SetBounds(Left(), Top(), width, height);
    SetBandValues();
}

void TCustomReport::AfterLoad() {
    TRepBasePanel::AfterLoad();
    PageSizeChanged();
}

void TCustomReport::GetChildren(const std::function<void(frame::TComponent*)>& proc,
                                frame::TComponent* root) {
    std::vector<frame::TComponent*> hosted;
    ForEachPrintable([&](TRepPrintable* p) {
        if (auto* host = frame::As<TRepChart>(p); host && host->Chart())
            hosted.push_back(host->Chart());
    });
    TRepBasePanel::GetChildren(
        [&](frame::TComponent* c) {
            if (std::find(hosted.begin(), hosted.end(), c) == hosted.end())
                proc(c);
        },
        root);
}

frame::TCanvas* TCustomReport::MeasureCanvas() {
    if (!m_measureCanvas) {
        m_measureContext = platform::gdi::DeviceContext::ForMeasure();
        m_measureCanvas = std::make_unique<frame::TCanvas>();
        m_measureCanvas->SetHandle(m_measureContext.get());
    }
    return m_measureCanvas.get();
}

void TCustomReport::ForEachPrintable(const std::function<void(TRepPrintable*)>& proc) const {
    for (TRepCustomBand* band : BandList())
        for (TRepPrintable* p : band->Printables())
            proc(p);
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* p = frame::As<TRepPrintable>(Controls(i)))
            proc(p);
}

} // namespace report
