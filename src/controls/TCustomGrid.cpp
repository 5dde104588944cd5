#include "controls/TCustomGrid.h"

#include <algorithm>

#include "frame/graphics/GraphicsTypes.h"
#include "platform/display/WindowApi.h"

namespace controls {

using namespace frame;
namespace gdi = platform::gdi;

namespace {
const char* const kIndexOutOfRange = "Grid index out of range";
}

// ---------------------------------------------------------------------------------------------
// Geometry

TRect TGridLayout::CellRect(int c, int r) const {
    int x = c * (colWidth + lineWidth);
    int y = r * (rowHeight + lineWidth);
    return TRect{x, y, x + colWidth, y + rowHeight};
}

TGridCoord TGridLayout::CellAt(TPoint p, int cols, int rows) const {
    int pitchX = colWidth + lineWidth, pitchY = rowHeight + lineWidth;
    if (p.x < 0 || p.y < 0 || pitchX <= 0 || pitchY <= 0)
        return {};
    int c = p.x / pitchX, r = p.y / pitchY;
    if (c >= cols || r >= rows || p.x - c * pitchX >= colWidth || p.y - r * pitchY >= rowHeight)
        return {};
    return TGridCoord{c, r};
}

// ---------------------------------------------------------------------------------------------
// Life

const TClassInfo* TCustomGrid::StaticClass() {
    static const auto info =
        TClassBuilder<TCustomGrid>("TCustomGrid", TCustomControl::StaticClass()).Build();
    return info.get();
}

TCustomGrid::TCustomGrid(TComponent* owner) : TCustomControl(owner) {
    // The grid paints every pixel and decides itself when a press and release make a click.
    SetControlStyle(TControlStyle{csCaptureMouse, csOpaque, csDoubleClicks});
    SetBounds(0, 0, m_colCount * (m_layout.colWidth + m_layout.lineWidth),
              m_rowCount * (m_layout.rowHeight + m_layout.lineWidth));
    SetColor(clWindow);
    SetParentColor(false);
    SetTabStop(true);
}

TCustomGrid::~TCustomGrid() = default;

void TCustomGrid::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    if (m_borderStyle == bsSingle) {
        if (Ctl3D())
            params.exStyle |= platform::WS_EX_CLIENTEDGE;
        else
            params.style |= platform::WS_BORDER;
    }
}

// ---------------------------------------------------------------------------------------------
// Shape and options

void TCustomGrid::SetGridShape(int cols, int rows, int fixedCols, int fixedRows) {
    m_colCount = std::max(cols, 1);
    m_rowCount = std::max(rows, 1);
    m_fixedCols = std::clamp(fixedCols, 0, m_colCount - 1);
    m_fixedRows = std::clamp(fixedRows, 0, m_rowCount - 1);
    auto keep = [&](TGridCoord p) {
        return TGridCoord{std::clamp(p.x, m_fixedCols, m_colCount - 1),
                          std::clamp(p.y, m_fixedRows, m_rowCount - 1)};
    };
    m_current = keep(m_current);
    m_anchor = keep(m_anchor);
    Invalidate();
}

void TCustomGrid::SetColCount(int value) {
    if (value != m_colCount)
        SetGridShape(value, m_rowCount, m_fixedCols, m_fixedRows);
}

void TCustomGrid::SetRowCount(int value) {
    if (value != m_rowCount)
        SetGridShape(m_colCount, value, m_fixedCols, m_fixedRows);
}

void TCustomGrid::SetFixedCols(int value) {
    if (value != m_fixedCols)
        SetGridShape(m_colCount, m_rowCount, value, m_fixedRows);
}

void TCustomGrid::SetFixedRows(int value) {
    if (value != m_fixedRows)
        SetGridShape(m_colCount, m_rowCount, m_fixedCols, value);
}

