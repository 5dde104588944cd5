#include "frame/graphics/TIcon.h"

#include "frame/graphics/IconFile.h"
#include "frame/graphics/StreamBytes.h"
#include "frame/graphics/TCanvas.h"
#include "rtl/Exception.h"

namespace frame {

const TClassInfo* TIcon::StaticClass() {
    static const auto info = TClassBuilder<TIcon>("TIcon", TGraphic::StaticClass()).Build();
    return info.get();
}

TIcon::TIcon() {
    m_transparent = true;
}

int TIcon::Width() const {
    return Empty() ? 0 : kSystemIconSize;
}
int TIcon::Height() const {
    return Empty() ? 0 : kSystemIconSize;
}

void TIcon::SetWidth(int) {
    throw rtl::EInvalidGraphicOperation(std::string("Cannot change the size of an icon"));
}
void TIcon::SetHeight(int) {
    throw rtl::EInvalidGraphicOperation(std::string("Cannot change the size of an icon"));
}

void TIcon::LoadFromStream(rtl::TStream& stream) {
    std::vector<std::uint8_t> bytes = ReadRest(stream);
    ReadIconType(bytes.data(), bytes.size());
    m_data = std::move(bytes);
    m_handleValid = false;
    m_image = platform::gdi::Bitmap();
    Changed();
}

void TIcon::SaveToStream(rtl::TStream& stream) {
    if (!m_data.empty())
        stream.WriteBuffer(m_data.data(), m_data.size());
}

void TIcon::Assign(const TPersistent* source) {
    if (source == nullptr) {
        m_data.clear();
        m_handleValid = false;
        Changed();
        return;
    }
    if (auto* other = dynamic_cast<const TIcon*>(source)) {
        if (other == this)
            return;
        m_data = other->m_data;
        m_image = other->m_image;
        m_handleValid = other->m_handleValid;
        Changed();
        return;
    }
    TGraphic::Assign(source);
}

const platform::gdi::Bitmap& TIcon::Handle() const {
    if (!m_handleValid) {
        m_image = DecodeIconFile(m_data.data(), m_data.size());
        m_handleValid = true;
    }
    return m_image;
}

void TIcon::Draw(TCanvas& canvas, const TRect& rect) {
    if (Empty())
        return;
    const platform::gdi::Bitmap& image = Handle();
    canvas.Handle()->StretchBlt(
        TRect{rect.left, rect.top, rect.left + image.Width(), rect.top + image.Height()}, image,
        TRect{0, 0, image.Width(), image.Height()});
}

} // namespace frame
