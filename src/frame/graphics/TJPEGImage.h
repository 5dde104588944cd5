#pragma once
// A JPEG picture: the JFIF bytes as read, decoded once through libjpeg into a cached bitmap on
// first draw, with the decoding settings taken from a process-wide defaults record.
#include <memory>
#include <vector>

#include "frame/graphics/JpegDecoder.h"
#include "frame/graphics/TBitmap.h"
#include "frame/graphics/TGraphic.h"

namespace frame {

enum TJPEGPerformance { jpBestQuality, jpBestSpeed };
ZORVANE_ENUM_TYPE(TJPEGPerformance, "jpBestQuality", "jpBestSpeed")
enum TJPEGPixelFormat { jf24Bit, jf8Bit };
ZORVANE_ENUM_TYPE(TJPEGPixelFormat, "jf24Bit", "jf8Bit")
enum TJPEGScale { jsFullSize, jsHalf, jsQuarter, jsEighth };
ZORVANE_ENUM_TYPE(TJPEGScale, "jsFullSize", "jsHalf", "jsQuarter", "jsEighth")

struct TJPEGDefaults {
    int CompressionQuality = 90;
    bool Grayscale = false;
    TJPEGPerformance Performance = jpBestQuality;
    TJPEGPixelFormat PixelFormat = jf24Bit;
    bool ProgressiveDisplay = false;
    bool ProgressiveEncoding = false;
    TJPEGScale Scale = jsFullSize;
    bool Smoothing = true;
};

// The settings every new TJPEGImage starts with. Pixel format: 8-bit when the screen has 8 or
// fewer bits per pixel at start-up (InitJPEGDefaults), else 24-bit.
TJPEGDefaults& JPEGDefaults();
void InitJPEGDefaults(int screenBitsPerPixel);

class TJPEGImage : public TGraphic {
public:
    ZORVANE_CLASS(TJPEGImage)
    TJPEGImage();
    ~TJPEGImage() override;

    void Draw(TCanvas& canvas, const TRect& rect) override;
    bool Empty() const override { return m_data.empty(); }
    int Width() const override;
    int Height() const override;
    // Raises EInvalidGraphicOperation "Cannot change the size of a JPEG image".
    void SetWidth(int value) override;
    void SetHeight(int value) override;
    void LoadFromStream(rtl::TStream& stream) override;
    void SaveToStream(rtl::TStream& stream) override;
    // A 4-byte length, then the JFIF file.
    void ReadData(rtl::TStream& stream) override;
    void WriteData(rtl::TStream& stream) override;
    void Assign(const TPersistent* source) override;

    // The decoded picture (decoded now if need be). Library errors raise EJPEG.
    TBitmap* Bitmap();
    bool Decoded() const { return m_bitmap != nullptr; }
    bool IsGrayscaleFile() const { return m_header.grayscale; }

    int CompressionQuality() const { return m_settings.CompressionQuality; }
    void SetCompressionQuality(int value) { m_settings.CompressionQuality = value; }
    bool Grayscale() const { return m_settings.Grayscale; }
    void SetGrayscale(bool value);
    TJPEGPerformance Performance() const { return m_settings.Performance; }
    void SetPerformance(TJPEGPerformance value);
    TJPEGPixelFormat PixelFormat() const { return m_settings.PixelFormat; }
    void SetPixelFormat(TJPEGPixelFormat value);
    bool ProgressiveDisplay() const { return m_settings.ProgressiveDisplay; }
    void SetProgressiveDisplay(bool value) { m_settings.ProgressiveDisplay = value; }
    bool ProgressiveEncoding() const { return m_settings.ProgressiveEncoding; }
    void SetProgressiveEncoding(bool value) { m_settings.ProgressiveEncoding = value; }
    TJPEGScale Scale() const { return m_settings.Scale; }
    void SetScale(TJPEGScale value);
    bool Smoothing() const { return m_settings.Smoothing; }
    void SetSmoothing(bool value);

private:
    void LoadBytes(std::vector<std::uint8_t> bytes);
    void FreeBitmap();
    JpegDecodeSettings DecodeSettings() const;

    std::vector<std::uint8_t> m_data;
    JpegHeader m_header;
    TJPEGDefaults m_settings;
    std::unique_ptr<TBitmap> m_bitmap;
};

} // namespace frame
