#pragma once
// A recording of drawing operations that can be played back, scaled, into any rectangle of any
// device context. Recorded through a context made by MetafileRecorder.
#include <memory>

#include "platform/gdi/GdiTypes.h"

namespace platform::gdi {

class DeviceContext;

class Metafile {
public:
    Metafile() = default;
    bool Empty() const { return !m_recording; }
    // The logical size the recording was made for; playback maps (0, 0, width, height) onto the
    // destination rectangle.
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // The host recording (a cairo surface); shared between copies, never modified after recording.
    const std::shared_ptr<void>& Recording() const { return m_recording; }

private:
    friend class MetafileRecorder;
    std::shared_ptr<void> m_recording;
    int m_width = 0;
    int m_height = 0;
};

// Opens a context on a new recording of the given logical size; Finish closes it and hands back
// the metafile. The context stays owned by the recorder.
class MetafileRecorder {
public:
    MetafileRecorder(int width, int height, int pixelsPerInch = 96);
    ~MetafileRecorder();
    MetafileRecorder(const MetafileRecorder&) = delete;
    MetafileRecorder& operator=(const MetafileRecorder&) = delete;

    DeviceContext& Context() { return *m_context; }
    Metafile Finish();

private:
    std::unique_ptr<DeviceContext> m_context;
    Metafile m_metafile;
};

} // namespace platform::gdi
