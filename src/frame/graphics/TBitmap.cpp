#include "frame/graphics/TBitmap.h"

#include <algorithm>

#include "frame/graphics/StreamBytes.h"
#include "frame/graphics/TCanvas.h"

namespace frame {

using platform::gdi::Bitmap;
using platform::gdi::DeviceContext;

// The canvas of a bitmap: its context draws into the bitmap's pixels, made on first use.
class TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(TBitmap* owner) : m_owner(owner) {}
    const Bitmap* SurfaceBitmap() const override { return &m_owner->Image(); }

protected:
    void CreateHandle() override {
        Bitmap& image = m_owner->MutableImage();
        m_owner->m_dc = DeviceContext::ForBitmap(image);
        SetHandle(m_owner->m_dc.get());
    }

private:
    TBitmap* m_owner;
};

const TClassInfo* TBitmap::StaticClass() {
    static const auto info = TClassBuilder<TBitmap>("TBitmap", TGraphic::StaticClass()).Build();
    return info.get();
}

TBitmap::TBitmap() = default;

TBitmap::~TBitmap() {
    DropHandle();
    delete m_canvas;
}

void TBitmap::DropHandle() {
    if (m_canvas)
        m_canvas->SetHandle(nullptr);
    m_dc.reset();
}

void TBitmap::Changed() {
    m_paletteModified = !m_dib.colors.empty();
    TGraphic::Changed();
}

void TBitmap::CanvasChanged(TObject*) {
    m_dibStale = true;
    TGraphic::Changed();
}

bool TBitmap::Empty() const {
    return m_imageValid ? m_image.Empty() : m_dib.Empty();
}

int TBitmap::Width() const {
    return m_imageValid ? m_image.Width() : m_dib.width;
}
int TBitmap::Height() const {
    return m_imageValid ? m_image.Height() : m_dib.AbsHeight();
}

const Bitmap& TBitmap::Image() const {
    if (!m_imageValid) {
        m_image = DibToBitmap(m_dib);
        m_imageValid = true;
    }
    return m_image;
}

Bitmap& TBitmap::MutableImage() {
    Image();
    return m_image;
}

const DibImage& TBitmap::Dib() const {
    if (m_dibStale) {
        DibImage fresh = BitmapToDib(m_image);
        if (m_pixelFormat == pf32bit) {
            fresh.bitCount = 32;
            fresh.pixels.assign(fresh.RowBytes() * std::size_t(fresh.height), 0);
            for (int y = 0; y < fresh.height; ++y) {
                const std::uint32_t* s = m_image.Row(fresh.height - 1 - y);
                std::uint8_t* d = fresh.pixels.data() + std::size_t(y) * fresh.RowBytes();
                for (int x = 0; x < fresh.width; ++x)
                    for (int c = 0; c < 4; ++c)
                        d[4 * x + c] = std::uint8_t(s[x] >> (8 * c));
            }
        }
        fresh.xPelsPerMeter = m_dib.xPelsPerMeter;
        fresh.yPelsPerMeter = m_dib.yPelsPerMeter;
        m_dib = std::move(fresh);
        m_dibStale = false;
    }
    return m_dib;
}

void TBitmap::SetDib(DibImage dib) {
    DropHandle();
    m_dib = std::move(dib);
    m_imageValid = false;
    m_dibStale = false;
    m_image = Bitmap();
    Changed();
}

void TBitmap::SetSize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == Width() && height == Height())
        return;
    const Bitmap& old = Image();
    Bitmap resized(width, height, 0);
    for (int y = 0; y < std::min(height, old.Height()); ++y)
        std::copy_n(old.Row(y), std::min(width, old.Width()), resized.Row(y));
    DropHandle();
    m_image = std::move(resized);
    m_imageValid = true;
    m_dibStale = true;
    Changed();
}

void TBitmap::SetWidth(int value) {
    SetSize(value, Height());
}
void TBitmap::SetHeight(int value) {
    SetSize(Width(), value);
}

