#pragma once
// The grid base: a table of cells of one column width and one row height, with fixed rows and
// columns at the top and left, grid lines, a current cell (and its selection anchor), painting of
// every cell in its state, and moving the current cell by keyboard and mouse. What a cell shows
// and which cells may be selected are the descendant's (PaintCell, CanSelectCell). The grid does
// not scroll: every row and column it has is laid out from the top-left corner.
#include <cstdint>

#include "controls/ControlsTypes.h"
#include "frame/controls/TCustomControl.h"
#include "rtl/Exception.h"

namespace controls {

using frame::TComponent;
using frame::TPoint;
using frame::TRect;

class EInvalidGridOperation : public rtl::Exception {
public:
    using rtl::Exception::Exception;
    const char* ClassName() const override { return "EInvalidGridOperation"; }
};

enum TGridOption {
    goFixedVertLine,
    goFixedHorzLine,
    goVertLine,
    goHorzLine,
    goRangeSelect,
    goDrawFocusSelected, // the current cell is drawn selected even while the grid has the focus
};
using TGridOptions = frame::TSet<TGridOption>;

enum TGridDrawStateFlag { gdSelected, gdFocused, gdFixed };
using TGridDrawState = frame::TSet<TGridDrawStateFlag>;

struct TGridCoord {
    int x = -1; // column
    int y = -1; // row
    bool operator==(const TGridCoord&) const = default;
};

// Cell geometry: where cells and lines lie for given sizes (no window needed).
struct TGridLayout {
    int colWidth = 64;
    int rowHeight = 24;
    int lineWidth = 1;
    // The cell at column c, row r; lines follow each cell on its right and below it.
    TRect CellRect(int c, int r) const;
    // The cell under a point, or (-1, -1) on a line or outside `cols` x `rows`.
    TGridCoord CellAt(TPoint p, int cols, int rows) const;
};

class TCustomGrid : public frame::TCustomControl {
public:
    ZORVANE_CLASS(TCustomGrid)
    explicit TCustomGrid(TComponent* owner);
    ~TCustomGrid() override;

    int ColCount() const { return m_colCount; }
    void SetColCount(int value);
    int RowCount() const { return m_rowCount; }
    void SetRowCount(int value);
    int FixedCols() const { return m_fixedCols; }
    void SetFixedCols(int value);
    int FixedRows() const { return m_fixedRows; }
    void SetFixedRows(int value);
    int DefaultColWidth() const { return m_layout.colWidth; }
    void SetDefaultColWidth(int value);
    int DefaultRowHeight() const { return m_layout.rowHeight; }
    void SetDefaultRowHeight(int value);
    int GridLineWidth() const { return m_layout.lineWidth; }
    void SetGridLineWidth(int value);
    TGridOptions Options() const { return m_options; }
    void SetOptions(TGridOptions value);
    TBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TBorderStyle value);
    frame::TColor FixedColor() const { return m_fixedColor; }
    void SetFixedColor(frame::TColor value);

    // The current cell.
    int Col() const { return m_current.x; }
    int Row() const { return m_current.y; }
    TGridCoord Anchor() const { return m_anchor; }
    const TGridLayout& Layout() const { return m_layout; }
    TRect CellRect(int c, int r) const;
    // The cell under a point of the client area, or (-1, -1).
    TGridCoord MouseCoord(int x, int y) const;
    // Rows (columns) after the fixed ones that are wholly visible.
    int VisibleRowCount() const;
    int VisibleColCount() const;

    unsigned DialogCode() const override { return frame::DLGC_WANTARROWS; }
    void WMSetFocus(frame::TWMFocus& m) override;
    void WMKillFocus(frame::TWMFocus& m) override;
    void WMEraseBkgnd(frame::TWMEraseBkgnd& m) override;
    void CMCtl3DChanged(frame::TMessage& m) override;
    void AfterLoad() override;

protected:
    // May the cell become the current one?
    virtual bool CanSelectCell(int c, int r);
    // Draws one cell's content; the background is filled and the canvas's font and brush are
    // those of the cell's state.
    virtual void PaintCell(int c, int r, const TRect& rect, TGridDrawState state);
    // The client area changed size (or the border or the lines changed).
    virtual void ClientSizeChanged() {}
    // The cell-move: coordinates outside the grid fail with "Grid index out of range"; a cell
    // CanSelectCell refuses leaves everything as it is; otherwise the cell becomes current (and
    // the anchor follows unless a range is being selected) and both cells are repainted.
    void MoveCurrent(int c, int r, bool moveAnchor);
    // The current cell goes to (c, r), clamped to the selectable area, then the click handling
    // runs (keys and mouse do this).
    void FocusCell(int c, int r);
    void InvalidateCell(int c, int r);

    void CreateParams(frame::TCreateParams& params) override;
    void Paint() override;
    void Resize() override;
    void KeyDown(uint16_t& key, frame::TShiftState shift) override;
    void MouseDown(frame::TMouseButton button, frame::TShiftState shift, int x, int y) override;
    void MouseMove(frame::TShiftState shift, int x, int y) override;
    void MouseUp(frame::TMouseButton button, frame::TShiftState shift, int x, int y) override;

private:
    void SetGridShape(int cols, int rows, int fixedCols, int fixedRows);
    bool IsFixed(int c, int r) const { return c < m_fixedCols || r < m_fixedRows; }
    void PaintLines(const TRect& clip);
    void LayoutChanged();

    int m_colCount = 5;
    int m_rowCount = 5;
    int m_fixedCols = 1;
    int m_fixedRows = 1;
    TGridLayout m_layout;
    TGridOptions m_options{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine};
    TBorderStyle m_borderStyle = bsSingle;
    frame::TColor m_fixedColor = frame::clBtnFace;
    TGridCoord m_current{1, 1};
    TGridCoord m_anchor{1, 1};
    bool m_selecting = false; // the left button went down on a cell and is still held
};

} // namespace controls