void TCustomGrid::SetDefaultColWidth(int value) {
    value = std::max(value, 0);
    if (value == m_layout.colWidth)
        return;
    m_layout.colWidth = value;
    Invalidate();
}

void TCustomGrid::SetDefaultRowHeight(int value) {
    value = std::max(value, 0);
    if (value == m_layout.rowHeight)
        return;
    m_layout.rowHeight = value;
    Invalidate();
}

void TCustomGrid::SetGridLineWidth(int value) {
    value = std::max(value, 0);
    if (value == m_layout.lineWidth)
        return;
    m_layout.lineWidth = value;
    LayoutChanged();
    Invalidate();
}

void TCustomGrid::SetOptions(TGridOptions value) {
    if (value == m_options)
        return;
    m_options = value;
    if (!m_options.Contains(goRangeSelect))
        m_anchor = m_current;
    Invalidate();
}

void TCustomGrid::SetBorderStyle(TBorderStyle value) {
    if (value == m_borderStyle)
        return;
    m_borderStyle = value;
    RecreateWnd();
    LayoutChanged();
}

void TCustomGrid::SetFixedColor(TColor value) {
    if (value == m_fixedColor)
        return;
    m_fixedColor = value;
    Invalidate();
}

void TCustomGrid::CMCtl3DChanged(TMessage& m) {
    // The border is drawn as a 3-D edge or a flat line.
    if (m_borderStyle == bsSingle) {
        RecreateWnd();
        LayoutChanged();
    }
    TCustomControl::CMCtl3DChanged(m);
}

void TCustomGrid::LayoutChanged() {
    if (!IsLoading())
        ClientSizeChanged();
}

void TCustomGrid::Resize() {
    LayoutChanged();
    TCustomControl::Resize();
}

void TCustomGrid::AfterLoad() {
    TCustomControl::AfterLoad();
    ClientSizeChanged();
}

// ---------------------------------------------------------------------------------------------
// Cells

TRect TCustomGrid::CellRect(int c, int r) const {
    if (c < 0 || r < 0 || c >= m_colCount || r >= m_rowCount)
        return TRect{};
    return m_layout.CellRect(c, r);
}

TGridCoord TCustomGrid::MouseCoord(int x, int y) const {
    return m_layout.CellAt(TPoint{x, y}, m_colCount, m_rowCount);
}

int TCustomGrid::VisibleRowCount() const {
    int height = ClientHeight(), n = 0;
    for (int r = m_fixedRows; r < m_rowCount && m_layout.CellRect(0, r).bottom <= height; ++r)
        ++n;
    return n;
}

int TCustomGrid::VisibleColCount() const {
    int width = ClientWidth(), n = 0;
    for (int c = m_fixedCols; c < m_colCount && m_layout.CellRect(c, 0).right <= width; ++c)
        ++n;
    return n;
}

bool TCustomGrid::CanSelectCell(int, int) {
    return true;
}

void TCustomGrid::PaintCell(int, int, const TRect&, TGridDrawState) {}

void TCustomGrid::InvalidateCell(int c, int r) {
    if (!HandleAllocated() || IsLoading())
        return;
    TRect cell = CellRect(c, r);
    platform::InvalidateRect(Handle(), &cell, false);
}

void TCustomGrid::MoveCurrent(int c, int r, bool moveAnchor) {
    if (c < 0 || r < 0 || c >= m_colCount || r >= m_rowCount)
        throw EInvalidGridOperation(std::string(kIndexOutOfRange));
    if (!CanSelectCell(c, r))
        return;
    TGridCoord old = m_current, oldAnchor = m_anchor;
    m_current = TGridCoord{c, r};
    if (moveAnchor || !m_options.Contains(goRangeSelect))
        m_anchor = m_current;
    if (oldAnchor != old || m_anchor != m_current) {
        Invalidate(); // a selected range changed shape
        return;
    }
    InvalidateCell(old.x, old.y);
    InvalidateCell(c, r);
}

