#include "report/TRepImage.h"

#include "frame/ClassBuilder.h"
#include "frame/graphics/TGraphic.h"
#include "platform/gdi/DeviceContext.h"
#include "report/TRepPrinter.h"

namespace report {

using frame::Default;

namespace {
constexpr int kNewImageSize = 105;
}

const frame::TClassInfo* TRepImage::StaticClass() {
    static const auto info =
        frame::TClassBuilder<TRepImage>("TRepImage", TRepPrintable::StaticClass())
            .Property("AutoSize", &TRepImage::AutoSize, &TRepImage::SetAutoSize, Default(0))
            .Property("Center", &TRepImage::Center, &TRepImage::SetCenter, Default(0))
            .Property("Picture", &TRepImage::Picture, &TRepImage::SetPicture)
            .Property("Stretch", &TRepImage::Stretch, &TRepImage::SetStretch, Default(0))
            .Build();
    return info.get();
}

TRepImage::TRepImage(frame::TComponent* owner)
    : TRepPrintable(owner), m_picture(std::make_unique<frame::TPicture>()) {
    m_picture->SetOwner(this);
    m_picture->OnChange = frame::TNotifyEvent::Of<&TRepImage::PictureChanged>(this);
    SetBounds(Left(), Top(), kNewImageSize, kNewImageSize);
}

TRepImage::~TRepImage() {
    m_picture->OnChange = frame::TNotifyEvent();
}

void TRepImage::SetAutoSize(bool value) {
    m_autoSize = value;
    PictureChanged(nullptr);
}

void TRepImage::SetCenter(bool value) {
    m_center = value;
    PictureChanged(nullptr);
}

void TRepImage::SetStretch(bool value) {
    m_stretch = value;
    PictureChanged(nullptr);
}

void TRepImage::PictureChanged(frame::TObject*) {
    if (m_autoSize && m_picture->Width() > 0 && m_picture->Height() > 0)
        SetBounds(Left(), Top(), m_picture->Width(), m_picture->Height());
    Invalidate();
}

frame::TRect TRepImage::PictureRect(int32_t ofsX, int32_t ofsY) const {
    frame::TRect r = DeviceRect(ofsX, ofsY);
    if (m_stretch || !ReportPrinter())
        return r;
    const TRepPrinter& p = *ReportPrinter();
    const long double screen = frame::kScreenPixelsPerInch;
    int w = RoundEven(m_picture->Width() / screen * kTenthsPerInch * p.XFactor());
    int h = RoundEven(m_picture->Height() / screen * kTenthsPerInch * p.YFactor());
    frame::TRect target{r.left, r.top, r.left + w, r.top + h};
    if (m_center) {
        const TRepPrintableSize& s = *Size();
        int dx = (p.XSize(s.NativeValue(TRepPrintableSize::WidthIndex)) - w) / 2;
        int dy = (p.YSize(s.NativeValue(TRepPrintableSize::HeightIndex)) - h) / 2;
        target =
            frame::TRect{target.left + dx, target.top + dy, target.right + dx, target.bottom + dy};
    }
    return target;
}

void TRepImage::Print(int32_t ofsX, int32_t ofsY) {
    TRepPrinter* printer = ReportPrinter();
    if (!printer || !printer->Canvas() || !Enabled())
        return;
    frame::TCanvas& canvas = *printer->Canvas();
    frame::TGraphic* graphic = m_picture->Graphic();
    if (graphic && !graphic->Empty()) {
        frame::TRect target = PictureRect(ofsX, ofsY);
        if (m_stretch) {
            canvas.StretchDraw(target, graphic);
        } else {
            // The natural size may pass the box: what lies outside is not printed.
            platform::gdi::DeviceContext* dc = canvas.Handle();
            dc->SaveDC();
            struct Unclip {
                platform::gdi::DeviceContext* dc;
                ~Unclip() { dc->RestoreDC(); }
            } unclip{dc};
            dc->IntersectClipRect(DeviceRect(ofsX, ofsY));
            canvas.StretchDraw(target, graphic);
        }
    }
    PrintFrame(ofsX, ofsY);
}

} // namespace report
