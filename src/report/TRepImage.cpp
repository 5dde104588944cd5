#include "report/TRepImage.h"

#include <algorithm>
#include <cstdint>

#include "frame/ClassBuilder.h"
#include "frame/graphics/TGraphic.h"
#include "frame/graphics/TIcon.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/SavedDC.h"
#include "report/TRepPrinter.h"

namespace report {

using frame::Default;

namespace {

constexpr int kNewImageSize = 105;
// Pixels at least this opaque print; the others leave the page as it is.
constexpr std::uint32_t kOpaqueAlpha = 128;

// The colour of a premultiplied 0xAARRGGBB pixel, as 0x00BBGGRR.
frame::TColor Unpremultiplied(std::uint32_t word) {
    std::uint32_t a = word >> 24;
    auto channel = [&](int shift) {
        std::uint32_t c = (word >> shift) & 0xFF;
        return a == 0 || a == 0xFF ? c : std::min<std::uint32_t>(0xFF, c * 0xFF / a);
    };
    return frame::TColor(channel(0) << 16 | channel(8) << 8 | channel(16));
}

// An image with a transparent part, stretched into `target` through a mask of the pixels that
// print: the page gets an opaque picture clipped to them and no transparency, which every printer
// and print service takes as it is (a picture with transparency makes some services turn the
// whole page, text included, into an image).
void PrintMasked(frame::TCanvas& canvas, const frame::TRect& target,
                 const platform::gdi::Bitmap& image) {
    const int w = image.Width();
    const int h = image.Height();
    if (w <= 0 || h <= 0)
        return;
    constexpr std::uint32_t black = 0xFF000000u, white = 0xFFFFFFFFu;
    platform::gdi::Bitmap colours(w, h, 0, false);
    platform::gdi::Bitmap mask(w, h, white, false);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            std::uint32_t word = image.Word(x, y);
            if (image.HasAlpha() && (word >> 24) < kOpaqueAlpha)
                continue;
            colours.Row(y)[x] = platform::gdi::ColorToWord(
                Unpremultiplied(image.HasAlpha() ? word : word | 0xFF000000u));
            mask.Row(y)[x] = black;
        }
    }
    canvas.Handle()->MaskBlt(target, colours, mask, platform::gdi::Rect{0, 0, w, h});
}

} // namespace

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
        auto draw = [&] {
            // An icon is stretched like any picture (its own drawing keeps its size).
            if (auto* icon = frame::As<frame::TIcon>(graphic))
                PrintMasked(canvas, target, icon->Handle());
            else
                canvas.StretchDraw(target, graphic);
        };
        if (m_stretch) {
            draw();
        } else {
            // The natural size may pass the box: what lies outside is not printed.
            platform::gdi::DeviceContext* dc = canvas.Handle();
            platform::gdi::SavedDC unclip(*dc);
            dc->IntersectClipRect(DeviceRect(ofsX, ofsY));
            draw();
        }
    }
    PrintFrame(ofsX, ofsY);
}

} // namespace report