void TCustomGrid::FocusCell(int c, int r) {
    c = std::clamp(c, m_fixedCols, m_colCount - 1);
    r = std::clamp(r, m_fixedRows, m_rowCount - 1);
    if (c == m_current.x && r == m_current.y)
        return;
    TAlive alive(this);
    MoveCurrent(c, r, true);
    if (alive)
        Click();
}

// ---------------------------------------------------------------------------------------------
// Painting

void TCustomGrid::WMEraseBkgnd(TWMEraseBkgnd& m) {
    m.message.result = 1; // Paint covers every pixel
}

void TCustomGrid::PaintLines(const TRect& clip) {
    int lw = m_layout.lineWidth;
    if (lw <= 0)
        return;
    gdi::DeviceContext* dc = Canvas()->Handle();
    // Lines are silver, or grey on a silver grid so that they still show.
    TColor lineColor = Color() == clSilver ? clGray : clSilver;
    gdi::BrushSpec brush{gdi::BrushStyle::Solid, ColorToRGB(lineColor)};
    TRect last = m_layout.CellRect(m_colCount - 1, m_rowCount - 1);
    int right = last.right + lw, bottom = last.bottom + lw;
    int fixedBottom = m_fixedRows > 0 ? m_layout.CellRect(0, m_fixedRows - 1).bottom + lw : 0;
    int fixedRight = m_fixedCols > 0 ? m_layout.CellRect(m_fixedCols - 1, 0).right + lw : 0;
    for (int c = 0; c < m_colCount; ++c) {
        int x = m_layout.CellRect(c, 0).right;
        bool fixedCol = c < m_fixedCols;
        // The part beside the fixed rows follows the fixed option, the rest the normal one.
        if (m_options.Contains(goFixedVertLine))
            dc->FillRect(
                gdi::IntersectRect(TRect{x, 0, x + lw, fixedCol ? bottom : fixedBottom}, clip),
                brush);
        if (!fixedCol && m_options.Contains(goVertLine))
            dc->FillRect(gdi::IntersectRect(TRect{x, fixedBottom, x + lw, bottom}, clip), brush);
    }
    for (int r = 0; r < m_rowCount; ++r) {
        int y = m_layout.CellRect(0, r).bottom;
        bool fixedRow = r < m_fixedRows;
        if (m_options.Contains(goFixedHorzLine))
            dc->FillRect(
                gdi::IntersectRect(TRect{0, y, fixedRow ? right : fixedRight, y + lw}, clip),
                brush);
        if (!fixedRow && m_options.Contains(goHorzLine))
            dc->FillRect(gdi::IntersectRect(TRect{fixedRight, y, right, y + lw}, clip), brush);
    }
}

void TCustomGrid::Paint() {
    TCanvas* canvas = Canvas();
    gdi::DeviceContext* dc = canvas->Handle();
    TRect client = ClientRect();
    TRect clip = gdi::IntersectRect(dc->GetClipBox(), client);
    bool focused = Focused();
    for (int r = 0; r < m_rowCount; ++r) {
        for (int c = 0; c < m_colCount; ++c) {
            TRect cell = m_layout.CellRect(c, r);
            if (gdi::IntersectRect(cell, clip).IsEmpty())
                continue;
            TGridDrawState state;
            bool current = c == m_current.x && r == m_current.y;
            bool inRange =
                c >= std::min(m_anchor.x, m_current.x) && c <= std::max(m_anchor.x, m_current.x) &&
                r >= std::min(m_anchor.y, m_current.y) && r <= std::max(m_anchor.y, m_current.y);
            if (IsFixed(c, r))
                state.Include(gdFixed);
            else if (inRange && (!current || !focused || m_options.Contains(goDrawFocusSelected)))
                state.Include(gdSelected);
            if (current && focused)
                state.Include(gdFocused);
            TColor back = state.Contains(gdFixed)      ? m_fixedColor
                          : state.Contains(gdSelected) ? clHighlight
                                                       : Color();
            canvas->Brush()->SetColor(back);
            canvas->Font()->Assign(Font());
            if (state.Contains(gdSelected))
                canvas->Font()->SetColor(clHighlightText);
            canvas->FillRect(cell);
            PaintCell(c, r, cell, state);
            if (state.Contains(gdFixed) && Ctl3D())
                dc->DrawEdge(cell, gdi::BDR_RAISEDINNER, gdi::BF_RECT);
            if (state.Contains(gdFocused) && !state.Contains(gdFixed))
                canvas->DrawFocusRect(cell);
        }
    }
    PaintLines(clip);
    // What lies beyond the last column and row.
    TRect last = m_layout.CellRect(m_colCount - 1, m_rowCount - 1);
    int right = last.right + m_layout.lineWidth, bottom = last.bottom + m_layout.lineWidth;
    gdi::BrushSpec back{gdi::BrushStyle::Solid, ColorToRGB(Color())};
    if (right < client.right)
        dc->FillRect(TRect{right, 0, client.right, client.bottom}, back);
    if (bottom < client.bottom)
        dc->FillRect(TRect{0, bottom, std::min(right, client.right), client.bottom}, back);
}

