#include "frame/graphics/TPicture.h"

#include "frame/TFiler.h"
#include "frame/graphics/TBitmap.h"
#include "frame/graphics/TIcon.h"
#include "frame/graphics/TJPEGImage.h"
#include "frame/graphics/TMetafile.h"
#include "frame/graphics/TOleGraphic.h"
#include "rtl/Exception.h"
#include "rtl/TMemoryStream.h"

namespace frame {

TFileFormatsList::TFileFormatsList() {
    Add("wmf", "Metafiles", TMetafile::StaticClass());
    Add("emf", "Enhanced Metafiles", TMetafile::StaticClass());
    Add("ico", "Icons", TIcon::StaticClass());
    Add("bmp", "Bitmaps", TBitmap::StaticClass());
    // The OLE picture and JPEG modules register themselves at start-up.
    Add("", "", TOleGraphic::StaticClass());
    Add("jpeg", "JPEG Image File", TJPEGImage::StaticClass());
    Add("jpg", "JPEG Image File", TJPEGImage::StaticClass());
}

void TFileFormatsList::Add(std::string extension, std::string description,
                           const TClassInfo* graphicClass) {
    for (char& c : extension)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    m_entries.push_back(TFileFormat{std::move(extension), std::move(description), graphicClass});
}

void TFileFormatsList::Remove(const TClassInfo* graphicClass) {
    std::erase_if(m_entries,
                  [graphicClass](const TFileFormat& e) { return e.graphicClass == graphicClass; });
}

const TClassInfo* TFileFormatsList::FindClassName(std::string_view name) const {
    for (auto it = m_entries.rbegin(); it != m_entries.rend(); ++it)
        if (it->graphicClass && it->graphicClass->name == name)
            return it->graphicClass;
    return nullptr;
}

TFileFormatsList& FileFormats() {
    static TFileFormatsList list;
    return list;
}

const TClassInfo* TPicture::StaticClass() {
    static const auto info =
        TClassBuilder<TPicture>("TPicture", TPersistent::StaticClass()).Build();
    return info.get();
}

TPicture::TPicture() = default;
TPicture::~TPicture() {
    delete m_graphic;
}

void TPicture::Changed() {
    OnChange(this);
}

void TPicture::GraphicChanged(TObject*) {
    Changed();
}

void TPicture::GraphicProgress(TObject* sender, TProgressStage stage, uint8_t percent) {
    OnProgress(sender, stage, percent);
}

void TPicture::Take(TGraphic* graphic) {
    delete m_graphic;
    m_graphic = graphic;
    if (graphic) {
        graphic->OnChange = TNotifyEvent::Of<&TPicture::GraphicChanged>(this);
        graphic->OnProgress = TProgressEvent::Of<&TPicture::GraphicProgress>(this);
    }
    Changed();
}

void TPicture::SetGraphic(TGraphic* value) {
    if (value == m_graphic)
        return;
    std::unique_ptr<TGraphic> copy;
    if (value) {
        const TClassInfo* cls = value->ClassType();
        if (!cls->create)
            throw rtl::EInvalidGraphic("Cannot create an instance of %s", cls->name);
        copy.reset(As<TGraphic>(cls->create(nullptr)));
        copy->Assign(value);
    }
    Take(copy.release());
}

template <typename T> T* TPicture::ForceGraphic() {
    if (auto* g = dynamic_cast<T*>(m_graphic))
        return g;
    Take(new T);
    return static_cast<T*>(m_graphic);
}

TBitmap* TPicture::Bitmap() {
    return ForceGraphic<TBitmap>();
}
TIcon* TPicture::Icon() {
    return ForceGraphic<TIcon>();
}
TMetafile* TPicture::Metafile() {
    return ForceGraphic<TMetafile>();
}

int TPicture::Width() const {
    return m_graphic ? m_graphic->Width() : 0;
}
int TPicture::Height() const {
    return m_graphic ? m_graphic->Height() : 0;
}

void TPicture::Assign(const TPersistent* source) {
    if (source == nullptr) {
        SetGraphic(nullptr);
    } else if (auto* picture = dynamic_cast<const TPicture*>(source)) {
        if (picture != this)
            SetGraphic(picture->m_graphic);
    } else if (auto* graphic = dynamic_cast<const TGraphic*>(source)) {
        SetGraphic(const_cast<TGraphic*>(graphic));
    } else {
        TPersistent::Assign(source);
    }
}

void TPicture::ReadData(rtl::TStream& stream) {
    std::uint8_t length = 0;
    stream.ReadBuffer(&length, 1);
    std::string name(length, '\0');
    if (length)
        stream.ReadBuffer(name.data(), length);
    const TClassInfo* cls = FileFormats().FindClassName(name);
    // An unknown class leaves the picture as it was; the rest of the block is not looked at.
    if (!cls || !cls->create)
        return;
    std::unique_ptr<TGraphic> graphic(As<TGraphic>(cls->create(nullptr)));
    if (!graphic)
        return;
    graphic->ReadData(stream);
    Take(graphic.release());
}

void TPicture::WriteData(rtl::TStream& stream) {
    std::string name = m_graphic ? m_graphic->ClassName() : std::string();
    if (name.size() > 63)
        name.resize(63);
    auto length = static_cast<std::uint8_t>(name.size());
    stream.WriteBuffer(&length, 1);
    stream.WriteBuffer(name.data(), name.size());
    if (m_graphic)
        m_graphic->WriteData(stream);
}

void TPicture::ListDefinedProperties(TFiler& filer) {
    TPersistent::ListDefinedProperties(filer);
    bool hasData = m_graphic != nullptr;
    if (auto* ancestor = dynamic_cast<TPicture*>(filer.Ancestor())) {
        if (!ancestor->m_graphic) {
            hasData = m_graphic != nullptr;
        } else if (m_graphic && ancestor->m_graphic->ClassType() == m_graphic->ClassType()) {
            rtl::TMemoryStream a, b;
            WriteData(a);
            ancestor->WriteData(b);
            hasData = a.Bytes() != b.Bytes();
        } else {
            hasData = true;
        }
    }
    filer.DefineStreamProperty(
        "Data", [this](rtl::TStream& s) { ReadData(s); }, [this](rtl::TStream& s) { WriteData(s); },
        hasData);
}

void TPicture::RegisterFileFormat(std::string extension, std::string description,
                                  const TClassInfo* graphicClass) {
    FileFormats().Add(std::move(extension), std::move(description), graphicClass);
}

void TPicture::UnregisterGraphicClass(const TClassInfo* graphicClass) {
    FileFormats().Remove(graphicClass);
}

} // namespace frame
