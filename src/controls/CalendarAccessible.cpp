// The calendar as screen readers see it: a table of the shown month's weeks, its column headers
// the day names, each cell named by its day (empty outside the month), the held day selected.
#include <array>

#include "controls/TCalendar.h"
#include "frame/controls/TControlAccessible.h"

namespace controls {

using namespace platform::a11y;

namespace {

constexpr int kColumns = 7; // the days of a week
constexpr int kWeeks = 6;   // the week rows under the day names

class CalendarAccessible;

// A header (row -1) or a day cell.
class CalendarCell : public AccessibleNode, public AccessibleTableCell {
public:
    CalendarCell(CalendarAccessible& table, int row, int column)
        : m_table(table), m_row(row), m_column(column) {}
    Role GetRole() const override { return m_row < 0 ? Role::TableColumnHeader : Role::TableCell; }
    std::string Name() const override;
    StateSet GetStates() const override;
    AccessibleNode* Parent() const override;
    int IndexInParent() const override {
        return m_row < 0 ? m_column : kColumns + m_row * kColumns + m_column;
    }
    AccessibleTableCell* AsTableCell() override { return m_row < 0 ? nullptr : this; }
    int Row() const override { return m_row; }
    int Column() const override { return m_column; }
    AccessibleNode* Table() const override { return Parent(); }

    bool IsSelected() const;

private:
    CalendarAccessible& m_table;
    int m_row;
    int m_column;
};

class CalendarAccessible : public frame::TControlAccessible,
                           public AccessibleTable,
                           public AccessibleSelection {
public:
    explicit CalendarAccessible(TCalendar& calendar)
        : TControlAccessible(calendar, Role::Table), m_calendar(calendar) {
        for (int c = 0; c < kColumns; ++c)
            m_headers[std::size_t(c)] = std::make_unique<CalendarCell>(*this, -1, c);
        for (int i = 0; i < kWeeks * kColumns; ++i)
            m_cells[std::size_t(i)] =
                std::make_unique<CalendarCell>(*this, i / kColumns, i % kColumns);
    }

    TCalendar& Calendar() const { return m_calendar; }

    int ChildCount() const override { return kColumns + kWeeks * kColumns; }
    AccessibleNode* Child(int index) const override {
        if (index < 0 || index >= ChildCount())
            return nullptr;
        if (index < kColumns)
            return m_headers[std::size_t(index)].get();
        return m_cells[std::size_t(index - kColumns)].get();
    }

    AccessibleTable* AsTable() override { return this; }
    int RowCount() const override { return kWeeks; }
    int ColumnCount() const override { return kColumns; }
    AccessibleNode* CellAt(int row, int column) const override {
        if (row < 0 || row >= kWeeks || column < 0 || column >= kColumns)
            return nullptr;
        return m_cells[std::size_t(row * kColumns + column)].get();
    }
    AccessibleNode* ColumnHeader(int column) const override {
        return column >= 0 && column < kColumns ? m_headers[std::size_t(column)].get() : nullptr;
    }

    AccessibleSelection* AsSelection() override { return this; }
    int SelectedCount() const override { return SelectedCell() ? 1 : 0; }
    AccessibleNode* Selected(int index) const override {
        return index == 0 ? SelectedCell() : nullptr;
    }
    bool IsChildSelected(int childIndex) const override {
        CalendarCell* cell = SelectedCell();
        return cell && cell->IndexInParent() == childIndex;
    }

private:
    CalendarCell* SelectedCell() const {
        for (const auto& cell : m_cells)
            if (cell->IsSelected())
                return cell.get();
        return nullptr;
    }

    TCalendar& m_calendar;
    std::array<std::unique_ptr<CalendarCell>, kColumns> m_headers;
    std::array<std::unique_ptr<CalendarCell>, kWeeks * kColumns> m_cells;
};

std::string CalendarCell::Name() const {
    // The grid's row 0 holds the day names, the weeks follow.
    return m_table.Calendar().DayCellText(m_column, m_row + 1);
}

bool CalendarCell::IsSelected() const {
    std::string day = Name();
    return m_row >= 0 && !day.empty() && day == std::to_string(m_table.Calendar().Day());
}

StateSet CalendarCell::GetStates() const {
    StateSet table = m_table.GetStates();
    bool day = m_row >= 0 && !Name().empty();
    return StateSet{}
        .Set(State::Enabled, table.Has(State::Enabled))
        .Set(State::Sensitive, table.Has(State::Sensitive))
        .Set(State::Visible, table.Has(State::Visible))
        .Set(State::Showing, table.Has(State::Showing))
        .Set(State::Selectable, day)
        .Set(State::Selected, IsSelected());
}

AccessibleNode* CalendarCell::Parent() const {
    return &m_table;
}

} // namespace

std::unique_ptr<AccessibleNode> TCalendar::CreateAccessible() {
    return std::make_unique<CalendarAccessible>(*this);
}

} // namespace controls
