// AtkTable and AtkTableCell of our objects (the calendar): cells by row and column, the column
// headers, and a cell's place.
#include "platform/a11y/AtkPeer.h"

namespace platform::a11y::detail {

namespace {

AccessibleTable* TableOf(gpointer object) {
    AccessibleNode* node = NodeOf(object);
    return node ? node->AsTable() : nullptr;
}

AccessibleTableCell* CellOf(AccessibleNode* node) {
    return node ? node->AsTableCell() : nullptr;
}

AccessibleNode* CellNode(AtkTable* table, gint row, gint column) {
    AccessibleTable* t = TableOf(table);
    if (!t || row < 0 || column < 0 || row >= t->RowCount() || column >= t->ColumnCount())
        return nullptr;
    return t->CellAt(row, column);
}

AtkObject* TableRefAt(AtkTable* table, gint row, gint column) {
    return Guarded<AtkObject*>(nullptr, [&] { return RefPeer(CellNode(table, row, column)); });
}

gint TableIndexAt(AtkTable* table, gint row, gint column) {
    return Guarded(-1, [&] {
        AccessibleNode* cell = CellNode(table, row, column);
        return cell ? cell->IndexInParent() : -1;
    });
}

// The cell that is the table's child `index`; null for a header or another child.
AccessibleTableCell* ChildCell(AtkTable* table, gint index) {
    AccessibleNode* node = NodeOf(table);
    if (!node || index < 0 || index >= node->ChildCount())
        return nullptr;
    return CellOf(node->Child(index));
}

gint TableColumnAtIndex(AtkTable* table, gint index) {
    return Guarded(-1, [&] {
        AccessibleTableCell* cell = ChildCell(table, index);
        return cell ? cell->Column() : -1;
    });
}

gint TableRowAtIndex(AtkTable* table, gint index) {
    return Guarded(-1, [&] {
        AccessibleTableCell* cell = ChildCell(table, index);
        return cell ? cell->Row() : -1;
    });
}

gint TableColumns(AtkTable* table) {
    return Guarded(0, [&] {
        AccessibleTable* t = TableOf(table);
        return t ? t->ColumnCount() : 0;
    });
}

gint TableRows(AtkTable* table) {
    return Guarded(0, [&] {
        AccessibleTable* t = TableOf(table);
        return t ? t->RowCount() : 0;
    });
}

gint OneCell(AtkTable*, gint, gint) {
    return 1;
}

AccessibleNode* HeaderNode(AtkTable* table, gint column) {
    AccessibleTable* t = TableOf(table);
    return t && column >= 0 && column < t->ColumnCount() ? t->ColumnHeader(column) : nullptr;
}

AtkObject* TableColumnHeader(AtkTable* table, gint column) {
    return Guarded<AtkObject*>(nullptr, [&] { return PeerOf(HeaderNode(table, column)); });
}

const gchar* TableColumnDescription(AtkTable* table, gint column) {
    return Guarded<const gchar*>(nullptr, [&]() -> const gchar* {
        AccessibleNode* header = HeaderNode(table, column);
        return header ? DataOf(table).Keep(Kept::ColumnName, column, header->Name()) : nullptr;
    });
}

gboolean TableIsSelected(AtkTable* table, gint row, gint column) {
    return Guarded(FALSE, [&] {
        AccessibleNode* cell = CellNode(table, row, column);
        return cell && cell->GetStates().Has(State::Selected) ? TRUE : FALSE;
    });
}

gint CellSpan(AtkTableCell*) {
    return 1;
}

gboolean CellPosition(AtkTableCell* cell, gint* row, gint* column) {
    return Guarded<gboolean>(FALSE, [&]() -> gboolean {
        AccessibleTableCell* c = CellOf(NodeOf(cell));
        if (!c)
            return FALSE;
        *row = c->Row();
        *column = c->Column();
        return TRUE;
    });
}

gboolean CellRowColumnSpan(AtkTableCell* cell, gint* row, gint* column, gint* rowSpan,
                           gint* columnSpan) {
    *rowSpan = 1;
    *columnSpan = 1;
    return CellPosition(cell, row, column);
}

AtkObject* CellTable(AtkTableCell* cell) {
    return Guarded<AtkObject*>(nullptr, [&]() -> AtkObject* {
        AccessibleTableCell* c = CellOf(NodeOf(cell));
        return c ? RefPeer(c->Table()) : nullptr;
    });
}

// The objects stay the nodes' own (the array holds no references), as the bridge reads them
// and frees only the array.
GPtrArray* CellColumnHeaders(AtkTableCell* cell) {
    GPtrArray* headers = g_ptr_array_new();
    GuardedDo([&] {
        AccessibleTableCell* c = CellOf(NodeOf(cell));
        AccessibleNode* table = c ? c->Table() : nullptr;
        AccessibleTable* t = table ? table->AsTable() : nullptr;
        if (AtkObject* header = t ? PeerOf(t->ColumnHeader(c->Column())) : nullptr)
            g_ptr_array_add(headers, header);
    });
    return headers;
}

GPtrArray* CellRowHeaders(AtkTableCell*) {
    return g_ptr_array_new();
}

} // namespace

void InitTable(AtkTableIface* iface) {
    iface->ref_at = TableRefAt;
    iface->get_index_at = TableIndexAt;
    iface->get_column_at_index = TableColumnAtIndex;
    iface->get_row_at_index = TableRowAtIndex;
    iface->get_n_columns = TableColumns;
    iface->get_n_rows = TableRows;
    iface->get_column_extent_at = OneCell;
    iface->get_row_extent_at = OneCell;
    iface->get_column_header = TableColumnHeader;
    iface->get_column_description = TableColumnDescription;
    iface->is_selected = TableIsSelected;
}

void InitTableCell(AtkTableCellIface* iface) {
    iface->get_column_span = CellSpan;
    iface->get_row_span = CellSpan;
    iface->get_position = CellPosition;
    iface->get_row_column_span = CellRowColumnSpan;
    iface->get_table = CellTable;
    iface->get_column_header_cells = CellColumnHeaders;
    iface->get_row_header_cells = CellRowHeaders;
}

} // namespace platform::a11y::detail
