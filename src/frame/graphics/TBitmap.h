#pragma once
// A bitmap: the BMP data as read (written back in the same form) and its pixels, decoded on
// first use; drawing on its canvas makes the pixels the master copy.
#include <memory>
#include <vector>

#include "frame/graphics/DibImage.h"
#include "frame/graphics/TGraphic.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/DeviceContext.h"

namespace frame {

enum TPixelFormat {
    pfDevice,
    pf1bit,
    pf4bit,
    pf8bit,
    pf15bit,
    pf16bit,
    pf24bit,
    pf32bit,
    pfCustom
};
ZORVANE_ENUM_TYPE(TPixelFormat, "pfDevice", "pf1bit", "pf4bit", "pf8bit", "pf15bit", "pf16bit",
                  "pf24bit", "pf32bit", "pfCustom")
enum TTransparentMode { tmAuto, tmFixed };
ZORVANE_ENUM_TYPE(TTransparentMode, "tmAuto", "tmFixed")

class TBitmapCanvas;

class TBitmap : public TGraphic {
public:
    ZORVANE_CLASS(TBitmap)
    TBitmap();
    ~TBitmap() override;

    void Draw(TCanvas& canvas, const TRect& rect) override;
    bool Empty() const override;
    int Width() const override;
    int Height() const override;
    void SetWidth(int value) override;
    void SetHeight(int value) override;
    void SetSize(int width, int height);
    // A BMP file, to the end of the stream. Raises EInvalidGraphic "Bitmap image is not valid".
    void LoadFromStream(rtl::TStream& stream) override;
    void SaveToStream(rtl::TStream& stream) override;
    // A 4-byte length, then a BMP file of that length (0: empty).
    void ReadData(rtl::TStream& stream) override;
    void WriteData(rtl::TStream& stream) override;
    void Assign(const TPersistent* source) override;

    TCanvas* Canvas();
    TPixelFormat PixelFormat() const;
    void SetPixelFormat(TPixelFormat value);
    bool Monochrome() const { return Dib().bitCount == 1; }
    // The colour table (0x00RRGGBB), empty when there is none.
    const std::vector<std::uint32_t>& Palette() const { return Dib().colors; }
    // tmAuto: the colour of the bottom-left pixel; tmFixed: the colour set.
    TColor TransparentColor() const;
    void SetTransparentColor(TColor value);
    TTransparentMode TransparentMode() const { return m_transparentMode; }
    void SetTransparentMode(TTransparentMode value);

    // The pixels (decoded on first use).
    const platform::gdi::Bitmap& Image() const;
    // The stored form (brought up to date with drawing done on the canvas).
    const DibImage& Dib() const;
    // Replaces the contents with a stored image (decoders use this).
    void SetDib(DibImage dib);

protected:
    void Changed() override;

private:
    friend class TBitmapCanvas;
    void DropHandle();
    void CanvasChanged(TObject*);
    platform::gdi::Bitmap& MutableImage();

    mutable DibImage m_dib;
    mutable platform::gdi::Bitmap m_image;
    mutable bool m_imageValid = false;
    mutable bool m_dibStale = false; // the canvas drew after the stored form was made
    TPixelFormat m_pixelFormat = pfDevice;
    TTransparentMode m_transparentMode = tmAuto;
    TColor m_transparentColor = clDefault;
    TBitmapCanvas* m_canvas = nullptr;
    std::unique_ptr<platform::gdi::DeviceContext> m_dc;
};

} // namespace frame
