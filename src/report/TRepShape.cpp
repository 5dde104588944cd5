#include "report/TRepShape.h"

#include "frame/ClassBuilder.h"
#include "report/TCustomReport.h"
#include "report/TRepPrinter.h"

namespace report {

namespace {
constexpr int kNewShapeSize = 65;
}

const frame::TClassInfo* TRepShape::StaticClass() {
    static const auto info =
        frame::TClassBuilder<TRepShape>("TRepShape", TRepPrintable::StaticClass())
            .Property("Brush", &TRepShape::Brush, &TRepShape::SetBrush)
            .Property("Pen", &TRepShape::Pen, &TRepShape::SetPen)
            .Property("Shape", &TRepShape::Shape, &TRepShape::SetShape,
                      frame::Default(int(TRepShapeType::rsRectangle)))
            .Build();
    return info.get();
}

TRepShape::TRepShape(frame::TComponent* owner)
    : TRepPrintable(owner), m_pen(std::make_unique<frame::TPen>()),
      m_brush(std::make_unique<frame::TBrush>()) {
    m_pen->OnChange = frame::TNotifyEvent::Of<&TRepShape::StyleChanged>(this);
    m_brush->OnChange = frame::TNotifyEvent::Of<&TRepShape::StyleChanged>(this);
    SetBounds(Left(), Top(), kNewShapeSize, kNewShapeSize);
}

TRepShape::~TRepShape() = default;

void TRepShape::SetShape(TRepShapeType value) {
    if (m_shape == value)
        return;
    m_shape = value;
    Invalidate();
}

void TRepShape::Print(int32_t ofsX, int32_t ofsY) {
    TRepPrinter* printer = ReportPrinter();
    TCustomReport* report = ParentReport();
    if (!printer || !printer->Canvas() || !Enabled() || (report && !report->FinalPass()))
        return;
    frame::TCanvas& canvas = *printer->Canvas();
    canvas.Brush()->Assign(m_brush.get());
    canvas.Pen()->Assign(m_pen.get());
    // A pen of no colour draws no outline.
    if (m_pen->Color() == frame::clNone)
        canvas.Pen()->SetStyle(frame::psClear);
    const TRepPrintableSize& s = *Size();
    frame::TRect r = DeviceRect(ofsX, ofsY);
    int xm = printer->XPos(ofsX + s.NativeValue(TRepPrintableSize::LeftIndex) +
                           s.NativeValue(TRepPrintableSize::WidthIndex) / 2);
    int ym = printer->YPos(ofsY + s.NativeValue(TRepPrintableSize::TopIndex) +
                           s.NativeValue(TRepPrintableSize::HeightIndex) / 2);
    auto line = [&](int x1, int y1, int x2, int y2) {
        canvas.MoveTo(x1, y1);
        canvas.LineTo(x2, y2);
    };
    switch (m_shape) {
    case TRepShapeType::rsRectangle:
        canvas.Rectangle(r);
        break;
    case TRepShapeType::rsCircle:
        canvas.Ellipse(r.left, r.top, r.right, r.bottom);
        break;
    case TRepShapeType::rsVertLine:
        line(xm, r.top, xm, r.bottom);
        break;
    case TRepShapeType::rsHorLine:
        line(r.left, ym, r.right, ym);
        break;
    case TRepShapeType::rsTopAndBottom:
        line(r.left, r.top, r.right, r.top);
        line(r.left, r.bottom, r.right, r.bottom);
        break;
    case TRepShapeType::rsRightAndLeft:
        line(r.left, r.top, r.left, r.bottom);
        line(r.right, r.top, r.right, r.bottom);
        break;
    }
}

} // namespace report
