// The string grid's outline: node rows with their spans, levels and sub-node
// counts, expanding and contracting them through the hidden rows, the row
// insertion and removal that keeps spans right, and the expand cells.

#include "controls/grid/ExGrid.h"

#include "controls/base/ExObj.h"
#include "controls/base/ExObjOptions.h"
#include "controls/grid/ExGridOptions.h"
#include "platform/graphics/Bitmaps.h"
#include "platform/graphics/PlatformInfo.h"

#include <algorithm>

// ---------------------------------------------------------------------------
// Reading the outline

TCellGraphic* TExStringGrid::NodeAt(int ARow)
{
    return IsNode(ARow) ? GetCellGraphic(0, ARow) : nullptr;
}

bool TExStringGrid::IsNode(int ARow)
{
    return ARow >= 0 && ARow < RowCount() && GetCellType(0, ARow) == ctNode;
}

bool TExStringGrid::IsSummary(int ARow)
{
    return ARow >= 0 && ARow < RowCount() && GetCellType(0, ARow) == ctSummary;
}

int TExStringGrid::RowLevel(int ARow) const
{
    if (ARow < 0 || ARow >= RowCount() || !HasCellProperties(0, ARow))
        return 0;
    return const_cast<TExStringGrid*>(this)->GetCellProperties(0, ARow)->NodeLevel();
}

int TExStringGrid::ShiftLevels(int FromRow, int ToRow, int Delta)
{
    // Rows hidden under a contracted node change level in their records.
    int nodes = 0;
    ToRow = std::min(ToRow, TotalRowCount());
    // The row check box column answers as no node.
    const bool checkColumn = FMouseActions && FMouseActions->HotmailRowSelect();
    for (int r = FromRow; r < ToRow; ++r) {
        TCellProperties* props = nullptr;
        if (!IsHiddenRow(r)) {
            const int d = DisplRowIndex(r);
            Store().PrefetchObjects(d);
            props = GetCellProperties(0, d);
            // The node test reads the properties just fetched, as IsNode would.
            if (r > FromRow && !checkColumn && d >= 0 && d < RowCount()) {
                const auto* g = dynamic_cast<const TCellGraphic*>(GraphicObjectOf(props));
                nodes += g && g->CellType() == ctNode ? 1 : 0;
            }
        } else {
            auto& objects = HiddenRecord(r)->Cells.Objects;
            auto it = std::find_if(objects.begin(), objects.end(), [](const auto& o) { return o.first == 0; });
            if (it == objects.end())
                it = objects.insert(objects.begin(), { 0, new TCellProperties(this, 0, r) });
            props = static_cast<TCellProperties*>(it->second);
            const auto* g = dynamic_cast<const TCellGraphic*>(GraphicObjectOf(props));
            nodes += r > FromRow && g && g->CellType() == ctNode ? 1 : 0;
        }
        props->SetNodeLevel(std::max(0, props->NodeLevel() + Delta));
    }
    return nodes;
}

bool TExStringGrid::GetNodeState(int ARow)
{
    TCellGraphic* g = NodeAt(ARow);
    return g && g->CellBoolean();
}

void TExStringGrid::SetNodeState(int ARow, bool Value)
{
    TCellGraphic* g = NodeAt(ARow);
    if (!g || g->CellBoolean() == Value)
        return;
    if (Value)
        ContractNode(RealRowIndex(ARow));
    else
        ExpandNode(RealRowIndex(ARow));
}

int TExStringGrid::GetNodeLevel(int ARow)
{
    return IsNode(ARow) ? RowLevel(ARow) : -1;
}

int TExStringGrid::GetNodeSpan(int ARow)
{
    TCellGraphic* g = NodeAt(ARow);
    return g ? g->CellIndex() : -1;
}

void TExStringGrid::SetNodeSpan(int ARow, int Span)
{
    if (TCellGraphic* g = NodeAt(ARow))
        g->SetCellIndex(Span);
}

void TExStringGrid::UpdateNodeSpan(int ARow, int Delta)
{
    if (TCellGraphic* g = NodeAt(ARow))
        g->SetCellIndex(g->CellIndex() + Delta);
}

int TExStringGrid::GetSubNodeCount(int ARow)
{
    TCellGraphic* g = NodeAt(ARow);
    return g ? g->CellErrFrom() : 0;
}

