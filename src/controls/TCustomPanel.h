#pragma once
// The panel: a windowed container framed by up to two bevels with a band of its own colour
// between them, and an optional caption. Chart panels and report bands derive from it.
#include <string>

#include "controls/ControlsTypes.h"
#include "frame/controls/TCustomControl.h"

namespace controls {

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
ZORVANE_ENUM_TYPE(TBevelCut, "bvNone", "bvLowered", "bvRaised", "bvSpace")

// Draws `width` nested frames, each with `top` along the left and top edges and `bottom` along
// the right and bottom edges, and leaves `rect` shrunk by `width` on every side, so that
// consecutive calls draw frames inside one another.
void Frame3D(frame::TCanvas& canvas, frame::TRect& rect, frame::TColor top, frame::TColor bottom,
             int width);

class TCustomPanel : public frame::TCustomControl {
public:
    ZORVANE_CLASS(TCustomPanel)
    explicit TCustomPanel(frame::TComponent* owner);

    TBevelCut BevelOuter() const { return m_bevelOuter; }
    void SetBevelOuter(TBevelCut value);
    TBevelCut BevelInner() const { return m_bevelInner; }
    void SetBevelInner(TBevelCut value);
    int32_t BevelWidth() const { return m_bevelWidth; }
    void SetBevelWidth(int32_t value);
    int32_t BorderWidth() const { return m_borderWidth; }
    void SetBorderWidth(int32_t value);
    TBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TBorderStyle value);
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment value);
    bool FullRepaint() const { return m_fullRepaint; }
    void SetFullRepaint(bool value) { m_fullRepaint = value; }

    // The area children are laid out in: the client area less the border and the bevels.
    virtual void AdjustClientRect(frame::TRect& rect) const;
    frame::TRect InnerRect() const;

    void WMSize(frame::TWMSize& m) override;

protected:
    void CreateParams(frame::TCreateParams& params) override;
    void Paint() override;
    // The border and bevels changed: the inner area moved.
    virtual void Realign();
    // How far the frame reaches in from each edge.
    int FrameInset() const;

private:
    bool IsPanelColorStored() const { return !ParentColor(); }

    TBevelCut m_bevelOuter = bvRaised;
    TBevelCut m_bevelInner = bvNone;
    int32_t m_bevelWidth = 1;
    int32_t m_borderWidth = 0;
    TBorderStyle m_borderStyle = bsNone;
    TAlignment m_alignment = taCenter;
    bool m_fullRepaint = true;
};

class TPanel : public TCustomPanel {
public:
    ZORVANE_CLASS(TPanel)
    explicit TPanel(frame::TComponent* owner) : TCustomPanel(owner) {}
};

} // namespace controls
