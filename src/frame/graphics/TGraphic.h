#pragma once
// An image that draws itself into a rectangle of a canvas and streams its data: the base of
// bitmaps, icons, metafiles and JPEG images.
#include <cstdint>
#include <string>
#include <vector>

#include "frame/TEvent.h"
#include "frame/TPersistent.h"
#include "frame/graphics/GraphicsTypes.h"
#include "rtl/TStream.h"

namespace frame {

class TCanvas;

enum TProgressStage { psStarting, psRunning, psEnding };
// (sender, stage, percent done)
using TProgressEvent = TEvent<TObject*, TProgressStage, uint8_t>;

class TGraphic : public TPersistent {
public:
    ZORVANE_CLASS(TGraphic)

    virtual void Draw(TCanvas& canvas, const TRect& rect) = 0;
    virtual bool Empty() const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void SetWidth(int value) = 0;
    virtual void SetHeight(int value) = 0;
    // The graphic's file format, from the current position to the end of the stream.
    virtual void LoadFromStream(rtl::TStream& stream) = 0;
    virtual void SaveToStream(rtl::TStream& stream) = 0;
    // The graphic's block inside a "Data" property; by default the file format itself.
    virtual void ReadData(rtl::TStream& stream) { LoadFromStream(stream); }
    virtual void WriteData(rtl::TStream& stream) { SaveToStream(stream); }

    void LoadFromFile(const std::string& path);
    void SaveToFile(const std::string& path);

    bool Transparent() const { return m_transparent; }
    virtual void SetTransparent(bool value);
    bool PaletteModified() const { return m_paletteModified; }
    void SetPaletteModified(bool value) { m_paletteModified = value; }
    bool Modified() const { return m_modified; }

    // Declares "Data", stored when the graphic is not empty and differs from the ancestor's.
    void ListDefinedProperties(TFiler& filer) override;

    TNotifyEvent OnChange;
    TProgressEvent OnProgress;

protected:
    virtual void Changed();
    void Progress(TProgressStage stage, uint8_t percent) { OnProgress(this, stage, percent); }
    // True when both write the same data.
    bool SameData(TGraphic& other);

    bool m_transparent = false;
    bool m_paletteModified = false;
    bool m_modified = false;
};

} // namespace frame