void TExStringGrid::UpdateSubNodeCount(int ARow, int Delta)
{
    if (TCellGraphic* g = NodeAt(ARow))
        g->SetCellErrFrom(std::max(0, g->CellErrFrom() + Delta));
}

int TExStringGrid::GetNodeSpanType(int ARow)
{
    if (IsNode(ARow))
        return 0;
    if (ARow >= RowCount() - FFixedFooters - 1 || !HasCellProperties(0, ARow + 1)
        || RowLevel(ARow + 1) < RowLevel(ARow))
        return 1;
    return 2;
}

int TExStringGrid::NodeEnd(int ARow, int Span)
{
    if (Span > 0)
        return std::min(DisplRowIndex(RealRowIndex(ARow) + Span), RowCount());
    int e = ARow + 1;
    while (e < RowCount() && !IsNode(e))
        ++e;
    return e;
}

std::vector<int> TExStringGrid::AncestorNodes(int ARow)
{
    // A row's level counts the nodes holding it (a node row's counts the
    // node too), so each ancestor is the nearest node above at or below the
    // level still to find: the walk ends at the outermost one.
    std::vector<int> found;
    int want = RowLevel(ARow) - (IsNode(ARow) ? 1 : 0);
    for (int r = ARow - 1; r >= 0 && want > 0; --r) {
        if (!IsNode(r))
            continue;
        const int l = RowLevel(r);
        if (l > want)
            continue;
        found.push_back(r);
        want = l - 1;
    }
    return found;
}

int TExStringGrid::GetParentRow(int ARow)
{
    if (!HasNodes() || ARow < 0 || ARow >= RowCount())
        return -1;
    int result = -1, level = 0xFFFF;
    if (IsNode(ARow)) {
        level = RowLevel(ARow);
        result = ARow;
    }
    // Rows under no node, and top-level nodes, have no parent: no walk to
    // the top of the grid for them.
    if (level <= 1 || (result == -1 && RowLevel(ARow) == 0))
        return result;
    int hidden = 0;
    for (int r = ARow; r >= FixedRows(); --r) {
        TCellGraphic* g = NodeAt(r);
        if (!g || RowLevel(r) >= level)
            continue;
        const int s = g->CellIndex();
        if (g->CellBoolean())
            hidden += s - 1;
        if (ARow < r + s - hidden)
            return r;
    }
    return result;
}

bool TExStringGrid::IsNodeGlyphHit(int ARow, int X)
{
    if (!FMouseActions->PreciseNodeClick)
        return true;
    const int L = GetNodeLevel(ARow);
    const int I = FCellNode->NodeIndent();
    int b = 0, c = 0;
    switch (FCellNode->NodeType()) {
    case TNodeType::cnFlat:
    case TNodeType::cnXP:
        b = 4;
        c = 4;
        break;
    case TNodeType::cn3D:
        b = 6;
        break;
    case TNodeType::cnGlyph: {
        const TBitmap* glyph = FCellNode->ExpandGlyph();
        const bool empty = !glyph || glyph->Width() == 0 || glyph->Height() == 0;
        b = empty ? 0 : glyph->Width() / 2;
        c = empty ? 0 : 2;
        break;
    }
    case TNodeType::cnLeaf:
        b = 8;
        c = 2;
        break;
    }
    if (BiDiMode() != bdRightToLeft)
        return c + (L - 1) * I < X && X < b + L * I;
    const int d = VisibleRowCount() < RowCount() - FixedRows() ? PlatformInfo().VScrollBarWidth : 0;
    return Width() - 2 - L * I - b <= X + d && X + d < Width() - (L - 1) * I;
}

// ---------------------------------------------------------------------------
// Adding and removing nodes

void TExStringGrid::AddNode(int ARow, int Span)
{
    const int a = DisplRowIndex(ARow);
    if (a < 0 || a >= RowCount() || IsHiddenRow(ARow))
        return;
    // A second node on the row replaces the first rather than counting twice.
    if (IsNode(a))
        RemoveNode(ARow);
    const std::vector<int> ancestors = AncestorNodes(a);
    TCellGraphic* g = CreateCellGraphic(0, a);
    g->SetCellType(ctNode);
    g->SetCellAngle(a);
    g->SetCellBoolean(false);
    g->SetCellIndex(Span);
    g->SetCellHAlign(haBeforeText);
    g->SetCellVAlign(vaCenter);
    g->SetCellErrFrom(0);
    g->CellVar = -1;
    for (int p : ancestors)
        UpdateSubNodeCount(p, 1);
    // Nodes already inside the span are its sub-nodes.
    const int end = Span > 0 ? ARow + Span : RealRowIndex(NodeEnd(a, 0));
    g->SetCellErrFrom(ShiftLevels(ARow, end, 1));
    if (FNumNodes == 0)
        InvalidateCol(0);
    ++FNumNodes;
    if (Col() == 0 && ColCount() > 1)
        SetCol(1);
}

