#include "frame/graphics/TGraphic.h"

#include <fstream>
#include <iterator>

#include "frame/TFiler.h"
#include "rtl/Exception.h"
#include "rtl/TMemoryStream.h"

namespace frame {

const TClassInfo* TGraphic::StaticClass() {
    static const auto info =
        TClassBuilder<TGraphic>("TGraphic", TPersistent::StaticClass()).Build();
    return info.get();
}

void TGraphic::Changed() {
    m_modified = true;
    OnChange(this);
}

void TGraphic::SetTransparent(bool value) {
    if (value != m_transparent) {
        m_transparent = value;
        Changed();
    }
}

bool TGraphic::SameData(TGraphic& other) {
    rtl::TMemoryStream a, b;
    WriteData(a);
    other.WriteData(b);
    return a.Bytes() == b.Bytes();
}

void TGraphic::ListDefinedProperties(TFiler& filer) {
    TPersistent::ListDefinedProperties(filer);
    bool hasData = !Empty();
    if (hasData) {
        if (auto* ancestor = dynamic_cast<TGraphic*>(filer.Ancestor());
            ancestor && ancestor->ClassType() == ClassType())
            hasData = !SameData(*ancestor);
    }
    filer.DefineStreamProperty(
        "Data", [this](rtl::TStream& s) { ReadData(s); }, [this](rtl::TStream& s) { WriteData(s); },
        hasData);
}

void TGraphic::LoadFromFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    if (!f)
        throw rtl::EStreamError("Cannot open file \"%s\"", path);
    std::string bytes((std::istreambuf_iterator<char>(f)), {});
    rtl::TMemoryStream s(bytes);
    LoadFromStream(s);
}

void TGraphic::SaveToFile(const std::string& path) {
    rtl::TMemoryStream s;
    SaveToStream(s);
    std::ofstream f(path, std::ios::binary);
    if (!f)
        throw rtl::EStreamError("Cannot create file \"%s\"", path);
    f.write(s.Memory(), std::streamsize(s.Size()));
}

} // namespace frame
