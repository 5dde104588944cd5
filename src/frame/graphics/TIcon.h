#pragma once
// An icon: the ICO file kept as read; its image (the handle) is made on first use at the system
// icon size and drawn at its own size at the rectangle's top-left corner.
#include <vector>

#include "frame/graphics/TGraphic.h"
#include "platform/gdi/Bitmap.h"

namespace frame {

class TIcon : public TGraphic {
public:
    ZORVANE_CLASS(TIcon)
    TIcon();

    void Draw(TCanvas& canvas, const TRect& rect) override;
    bool Empty() const override { return m_data.empty(); }
    int Width() const override;
    int Height() const override;
    // Raises EInvalidGraphicOperation "Cannot change the size of an icon".
    void SetWidth(int value) override;
    void SetHeight(int value) override;
    // The whole rest of the stream is the ICO file. Cursor files raise EInvalidGraphic
    // "Icon image is not valid".
    void LoadFromStream(rtl::TStream& stream) override;
    void SaveToStream(rtl::TStream& stream) override;
    void Assign(const TPersistent* source) override;
    // Icons are always drawn through their mask.
    void SetTransparent(bool) override {}

    // The image, made on first use (raises "Icon image is not valid" for a broken file).
    const platform::gdi::Bitmap& Handle() const;
    bool HandleAllocated() const { return m_handleValid; }
    const std::vector<std::uint8_t>& Data() const { return m_data; }

private:
    std::vector<std::uint8_t> m_data;
    mutable platform::gdi::Bitmap m_image;
    mutable bool m_handleValid = false;
};

} // namespace frame
