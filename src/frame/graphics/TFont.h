#pragma once
// The font of a canvas or control: name, height in pixels (negative: character height) or size
// in points at the font's resolution, style, colour, pitch and character set.
#include <string>

#include "frame/TEvent.h"
#include "frame/TPersistent.h"
#include "frame/graphics/GraphicsTypes.h"

namespace frame {

class TFont : public TPersistent {
public:
    ZORVANE_CLASS(TFont)

    TFontCharset Charset() const { return m_charset; }
    void SetCharset(TFontCharset value);
    TColor Color() const { return m_color; }
    void SetColor(TColor value);
    int32_t Height() const { return m_height; }
    void SetHeight(int32_t value);
    const std::string& Name() const { return m_name; }
    void SetName(std::string value);
    TFontPitch Pitch() const { return m_pitch; }
    void SetPitch(TFontPitch value);
    // Points: -Height * 72 / PixelsPerInch, rounded.
    int32_t Size() const;
    void SetSize(int32_t value);
    TFontStyles Style() const { return m_style; }
    void SetStyle(TFontStyles value);
    // The resolution sizes are converted at (the screen's unless a printer canvas says otherwise).
    int32_t PixelsPerInch() const { return m_pixelsPerInch; }
    void SetPixelsPerInch(int32_t value) { m_pixelsPerInch = value > 0 ? value : 1; }

    void Assign(const TPersistent* source) override;

    platform::gdi::FontSpec Spec() const;

    TNotifyEvent OnChange;

protected:
    void Changed();

private:
    TFontCharset m_charset = DEFAULT_CHARSET;
    TColor m_color = clWindowText;
    int32_t m_height = -11;
    std::string m_name = "MS Sans Serif";
    TFontPitch m_pitch = fpDefault;
    TFontStyles m_style;
    int32_t m_pixelsPerInch = kScreenPixelsPerInch;
};

} // namespace frame
