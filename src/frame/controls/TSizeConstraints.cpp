#include "frame/controls/TSizeConstraints.h"

#include "frame/ClassBuilder.h"

namespace frame {

const TClassInfo* TSizeConstraints::StaticClass() {
    static const auto info =
        TClassBuilder<TSizeConstraints>("TSizeConstraints", TPersistent::StaticClass())
            .Property("MaxHeight", &TSizeConstraints::MaxHeight, &TSizeConstraints::SetMaxHeight)
            .Property("MaxWidth", &TSizeConstraints::MaxWidth, &TSizeConstraints::SetMaxWidth)
            .Property("MinHeight", &TSizeConstraints::MinHeight, &TSizeConstraints::SetMinHeight)
            .Property("MinWidth", &TSizeConstraints::MinWidth, &TSizeConstraints::SetMinWidth)
            .Build();
    return info.get();
}

void TSizeConstraints::Set(int32_t& field, int32_t value) {
    if (value < 0)
        value = 0;
    if (field == value)
        return;
    field = value;
    OnChange(this);
}

void TSizeConstraints::Assign(const TPersistent* source) {
    if (auto* other = As<TSizeConstraints>(const_cast<TPersistent*>(source))) {
        m_maxHeight = other->m_maxHeight;
        m_maxWidth = other->m_maxWidth;
        m_minHeight = other->m_minHeight;
        m_minWidth = other->m_minWidth;
        OnChange(this);
        return;
    }
    TPersistent::Assign(source);
}

} // namespace frame
