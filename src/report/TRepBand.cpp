#include "report/TRepBand.h"

#include "frame/ClassBuilder.h"
#include "report/TCustomReport.h"
#include "report/TRepPrintable.h"
#include "report/TRepPrinter.h"
#include "rtl/Exception.h"
#include "rtl/ScopeExit.h"

namespace report {

using frame::Default;
using frame::NoDefault;
using frame::NotStored;

namespace {
constexpr int kNewBandHeight = 40;
} // namespace

const frame::TClassInfo* TRepCustomBand::StaticClass() {
    static const auto info =
        frame::TClassBuilder<TRepCustomBand>("TRepCustomBand", TRepBasePanel::StaticClass())
            .Property("AlignToBottom", &TRepCustomBand::AlignToBottom,
                      &TRepCustomBand::SetAlignToBottom, Default(0))
            .Property("BandType", &TRepCustomBand::BandType, &TRepCustomBand::SetBandType,
                      NoDefault())
            .Property("Color", frame::ColorType(), &frame::TControl::Color,
                      &frame::TControl::SetColor, Default(frame::clWhite))
            .Property("ForceNewColumn", &TRepCustomBand::ForceNewColumn,
                      &TRepCustomBand::SetForceNewColumn, Default(0))
            .Property("ForceNewPage", &TRepCustomBand::ForceNewPage,
                      &TRepCustomBand::SetForceNewPage, Default(0))
            .Property("HasChild", &TRepCustomBand::HasChild, &TRepCustomBand::SetHasChild,
                      Default(0))
            .Property("LinkBand", &TRepCustomBand::LinkBand, &TRepCustomBand::SetLinkBand)
            .Property("ParentBand", &TRepCustomBand::ParentBand, &TRepCustomBand::SetParentBand)
            .Property("Size", &TRepCustomBand::Size, &TRepCustomBand::SetSize)
            .Property("BeforePrint", &TRepCustomBand::BeforePrint)
            .Property("AfterPrint", &TRepCustomBand::AfterPrint)
            .Build();
    return info.get();
}

const frame::TClassInfo* TRepBand::StaticClass() {
    static const auto info =
        frame::TClassBuilder<TRepBand>("TRepBand", TRepCustomBand::StaticClass()).Build();
    return info.get();
}

TRepCustomBand::TRepCustomBand(frame::TComponent* owner)
    : TRepBasePanel(owner), m_size(std::make_unique<TRepBandSize>(nullptr, this)) {
    SetBevelOuter(controls::bvNone);
    SetColor(frame::clWhite);
    SetBounds(Left(), Top(), Width(), kNewBandHeight);
    m_size->FromPixels(0, 0, Width(), Height());
}

TRepCustomBand::~TRepCustomBand() = default;

void TRepCustomBand::SetBandType(TRepBandType value) {
    if (m_bandType == value)
        return;
    m_bandType = value;
    if (TCustomReport* report = ParentReport())
        report->SetBandValues();
}

TRepCustomBand* TRepCustomBand::ChildBand() const {
    if (TCustomReport* report = ParentReport())
        for (TRepCustomBand* band : report->BandList())
            if (band->m_parentBand == this)
                return band;
    return nullptr;
}

void TRepCustomBand::SetHasChild(bool value) {
    // A stored child band arrives by itself, naming this band as its parent.
    if (IsLoading() || value == HasChild())
        return;
    if (!value) {
        delete ChildBand();
        return;
    }
    TCustomReport* report = ParentReport();
    if (!report)
        return;
    TRepCustomBand* child = report->CreateBand(TRepBandType::rbChild);
    child->SetParentBand(this);
}

void TRepCustomBand::SetParentBand(TRepCustomBand* value) {
    if (value == this || value == m_parentBand)
        return;
    if (m_parentBand)
        RemoveFreeNotification(m_parentBand);
    m_parentBand = value;
    if (value)
        FreeNotification(value);
}

void TRepCustomBand::SetLinkBand(TRepCustomBand* value) {
    for (TRepCustomBand* b = value; b; b = b->m_linkBand)
        if (b == this)
            throw rtl::EReportError(std::string(SCircularLink));
    if (m_linkBand)
        RemoveFreeNotification(m_linkBand);
    m_linkBand = value;
    if (value)
        FreeNotification(value);
}

void TRepCustomBand::Notification(frame::TComponent* component, frame::TOperation operation) {
    if (operation == frame::opRemove) {
        if (component == m_linkBand)
            m_linkBand = nullptr;
        if (component == m_parentBand)
            m_parentBand = nullptr;
    }
    TRepBasePanel::Notification(component, operation);
}

// The link band's own height and what it links to; links cannot be circular.
long double TRepCustomBand::StretchHeight(bool linked) const {
    long double height = m_size->NativeValue(TRepBandSize::HeightIndex);
    if (linked && m_linkBand)
        height += m_linkBand->StretchHeight(true);
    return height;
}

TRepBandType TRepCustomBand::LayoutType() const {
    const TRepCustomBand* band = this;
    for (int depth = 0;
         band->m_bandType == TRepBandType::rbChild && band->m_parentBand && depth < 1000; ++depth)
        band = band->m_parentBand;
    return band->m_bandType;
}

std::vector<TRepPrintable*> TRepCustomBand::Printables() const {
    std::vector<TRepPrintable*> list;
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* p = frame::As<TRepPrintable>(Controls(i)))
            list.push_back(p);
    return list;
}

