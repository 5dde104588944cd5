#include "frame/TPersistent.h"

#include "frame/ClassBuilder.h"
#include "rtl/Exception.h"

namespace frame {

const TClassInfo* TPersistent::StaticClass() {
    static const auto info =
        TClassBuilder<TPersistent>("TPersistent", TObject::StaticClass()).Build();
    return info.get();
}

void TPersistent::Assign(const TPersistent* source) {
    if (source) {
        source->AssignTo(this);
        return;
    }
    throw rtl::EConvertError("Cannot assign a %s to a %s", "nil", ClassName());
}

void TPersistent::AssignTo(TPersistent* dest) const {
    throw rtl::EConvertError("Cannot assign a %s to a %s", ClassName(), dest->ClassName());
}

void TPersistent::ListDefinedProperties(TFiler&) {}

std::string TPersistent::GetNamePath() const {
    return ClassName();
}

} // namespace frame
