#include "frame/graphics/TOleGraphic.h"

#include "frame/graphics/StreamBytes.h"

namespace frame {

const TClassInfo* TOleGraphic::StaticClass() {
    static const auto info =
        TClassBuilder<TOleGraphic>("TOleGraphic", TGraphic::StaticClass()).Build();
    return info.get();
}

void TOleGraphic::LoadFromStream(rtl::TStream& stream) {
    m_data = ReadRest(stream);
    Changed();
}

void TOleGraphic::SaveToStream(rtl::TStream& stream) {
    if (!m_data.empty())
        stream.WriteBuffer(m_data.data(), m_data.size());
}

void TOleGraphic::Assign(const TPersistent* source) {
    if (auto* other = dynamic_cast<const TOleGraphic*>(source)) {
        m_data = other->m_data;
        Changed();
        return;
    }
    TGraphic::Assign(source);
}

} // namespace frame
