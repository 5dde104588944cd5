#include "frame/graphics/TJPEGImage.h"

#include "frame/graphics/StreamBytes.h"
#include "frame/graphics/TCanvas.h"
#include "rtl/Exception.h"

namespace frame {

TJPEGDefaults& JPEGDefaults() {
    static TJPEGDefaults defaults;
    return defaults;
}

void InitJPEGDefaults(int screenBitsPerPixel) {
    JPEGDefaults().PixelFormat = screenBitsPerPixel <= 8 ? jf8Bit : jf24Bit;
}

const TClassInfo* TJPEGImage::StaticClass() {
    static const auto info =
        TClassBuilder<TJPEGImage>("TJPEGImage", TGraphic::StaticClass()).Build();
    return info.get();
}

TJPEGImage::TJPEGImage() : m_settings(JPEGDefaults()) {}
TJPEGImage::~TJPEGImage() = default;

namespace {
int Scaled(int size, TJPEGScale scale) {
    int d = 1 << int(scale);
    return (size + d - 1) / d;
}
} // namespace

int TJPEGImage::Width() const {
    return m_bitmap ? m_bitmap->Width() : Scaled(m_header.width, m_settings.Scale);
}
int TJPEGImage::Height() const {
    return m_bitmap ? m_bitmap->Height() : Scaled(m_header.height, m_settings.Scale);
}

void TJPEGImage::SetWidth(int) {
    throw rtl::EInvalidGraphicOperation(std::string("Cannot change the size of a JPEG image"));
}
void TJPEGImage::SetHeight(int) {
    throw rtl::EInvalidGraphicOperation(std::string("Cannot change the size of a JPEG image"));
}

void TJPEGImage::FreeBitmap() {
    m_bitmap.reset();
}

void TJPEGImage::LoadBytes(std::vector<std::uint8_t> bytes) {
    JpegHeader header;
    if (!bytes.empty())
        header = ReadJpegHeader(bytes.data(), bytes.size());
    FreeBitmap();
    m_data = std::move(bytes);
    m_header = header;
    m_settings.ProgressiveEncoding = header.progressive;
    Changed();
}

void TJPEGImage::LoadFromStream(rtl::TStream& stream) {
    LoadBytes(ReadRest(stream));
}
void TJPEGImage::ReadData(rtl::TStream& stream) {
    LoadBytes(ReadLengthPrefixed(stream));
}

void TJPEGImage::SaveToStream(rtl::TStream& stream) {
    if (!m_data.empty())
        stream.WriteBuffer(m_data.data(), m_data.size());
}

void TJPEGImage::WriteData(rtl::TStream& stream) {
    WriteLength(stream, std::uint32_t(m_data.size()));
    SaveToStream(stream);
}

void TJPEGImage::Assign(const TPersistent* source) {
    if (source == nullptr) {
        LoadBytes({});
        return;
    }
    if (auto* other = dynamic_cast<const TJPEGImage*>(source)) {
        if (other == this)
            return;
        FreeBitmap();
        m_data = other->m_data;
        m_header = other->m_header;
        m_settings = other->m_settings;
        Changed();
        return;
    }
    TGraphic::Assign(source);
}

JpegDecodeSettings TJPEGImage::DecodeSettings() const {
    JpegDecodeSettings s;
    s.grayscale = m_settings.Grayscale;
    s.fastDecode = m_settings.Performance == jpBestSpeed;
    s.eightBit = m_settings.PixelFormat == jf8Bit;
    s.progressiveDisplay = m_settings.ProgressiveDisplay;
    s.scale = int(m_settings.Scale);
    s.smoothing = m_settings.Smoothing;
    return s;
}

TBitmap* TJPEGImage::Bitmap() {
    if (m_bitmap || m_data.empty())
        return m_bitmap.get();
    Progress(psStarting, 0);
    auto bitmap = std::make_unique<TBitmap>();
    try {
        DibImage dib = DecodeJpeg(m_data.data(), m_data.size(), DecodeSettings(),
                                  [this] { Progress(psRunning, 50); });
        bitmap->SetDib(std::move(dib));
    } catch (const rtl::EAbort&) {
        // A progress handler stopped the decoding: no picture this time, and no error.
        Progress(psEnding, 0);
        return nullptr;
    }
    m_bitmap = std::move(bitmap);
    Progress(psEnding, 100);
    return m_bitmap.get();
}

void TJPEGImage::Draw(TCanvas& canvas, const TRect& rect) {
    if (TBitmap* b = Bitmap())
        b->Draw(canvas, rect); // a decoded picture is never transparent
}

void TJPEGImage::SetGrayscale(bool value) {
    if (value != m_settings.Grayscale) {
        FreeBitmap();
        m_settings.Grayscale = value;
        Changed();
    }
}

void TJPEGImage::SetPerformance(TJPEGPerformance value) {
    if (value != m_settings.Performance) {
        FreeBitmap();
        m_settings.Performance = value;
        Changed();
    }
}

void TJPEGImage::SetPixelFormat(TJPEGPixelFormat value) {
    if (value != m_settings.PixelFormat) {
        FreeBitmap();
        m_settings.PixelFormat = value;
        Changed();
    }
}

void TJPEGImage::SetScale(TJPEGScale value) {
    if (value != m_settings.Scale) {
        FreeBitmap();
        m_settings.Scale = value;
        Changed();
    }
}

void TJPEGImage::SetSmoothing(bool value) {
    if (value != m_settings.Smoothing) {
        FreeBitmap();
        m_settings.Smoothing = value;
        Changed();
    }
}

} // namespace frame