void TExStringGrid::RemoveNode(int ARow)
{
    int d = DisplRowIndex(ARow);
    if (IsHiddenRow(ARow) || !IsNode(d))
        return;
    ExpandStep(ARow);
    d = DisplRowIndex(ARow);
    const int span = GetNodeSpan(d);
    for (int p : AncestorNodes(d))
        UpdateSubNodeCount(p, -1);
    ShiftLevels(ARow, span > 0 ? ARow + span : RealRowIndex(NodeEnd(d, 0)), -1);
    RemoveCellGraphicOfType(0, d, ctNode);
    if (FNumNodes > 0)
        --FNumNodes;
}

void TExStringGrid::RemoveAllNodes()
{
    // Top-down every node opens before it goes, so its sub-nodes are shown
    // when the walk reaches them; with no node left no row has a level.
    for (int r = 0; r < RowCount(); ++r) {
        if (!IsNode(r))
            continue;
        ExpandStep(RealRowIndex(r));
        RemoveCellGraphicOfType(0, r, ctNode);
    }
    FNumNodes = 0;
    for (int r = 0; r < RowCount(); ++r)
        if (HasCellProperties(0, r))
            GetCellProperties(0, r)->SetNodeLevel(0);
    for (THiddenRow& h : FHiddenRows)
        for (const auto& [c, obj] : h.Cells.Objects)
            if (auto* props = dynamic_cast<TCellProperties*>(obj); props && c == 0)
                props->SetNodeLevel(0);
    Invalidate();
}

// ---------------------------------------------------------------------------
// Expanding and contracting

void TExStringGrid::ExpandNode(int ARow)
{
    if (FCellNode->ExpandOne) {
        // Every other open node closes, but not the ones holding this row.
        for (int r = FixedRows(); r < RowCount(); ++r) {
            TCellGraphic* g = NodeAt(r);
            if (!g || g->CellBoolean())
                continue;
            const int real = RealRowIndex(r);
            const int last = g->CellIndex() > 0 ? real + g->CellIndex() - 1 : RealRowIndex(NodeEnd(r, 0)) - 1;
            if (real <= ARow && ARow <= last)
                continue;
            ContractNode(real);
        }
    }
    ExpandStep(ARow);
}

void TExStringGrid::ExpandStep(int ARow)
{
    if (IsHiddenRow(ARow))
        return;
    const int d = DisplRowIndex(ARow);
    TCellGraphic* g = NodeAt(d);
    if (!g || !g->CellBoolean())
        return;
    g->SetCellBoolean(false);
    const int span = g->CellIndex();
    // The node's rows are hidden: the real rows up to the next shown row are
    // exactly them (but never beyond its span).
    int last = (d + 1 < RowCount() ? RealRowIndex(d + 1) : TotalRowCount()) - 1;
    if (span > 0)
        last = std::min(last, ARow + span - 1);
    const int first = ARow + 1;

    const int row = Row(), top = TopRow();
    const bool disjunct = FMouseActions->DisjunctRowSelect();
    FMouseActions->SetDisjunctRowSelectDirect(false);
    const bool rowSelect = Options().testFlag(goRowSelect);
    if (rowSelect)
        SetOptions(Options() & ~TGridOptions(goRowSelect));
    const bool update = !FControlList || FControlList->Count() == 0;
    if (update)
        BeginUpdate();
    struct TRestore {
        TExStringGrid* g;
        bool disjunct, update;
        ~TRestore()
        {
            g->FMouseActions->SetDisjunctRowSelectDirect(disjunct);
            if (update)
                g->EndUpdate();
        }
    } restore { this, disjunct, update };
    if (first <= last)
        UnHideRows(first, last);
    if (rowSelect) {
        SetOptions(Options() | goRowSelect);
        SetRow(std::min(row, RowCount() - 1));
        SetTopRow(top);
    }
    RecalcFooter();
}

