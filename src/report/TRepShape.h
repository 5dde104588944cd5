#pragma once
// The shape printable: a rectangle, a circle, or lines along the middle or the edges of its box,
// drawn with its pen (width in device pixels) and brush.
#include <memory>

#include "frame/graphics/TBrush.h"
#include "frame/graphics/TPen.h"
#include "report/ReportTypes.h"
#include "report/TRepPrintable.h"

namespace report {

class TRepShape : public TRepPrintable {
public:
    ZORVANE_CLASS(TRepShape)
    explicit TRepShape(frame::TComponent* owner);
    ~TRepShape() override;

    TRepShapeType Shape() const { return m_shape; }
    void SetShape(TRepShapeType value);
    frame::TPen* Pen() const { return m_pen.get(); }
    void SetPen(frame::TPen* value) { m_pen->Assign(value); }
    frame::TBrush* Brush() const { return m_brush.get(); }
    void SetBrush(frame::TBrush* value) { m_brush->Assign(value); }

    void Print(int32_t ofsX, int32_t ofsY) override;

private:
    void StyleChanged(frame::TObject*) { Invalidate(); }

    TRepShapeType m_shape = TRepShapeType::rsRectangle;
    std::unique_ptr<frame::TPen> m_pen;
    std::unique_ptr<frame::TBrush> m_brush;
};

} // namespace report
