#include "controls/TCalendar.h"

#include "frame/controls/TControlAccessible.h"
#include "rtl/FormatSettings.h"
#include "rtl/ScopeExit.h"

namespace controls {

using namespace frame;

const TClassInfo* TCalendar::StaticClass() {
    static const auto info =
        TClassBuilder<TCalendar>("TCalendar", TCustomGrid::StaticClass())
            .Property("Day", &TCalendar::Day, &TCalendar::SetDay, NotStored())
            .Property("Month", &TCalendar::Month, &TCalendar::SetMonth, NotStored())
            .Property("Year", &TCalendar::Year, &TCalendar::SetYear, NotStored())
            .Property("StartOfWeek", &TCalendar::StartOfWeek, &TCalendar::SetStartOfWeek,
                      NoDefault())
            .Property("UseCurrentDate", &TCalendar::UseCurrentDate, &TCalendar::SetUseCurrentDate,
                      Default(1))
            .Property("ReadOnly", &TCalendar::ReadOnly, &TCalendar::SetReadOnly, Default(0))
            .Property("GridLineWidth", &TCalendar::GridLineWidth, &TCalendar::SetGridLineWidth,
                      Default(1))
            .Property("BorderStyle", &TCalendar::BorderStyle, &TCalendar::SetBorderStyle,
                      Default(bsSingle))
            .Property("Color", ColorType(), &TCalendar::Color, &TCalendar::SetColor,
                      Default(clWindow), StoredIf(&TCalendar::IsColorStored))
            .Property("ParentColor", &TCalendar::ParentColor, &TCalendar::SetParentColor,
                      Default(0))
            .Property("TabStop", &TCalendar::TabStop, &TCalendar::SetTabStop, Default(1))
            .Property("OnChange", &TCalendar::OnChange)
            .Build();
    return info.get();
}

TCalendar::TCalendar(TComponent* owner) : TCustomGrid(owner) {
    SetColCount(7);
    SetRowCount(7);
    SetFixedCols(0);
    SetFixedRows(1);
    SetOptions(TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine,
                            goDrawFocusSelected});
    m_calendarValue = rtl::Date();
    RebuildGrid();
    ClientSizeChanged();
}

TCalendar::~TCalendar() = default;

// ---------------------------------------------------------------------------------------------
// The date

int TCalendar::GetElement(int index) const {
    rtl::DateParts d = rtl::DecodeDate(m_calendarValue);
    switch (index) {
    case 1:
        return d.year;
    case 2:
        return d.month;
    case 3:
        return d.day;
    default:
        return -1;
    }
}

void TCalendar::SetElement(int index, int value) {
    if (value < 1)
        return;
    rtl::DateParts d = rtl::DecodeDate(m_calendarValue);
    switch (index) {
    case 1:
        if (value == d.year)
            return;
        d.year = value;
        break;
    case 2:
        if (value > 12 || value == d.month)
            return;
        d.month = value;
        break;
    case 3:
        if (value > DaysInShownMonth() || value == d.day)
            return;
        d.day = value;
        break;
    default:
        return;
    }
    // The day is kept: a day the new month lacks fails here and nothing changes.
    m_calendarValue = rtl::EncodeDate(d.year, d.month, d.day);
    m_useCurrentDate = false;
    RebuildGrid();
    NotifyChange();
}

void TCalendar::NotifyChange() {
    frame::AccessibleSelectionChanged(*this);
    OnChange(this);
}

void TCalendar::SetStartOfWeek(uint8_t value) {
    if (value > 6)
        throw rtl::EInvalidOperation("%d is not a day of the week (0 to 6)", int(value));
    if (value == m_startOfWeek)
        return;
    m_startOfWeek = value;
    RebuildGrid();
}

void TCalendar::SetUseCurrentDate(bool value) {
    if (value == m_useCurrentDate)
        return;
    m_useCurrentDate = value;
    if (value) {
        m_calendarValue = rtl::Date();
        RebuildGrid();
    }
}

bool TCalendar::IsLeap(int year) const {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int TCalendar::DaysInMonth(int year, int month) const {
    if (month < 1 || month > 12)
        return 0;
    return rtl::MonthDays[month - 1] + (month == 2 && IsLeap(year) ? 1 : 0);
}

int TCalendar::DaysInShownMonth() const {
    return DaysInMonth(Year(), Month());
}

// ---------------------------------------------------------------------------------------------
// The grid

void TCalendar::RebuildGrid() {
    m_updating = true;
    rtl::ScopeExit updated([this] { m_updating = false; });
    rtl::DateParts d = rtl::DecodeDate(m_calendarValue);
    int first = rtl::DayOfWeek(rtl::EncodeDate(d.year, d.month, 1)); // 1 = Sunday
    int a = (first - m_startOfWeek + 7) % 7;
    m_monthOffset = a == 0 ? -5 : 2 - a;
    int n = d.day - m_monthOffset;
    MoveCurrent(n % 7, n / 7 + 1, true);
    Invalidate();
}

std::string TCalendar::DayCellText(int c, int r) const {
    if (r == 0)
        return rtl::FormatSettings().ShortDayNames[std::size_t((m_startOfWeek + c) % 7)];
    int n = m_monthOffset + c + (r - 1) * 7;
    if (n < 1 || n > DaysInShownMonth())
        return std::string();
    return std::to_string(n);
}

bool TCalendar::CanSelectCell(int c, int r) {
    if ((!m_updating && m_readOnly) || DayCellText(c, r).empty())
        return false;
    return TCustomGrid::CanSelectCell(c, r);
}

void TCalendar::Click() {
    TAlive alive(this);
    TCustomGrid::Click();
    if (!alive)
        return;
    std::string text = DayCellText(Col(), Row());
    if (!text.empty())
        SetDay(std::stoi(text));
}

void TCalendar::PaintCell(int c, int r, const TRect& rect, TGridDrawState) {
    std::string text = DayCellText(c, r);
    TCanvas* canvas = Canvas();
    auto size = canvas->TextExtent(text);
    canvas->TextRect(rect, rect.left + (rect.Width() - size.cx) / 2,
                     rect.top + (rect.Height() - size.cy) / 2, text);
}

void TCalendar::ClientSizeChanged() {
    int lines = GridLineWidth() * 6;
    SetDefaultColWidth((ClientWidth() - lines) / 7);
    SetDefaultRowHeight((ClientHeight() - lines) / 7);
}

} // namespace controls
