#pragma once
// A picture holds at most one graphic, owns it, and passes its change and progress notifications
// on. Streams store it as "Data": the graphic's class name, then the graphic's own block. The
// class is found in the process-wide list of registered graphic formats.
#include <string>
#include <vector>

#include "frame/TPersistent.h"
#include "frame/graphics/TGraphic.h"

namespace frame {

class TBitmap;
class TIcon;
class TMetafile;

struct TFileFormat {
    std::string extension; // lower case
    std::string description;
    const TClassInfo* graphicClass = nullptr;
};

// The registered graphic formats: at start metafiles ("wmf", "emf"), icons, bitmaps, then the
// OLE picture (no extension) and the JPEG module's "jpeg" and "jpg".
class TFileFormatsList {
public:
    TFileFormatsList();
    void Add(std::string extension, std::string description, const TClassInfo* graphicClass);
    // Removes every entry of the class.
    void Remove(const TClassInfo* graphicClass);
    // The most recently registered class of exactly this name (case-sensitive), or null.
    const TClassInfo* FindClassName(std::string_view name) const;
    const std::vector<TFileFormat>& Entries() const { return m_entries; }

private:
    std::vector<TFileFormat> m_entries;
};

TFileFormatsList& FileFormats();

class TPicture : public TPersistent {
public:
    ZORVANE_CLASS(TPicture)
    TPicture();
    ~TPicture() override;

    TGraphic* Graphic() const { return m_graphic; }
    // Stores a copy made by the graphic class's own constructor and Assign (null empties).
    void SetGraphic(TGraphic* value);
    // The graphic as a bitmap (icon, metafile); a graphic of another class is replaced by an
    // empty one of this class.
    TBitmap* Bitmap();
    TIcon* Icon();
    TMetafile* Metafile();
    int Width() const;
    int Height() const;

    void Assign(const TPersistent* source) override;
    void ListDefinedProperties(TFiler& filer) override;
    void ReadData(rtl::TStream& stream);
    void WriteData(rtl::TStream& stream);

    static void RegisterFileFormat(std::string extension, std::string description,
                                   const TClassInfo* graphicClass);
    static void UnregisterGraphicClass(const TClassInfo* graphicClass);

    // The component whose property this picture is (for name paths), not owned.
    void SetOwner(TPersistent* owner) { m_owner = owner; }
    TPersistent* GetOwner() const override { return m_owner; }

    TNotifyEvent OnChange;
    TProgressEvent OnProgress;

protected:
    void Changed();

private:
    template <typename T> T* ForceGraphic();
    void Take(TGraphic* graphic);
    void GraphicChanged(TObject*);
    void GraphicProgress(TObject* sender, TProgressStage stage, uint8_t percent);

    TGraphic* m_graphic = nullptr;
    TPersistent* m_owner = nullptr;
};

} // namespace frame