void TCustomGrid::WMSetFocus(TWMFocus& m) {
    TCustomControl::WMSetFocus(m);
    InvalidateCell(m_current.x, m_current.y);
}

void TCustomGrid::WMKillFocus(TWMFocus& m) {
    TCustomControl::WMKillFocus(m);
    InvalidateCell(m_current.x, m_current.y);
}

// ---------------------------------------------------------------------------------------------
// Keyboard and mouse

void TCustomGrid::KeyDown(uint16_t& key, TShiftState shift) {
    TAlive alive(this);
    TCustomControl::KeyDown(key, shift);
    if (!alive || key == 0)
        return;
    bool ctrl = shift.Contains(ssCtrl);
    int c = m_current.x, r = m_current.y;
    switch (key) {
    case platform::VK_LEFT:
        --c;
        break;
    case platform::VK_RIGHT:
        ++c;
        break;
    case platform::VK_UP:
        --r;
        break;
    case platform::VK_DOWN:
        ++r;
        break;
    case platform::VK_PRIOR:
        r -= std::max(VisibleRowCount(), 1);
        break;
    case platform::VK_NEXT:
        r += std::max(VisibleRowCount(), 1);
        break;
    case platform::VK_HOME:
        c = m_fixedCols;
        if (ctrl)
            r = m_fixedRows;
        break;
    case platform::VK_END:
        c = m_colCount - 1;
        if (ctrl)
            r = m_rowCount - 1;
        break;
    default:
        return;
    }
    FocusCell(c, r);
}

void TCustomGrid::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TAlive alive(this);
    if (button == mbLeft) {
        if (!Focused() && CanFocus()) {
            SetFocus();
            if (!alive)
                return;
        }
        TGridCoord cell = MouseCoord(x, y);
        if (cell.x >= 0 && !IsFixed(cell.x, cell.y)) {
            m_selecting = true;
            MoveCurrent(cell.x, cell.y, !shift.Contains(ssShift));
        }
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TCustomGrid::MouseMove(TShiftState shift, int x, int y) {
    if (m_selecting && shift.Contains(ssLeft)) {
        TGridCoord cell = MouseCoord(x, y);
        if (cell.x >= 0 && !IsFixed(cell.x, cell.y) &&
            (cell.x != m_current.x || cell.y != m_current.y))
            MoveCurrent(cell.x, cell.y, false);
    }
    TCustomControl::MouseMove(shift, x, y);
}

void TCustomGrid::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TAlive alive(this);
    if (button == mbLeft && m_selecting) {
        m_selecting = false;
        Click();
        if (!alive)
            return;
    }
    TCustomControl::MouseUp(button, shift, x, y);
}

} // namespace controls