void TExStringGrid::ContractNode(int ARow)
{
    HideEditor();
    // The cursor goes along with rows that leave, whatever the selection
    // checks say; cleared on every way out.
    FForceSel = true;
    struct TClear {
        bool& f;
        ~TClear() { f = false; }
    } clear { FForceSel };
    if (IsHiddenRow(ARow))
        return;
    const int d = DisplRowIndex(ARow);
    TCellGraphic* g = NodeAt(d);
    if (!g || g->CellBoolean())
        return;
    g->SetCellBoolean(true);
    const int span = g->CellIndex();
    const int end = NodeEnd(d, span);
    // The whole span leaves as one block: a contracted sub-node inside merges
    // into it (its rows are hidden already) and counts as open, so opening
    // this node later shows everything.
    int lastReal = span > 0 ? ARow + span - 1 : (end < RowCount() ? RealRowIndex(end) : TotalRowCount()) - 1;
    const int shownEnd = std::min(RowCount(), DisplRowIndex(lastReal + 1));
    for (int r = d + 1; r < shownEnd; ++r) {
        TCellGraphic* sub = NodeAt(r);
        if (!sub || !sub->CellBoolean())
            continue;
        sub->SetCellBoolean(false);
        // The control of the row after a closed sub-node goes out of sight;
        // a row past this node's span stays shown, and so does its control.
        if (r + 1 < shownEnd)
            if (TControl* c = CellControls(1, r + 1))
                c->SetVisible(false);
    }
    if (lastReal > ARow)
        HideRows(ARow + 1, lastReal);
    FForceSel = false;
    RecalcFooter();
}

void TExStringGrid::ExpandAll()
{
    BeginUpdate();
    // In real order an outer node opens before its sub-nodes come up; every
    // node ends open, whatever ExpandOne says.
    for (int r = FixedRows(); r < TotalRowCount(); ++r)
        if (!IsHiddenRow(r))
            ExpandStep(r);
    EndUpdate();
    RecalcFooter();
}

void TExStringGrid::ContractAll()
{
    {
        BeginUpdate();
        struct TEnd {
            TExStringGrid* g;
            ~TEnd() { g->EndUpdate(); }
        } end { this };
        ExpandAll();
        std::vector<int> rows;
        int r = FixedRows();
        while (r < RowCount()) {
            TCellGraphic* g = NodeAt(r);
            if (!g) {
                ++r;
                continue;
            }
            g->SetCellBoolean(true);
            const int e = NodeEnd(r, g->CellIndex());
            for (int k = r + 1; k < e; ++k)
                rows.push_back(k);
            r = std::max(e, r + 1);
        }
        // Plain hidden rows, not a filter level: ending a filter must not
        // show the rows of closed nodes.
        HideDisplayedRows(rows, 0);
    }
    CellControlsUpdate(false);
    RecalcFooter();
}

// ---------------------------------------------------------------------------
// Rows inserted and removed beside nodes

void TExStringGrid::InsertNormalRow(int ARow)
{
    // InsertRows moves the hidden rows after the new one.
    InsertRows(DisplRowIndex(ARow), 1, true);
}

void TExStringGrid::RemoveNormalRow(int ARow)
{
    // RemoveRows lowers FMaxRowCount itself.
    RemoveRows(ARow, 1);
}

void TExStringGrid::InsertChildRow(int ARow, int InsertAt)
{
    int r = DisplRowIndex(ARow);
    int level = 1;
    // A row inserted at a node row lands below it, in the node's own group
    // (its parent's would leave the node's last row outside its span).
    int p = IsNode(r) ? r : GetParentRow(r);
    if (p != -1) {
        const int pReal = RealRowIndex(p);
        UpdateNodeSpan(p, 1);
        ExpandNode(pReal);
        p = DisplRowIndex(pReal);
        level = RowLevel(p);
        // Each ancestor's span grows too.
        int a = p, l = level;
        while (l > 1) {
            const int up = GetParentRow(a);
            if (up == -1 || up == a || RowLevel(up) >= l)
                break;
            const int upReal = RealRowIndex(up);
            UpdateNodeSpan(up, 1);
            ExpandNode(upReal);
            a = DisplRowIndex(upReal);
            l = RowLevel(a);
        }
        r = DisplRowIndex(ARow);
    }
    const bool move = IsNode(r) && InsertAt == 0;
    if (move)
        InsertAt = 1;
    InsertRows(r + InsertAt, 1, true);
    if (move) {
        // The node row stays the header: its texts and user objects go to the
        // new row below it, column 0 keeping the node.
        for (int c = 0; c < TotalColCount(); ++c) {
            SetGridCell(c, r + 1, GetGridCell(c, r));
            SetGridCell(c, r, QString());
            if (c > 0 && GetObjectEx(c, r) != 0) {
                SetObjectEx(c, r + 1, GetObjectEx(c, r));
                SetObjectEx(c, r, 0);
            }
        }
    }
    if (p != -1)
        GetCellProperties(0, r + InsertAt)->SetNodeLevel(level);
}