void TBitmap::LoadFromStream(rtl::TStream& stream) {
    std::vector<std::uint8_t> bytes = ReadRest(stream);
    SetDib(bytes.empty() ? DibImage{} : ReadBmpFile(bytes.data(), bytes.size()));
}

void TBitmap::SaveToStream(rtl::TStream& stream) {
    if (Empty())
        return;
    std::vector<std::uint8_t> file = WriteBmpFile(Dib());
    stream.WriteBuffer(file.data(), file.size());
}

void TBitmap::ReadData(rtl::TStream& stream) {
    std::vector<std::uint8_t> bytes = ReadLengthPrefixed(stream);
    SetDib(bytes.empty() ? DibImage{} : ReadBmpFile(bytes.data(), bytes.size()));
}

void TBitmap::WriteData(rtl::TStream& stream) {
    if (Empty()) {
        WriteLength(stream, 0);
        return;
    }
    std::vector<std::uint8_t> file = WriteBmpFile(Dib());
    WriteLength(stream, std::uint32_t(file.size()));
    stream.WriteBuffer(file.data(), file.size());
}

void TBitmap::Assign(const TPersistent* source) {
    if (source == nullptr) {
        SetDib(DibImage{});
        return;
    }
    if (auto* other = dynamic_cast<const TBitmap*>(source)) {
        if (other == this)
            return;
        DropHandle();
        m_dib = other->Dib();
        m_image = other->m_image;
        m_imageValid = other->m_imageValid;
        m_dibStale = false;
        m_transparent = other->m_transparent;
        m_transparentMode = other->m_transparentMode;
        m_transparentColor = other->m_transparentColor;
        m_pixelFormat = other->m_pixelFormat;
        Changed();
        return;
    }
    TGraphic::Assign(source);
}

TCanvas* TBitmap::Canvas() {
    if (!m_canvas) {
        m_canvas = new TBitmapCanvas(this);
        m_canvas->OnChange = TNotifyEvent::Of<&TBitmap::CanvasChanged>(this);
    }
    return m_canvas;
}

TPixelFormat TBitmap::PixelFormat() const {
    if (m_pixelFormat != pfDevice && m_dibStale)
        return m_pixelFormat;
    const DibImage& d = m_dib;
    if (d.Empty())
        return m_pixelFormat;
    switch (d.bitCount) {
    case 1:
        return pf1bit;
    case 4:
        return pf4bit;
    case 8:
        return pf8bit;
    case 16:
        return d.compression == BI_BITFIELDS && d.masks[1] == 0x07E0 ? pf16bit : pf15bit;
    case 24:
        return pf24bit;
    case 32:
        return pf32bit;
    default:
        return pfCustom;
    }
}

void TBitmap::SetPixelFormat(TPixelFormat value) {
    if (value == PixelFormat())
        return;
    m_pixelFormat = value;
    if (!Empty()) {
        Image();
        m_dibStale = true;
    }
    Changed();
}

TColor TBitmap::TransparentColor() const {
    if (m_transparentMode == tmFixed && m_transparentColor != clDefault)
        return m_transparentColor;
    const Bitmap& image = Image();
    if (image.Empty())
        return clDefault;
    return TColor(image.GetPixel(0, image.Height() - 1));
}

void TBitmap::SetTransparentColor(TColor value) {
    if (value == m_transparentColor)
        return;
    m_transparentColor = value;
    m_transparentMode = value == clDefault ? tmAuto : tmFixed;
    Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode value) {
    if (value == m_transparentMode)
        return;
    m_transparentMode = value;
    if (value == tmAuto)
        m_transparentColor = clDefault;
    else if (m_transparentColor == clDefault)
        m_transparentColor = TransparentColor();
    Changed();
}

void TBitmap::Draw(TCanvas& canvas, const TRect& rect) {
    if (Empty())
        return;
    const Bitmap& image = Image();
    TRect source{0, 0, image.Width(), image.Height()};
    auto* dc = canvas.Handle();
    if (m_transparent)
        dc->TransparentBlt(rect, image, source, ColorToRGB(TransparentColor()));
    else
        dc->StretchBlt(rect, image, source, canvas.CopyMode());
}

} // namespace frame
