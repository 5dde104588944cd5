#pragma once
// The month calendar: a 7 x 7 grid holding one date, a header row of abbreviated day names and
// six week rows of day numbers; the held day is the current cell. Year, Month and Day change the
// date (refusing what makes no date, with "Invalid argument to date encode" when the kept day
// does not exist in the new month) and raise OnChange; a click or a key on a day sets Day.
#include <cstdint>
#include <string>

#include "controls/TCustomGrid.h"
#include "rtl/DateTime.h"

namespace controls {

class TCalendar : public TCustomGrid {
public:
    ZORVANE_CLASS(TCalendar)
    explicit TCalendar(TComponent* owner);
    ~TCalendar() override;

    int Day() const { return GetElement(3); }
    void SetDay(int value) { SetElement(3, value); }
    int Month() const { return GetElement(2); }
    void SetMonth(int value) { SetElement(2, value); }
    int Year() const { return GetElement(1); }
    void SetYear(int value) { SetElement(1, value); }
    // 0 = Sunday .. 6 = Saturday: the day of the first column.
    uint8_t StartOfWeek() const { return m_startOfWeek; }
    void SetStartOfWeek(uint8_t value);
    bool UseCurrentDate() const { return m_useCurrentDate; }
    void SetUseCurrentDate(bool value);
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool value) { m_readOnly = value; }

    rtl::TDateTime CalendarDate() const { return m_calendarValue; }
    // The day number shown in column 0 of row 1 (-5 to 1).
    int MonthOffset() const { return m_monthOffset; }

    virtual int DaysInMonth(int year, int month) const;
    virtual int DaysInShownMonth() const;
    virtual bool IsLeap(int year) const;
    // Lays the held month out (MonthOffset) and makes the held day the current cell.
    virtual void RebuildGrid();
    // Row 0: the abbreviated day name; week rows: the day number, or "" outside the month.
    std::string DayCellText(int c, int r) const;

    frame::TNotifyEvent OnChange;

    // Runs the click handling: OnClick, then the current cell's day becomes Day.
    void Click() override;

protected:
    std::unique_ptr<platform::a11y::AccessibleNode> CreateAccessible() override;
    // 1 year, 2 month, 3 day; any other index reads -1 and writes nothing.
    int GetElement(int index) const;
    void SetElement(int index, int value);
    virtual void NotifyChange();
    bool CanSelectCell(int c, int r) override;
    void PaintCell(int c, int r, const TRect& rect, TGridDrawState state) override;
    void ClientSizeChanged() override;

private:
    rtl::TDateTime m_calendarValue = 0;
    int m_monthOffset = 0;
    bool m_readOnly = false;
    uint8_t m_startOfWeek = 0;
    bool m_updating = false;
    bool m_useCurrentDate = true;
};

} // namespace controls