void TRepCustomBand::SizeChanged() {
    TRepBasePanel::SetBounds(Left(), Top(), m_size->PixelWidth(), m_size->PixelHeight());
}

void TRepCustomBand::SetBounds(int left, int top, int width, int height) {
    int oldWidth = Width();
    int oldHeight = Height();
    TRepBasePanel::SetBounds(left, top, width, height);
    if (Width() == oldWidth && Height() == oldHeight)
        return;
    if (m_size && !IsLoading() && !m_size->Updating())
        m_size->FromPixels(oldWidth, oldHeight, Width(), Height());
    for (TRepPrintable* p : Printables())
        p->ParentSizeChanged();
}

void TRepCustomBand::AfterLoad() {
    TRepBasePanel::AfterLoad();
    SizeChanged();
    // The report may have been laid out while this band was still being read.
    if (TCustomReport* report = ParentReport(); report && !report->IsLoading())
        report->SetBandValues();
}

// ---------------------------------------------------------------------------------------------
// Printing

// The height a band that overflowed the page takes on the next one, tenths of mm.
constexpr long double kOverflowBandHeight = 100;

void TRepCustomBand::EnsureSpace() {
    TCustomReport* report = ParentReport();
    if (!report || m_bandType == TRepBandType::rbPageFooter)
        return;
    if (report->AvailableSpace() < RoundEven(StretchHeight(true)) && !m_forceNewPage)
        report->NewColumn();
}

void TRepCustomBand::Print() {
    TCustomReport* report = ParentReport();
    if (!report || !report->Printer())
        return;
    bool printBand = Enabled();
    if (printBand && BeforePrint) {
        TAlive alive(this);
        BeforePrint(this, printBand);
        if (!alive)
            return;
    }
    if (printBand) {
        ForcedBreaks(*report);
        PrintContent(*report);
    }
    if (AfterPrint) {
        TAlive alive(this);
        AfterPrint(this, printBand);
        if (!alive)
            return;
    }
    PrintChild(*report);
}

void TRepCustomBand::PrintChild(TCustomReport& report) {
    TRepCustomBand* child = ChildBand();
    if (!child)
        return;
    // A page footer's child prints as part of the footer.
    rtl::ValueRestore role(child->m_bandType);
    if (m_bandType == TRepBandType::rbPageFooter)
        child->m_bandType = TRepBandType::rbPageFooter;
    child->EnsureSpace();
    report.OutputBand(child);
}

void TRepCustomBand::ForcedBreaks(TCustomReport& report) {
    using T = TRepBandType;
    if (m_bandType == T::rbTitle || m_bandType == T::rbPageHeader ||
        m_bandType == T::rbPageFooter || m_bandType == T::rbOverlay || report.Available())
        return;
    if (m_forceNewPage) {
        if (report.ForcedPageSeen() || report.PageNumber() > 1) {
            do
                report.NewColumn();
            while (report.CurrentColumn() != 1);
        } else {
            report.ForcedPageSeen() = true;
        }
    } else if (m_forceNewColumn) {
        if (report.ForcedColumnSeen() || report.CurrentColumn() > 1)
            report.NewColumn();
        else
            report.ForcedColumnSeen() = true;
    }
}

void TRepCustomBand::PrintContent(TCustomReport& report) {
    TRepPrinter& printer = *report.Printer();
    m_expanded = 0;
    m_printHeight = m_size->NativeValue(TRepBandSize::HeightIndex);
    const long double width = m_size->NativeValue(TRepBandSize::WidthIndex);
    for (bool first = true;; first = false) {
        const int32_t x = report.CurrentX();
        const int32_t y = report.CurrentY();
        frame::TRect r{printer.XPos(x), printer.YPos(y), printer.XPos(x + width),
                       printer.YPos(y + m_printHeight - 1)};
        frame::TCanvas* canvas = printer.Canvas();
        if (report.FinalPass() && canvas) {
            canvas->Brush()->SetStyle(frame::bsSolid);
            canvas->Brush()->SetColor(Color());
            canvas->FillRect(r);
        }
        bool progressed = false;
        bool allFinished = PrintPass(report, first, progressed);
        if (report.FinalPass() && printer.Canvas())
            Frame()->PaintIt(*printer.Canvas(), r, printer.XFactor(), printer.YFactor());
        if (allFinished)
            break;
        // A pass on a fresh page that printed nothing would be repeated on every page that
        // follows: what is left does not fit anywhere, so the band ends here.
        if (!first && !progressed) {
            for (TRepPrintable* p : Printables())
                p->SetFinished(true);
            break;
        }
        report.NewColumn();
        m_printHeight = kOverflowBandHeight;
        m_expanded = 0;
    }
    report.SetCurrentY(AddClamped(report.CurrentY(), RoundEven(m_printHeight + m_expanded)));
}

bool TRepCustomBand::PrintPass(TCustomReport& report, bool firstPass, bool& progressed) {
    bool allFinished = true;
    for (TRepPrintable* p : Printables()) {
        if (p->Enabled() && (firstPass || !p->Finished())) {
            int before = p->PrintProgress();
            p->Print(report.CurrentX(), report.CurrentY());
            progressed = progressed || p->PrintProgress() != before;
        }
        allFinished = allFinished && p->Finished();
    }
    return allFinished;
}

} // namespace report