void TExStringGrid::RemoveChildRow(int ARow)
{
    if (IsHiddenRow(ARow))
        return;
    // A node row goes as a data row: its node goes first, so that the
    // node count and the sub-node counts of its ancestors follow.
    if (IsNode(DisplRowIndex(ARow)))
        RemoveNode(ARow);
    int p = GetParentRow(DisplRowIndex(ARow));
    if (p != -1) {
        const int lvl = RowLevel(p);
        if (GetNodeSpan(p) > 1)
            UpdateNodeSpan(p, -1);
        while (true) {
            const int pReal = RealRowIndex(p);
            ExpandNode(pReal);
            p = DisplRowIndex(pReal);
            if (RowLevel(p) <= 1)
                break;
            const int up = GetParentRow(p);
            if (up == -1 || up == p || RowLevel(up) >= lvl)
                break;
            p = up;
            if (GetNodeSpan(p) > 1)
                UpdateNodeSpan(p, -1);
        }
    }
    // DeleteGridRows moves the cell controls and lowers FMaxRowCount.
    DeleteGridRows(DisplRowIndex(ARow), 1);
}

// ---------------------------------------------------------------------------
// Expand cells

namespace {
TPoint BaseOf(TBaseGrid* g, int ACol, int ARow)
{
    return ACol < 0 || ARow < 0 ? TPoint(ACol, ARow) : g->BaseCell(ACol, ARow);
}
} // namespace

void TExStringGrid::AddExpand(int ACol, int ARow, int ExpandedHeight)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->SetCellType(ctExpand);
    g->SetCellAngle(ExpandedHeight);
    g->SetCellIndex(RowHeights(ARow));
    g->CellVar = false;
}

void TExStringGrid::RemoveExpand(int ACol, int ARow)
{
    RemoveCellGraphicOfType(ACol, ARow, ctExpand);
}

bool TExStringGrid::HasExpand(int ACol, int ARow)
{
    return HasCellGraphicOfType(ACol, ARow, { ctExpand });
}

bool TExStringGrid::ToggleExpand(int ACol, int ARow)
{
    const TPoint b = BaseOf(this, ACol, ARow);
    TCellGraphic* g = b.X < 0 || b.Y < 0 ? nullptr : GetCellGraphic(b.X, b.Y);
    if (!g)
        return false;
    const bool v = !g->CellVar.toBool();
    g->CellVar = v;
    return v;
}

bool TExStringGrid::GetExpandState(int ACol, int ARow)
{
    const TPoint b = BaseOf(this, ACol, ARow);
    TCellGraphic* g = b.X < 0 || b.Y < 0 ? nullptr : GetCellGraphic(b.X, b.Y);
    return g && g->CellVar.toBool();
}

int TExStringGrid::GetExpandHeight(int ACol, int ARow, bool Expanded)
{
    const TPoint b = BaseOf(this, ACol, ARow);
    TCellGraphic* g = b.X < 0 || b.Y < 0 ? nullptr : GetCellGraphic(b.X, b.Y);
    if (!g)
        return DefaultRowHeight();
    return Expanded ? g->CellAngle() : g->CellIndex();
}

TRect TExStringGrid::GetExpandRect(int ACol, int ARow)
{
    // A place on screen, like the cell graphic's rectangle: the shown column.
    if (!HasExpand(RealColIndex(ACol), ARow))
        return TRect();
    const TRect r = CellRect(ACol, ARow);
    return TRect(r.Right - 13, r.Top + 2, r.Right - 2, r.Top + 13);
}
