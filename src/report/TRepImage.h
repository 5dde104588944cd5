#pragma once
// The picture printable: a bitmap, icon or metafile, stretched over its box, or at its natural
// size (the picture's screen size, at the printer's resolution) from the top left or centred.
#include <memory>

#include "frame/graphics/TPicture.h"
#include "report/TRepPrintable.h"

namespace report {

class TRepImage : public TRepPrintable {
public:
    ZORVANE_CLASS(TRepImage)
    explicit TRepImage(frame::TComponent* owner);
    ~TRepImage() override;

    frame::TPicture* Picture() const { return m_picture.get(); }
    void SetPicture(frame::TPicture* value) { m_picture->Assign(value); }
    // With AutoSize, a picture with a size gives the printable its size (left and top stay).
    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool value);
    bool Center() const { return m_center; }
    void SetCenter(bool value);
    bool Stretch() const { return m_stretch; }
    void SetStretch(bool value);

    // Where the picture goes on the page for the band's corner (device pixels).
    frame::TRect PictureRect(int32_t ofsX, int32_t ofsY) const;
    void Print(int32_t ofsX, int32_t ofsY) override;

private:
    void PictureChanged(frame::TObject*);

    std::unique_ptr<frame::TPicture> m_picture;
    bool m_autoSize = false;
    bool m_center = false;
    bool m_stretch = false;
};

} // namespace report
