#pragma once
// The image control: a windowless control that draws one picture, at its own size from the top
// left, centred, or stretched over the whole control.
#include <memory>

#include "frame/controls/TGraphicControl.h"
#include "frame/graphics/TPicture.h"

namespace controls {

class TImage : public frame::TGraphicControl {
public:
    ZORVANE_CLASS(TImage)
    explicit TImage(frame::TComponent* owner);
    ~TImage() override;

    frame::TPicture* Picture() const { return m_picture.get(); }
    // Copies the given picture into the owned one.
    void SetPicture(frame::TPicture* value) { m_picture->Assign(value); }
    bool Stretch() const { return m_stretch; }
    void SetStretch(bool value);
    bool Center() const { return m_center; }
    void SetCenter(bool value);
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool value);
    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool value);
    bool IncrementalDisplay() const { return m_incrementalDisplay; }
    void SetIncrementalDisplay(bool value) { m_incrementalDisplay = value; }

    // Where the picture goes in the control.
    frame::TRect DestRect() const;

    frame::TProgressEvent OnProgress;

protected:
    std::unique_ptr<platform::a11y::AccessibleNode> CreateAccessible() override;
    void Paint() override;
    // Runs on every change of the picture and of Stretch, Center and Transparent.
    virtual void PictureChanged(frame::TObject* sender);
    virtual void Progress(frame::TObject* sender, frame::TProgressStage stage, uint8_t percent);

private:
    std::unique_ptr<frame::TPicture> m_picture;
    bool m_stretch = false;
    bool m_center = false;
    bool m_transparent = false;
    bool m_autoSize = false;
    bool m_incrementalDisplay = false;
    bool m_drawing = false;
};

} // namespace controls
