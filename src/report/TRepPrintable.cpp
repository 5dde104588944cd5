#include "report/TRepPrintable.h"

#include "frame/ClassBuilder.h"
#include "report/TCustomReport.h"
#include "report/TRepBand.h"
#include "report/TRepPrinter.h"
#include "rtl/ScopeExit.h"

namespace report {

using frame::Default;

namespace {
constexpr int kNewSize = 10;
}

const frame::TClassInfo* TRepPrintable::StaticClass() {
    static const auto info =
        frame::TClassBuilder<TRepPrintable>("TRepPrintable", frame::TCustomControl::StaticClass())
            .Property("Size", &TRepPrintable::Size, &TRepPrintable::SetSize)
            .Property("Frame", &TRepPrintable::Frame, &TRepPrintable::SetFrame)
            .Property("Alignment", &TRepPrintable::Alignment, &TRepPrintable::SetAlignment,
                      Default(controls::taLeftJustify))
            .Property("AlignToBand", &TRepPrintable::AlignToBand, &TRepPrintable::SetAlignToBand,
                      Default(0))
            .Build();
    return info.get();
}

TRepPrintable::TRepPrintable(frame::TComponent* owner)
    : frame::TCustomControl(owner), m_size(std::make_unique<TRepPrintableSize>(nullptr, this)),
      m_frame(std::make_unique<TRepFrame>()) {
    SetColor(frame::clWhite);
    SetBounds(0, 0, kNewSize, kNewSize);
}

TRepPrintable::~TRepPrintable() = default;

TCustomReport* TRepPrintable::ParentReport() const {
    for (frame::TControl* c = Parent(); c; c = c->Parent())
        if (auto* report = frame::As<TCustomReport>(c))
            return report;
    return nullptr;
}

void TRepPrintable::SetAlignment(controls::TAlignment value) {
    if (m_alignment == value)
        return;
    m_alignment = value;
    AlignIt();
}

void TRepPrintable::SetAlignToBand(bool value) {
    if (m_alignToBand == value)
        return;
    m_alignToBand = value;
    AlignIt();
}

void TRepPrintable::AlignIt() {
    auto* band = frame::As<TRepCustomBand>(Parent());
    if (!m_alignToBand || !band || m_aligning || IsLoading())
        return;
    rtl::ValueRestore aligning(m_aligning, true);
    int left = Left();
    switch (m_alignment) {
    case controls::taLeftJustify:
        left = 0;
        break;
    case controls::taRightJustify:
        left = band->Width() - Width();
        break;
    case controls::taCenter:
        left = (band->Width() - Width()) / 2;
        break;
    }
    SetBounds(left, Top(), Width(), Height());
}

void TRepPrintable::ParentSizeChanged() {
    AlignIt();
}

void TRepPrintable::SizeChanged() {
    frame::TRect r = m_size->PixelBounds();
    frame::TCustomControl::SetBounds(r.left, r.top, r.Width(), r.Height());
}

void TRepPrintable::SetBounds(int left, int top, int width, int height) {
    frame::TRect old = BoundsRect();
    frame::TCustomControl::SetBounds(left, top, width, height);
    frame::TRect now = BoundsRect();
    if (old == now)
        return;
    // Only the values whose pixels changed are taken again, so a stored length that is not a
    // whole number of pixels survives a move along the other axis.
    if (!IsLoading() && !m_size->Updating())
        m_size->FromPixels(old, now);
    AlignIt();
}

void TRepPrintable::AfterLoad() {
    frame::TCustomControl::AfterLoad();
    SizeChanged();
}

frame::TRect TRepPrintable::DeviceRect(int32_t ofsX, int32_t ofsY) const {
    if (!m_printer)
        return frame::TRect{};
    const TRepPrinter& p = *m_printer;
    const TRepPrintableSize& s = *m_size;
    long double left = ofsX + s.NativeValue(TRepPrintableSize::LeftIndex);
    long double top = ofsY + s.NativeValue(TRepPrintableSize::TopIndex);
    return frame::TRect{p.XPos(left), p.YPos(top),
                        p.XPos(left + s.NativeValue(TRepPrintableSize::WidthIndex)),
                        p.YPos(top + s.NativeValue(TRepPrintableSize::HeightIndex))};
}

void TRepPrintable::Prepare() {
    m_isPrinting = true;
    TCustomReport* report = ParentReport();
    m_printer = report ? report->Printer() : nullptr;
    m_size->SetParentReport(report);
}

void TRepPrintable::Unprepare() {
    m_isPrinting = false;
    m_printer = nullptr;
}

void TRepPrintable::Print(int32_t ofsX, int32_t ofsY) {
    PrintFrame(ofsX, ofsY);
}

void TRepPrintable::PrintFrame(int32_t ofsX, int32_t ofsY) {
    TCustomReport* report = ParentReport();
    if (!m_printer || !m_printer->Canvas() || (report && !report->FinalPass()) ||
        !m_frame->AnyFrame())
        return;
    m_frame->PaintIt(*m_printer->Canvas(), DeviceRect(ofsX, ofsY), m_printer->XFactor(),
                     m_printer->YFactor());
}

} // namespace report
