#include "controls/TImage.h"

#include "frame/ClassBuilder.h"
#include "frame/graphics/TIcon.h"
#include "frame/graphics/TMetafile.h"
#include "rtl/ScopeExit.h"

namespace controls {

using namespace frame;

const TClassInfo* TImage::StaticClass() {
    static const auto info =
        TClassBuilder<TImage>("TImage", TGraphicControl::StaticClass())
            .Property("AutoSize", &TImage::AutoSize, &TImage::SetAutoSize, Default(0))
            .Property("Center", &TImage::Center, &TImage::SetCenter, Default(0))
            .Property("IncrementalDisplay", &TImage::IncrementalDisplay,
                      &TImage::SetIncrementalDisplay, Default(0))
            .Property("Picture", &TImage::Picture, &TImage::SetPicture)
            .Property("Stretch", &TImage::Stretch, &TImage::SetStretch, Default(0))
            .Property("Transparent", &TImage::Transparent, &TImage::SetTransparent, Default(0))
            .Property("OnProgress", &TImage::OnProgress)
            .Build();
    return info.get();
}

TImage::TImage(TComponent* owner)
    : TGraphicControl(owner), m_picture(std::make_unique<TPicture>()) {
    SetControlStyle(ControlStyle() + csReplicatable);
    m_picture->SetOwner(this);
    m_picture->OnChange = TNotifyEvent::Of<&TImage::PictureChanged>(this);
    m_picture->OnProgress = TProgressEvent::Of<&TImage::Progress>(this);
    SetBounds(0, 0, 105, 105);
}

TImage::~TImage() {
    m_picture->OnChange = TNotifyEvent();
    m_picture->OnProgress = TProgressEvent();
}

void TImage::SetStretch(bool value) {
    if (m_stretch == value)
        return;
    m_stretch = value;
    PictureChanged(this);
}

void TImage::SetCenter(bool value) {
    if (m_center == value)
        return;
    m_center = value;
    PictureChanged(this);
}

void TImage::SetTransparent(bool value) {
    if (m_transparent == value)
        return;
    m_transparent = value;
    PictureChanged(this);
}

void TImage::SetAutoSize(bool value) {
    if (m_autoSize == value)
        return;
    m_autoSize = value;
    if (value)
        PictureChanged(this);
}

TRect TImage::DestRect() const {
    if (m_stretch)
        return Rect(0, 0, Width(), Height());
    int pw = m_picture->Width(), ph = m_picture->Height();
    if (m_center) {
        int x = (Width() - pw) / 2, y = (Height() - ph) / 2;
        return Rect(x, y, x + pw, y + ph);
    }
    return Rect(0, 0, pw, ph);
}

void TImage::PictureChanged(TObject*) {
    int pw = m_picture->Width(), ph = m_picture->Height();
    if (m_autoSize && pw > 0 && ph > 0)
        SetBounds(Left(), Top(), pw, ph);
    bool opaque = false;
    if (TGraphic* g = m_picture->Graphic()) {
        if (!As<TMetafile>(g) && !As<TIcon>(g))
            g->SetTransparent(m_transparent);
        // The parent need not paint beneath a picture that covers the whole control.
        opaque = !g->Transparent() && (m_stretch || (pw >= Width() && ph >= Height()));
    }
    TControlStyle style = ControlStyle();
    SetControlStyle(opaque ? style + csOpaque : style - csOpaque);
    if (!m_drawing)
        Invalidate();
}

void TImage::Paint() {
    TCanvas& canvas = *Canvas();
    if (HasState(csDesigning)) {
        canvas.Pen()->SetStyle(psDash);
        canvas.Pen()->SetColor(clBlack);
        canvas.Brush()->SetStyle(bsClear);
        canvas.Rectangle(0, 0, Width(), Height());
    }
    TGraphic* graphic = m_picture->Graphic();
    if (!graphic || graphic->Empty())
        return;
    // Decoding on first draw reports progress; that must not ask for another paint.
    m_drawing = true;
    rtl::ScopeExit drawn([this] { m_drawing = false; });
    canvas.StretchDraw(DestRect(), graphic);
}

void TImage::Progress(TObject* sender, TProgressStage stage, uint8_t percent) {
    if (m_incrementalDisplay && stage != psStarting && !m_drawing) {
        TAlive alive(this);
        Repaint();
        if (!alive)
            return;
    }
    OnProgress(sender, stage, percent);
}

} // namespace controls
