#pragma once
// The up-down spinner: the platform's msctls_updown32 with an integer buddy. Each step moves the
// position by Increment within Min..Max and writes it into the associate's text (which the
// associate reports as its own change); OnChanging may refuse a step, OnClick tells which way it
// went. A number typed into the associate is where the next step starts; one outside the range
// is brought back into it.
#include <cstdint>
#include <string>

#include "frame/controls/TWinControl.h"

namespace controls {

using frame::TComponent;

enum TUDAlignButton { udLeft, udRight };
ZORVANE_ENUM_TYPE(TUDAlignButton, "udLeft", "udRight")
enum TUDOrientation { udHorizontal, udVertical };
ZORVANE_ENUM_TYPE(TUDOrientation, "udHorizontal", "udVertical")
enum TUDBtnType { btNext, btPrev };
ZORVANE_ENUM_TYPE(TUDBtnType, "btNext", "btPrev")

using TUDClickEvent = frame::TEvent<frame::TObject*, TUDBtnType>;
// The flag starts true; a handler that clears it refuses the step.
using TUDChangingEvent = frame::TEvent<frame::TObject*, bool&>;

class TCustomUpDown : public frame::TWinControl {
public:
    ZORVANE_CLASS(TCustomUpDown)
    explicit TCustomUpDown(TComponent* owner);
    ~TCustomUpDown() override;

    frame::TWinControl* Associate() const { return m_associate; }
    void SetAssociate(frame::TWinControl* value);
    int16_t Min() const { return m_min; }
    void SetMin(int16_t value);
    int16_t Max() const { return m_max; }
    void SetMax(int16_t value);
    // With a window, the window's position (a number typed into the associate within the range
    // counts).
    int16_t Position() const;
    void SetPosition(int16_t value);
    int32_t Increment() const { return m_increment; }
    void SetIncrement(int32_t value);
    bool Wrap() const { return m_wrap; }
    void SetWrap(bool value);
    bool Thousands() const { return m_thousands; }
    void SetThousands(bool value);
    bool ArrowKeys() const { return m_arrowKeys; }
    void SetArrowKeys(bool value);
    TUDOrientation Orientation() const { return m_orientation; }
    void SetOrientation(TUDOrientation value);
    TUDAlignButton AlignButton() const { return m_alignButton; }
    void SetAlignButton(TUDAlignButton value);

    // The text a position is written as (grouped by the locale's thousands separator when
    // Thousands is on).
    std::string PositionText(int value) const;

    TUDChangingEvent OnChanging;
    TUDClickEvent OnClick; // takes the place of the control's plain click

    void CNNotify(frame::TWMNotify& m) override;
    void CNVScroll(frame::TWMScroll& m) override;
    void CNHScroll(frame::TWMScroll& m) override;
    void AfterLoad() override;

protected:
    std::unique_ptr<platform::a11y::AccessibleNode> CreateAccessible() override;
    virtual bool CanChange();
    virtual void StepClick(TUDBtnType button);
    void CreateParams(frame::TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Notification(TComponent* component, frame::TOperation operation) override;

private:
    // The associate rules: same parent, and a kind of control that holds a number as text.
    bool CanAssociate(const frame::TWinControl* control) const;
    // Writes the position into an edit box associate, when its text differs.
    void WriteAssociateText();
    void Stepped(const frame::TWMScroll& m);
    void SetStyleValue(bool& field, bool value);
    int16_t ClampToRange(int value) const;

    frame::TWinControl* m_associate = nullptr;
    int16_t m_min = 0;
    int16_t m_max = 100;
    mutable int16_t m_position = 0;
    int32_t m_increment = 1;
    bool m_wrap = false;
    bool m_thousands = true;
    bool m_arrowKeys = true;
    TUDOrientation m_orientation = udVertical;
    TUDAlignButton m_alignButton = udRight;
    int m_stepFrom = 0; // the position the step being reported started from
};

class TUpDown : public TCustomUpDown {
public:
    ZORVANE_CLASS(TUpDown)
    using TCustomUpDown::TCustomUpDown;
};

} // namespace controls
