#pragma once
// A metafile: either a block read from a stream (kept as read; enhanced or Windows format) or a
// recording made through a TMetafileCanvas, which draws by playing back scaled into the target
// rectangle.
#include <vector>

#include "frame/graphics/TCanvas.h"
#include "frame/graphics/TGraphic.h"
#include "platform/gdi/Metafile.h"

namespace frame {

class TMetafile : public TGraphic {
public:
    ZORVANE_CLASS(TMetafile)
    TMetafile();
    ~TMetafile() override;

    void Draw(TCanvas& canvas, const TRect& rect) override;
    bool Empty() const override { return m_bytes.empty() && m_recording.Empty(); }
    int Width() const override { return m_width; }
    int Height() const override { return m_height; }
    void SetWidth(int value) override;
    void SetHeight(int value) override;
    void LoadFromStream(rtl::TStream& stream) override;
    void SaveToStream(rtl::TStream& stream) override;
    // A 4-byte length counting itself; then an enhanced metafile when its header says so, else a
    // Windows metafile of length - 4 bytes.
    void ReadData(rtl::TStream& stream) override;
    void WriteData(rtl::TStream& stream) override;
    void Assign(const TPersistent* source) override;

    bool Enhanced() const { return m_enhanced; }
    void SetEnhanced(bool value) { m_enhanced = value; }
    // Size in hundredths of a millimetre (at the screen's resolution).
    int MMWidth() const;
    int MMHeight() const;
    const platform::gdi::Metafile& Recording() const { return m_recording; }
    void SetRecording(platform::gdi::Metafile recording);
    const std::vector<std::uint8_t>& Bytes() const { return m_bytes; }

private:
    void LoadBytes(std::vector<std::uint8_t> bytes);

    std::vector<std::uint8_t> m_bytes;
    platform::gdi::Metafile m_recording;
    bool m_enhanced = true;
    int m_width = 0;
    int m_height = 0;
};

// A canvas recording into a metafile of the metafile's size; the recording is handed to the
// metafile when the canvas is destroyed.
class TMetafileCanvas : public TCanvas {
public:
    ZORVANE_CLASS(TMetafileCanvas)
    explicit TMetafileCanvas(TMetafile* metafile,
                             platform::gdi::DeviceContext* reference = nullptr);
    ~TMetafileCanvas() override;

private:
    TMetafile* m_metafile;
    std::unique_ptr<platform::gdi::MetafileRecorder> m_recorder;
};

} // namespace frame
